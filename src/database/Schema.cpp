#include "database/Schema.h"

#include <initializer_list>

namespace schema {

using dao::FieldDef;
using dao::FieldType;
using dao::TableDef;
using rt::Variant;

namespace {

constexpr FieldType B = FieldType::Boolean;
constexpr FieldType I = FieldType::Integer;
constexpr FieldType S = FieldType::Single;
constexpr FieldType T = FieldType::Text;

// One entry of a field list: a single field, or a run of numbered slots
// "fld_<from>" .. "fld_<to>" of one type.
struct FieldEntry {
    FieldEntry(const char* name, FieldType type) : name(QString::fromUtf8(name)), type(type) {}
    static FieldEntry Slots(int from, int to, FieldType type)
    {
        FieldEntry s("", type);
        s.from = from;
        s.to = to;
        return s;
    }
    QString name;
    FieldType type;
    int from = 0, to = 0;
};

using FieldEntries = std::vector<FieldEntry>;

FieldEntries Join(std::initializer_list<FieldEntries> parts)
{
    FieldEntries all;
    for (const FieldEntries& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TableDef Define(const char* name, const FieldEntries& entries)
{
    TableDef def{QString::fromUtf8(name), {}};
    for (const FieldEntry& s : entries) {
        if (s.from > 0) {
            for (int k = s.from; k <= s.to; ++k) def.fields.push_back(FieldDef{SlotFieldName(k), s.type});
        } else {
            def.fields.push_back(FieldDef{s.name, s.type});
        }
    }
    return def;
}

// Field lists that several tables share.
const FieldEntries& SectionFields()   // 材料定数0, 材料定数1
{
    static const FieldEntries f{{"No_", I}, {"E", S}, {"ν", S}, {"γ", S}, {"A", S},
                         {"Ixx", S}, {"Iyy", S}, {"Izz", S}, {"順", I}};
    return f;
}

const FieldEntries& MemberForceFields()   // Analyze部材応力, Analyze等価節点荷重
{
    static const FieldEntries f{{"Case", I}, {"No_", I},
                         {"iTan", I}, {"iN", S}, {"iQy", S}, {"iQz", S}, {"iMx", S}, {"iMy", S}, {"iMz", S},
                         {"jTan", I}, {"jN", S}, {"jQy", S}, {"jQz", S}, {"jMx", S}, {"jMy", S}, {"jMz", S},
                         {"cMy", S}, {"cMz", S}};
    return f;
}

const FieldEntries& DrawFields()   // line segments of a diagram page tile
{
    static const FieldEntries f{{"Page", I}, {"bln種類", B}, {"X1", S}, {"Y1", S}, {"X2", S}, {"Y2", S}};
    return f;
}

const FieldEntries& LabelBoxFields()   // label box of a diagram page tile
{
    static const FieldEntries f{{"Page", I}, {"X0", S}, {"Y0", S}, {"txtWidth", S}, {"txtHeight", S}};
    return f;
}

std::vector<TableDef> BuildTables()
{
    const FieldEntry no{"No_", I};
    const FieldEntry order{"順", I};
    const FieldEntry tens = FieldEntry::Slots(1, 10, I);

    return {
        // Model.
        Define("基本データ", {{"工事名", T}, {"設計者", T}, {"Note", T}, {"Unit", T}, {"Case", I},
                              {"E", S}, {"γ", S}}),
        Define("節点座標1", {no, {"X", S}, {"Y", S}, {"Z", S}, order}),
        Define("節点座標2", {no, {"X", S}, {"Y", S}, {"Z", S}, tens, order}),
        Define("要素情報", {no, {"iTan", I}, {"jTan", I}, {"材料番号", I}, order}),
        Define("材料定数0", SectionFields()),
        Define("材料定数1", SectionFields()),
        Define("材料定数2", {no, {"TYP", I}, FieldEntry::Slots(1, 5, S), {"φx", S}, {"φy", S}, {"E", S},
                             {"γ", S}, order}),
        Define("節点拘束形状", {no, {"u", T}, {"v", T}, {"w", T}, {"θx", T}, {"θy", T}, {"θz", T}, order}),
        Define("節点拘束配置", {no, {"拘束形状", I}, tens, order}),
        Define("要素端部形状", {no, {"xHKU", T}, {"yHKU", T}, {"zHKU", T}, {"xMWR", T}, {"yMWR", T},
                                {"zMWR", T}, order}),
        Define("要素端部配置", {no, {"i端部形状", I}, {"j端部形状", I}, tens, order}),
        Define("荷重形状", {no, {"TYP", I}, {"Case", I}, {"座標系", T}, FieldEntry::Slots(1, 7, S), order}),
        Define("荷重配置", {no, {"荷重形状", I}, tens, order}),
        // Analysis results.
        Define("Analyze節点変位", {{"Case", I}, no, {"⊿X", S}, {"⊿Y", S}, {"⊿Z", S},
                                   {"⊿θx", S}, {"⊿θy", S}, {"⊿θz", S}}),
        Define("Analyze部材応力", MemberForceFields()),
        Define("Analyze支点反力", {{"Case", I}, no, {"PX", S}, {"PY", S}, {"PZ", S},
                                   {"MX", S}, {"MY", S}, {"MZ", S}}),
        Define("Analyze等価節点荷重", MemberForceFields()),
        // Report work data.
        Define("PreviewHeniDrawData", DrawFields()),
        Define("PreviewHeniValData",
               Join({LabelBoxFields(), {{"節点番号", T}, {"要素番号", T}, {"材料番号", T}}})),
        Define("PreviewOhzuDrawData", DrawFields()),
        Define("PreviewOhzuValData",
               Join({LabelBoxFields(), {{"節点番号", T}, {"要素番号", T}, {"材料番号", T}}})),
        Define("PreviewRamenBuzaiData", DrawFields()),
        Define("PreviewRamenValData",
               Join({LabelBoxFields(), {{"要素番号", T}, {"節点番号", T}, {"材料番号", T}}})),
        Define("PreviewMentPoint", {{"bln種類", B}, {"Case", I}, {"XX", S}, {"YY", S}, {"zoom", S}}),
        // Section design.
        Define("VUP01断面設計共通事項",
               {{"構造", T}, {"部位名", T}, {"M材種", T}, {"M筋サイズ", T}, {"dtdc", S},
                {"Q筋材種", T}, {"Q筋サイズ", T}, {"Q筋X本数", I}, {"Q筋Y本数", I},
                {"S材種", T}, {"S強度", S}, {"Lb方法", I}, {"Lb分母", I}, {"Lb最低長", S},
                {"Lb絶対長", S}, {"LkPPPwr", S}, {"LkPFPwr", S}, {"LkFFPwr", S}, {"QdTyp", I},
                {"QdPwr", S}, {"MyTyp", I}, {"MyPwr", S}, {"Fc", S}, {"C_Agl", S}, {"G_Agl", S},
                {"etc部位名", T}}),
        Define("VUP01荷重名称組合せ",
               {{"CaseNo", I}, {"CaseName", T}, {"CaseCnd", T}, {"A1CNo", I}, {"A1CPw", S},
                {"A2CNo", I}, {"A2CPw", S}, {"A3CNo", I}, {"A3CPw", S}, {"A4CNo", I}, {"A4CPw", S},
                {"順", S}}),
        Define("VUP01鋼材材種強度", {{"材種名", T}, {"強度(SI)", S}, {"強度(CGS)", S}, {"順", S}}),
        Define("VUP01鉄筋材種強度",
               {{"材種名", T}, {"長引張SI", S}, {"長せん断SI", S}, {"短引張SI", S}, {"短せん断SI", S},
                {"長引張CGS", S}, {"長せん断CGS", S}, {"短引張CGS", S}, {"短せん断CGS", S}, {"順", S}}),
        Define("VUP01鉄筋材種サイズ", {{"材種名", T}, {"呼称", T}, {"順", S}}),
    };
}

// Table and field names are matched like the engine matches them: ASCII
// letters without regard to case, every other character exactly.
bool SameName(const QString& a, const QString& b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= u'A' && x <= u'Z') x = x - u'A' + u'a';
        if (y >= u'A' && y <= u'Z') y = y - u'A' + u'a';
        if (x != y) return false;
    }
    return true;
}

Variant Txt(const char* s) { return Variant::Text(QString::fromUtf8(s)); }
Variant Num(int v) { return Variant::Single(static_cast<float>(v)); }

}  // namespace

QString SlotFieldName(int slot)
{
    return QStringLiteral("fld_%1").arg(slot, 2, 10, QLatin1Char('0'));
}

const std::vector<TableDef>& AllTables()
{
    static const std::vector<TableDef> tables = BuildTables();
    return tables;
}

const TableDef* FindTable(const QString& name)
{
    for (const TableDef& def : AllTables())
        if (SameName(def.name, name)) return &def;
    return nullptr;
}

const TableDef& Table(const QString& name)
{
    const TableDef* def = FindTable(name);
    if (!def) rt::Raise(rt::ErrObjectNotFound, QStringLiteral("テーブル '%1' は定義されていません。").arg(name));
    return *def;
}

const QStringList& StartupTableNames()
{
    static const QStringList names{
        QStringLiteral("基本データ"),          QStringLiteral("節点座標1"),
        QStringLiteral("節点座標2"),           QStringLiteral("材料定数0"),
        QStringLiteral("材料定数1"),           QStringLiteral("材料定数2"),
        QStringLiteral("要素情報"),            QStringLiteral("節点拘束形状"),
        QStringLiteral("節点拘束配置"),        QStringLiteral("要素端部形状"),
        QStringLiteral("要素端部配置"),        QStringLiteral("荷重形状"),
        QStringLiteral("荷重配置"),            QStringLiteral("Analyze節点変位"),
        QStringLiteral("Analyze部材応力"),     QStringLiteral("Analyze支点反力"),
        QStringLiteral("Analyze等価節点荷重"), QStringLiteral("PreviewHeniDrawData"),
        QStringLiteral("PreviewHeniValData"),  QStringLiteral("PreviewOhzuDrawData"),
        QStringLiteral("PreviewOhzuValData"),  QStringLiteral("PreviewRamenBuzaiData"),
        QStringLiteral("PreviewRamenValData"), QStringLiteral("PreviewMentPoint"),
        QStringLiteral("VUP01断面設計共通事項"), QStringLiteral("VUP01荷重名称組合せ"),
        QStringLiteral("VUP01鋼材材種強度"),   QStringLiteral("VUP01鉄筋材種強度"),
        QStringLiteral("VUP01鉄筋材種サイズ"),
    };
    return names;
}

const QStringList& InputTableNames()
{
    static const QStringList names{
        QStringLiteral("基本データ"),   QStringLiteral("節点座標1"),    QStringLiteral("材料定数1"),
        QStringLiteral("材料定数2"),    QStringLiteral("要素情報"),     QStringLiteral("節点拘束形状"),
        QStringLiteral("節点拘束配置"), QStringLiteral("要素端部形状"), QStringLiteral("要素端部配置"),
        QStringLiteral("荷重形状"),     QStringLiteral("荷重配置"),
    };
    return names;
}

const QStringList& SectionDesignTableNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (int i = kBaseTableCount; i < kTableCount; ++i) n << AllTables()[i].name;
        return n;
    }();
    return names;
}

const DefaultRows& SteelGradeRows()
{
    static const DefaultRows rows = [] {
        DefaultRows r{kSteelGradeTable,
                      {QStringLiteral("材種名"), QStringLiteral("強度(SI)"), QStringLiteral("強度(CGS)"),
                       QStringLiteral("順")},
                      {}};
        struct Grade { const char* name; int si, cgs; };
        static const Grade grades[] = {
            {"SS400", 235, 2400},  {"SN400A", 235, 2400}, {"SN400B", 235, 2400},
            {"SN400C", 235, 2400}, {"SM400A", 235, 2400}, {"SM400B", 235, 2400},
            {"SM400C", 235, 2400}, {"STK400", 235, 2400}, {"STKR400", 245, 2400},
            {"SN490B", 325, 3300}, {"SN490C", 325, 3300}, {"SM490A", 325, 3300},
            {"SM490B", 325, 3300}, {"SM490C", 325, 3300}, {"STK490", 315, 3200},
            {"STKR490", 325, 3300}, {"BCR295", 295, 3000}, {"BCP235", 235, 2400},
            {"BCP325", 325, 3300},
        };
        int order = 0;
        for (const Grade& g : grades) r.rows.push_back({Txt(g.name), Num(g.si), Num(g.cgs), Num(++order)});
        return r;
    }();
    return rows;
}

const DefaultRows& BarGradeRows()
{
    static const DefaultRows rows = [] {
        DefaultRows r{kBarGradeTable, {}, {}};
        for (const FieldDef& f : Table(kBarGradeTable).fields) r.fields << f.name;   // 材種名, stresses, 順
        struct Grade { const char* name; int stress[8]; };
        static const Grade grades[] = {
            {"SR235", {160, 160, 235, 235, 1600, 1600, 2400, 2400}},
            {"SR295", {160, 200, 295, 295, 1600, 2000, 3000, 3000}},
            {"SD295A", {200, 200, 295, 295, 2000, 2000, 3000, 3000}},
            {"SD295B", {200, 200, 295, 295, 2000, 2000, 3000, 3000}},
            {"SD345", {220, 200, 345, 345, 2200, 2000, 3500, 3500}},
            {"SD390", {220, 200, 390, 390, 2200, 2000, 4000, 4000}},
        };
        int order = 0;
        for (const Grade& g : grades) {
            std::vector<Variant> row{Txt(g.name)};
            for (int s : g.stress) row.push_back(Num(s));
            row.push_back(Num(++order));
            r.rows.push_back(std::move(row));
        }
        return r;
    }();
    return rows;
}

}  // namespace schema
