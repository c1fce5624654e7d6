#include "report/tables/InputDataChapter.h"

#include "database/Schema.h"
#include "platform/Database.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultRows.h"
#include "report/tables/TableText.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace report {

namespace {

using rt::Variant;

const QString kLineEnd = QStringLiteral("\r\n");
// One restraint or end-condition column and the blanks after it.
const QString kConditionStep = QStringLiteral("+-----.--+  ");
// The columns of a load shape before its first parameter.
const QString kLoadShapeHead = QStringLiteral("      +---+   +---+  +---+  +------+   ");
constexpr int kCoordinateSystemCells = 8;
constexpr int kSlots = 10;


// Rows in ascending order of their first field, which is printed: a row
// without it cannot be placed and fails.
void SortByFirstField(std::vector<std::vector<Variant>>& rows)
{
    for (const auto& row : rows) row[0].toInteger();
    std::stable_sort(rows.begin(), rows.end(),
                     [](const std::vector<Variant>& a, const std::vector<Variant>& b) { return a[0].toDouble() < b[0].toDouble(); });
}

int RowCount(dao::Database& db, const QString& table)
{
    dao::RecordsetPtr rs = db.OpenRecordset(table);
    const int n = rs->RecordCount();
    rs->Close();
    return n;
}

// ---- header block -----------------------------------------------------------

void PrintHeaderBlock(ReportContext& ctx)
{
    preview::DocumentBuilder& doc = ctx.doc;
    doc.PrintParagraph(QStringLiteral("1. 入力データ"));
    doc.PrintParagraph(QString());
    doc.PrintParagraph(QStringLiteral("     　　　工事名　　") + TrimBlanks(ctx.header.ProjectName));
    const QString designer = TrimBlanks(ctx.header.Designer);
    if (!designer.isEmpty()) {
        doc.PrintParagraph(QString());
        doc.PrintParagraph(QStringLiteral("     　　　　設計　　") + designer);
    }
    const QString remarks = TrimBlanks(ctx.header.Remarks);
    if (!remarks.isEmpty()) {
        doc.PrintParagraph(QString());
        doc.PrintParagraph(QStringLiteral("     　　　　備考　　") + remarks);
    }
    const std::pair<QString, int> counts[] = {
        {QStringLiteral("     　　　節点数　　"), RowCount(ctx.db, QStringLiteral("節点座標1"))},
        {QStringLiteral("     　　　部材数　　"), RowCount(ctx.db, QStringLiteral("要素情報"))},
        {QStringLiteral("     荷重ケース数　　"), ctx.loadCaseCount},
    };
    for (const auto& [label, n] : counts) {
        doc.PrintParagraph(QString());
        doc.PrintParagraph(label + QString::number(n));
    }
    doc.PrintParagraph(QString());
    doc.PrintParagraph(QString());
}

// ---- placements -------------------------------------------------------------

// Which type applies to each node or member, as the analysis applies it:
// every non-zero slot of a placement row names a target, and of several
// rows naming one target the last in display order wins.
class Placements {
public:
    // `typeFields`: the type numbers of a row (one, or the i end and j end).
    Placements(dao::Database& db, const QString& table, const QStringList& typeFields)
    {
        QStringList fields{QStringLiteral("No_")};
        fields << typeFields;
        for (int k = 1; k <= kSlots; ++k) fields << schema::SlotFieldName(k);
        rows_ = ReadRows(db, table, fields, QStringLiteral("順 ASC"));
        const int types = static_cast<int>(typeFields.size());
        for (size_t r = 0; r < rows_.size(); ++r) {
            for (int k = 0; k < kSlots; ++k) {
                const Variant& slot = rows_[r][static_cast<size_t>(1 + types + k)];
                const int16_t target = slot.isNull() ? int16_t(0) : slot.toInteger();
                if (target != 0) winner_[target] = r;
            }
        }
    }
    // The placement row of `target`, or none.
    const std::vector<Variant>* Of(int16_t target) const
    {
        const auto it = winner_.find(target);
        return it == winner_.end() ? nullptr : &rows_[it->second];
    }

private:
    std::vector<std::vector<Variant>> rows_;
    std::unordered_map<int16_t, size_t> winner_;
};

// Condition types by number (the first row of a number, in stored order),
// with the components the report prints.
class ConditionTypes {
public:
    ConditionTypes(dao::Database& db, const QString& table, const QStringList& components)
    {
        QStringList fields{QStringLiteral("No_")};
        fields << components;
        rows_ = ReadRows(db, table, fields);
        for (size_t r = 0; r < rows_.size(); ++r)
            if (!rows_[r][0].isNull()) byNumber_.emplace(rows_[r][0].toInteger(), r);
    }
    // The components of type `type` (a placement's type field), or none.
    const std::vector<Variant>* Find(const Variant& type) const
    {
        const auto it = byNumber_.find(type.toInteger());
        return it == byNumber_.end() ? nullptr : &rows_[it->second];
    }

private:
    std::vector<std::vector<Variant>> rows_;
    std::unordered_map<int16_t, size_t> byNumber_;
};

// The words of a condition component: the one printed as a hyphen (free,
// rigid) and the one printed by name (fixed, pin), with its cell text.
struct ConditionWords {
    QString none;
    QString named;
    QString namedCell;
};

const ConditionWords kRestraintWords{QStringLiteral("自由"), QStringLiteral("拘束"), QStringLiteral("   拘束")};
const ConditionWords kEndWords{QStringLiteral("剛"), QStringLiteral("ピン"), QStringLiteral("   ピン   ")};
const QString kNoCondition = QStringLiteral("      -");

QString ConditionCell(const Variant& component, const ConditionWords& words)
{
    const QString text = component.toString();
    if (text == words.none) return kNoCondition;
    if (text == words.named) return words.namedCell;
    return FormatFixedWidth(component.toDouble(), 6, 3);
}

// Prints the condition columns from `origin`, one step apart: the
// components of `type` (after its number), or hyphens without a type.
void PrintConditionColumns(preview::DocumentBuilder& doc, double origin, double step, int count,
                           const std::vector<Variant>* type, const ConditionWords& words)
{
    for (int k = 0; k < count; ++k) {
        doc.SetCurrentX(origin + k * step);
        doc.PrintText(type ? ConditionCell((*type)[static_cast<size_t>(1 + k)], words) : kNoCondition);
    }
}

double MeasuredWidth(preview::DocumentBuilder& doc, const QString& text)
{
    doc.MeasureText(text);
    return doc.MeasuredTextWidth();
}

[[noreturn]] void StopMissingType(const QString& text) { Fail(ReportMessage{text}); }

// ---- the five tables ----------------------------------------------------------

// Caption, heading block and rows; the heading code is 0 again before the
// blank lines after the table.
void PrintTable(ReportContext& ctx, const QString& caption, int16_t code, bool blankLinesAfter, const std::function<void()>& rows)
{
    ctx.doc.PrintParagraph(caption);
    {
        RunningTable table(ctx, code);
        rows();
    }
    if (blankLinesAfter) {
        ctx.doc.PrintParagraph(QString());
        ctx.doc.PrintParagraph(QString());
    }
}

void PrintNodes(ReportContext& ctx)
{
    preview::DocumentBuilder& doc = ctx.doc;
    auto nodes = ReadRows(ctx.db, QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z"});
    SortByFirstField(nodes);
    const ConditionTypes types(ctx.db, QStringLiteral("節点拘束形状"),
                               {"u", "v", "w", QStringLiteral("θx"), QStringLiteral("θy"), QStringLiteral("θz")});
    const Placements placements(ctx.db, QStringLiteral("節点拘束配置"), {QStringLiteral("拘束形状")});
    const double step = MeasuredWidth(doc, kConditionStep);
    for (const auto& node : nodes) {
        const int16_t no = node[0].toInteger();
        const std::vector<Variant>* placement = placements.Of(no);
        const std::vector<Variant>* type = nullptr;
        if (placement) {
            type = types.Find((*placement)[1]);
            if (!type)
                StopMissingType(QStringLiteral("「節点拘束配置」で入力した拘束条件　") + QString::number((*placement)[0].toInteger())
                                + kLineEnd
                                + QStringLiteral("入力した拘束条件が「節点拘束条件」に登録されていないのでドキュメントの作成処理を終了します"));
        }
        doc.PrintText(Blanks(6) + FormatFixedWidth(no, 5, 0) + Blanks(2) + FormatFixedWidth(node[1].toSingle(), 5, 3) + Blanks(2)
                      + FormatFixedWidth(node[2].toSingle(), 5, 3) + Blanks(2) + FormatFixedWidth(node[3].toSingle(), 5, 3)
                      + Blanks(3));
        PrintConditionColumns(doc, doc.CurrentX(), step, 6, type, kRestraintWords);
        doc.PrintText(kLineEnd);
    }
}

void PrintSections(ReportContext& ctx)
{
    auto sections = ReadRows(ctx.db, QStringLiteral("材料定数0"), {"No_", "A", "Ixx", "Iyy", "Izz", "E", QStringLiteral("γ")});
    SortByFirstField(sections);
    // Blanks before each value, its width and its decimals.
    struct Column {
        int gap, width, decimals;
    };
    static constexpr Column columns[] = {{3, 5, 1}, {3, 8, 1}, {3, 8, 1}, {3, 8, 1}, {3, 8, 0}, {3, 6, 0}};
    for (const auto& s : sections) {
        QString line = Blanks(6) + FormatFixedWidth(s[0].toInteger(), 5, 0);
        for (size_t k = 0; k < std::size(columns); ++k)
            line += Blanks(columns[k].gap)
                    + FormatFixedWidth(s[k + 1].toSingle(), static_cast<int16_t>(columns[k].width), static_cast<int16_t>(columns[k].decimals));
        ctx.doc.PrintParagraph(line);
    }
}

void PrintMembers(ReportContext& ctx)
{
    preview::DocumentBuilder& doc = ctx.doc;
    auto members = ReadRows(ctx.db, QStringLiteral("要素情報"), {"No_", QStringLiteral("材料番号"), "iTan", "jTan"});
    SortByFirstField(members);
    const ConditionTypes types(ctx.db, QStringLiteral("要素端部形状"), {"xMWR", "yMWR", "zMWR"});
    const Placements placements(ctx.db, QStringLiteral("要素端部配置"), {QStringLiteral("i端部形状"), QStringLiteral("j端部形状")});
    const double step = MeasuredWidth(doc, kConditionStep);
    for (const auto& member : members) {
        const int16_t no = member[0].toInteger();
        const std::vector<Variant>* placement = placements.Of(no);
        const std::vector<Variant>* ends[2] = {nullptr, nullptr};
        if (placement) {
            ends[0] = types.Find((*placement)[1]);
            ends[1] = types.Find((*placement)[2]);
            if (!ends[0] || !ends[1])
                StopMissingType(QStringLiteral("「部材端部配置」で入力したｉ端またはｊ端の端部条件　")
                                + QString::number((*placement)[0].toInteger()) + kLineEnd
                                + QStringLiteral("入力した端部条件が「部材端部条件」に登録されていないのでドキュメントの作成処理を終了します"));
        }
        doc.PrintText(Blanks(6) + FormatFixedWidth(no, 5, 0) + Blanks(5) + FormatFixedWidth(member[1].toInteger(), 5, 0) + Blanks(5)
                      + FormatFixedWidth(member[2].toInteger(), 5, 0) + Blanks(5));
        const double origin = doc.CurrentX();
        PrintConditionColumns(doc, origin, step, 3, ends[0], kEndWords);
        // The j end on the next line, its node under the i-end node.
        doc.PrintText(kLineEnd);
        doc.PrintText(Blanks(26) + FormatFixedWidth(member[3].toInteger(), 5, 0));
        PrintConditionColumns(doc, origin, step, 3, ends[1], kEndWords);
        doc.PrintText(kLineEnd);
        doc.PrintText(kLineEnd);
    }
}

// How many parameters of a load type count as used when they are 0.
int UsedParameters(int16_t type)
{
    static constexpr std::pair<int16_t, int> used[] = {{1, 6},  {2, 7},  {3, 1},  {4, 4},  {5, 4},  {14, 4}, {15, 4}, {6, 6}, {7, 6},
                                                       {16, 6}, {17, 6}, {8, 2},  {18, 2}, {9, 6},  {19, 6}, {10, 7}, {20, 7}};
    for (const auto& [t, count] : used)
        if (t == type) return count;
    return 0;
}

void PrintLoadShapes(ReportContext& ctx)
{
    preview::DocumentBuilder& doc = ctx.doc;
    QStringList fields{"No_", "TYP", "Case", QStringLiteral("座標系")};
    for (int k = 1; k <= 7; ++k) fields << schema::SlotFieldName(k);
    auto shapes = ReadRows(ctx.db, QStringLiteral("荷重形状"), fields);
    SortByFirstField(shapes);
    const double step = MeasuredWidth(doc, kLoadShapeHead);
    const double origin = doc.CurrentX();
    for (const auto& s : shapes) {
        const int16_t type = s[1].toInteger();
        doc.PrintText(Blanks(6) + FormatFixedWidth(s[0].toInteger(), 5, 0) + Blanks(3) + FormatFixedWidth(type, 5, 0) + Blanks(2)
                      + FormatFixedWidth(s[2].toInteger(), 5, 0) + Blanks(2) + RightCells(s[3].toString(), kCoordinateSystemCells));
        doc.SetCurrentX(origin + step);
        const int used = UsedParameters(type);
        QString parameters;
        for (int k = 1; k <= 7; ++k) {
            const float v = s[static_cast<size_t>(3 + k)].toSingle();
            parameters += v != 0 || k <= used ? FormatFixedWidth(v, 5, 3) : QStringLiteral("     -   ");
            if (k < 7) parameters += Blanks(2);
        }
        doc.PrintText(parameters);
        doc.PrintText(kLineEnd);
    }
}

void PrintLoadPlacement(ReportContext& ctx)
{
    QStringList fields{QStringLiteral("荷重形状")};
    for (int k = 1; k <= kSlots; ++k) fields << schema::SlotFieldName(k);
    auto rows = ReadRows(ctx.db, QStringLiteral("荷重配置"), fields);
    SortByFirstField(rows);
    for (const auto& r : rows) {
        QString line = Blanks(6) + FormatFixedWidth(r[0].toInteger(), 5, 0) + Blanks(3);
        for (int k = 1; k <= kSlots; ++k) {
            const int16_t target = r[static_cast<size_t>(k)].toInteger();
            line += target != 0 ? FormatFixedWidth(target, 5, 0) + Blanks(2) : QStringLiteral("    -  ");
        }
        ctx.doc.PrintParagraph(line);
    }
}

}  // namespace

void PrintInputDataChapter(ReportContext& ctx)
{
    PrintHeaderBlock(ctx);
    PrintTable(ctx, QStringLiteral("1.1 節点座標および拘束状態"), TableCodeNodes, true, [&] { PrintNodes(ctx); });
    PrintTable(ctx, QStringLiteral("1.2 部材形状"), TableCodeSections, true, [&] { PrintSections(ctx); });
    PrintTable(ctx, QStringLiteral("1.3 部材配置"), TableCodeMembers, true, [&] { PrintMembers(ctx); });
    PrintTable(ctx, QStringLiteral("1.4 荷重形状"), TableCodeLoadShapes, true, [&] { PrintLoadShapes(ctx); });
    PrintTable(ctx, QStringLiteral("1.5 荷重形状配置"), TableCodeLoadPlacement, false, [&] { PrintLoadPlacement(ctx); });
}

}  // namespace report
