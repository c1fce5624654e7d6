#include "analysis/AnalysisTables.h"

#include "analysis/AnalysisState.h"
#include "analysis/LoadVectors.h"
#include "analysis/SectionProperties.h"
#include "analysis/SolveFrame.h"
#include "core/ProgramState.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>

using rt::Variant;

std::vector<std::vector<Variant>> SectionRowsInUse;

namespace {

const QString CRLF = QStringLiteral("\r\n");

int IntOrZero(const Variant& v) { return v.isNull() ? 0 : v.toInteger(); }
double RealOrZero(const Variant& v) { return v.isNull() ? 0.0 : v.toDouble(); }

// Reads every row of a table (sorted by 順 when asked) as values by field name.
struct TableRows {
    QStringList fields;
    std::vector<std::vector<Variant>> rows;
    int Index(const QString& name) const
    {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].compare(name, Qt::CaseInsensitive) == 0) return i;
        rt::Raise(rt::ErrItemNotFound, name);
    }
};

TableRows ReadTable(const dao::DatabasePtr& db, const QString& table, bool byOrder)
{
    TableRows t;
    dao::RecordsetPtr rs = db->OpenRecordset(table);
    if (byOrder && rs->RecordCount() > 0) {
        rs->Sort = QStringLiteral("順 ASC");
        dao::RecordsetPtr sorted = rs->OpenRecordset();
        rs->Close();
        rs = sorted;
    }
    for (int i = 0; i < rs->FieldCount(); ++i) t.fields << rs->FieldName(i);
    if (rs->RecordCount() > 0) {
        rs->MoveFirst();
        while (!rs->EOF_()) {
            std::vector<Variant> row;
            row.reserve(static_cast<size_t>(t.fields.size()));
            for (int i = 0; i < t.fields.size(); ++i) row.push_back(rs->Field(i));
            t.rows.push_back(std::move(row));
            rs->MoveNext();
        }
    }
    rs->Close();
    return t;
}

QString FieldSlot(int k) { return QStringLiteral("fld_%1").arg(k, 2, 10, QLatin1Char('0')); }

[[noreturn]] void Report(const QString& text) { AbortWithInformation(text); }

}  // namespace

dao::DatabasePtr OpenWorkingDatabase() { return dao::Database::Open(kWorkingDatabase); }

void ReplaceTableRows(const dao::DatabasePtr& db, const QString& table, const QStringList& fields,
                      const std::vector<std::vector<Variant>>& rows)
{
    db->BeginTrans();
    try {
        db->ClearTable(table);
        if (!rows.empty()) db->AppendRows(table, fields, rows);
        db->CommitTrans();
    } catch (...) {
        try { db->Rollback(); } catch (...) {}
        throw;
    }
}

QString MessageNoNodeData() { return QStringLiteral("節点データがに登録されていないので計算を終了します"); }
QString MessageNoMemberData() { return QStringLiteral("部材データが「部材配置」に登録されていないので計算を終了します"); }

void ReadCaseCountForAnalysis()
{
    nCase = 0;
    dao::DatabasePtr db = OpenWorkingDatabase();
    TableRows t = ReadTable(db, QStringLiteral("基本データ"), false);
    db->Close();
    if (t.rows.empty() || t.rows[0][t.Index(QStringLiteral("Case"))].isNull())
        Report(QStringLiteral("基本データが登録されていないので計算を終了します"));
    const int n = t.rows[0][t.Index(QStringLiteral("Case"))].toInteger();
    if (n < 1 || n > kMaxCases)
        Report(QStringLiteral("基本データの荷重ケース数　") + QString::number(n) + CRLF
               + QStringLiteral("荷重ケース数が 1 ～ 10 の範囲にないので計算を終了します"));
    nCase = n;
}

bool ConvertConditionValue(const QString& text, double* value)
{
    if (text == QStringLiteral("拘束") || text == QStringLiteral("剛")) { *value = 1.0; return true; }
    if (text == QStringLiteral("自由") || text == QStringLiteral("ピン")) { *value = 0.0; return true; }
    if (!rt::IsNumeric(text)) return false;
    *value = rt::Val(text);
    return std::isfinite(*value);
}

void LoadStructureModel()
{
    ClearModelArrays();
    Program().NodeRow.fill(0);
    Program().MemberRow.fill(0);
    dao::DatabasePtr db = OpenWorkingDatabase();

    // 1. Nodes, in display order.
    const TableRows nodes = ReadTable(db, QStringLiteral("節点座標1"), true);
    if (nodes.rows.empty()) Report(MessageNoNodeData());
    if (nodes.rows.size() > static_cast<size_t>(kMaxNodes))
        Report(QStringLiteral("節点データが 300 を超えて登録されているので計算を終了します"));
    nNode = static_cast<int>(nodes.rows.size());
    Program().NodeNo.assign(static_cast<size_t>(nNode + 1), 0);
    {
        const int cNo = nodes.Index("No_"), cX = nodes.Index("X"), cY = nodes.Index("Y"), cZ = nodes.Index("Z");
        for (int r = 1; r <= nNode; ++r) {
            const auto& row = nodes.rows[static_cast<size_t>(r - 1)];
            const int no = IntOrZero(row[cNo]);
            if (no < 1 || no > kMaxNodes)
                Report(QStringLiteral("「節点座標」で入力した節点番号　") + QString::number(no) + CRLF
                       + QStringLiteral("節点番号が 1 ～ 300 の範囲にないので計算を終了します"));
            if (Program().NodeRow[no] != 0)
                Report(QStringLiteral("「節点座標」で入力した節点番号　") + QString::number(no) + CRLF
                       + QStringLiteral("同じ節点番号が二つ以上登録されているので計算を終了します"));
            Program().NodeNo[r] = static_cast<int16_t>(no);
            Program().NodeRow[no] = static_cast<int16_t>(r);
            NodeData[r][1] = row[cX].toDouble();
            NodeData[r][2] = row[cY].toDouble();
            NodeData[r][3] = row[cZ].toDouble();
        }
    }
    ProgressMilestone();

    // 2. Restraints: every non-zero target of a placement row; the last row wins.
    {
        const TableRows types = ReadTable(db, QStringLiteral("節点拘束形状"), false);
        const TableRows places = ReadTable(db, QStringLiteral("節点拘束配置"), true);
        std::map<int, size_t> typeRow;
        const int tNo = types.Index("No_");
        for (size_t i = 0; i < types.rows.size(); ++i) typeRow.emplace(IntOrZero(types.rows[i][tNo]), i);
        const QString comps[6] = {"u", "v", "w", "θx", "θy", "θz"};
        const int pType = places.Index(QStringLiteral("拘束形状"));
        for (const auto& p : places.rows) {
            const int type = IntOrZero(p[pType]);
            auto it = typeRow.find(type);
            if (it == typeRow.end())
                Report(QStringLiteral("「節点拘束条件」で入力した拘束条件　") + QString::number(type) + CRLF
                       + QStringLiteral("入力した拘束条件が「節点拘束条件」に登録されていないので計算を終了します"));
            double values[6];
            for (int c = 0; c < 6; ++c) {
                const Variant v = types.rows[it->second][types.Index(comps[c])];
                const QString text = v.toStringOrEmpty();
                if (!ConvertConditionValue(text, &values[c]))
                    Report(QStringLiteral("「節点拘束条件」で入力した拘束条件　") + QString::number(type) + CRLF
                           + QStringLiteral("拘束条件「") + text
                           + QStringLiteral("」が拘束・自由・数値のどれでもないので計算を終了します"));
            }
            for (int k = 1; k <= 10; ++k) {
                const int n = IntOrZero(p[places.Index(FieldSlot(k))]);
                if (n == 0) continue;
                if (n < 1 || n > kMaxNodes || Program().NodeRow[n] == 0)
                    Report(QStringLiteral("「節点拘束配置」で入力した節点番号　") + QString::number(n) + CRLF
                           + QStringLiteral("入力した節点番号が「節点座標」に登録されていないので計算を終了します"));
                for (int c = 0; c < 6; ++c) NodeData[Program().NodeRow[n]][4 + c] = values[c];
            }
        }
    }
    ProgressMilestone();

    // 3. Members, in display order.
    const TableRows members = ReadTable(db, QStringLiteral("要素情報"), true);
    if (members.rows.empty()) Report(MessageNoMemberData());
    if (members.rows.size() > static_cast<size_t>(kMaxMembers))
        Report(QStringLiteral("部材データが 500 を超えて登録されているので計算を終了します"));
    nMember = static_cast<int>(members.rows.size());
    Program().MemberNo.assign(static_cast<size_t>(nMember + 1), 0);
    const int mNo = members.Index("No_"), mI = members.Index("iTan"), mJ = members.Index("jTan");
    const int mSec = members.Index(QStringLiteral("材料番号"));
    for (int r = 1; r <= nMember; ++r) {
        const auto& row = members.rows[static_cast<size_t>(r - 1)];
        const int no = IntOrZero(row[mNo]);
        if (no < 1 || no > kMaxMembers)
            Report(QStringLiteral("「部材配置」で入力した部材番号　") + QString::number(no) + CRLF
                   + QStringLiteral("部材番号が 1 ～ 500 の範囲にないので計算を終了します"));
        if (Program().MemberRow[no] != 0)
            Report(QStringLiteral("「部材配置」で入力した部材番号　") + QString::number(no) + CRLF
                   + QStringLiteral("同じ部材番号が二つ以上登録されているので計算を終了します"));
        Program().MemberNo[r] = static_cast<int16_t>(no);
        Program().MemberRow[no] = static_cast<int16_t>(r);
        for (int end = 0; end < 2; ++end) {
            const int n = IntOrZero(row[end == 0 ? mI : mJ]);
            if (n < 1 || n > kMaxNodes || Program().NodeRow[n] == 0)
                Report(QStringLiteral("「部材配置」で入力した部材番号　") + QString::number(no) + CRLF
                       + QStringLiteral("端部の節点番号　") + QString::number(n)
                       + QStringLiteral(" が「節点座標」に登録されていないので計算を終了します"));
            MemberData[r][1 + end] = Program().NodeRow[n];
        }
        MemberData[r][3] = IntOrZero(row[mSec]);
    }
    ProgressMilestone();
    for (int r = 1; r <= nMember; ++r)
        for (int c = 4; c <= 15; ++c) MemberData[r][c] = 1.0;

    // 4. Member ends.
    {
        const TableRows types = ReadTable(db, QStringLiteral("要素端部形状"), false);
        const TableRows places = ReadTable(db, QStringLiteral("要素端部配置"), true);
        std::map<int, size_t> typeRow;
        const int tNo = types.Index("No_");
        for (size_t i = 0; i < types.rows.size(); ++i) typeRow.emplace(IntOrZero(types.rows[i][tNo]), i);
        const QString comps[6] = {"xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR"};
        auto endValues = [&](int type, double* values) {
            const auto& trow = types.rows[typeRow.at(type)];
            for (int c = 0; c < 6; ++c) {
                const Variant v = trow[types.Index(comps[c])];
                if (v.isNull()) { values[c] = 1.0; continue; }   // an empty component is rigid
                const QString text = v.toStringOrEmpty();
                if (!ConvertConditionValue(text, &values[c]))
                    Report(QStringLiteral("「部材端部条件」で入力した端部条件　") + QString::number(type) + CRLF
                           + QStringLiteral("端部条件「") + text
                           + QStringLiteral("」が剛・ピン・数値のどれでもないので計算を終了します"));
            }
        };
        const int pI = places.Index(QStringLiteral("i端部形状")), pJ = places.Index(QStringLiteral("j端部形状"));
        for (const auto& p : places.rows) {
            const int ti = IntOrZero(p[pI]), tj = IntOrZero(p[pJ]);
            if (!typeRow.count(ti))
                Report(QStringLiteral("「部材端部配置」で入力したｉ端部条件　") + QString::number(ti) + CRLF
                       + QStringLiteral("入力したｉ端部条件が「部材端部条件」に登録されていないので計算を終了します"));
            if (!typeRow.count(tj))
                Report(QStringLiteral("「部材端部配置」で入力したｊ端部条件　") + QString::number(tj) + CRLF
                       + QStringLiteral("入力したｊ端部条件が「部材端部条件」に登録されていないので計算を終了します"));
            double vi[6], vj[6];
            endValues(ti, vi);
            endValues(tj, vj);
            for (int k = 1; k <= 10; ++k) {
                const int m = IntOrZero(p[places.Index(FieldSlot(k))]);
                if (m == 0) continue;
                if (m < 1 || m > kMaxMembers || Program().MemberRow[m] == 0)
                    Report(QStringLiteral("「部材端部配置」で入力した部材番号　") + QString::number(m) + CRLF
                           + QStringLiteral("入力した部材番号が「部材配置」に登録されていないので計算を終了します"));
                const int r = Program().MemberRow[m];
                for (int c = 0; c < 6; ++c) {
                    MemberData[r][4 + c] = vi[c];
                    MemberData[r][10 + c] = vj[c];
                }
            }
        }
    }
    ProgressMilestone();

    // 5. Sections, and 材料定数0 with the sections in use.
    {
        const TableRows props = ReadTable(db, QStringLiteral("材料定数1"), false);
        const TableRows shapes = ReadTable(db, QStringLiteral("材料定数2"), false);
        std::map<int, size_t> propRow, shapeRow;
        for (size_t i = 0; i < props.rows.size(); ++i) propRow.emplace(IntOrZero(props.rows[i][props.Index("No_")]), i);
        for (size_t i = 0; i < shapes.rows.size(); ++i) shapeRow.emplace(IntOrZero(shapes.rows[i][shapes.Index("No_")]), i);
        int maxOrder = 0;
        for (const auto& row : props.rows) {
            const Variant v = row[props.Index(QStringLiteral("順"))];
            if (!v.isNull()) maxOrder = std::max(maxOrder, static_cast<int>(v.toInteger()));
        }
        std::vector<std::vector<Variant>> used;
        QSet<int> seen;
        auto missing = [](int s) {
            Report(QStringLiteral("「部材配置」で入力した形状番号　") + QString::number(s) + CRLF
                   + QStringLiteral("入力した形状番号が「部材形状1」「部材形状2」のどちらにも登録されていないので計算を終了します"));
        };
        for (int r = 1; r <= nMember; ++r) {
            const int s = static_cast<int>(MemberData[r][3]);
            double A, J, Iyy, Izz, E, G;
            int order;
            if (s >= 1000) {
                auto it = shapeRow.find(s);
                if (it == shapeRow.end()) missing(s);
                const auto& row = shapes.rows[it->second];
                ShapeDimensions d;
                d.d1 = RealOrZero(row[shapes.Index("fld_01")]) / 10;
                d.d2 = RealOrZero(row[shapes.Index("fld_02")]) / 10;
                d.d3 = RealOrZero(row[shapes.Index("fld_03")]) / 10;
                d.d4 = RealOrZero(row[shapes.Index("fld_04")]) / 10;
                d.d5 = RealOrZero(row[shapes.Index("fld_05")]) / 10;
                const int type = IntOrZero(row[shapes.Index("TYP")]);
                if (type < 1 || type > 6)
                    Report(QStringLiteral("「部材形状2」で入力した形状番号　") + QString::number(s) + CRLF
                           + QStringLiteral("断面の種類　") + QString::number(type)
                           + QStringLiteral(" が 1 ～ 6 のどれでもないので計算を終了します"));
                SectionValues v;
                if (!CalcShapeSection(type, d, &v))
                    Report(QStringLiteral("「部材形状2」で入力した形状番号　") + QString::number(s) + CRLF
                           + QStringLiteral("断面の寸法から断面性能を計算できないので計算を終了します"));
                // Results are kept as the Single values the table holds.
                A = static_cast<float>(v.A); J = static_cast<float>(v.J);
                Iyy = static_cast<float>(v.Iyy); Izz = static_cast<float>(v.Izz);
                const double phx = RealOrZero(row[shapes.Index(QStringLiteral("φx"))]);
                const double phy = RealOrZero(row[shapes.Index(QStringLiteral("φy"))]);
                if (phx > 0) Iyy = Iyy * phx;
                if (phy > 0) Izz = Izz * phy;
                E = row[shapes.Index("E")].toDouble();
                G = row[shapes.Index(QStringLiteral("γ"))].toDouble();
                order = IntOrZero(row[shapes.Index(QStringLiteral("順"))]) + maxOrder;
            } else {
                auto it = propRow.find(s);
                if (it == propRow.end()) missing(s);
                const auto& row = props.rows[it->second];
                A = row[props.Index("A")].toDouble();
                J = row[props.Index("Ixx")].toDouble();
                Iyy = row[props.Index("Iyy")].toDouble();
                Izz = row[props.Index("Izz")].toDouble();
                E = row[props.Index("E")].toDouble();
                G = row[props.Index(QStringLiteral("γ"))].toDouble();
                order = IntOrZero(row[props.Index(QStringLiteral("順"))]);
            }
            MemberData[r][16] = A; MemberData[r][17] = J; MemberData[r][18] = Iyy;
            MemberData[r][19] = Izz; MemberData[r][20] = E; MemberData[r][21] = G;
            if (!seen.contains(s)) {
                seen.insert(s);
                used.push_back({Variant::Integer(static_cast<int16_t>(s)), Variant::Double(E), Variant::Double(G),
                                Variant::Double(A), Variant::Double(J), Variant::Double(Iyy), Variant::Double(Izz),
                                Variant::Long(order)});
            }
        }
        SectionRowsInUse = std::move(used);
    }
    ProgressMilestone();
    db->Close();
    SizeBandMatrix();
}

void BuildLoadVectors()
{
    LoadShapeTable.clear();
    LoadShapeRowMap.clear();
    LoadPlacementTable.clear();
    dao::DatabasePtr db = OpenWorkingDatabase();

    // 1. Load shapes in display order; shapes of cases beyond nCase stay unmapped.
    const TableRows shapes = ReadTable(db, QStringLiteral("荷重形状"), true);
    LoadShapeTable.assign(shapes.rows.size() + 1, std::array<double, 11>{});
    const int sNo = shapes.Index("No_"), sTyp = shapes.Index("TYP"), sCase = shapes.Index("Case");
    const int sDir = shapes.Index(QStringLiteral("座標系"));
    for (size_t r = 1; r <= shapes.rows.size(); ++r) {
        const auto& row = shapes.rows[r - 1];
        auto& s = LoadShapeTable[r];
        s[1] = IntOrZero(row[sTyp]);
        s[2] = IntOrZero(row[sCase]);
        if (s[2] <= nCase) {
            s[3] = CoordinateCode(row[sDir].toStringOrEmpty());
            for (int k = 1; k <= 7; ++k) s[3 + k] = RealOrZero(row[shapes.Index(QStringLiteral("fld_0%1").arg(k))]);
            LoadShapeRowMap[IntOrZero(row[sNo])] = static_cast<int>(r);
        }
    }
    ProgressMilestone();

    // 2. Placements in stored order, every reference checked before anything is placed.
    {
        const TableRows unsorted = ReadTable(db, QStringLiteral("荷重形状"), false);
        std::map<int, int> storedType;
        for (const auto& row : unsorted.rows) storedType.emplace(IntOrZero(row[unsorted.Index("No_")]), IntOrZero(row[unsorted.Index("TYP")]));
        const TableRows places = ReadTable(db, QStringLiteral("荷重配置"), false);
        const int pShape = places.Index(QStringLiteral("荷重形状"));
        for (const auto& p : places.rows) {
            LoadPlacementRow out;
            out.shapeNo = IntOrZero(p[pShape]);
            auto it = storedType.find(out.shapeNo);
            if (it == storedType.end())
                Report(QStringLiteral("「荷重配置」で入力した荷重形状") + rt::PadLeft(QString::number(out.shapeNo), 2) + CRLF
                       + QStringLiteral("入力した荷重形状が｢荷重形状｣に登録されていないので計算を終了します"));
            out.type = it->second;
            auto mapped = LoadShapeRowMap.find(out.shapeNo);
            out.shapeRow = mapped == LoadShapeRowMap.end() ? 0 : mapped->second;
            for (int k = 1; k <= 10; ++k) {
                const int v = IntOrZero(p[places.Index(FieldSlot(k))]);
                if (v == 0) continue;
                if (out.type == 1) {
                    if (v < 1 || v > kMaxNodes || Program().NodeRow[v] == 0)
                        Report(QStringLiteral("「荷重配置」で入力した節点番号　") + QString::number(v) + CRLF
                               + QStringLiteral("入力した節点番号が「節点座標」に登録されていないので計算を終了します"));
                    out.targets.push_back(Program().NodeRow[v]);
                } else {
                    if (v < 1 || v > kMaxMembers || Program().MemberRow[v] == 0)
                        Report(QStringLiteral("「荷重配置」で入力した部材番号　") + QString::number(v) + CRLF
                               + QStringLiteral("入力した部材番号が「部材配置」に登録されていないので計算を終了します"));
                    out.targets.push_back(Program().MemberRow[v]);
                }
            }
            LoadPlacementTable.push_back(std::move(out));
        }
    }
    db->Close();
    ProgressMilestone();

    BuildLoadVectorsFromTables();
    ProgressMilestone();
    CloseLoadTables();
}

namespace {
const QStringList kMemberFields = {"Case", "No_", "iTan", "iN", "iQy", "iQz", "iMx", "iMy", "iMz",
                                   "jTan", "jN", "jQy", "jQz", "jMx", "jMy", "jMz", "cMy", "cMz"};

std::vector<Variant> MemberRowValues(int m, int c, const std::array<double, 15>& F)
{
    std::vector<Variant> v;
    v.reserve(18);
    v.push_back(Variant::Integer(static_cast<int16_t>(c)));
    v.push_back(Variant::Integer(Program().MemberNo[m]));
    v.push_back(Variant::Integer(Program().NodeNo[static_cast<int>(MemberData[m][1])]));
    for (int q = 1; q <= 6; ++q) v.push_back(Variant::Double(F[q]));
    v.push_back(Variant::Integer(Program().NodeNo[static_cast<int>(MemberData[m][2])]));
    for (int q = 7; q <= 14; ++q) v.push_back(Variant::Double(F[q]));
    return v;
}
}  // namespace

void WriteSectionTable()
{
    dao::DatabasePtr db = OpenWorkingDatabase();
    ReplaceTableRows(db, QStringLiteral("材料定数0"),
                     {"No_", "E", QStringLiteral("γ"), "A", "Ixx", "Iyy", "Izz", QStringLiteral("順")}, SectionRowsInUse);
    db->Close();
}

void WriteEquivalentLoadTable()
{
    std::vector<std::vector<Variant>> rows;
    for (int m = 1; m <= nMember; ++m)
        for (int c = 1; c <= nCase; ++c) {
            const auto& F = MemberCaseRecords[m][c];
            bool any = false;
            for (int q = 1; q <= 14; ++q) any = any || F[q] != 0;
            if (any) rows.push_back(MemberRowValues(m, c, F));
        }
    dao::DatabasePtr db = OpenWorkingDatabase();
    ReplaceTableRows(db, QStringLiteral("Analyze等価節点荷重"), kMemberFields, rows);
    db->Close();
}

namespace {
// Every value must fit the Single fields before the first table is touched.
void CheckResultsFitTheTables()
{
    auto check = [](double v) {
        if (!rt::FitsSingle(v))
            AbortWithExclamation(QStringLiteral("ERROR：計算結果の値が大きすぎるため結果を書き込めません（構造が不安定か、入力値が大きすぎます）。"));
    };
    for (int m = 1; m <= nMember; ++m)
        for (int c = 1; c <= nCase; ++c)
            for (int q = 1; q <= 14; ++q) {
                check(MemberCaseRecords[m][c][q]);
                check(MemberEndForces[m][c][q]);
            }
    for (int n = 1; n <= nNode; ++n)
        for (int c = 1; c <= nCase; ++c)
            for (int d = 1; d <= 6; ++d) {
                check(Displacement(n, d, c));
                check(Reaction(n, d, c));
            }
}
}  // namespace

void WriteResultTables()
{
    // Nothing is written before every stage has succeeded: a failed run
    // leaves every table as it was.
    CheckResultsFitTheTables();
    WriteSectionTable();
    WriteEquivalentLoadTable();
    dao::DatabasePtr db = OpenWorkingDatabase();
    {
        std::vector<std::vector<Variant>> rows;
        rows.reserve(static_cast<size_t>(nMember) * nCase);
        for (int m = 1; m <= nMember; ++m)
            for (int c = 1; c <= nCase; ++c) rows.push_back(MemberRowValues(m, c, MemberEndForces[m][c]));
        ReplaceTableRows(db, QStringLiteral("Analyze部材応力"), kMemberFields, rows);
    }
    ProgressMilestone();
    {
        std::vector<std::vector<Variant>> rows;
        for (int n = 1; n <= nNode; ++n)
            for (int c = 1; c <= nCase; ++c) {
                std::vector<Variant> v{Variant::Integer(Program().NodeNo[n]), Variant::Integer(static_cast<int16_t>(c))};
                for (int d = 1; d <= 6; ++d) v.push_back(Variant::Double(Displacement(n, d, c)));
                rows.push_back(std::move(v));
            }
        ReplaceTableRows(db, QStringLiteral("Analyze節点変位"),
                         {"No_", "Case", QStringLiteral("⊿X"), QStringLiteral("⊿Y"), QStringLiteral("⊿Z"),
                          QStringLiteral("⊿θx"), QStringLiteral("⊿θy"), QStringLiteral("⊿θz")}, rows);
    }
    ProgressMilestone();
    {
        std::vector<std::vector<Variant>> rows;
        for (int n = 1; n <= nNode; ++n)
            for (int c = 1; c <= nCase; ++c) {
                std::vector<Variant> v{Variant::Integer(static_cast<int16_t>(c)), Variant::Integer(Program().NodeNo[n])};
                for (int d = 1; d <= 6; ++d) v.push_back(Variant::Double(Reaction(n, d, c)));
                rows.push_back(std::move(v));
            }
        ReplaceTableRows(db, QStringLiteral("Analyze支点反力"), {"Case", "No_", "PX", "PY", "PZ", "MX", "MY", "MZ"}, rows);
    }
    ProgressMilestone();
    db->Close();
}
