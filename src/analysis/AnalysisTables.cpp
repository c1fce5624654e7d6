#include "analysis/AnalysisTables.h"

#include "analysis/LoadVectors.h"
#include "analysis/SectionProperties.h"
#include "database/Schema.h"
#include "database/WorkingFiles.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>

using rt::Variant;

namespace {

const QString CRLF = QStringLiteral("\r\n");

int IntOrZero(const Variant& v) { return v.isNull() ? 0 : v.toInteger(); }
double RealOrZero(const Variant& v) { return v.isNull() ? 0.0 : v.toDouble(); }

// Every row of a table (sorted by 順 when asked), with its field names.
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

// Row index of each number (field No_) of a table of types.
std::map<int, size_t> RowsByNumber(const TableRows& t)
{
    std::map<int, size_t> rows;
    const int no = t.Index("No_");
    for (size_t i = 0; i < t.rows.size(); ++i) rows.emplace(IntOrZero(t.rows[i][no]), i);
    return rows;
}

// The non-zero target numbers of a placement row, in slot order.
std::vector<int> PlacementTargets(const TableRows& places, const std::vector<Variant>& row)
{
    std::vector<int> targets;
    for (int k = 1; k <= 10; ++k) {
        const int n = IntOrZero(row[places.Index(schema::SlotFieldName(k))]);
        if (n != 0) targets.push_back(n);
    }
    return targets;
}

[[noreturn]] void Report(const QString& text) { AnalysisFailure::Check(text); }

// A node or member number must lie within the arrays and be used once.
void CheckRowNumber(int no, int largest, const int* rowOfNumber, const QString& screen, const QString& noun)
{
    const QString entered = screen + QStringLiteral("で入力した") + noun + QStringLiteral("　") + QString::number(no) + CRLF;
    if (no < 1 || no > largest)
        Report(entered + noun + QStringLiteral("が 1 ～ ") + QString::number(largest) + QStringLiteral(" の範囲にないので計算を終了します"));
    if (rowOfNumber[no] != 0) Report(entered + QStringLiteral("同じ") + noun + QStringLiteral("が二つ以上登録されているので計算を終了します"));
}

// Nodes in display order: their rows, numbers and coordinates.
void ReadNodes(const dao::DatabasePtr& db, FrameModel& model)
{
    const TableRows nodes = ReadTable(db, QStringLiteral("節点座標1"), true);
    if (nodes.rows.empty()) Report(MessageNoNodeData());
    if (nodes.rows.size() > static_cast<size_t>(kMaxNodes))
        Report(QStringLiteral("節点データが 300 を超えて登録されているので計算を終了します"));
    model.nNode = static_cast<int>(nodes.rows.size());
    model.nodes.assign(static_cast<size_t>(model.nNode + 1), NodeRecord{});
    model.NodeNo.assign(static_cast<size_t>(model.nNode + 1), 0);
    const int cNo = nodes.Index("No_"), cX = nodes.Index("X"), cY = nodes.Index("Y"), cZ = nodes.Index("Z");
    for (int r = 1; r <= model.nNode; ++r) {
        const auto& row = nodes.rows[static_cast<size_t>(r - 1)];
        const int no = IntOrZero(row[cNo]);
        CheckRowNumber(no, kMaxNodes, model.NodeRow.data(), QStringLiteral("「節点座標」"), QStringLiteral("節点番号"));
        model.NodeNo[static_cast<size_t>(r)] = no;
        model.NodeRow[no] = r;
        NodeRecord& n = model.nodes[static_cast<size_t>(r)];
        n.X = row[cX].toDouble();
        n.Y = row[cY].toDouble();
        n.Z = row[cZ].toDouble();
    }
}

// Restraints: every non-zero target of a placement row; the last row wins.
void ReadRestraints(const dao::DatabasePtr& db, FrameModel& model)
{
    const TableRows types = ReadTable(db, QStringLiteral("節点拘束形状"), false);
    const TableRows places = ReadTable(db, QStringLiteral("節点拘束配置"), true);
    const std::map<int, size_t> typeRow = RowsByNumber(types);
    const QString comps[6] = {"u", "v", "w", "θx", "θy", "θz"};
    const int pType = places.Index(QStringLiteral("拘束形状"));
    for (const auto& p : places.rows) {
        const int type = IntOrZero(p[pType]);
        auto it = typeRow.find(type);
        if (it == typeRow.end())
            Report(QStringLiteral("「節点拘束条件」で入力した拘束条件　") + QString::number(type) + CRLF
                   + QStringLiteral("入力した拘束条件が「節点拘束条件」に登録されていないので計算を終了します"));
        std::array<double, 6> values{};
        for (int c = 0; c < 6; ++c) {
            const QString text = types.rows[it->second][types.Index(comps[c])].toStringOrEmpty();
            if (!ConvertConditionValue(text, &values[static_cast<size_t>(c)]))
                Report(QStringLiteral("「節点拘束条件」で入力した拘束条件　") + QString::number(type) + CRLF
                       + QStringLiteral("拘束条件「") + text
                       + QStringLiteral("」が拘束・自由・数値のどれでもないので計算を終了します"));
        }
        for (int n : PlacementTargets(places, p)) {
            if (n < 1 || n > kMaxNodes || model.NodeRow[n] == 0)
                Report(QStringLiteral("「節点拘束配置」で入力した節点番号　") + QString::number(n) + CRLF
                       + QStringLiteral("入力した節点番号が「節点座標」に登録されていないので計算を終了します"));
            model.nodes[static_cast<size_t>(model.NodeRow[n])].restraint = values;
        }
    }
}

// Members in display order: their rows, numbers, end nodes and sections.
void ReadMembers(const dao::DatabasePtr& db, FrameModel& model)
{
    const TableRows members = ReadTable(db, QStringLiteral("要素情報"), true);
    if (members.rows.empty()) Report(MessageNoMemberData());
    if (members.rows.size() > static_cast<size_t>(kMaxMembers))
        Report(QStringLiteral("部材データが 500 を超えて登録されているので計算を終了します"));
    model.nMember = static_cast<int>(members.rows.size());
    model.members.assign(static_cast<size_t>(model.nMember + 1), MemberRecord{});
    model.MemberNo.assign(static_cast<size_t>(model.nMember + 1), 0);
    const int mNo = members.Index("No_"), mI = members.Index("iTan"), mJ = members.Index("jTan");
    const int mSec = members.Index(QStringLiteral("材料番号"));
    for (int r = 1; r <= model.nMember; ++r) {
        const auto& row = members.rows[static_cast<size_t>(r - 1)];
        const int no = IntOrZero(row[mNo]);
        CheckRowNumber(no, kMaxMembers, model.MemberRow.data(), QStringLiteral("「部材配置」"), QStringLiteral("部材番号"));
        model.MemberNo[static_cast<size_t>(r)] = no;
        model.MemberRow[no] = r;
        MemberRecord& m = model.members[static_cast<size_t>(r)];
        for (int end = 0; end < 2; ++end) {
            const int n = IntOrZero(row[end == 0 ? mI : mJ]);
            if (n < 1 || n > kMaxNodes || model.NodeRow[n] == 0)
                Report(QStringLiteral("「部材配置」で入力した部材番号　") + QString::number(no) + CRLF
                       + QStringLiteral("端部の節点番号　") + QString::number(n)
                       + QStringLiteral(" が「節点座標」に登録されていないので計算を終了します"));
            (end == 0 ? m.iRow : m.jRow) = model.NodeRow[n];
        }
        m.section = IntOrZero(row[mSec]);
    }
}

// Member ends: the conditions of the i-end and j-end types of each placement
// row for every member it names; the last row wins.
void ReadMemberEnds(const dao::DatabasePtr& db, FrameModel& model)
{
    const TableRows types = ReadTable(db, QStringLiteral("要素端部形状"), false);
    const TableRows places = ReadTable(db, QStringLiteral("要素端部配置"), true);
    const std::map<int, size_t> typeRow = RowsByNumber(types);
    static const char* const kFields[6] = {"xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR"};
    static double MemberEndConditions::* const kConditions[6] = {
        &MemberEndConditions::alongX, &MemberEndConditions::alongY, &MemberEndConditions::alongZ,
        &MemberEndConditions::aboutX, &MemberEndConditions::aboutY, &MemberEndConditions::aboutZ};
    auto conditionsOf = [&](int type) {
        MemberEndConditions end;
        const auto& trow = types.rows[typeRow.at(type)];
        for (int c = 0; c < 6; ++c) {
            const Variant v = trow[types.Index(QString::fromLatin1(kFields[c]))];
            if (v.isNull()) continue;   // an empty component is rigid
            const QString text = v.toStringOrEmpty();
            if (!ConvertConditionValue(text, &(end.*kConditions[c])))
                Report(QStringLiteral("「部材端部条件」で入力した端部条件　") + QString::number(type) + CRLF
                       + QStringLiteral("端部条件「") + text
                       + QStringLiteral("」が剛・ピン・数値のどれでもないので計算を終了します"));
        }
        return end;
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
        const MemberEndConditions endI = conditionsOf(ti), endJ = conditionsOf(tj);
        for (int m : PlacementTargets(places, p)) {
            if (m < 1 || m > kMaxMembers || model.MemberRow[m] == 0)
                Report(QStringLiteral("「部材端部配置」で入力した部材番号　") + QString::number(m) + CRLF
                       + QStringLiteral("入力した部材番号が「部材配置」に登録されていないので計算を終了します"));
            MemberRecord& rec = model.members[static_cast<size_t>(model.MemberRow[m])];
            rec.endI = endI;
            rec.endJ = endJ;
        }
    }
}

[[noreturn]] void ReportMissingSection(int s)
{
    Report(QStringLiteral("「部材配置」で入力した形状番号　") + QString::number(s) + CRLF
           + QStringLiteral("入力した形状番号が「部材形状1」「部材形状2」のどちらにも登録されていないので計算を終了します"));
}

// A section of 材料定数2: its values from the shape type and dimensions;
// its order follows those of 材料定数1.
SectionInUse SectionOfShape(const TableRows& shapes, const std::vector<Variant>& row, int s, int maxOrder)
{
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
    SectionInUse sec;
    sec.no = s;
    // Results are kept as the Single values the table holds.
    sec.A = static_cast<float>(v.A);
    sec.J = static_cast<float>(v.J);
    sec.Iyy = static_cast<float>(v.Iyy);
    sec.Izz = static_cast<float>(v.Izz);
    const double phx = RealOrZero(row[shapes.Index(QStringLiteral("φx"))]);
    const double phy = RealOrZero(row[shapes.Index(QStringLiteral("φy"))]);
    if (phx > 0) sec.Iyy = sec.Iyy * phx;
    if (phy > 0) sec.Izz = sec.Izz * phy;
    sec.E = row[shapes.Index("E")].toDouble();
    sec.G = row[shapes.Index(QStringLiteral("γ"))].toDouble();
    sec.order = IntOrZero(row[shapes.Index(QStringLiteral("順"))]) + maxOrder;
    return sec;
}

// A section of 材料定数1: its values as stored.
SectionInUse SectionOfProperties(const TableRows& props, const std::vector<Variant>& row, int s)
{
    SectionInUse sec;
    sec.no = s;
    sec.A = row[props.Index("A")].toDouble();
    sec.J = row[props.Index("Ixx")].toDouble();
    sec.Iyy = row[props.Index("Iyy")].toDouble();
    sec.Izz = row[props.Index("Izz")].toDouble();
    sec.E = row[props.Index("E")].toDouble();
    sec.G = row[props.Index(QStringLiteral("γ"))].toDouble();
    sec.order = IntOrZero(row[props.Index(QStringLiteral("順"))]);
    return sec;
}

// Sections: numbers from 1000 in 材料定数2, the others in 材料定数1; the
// sections in use in the order the members first use them.
void ReadSections(const dao::DatabasePtr& db, AnalysisState& run)
{
    const TableRows props = ReadTable(db, QStringLiteral("材料定数1"), false);
    const TableRows shapes = ReadTable(db, QStringLiteral("材料定数2"), false);
    const std::map<int, size_t> propRow = RowsByNumber(props), shapeRow = RowsByNumber(shapes);
    int maxOrder = 0;
    for (const auto& row : props.rows) {
        const Variant v = row[props.Index(QStringLiteral("順"))];
        if (!v.isNull()) maxOrder = std::max(maxOrder, static_cast<int>(v.toInteger()));
    }
    std::vector<SectionInUse> used;
    QSet<int> seen;
    FrameModel& model = run.model;
    for (int r = 1; r <= model.nMember; ++r) {
        MemberRecord& m = model.members[static_cast<size_t>(r)];
        const int s = m.section;
        SectionInUse sec;
        if (s >= 1000) {
            auto it = shapeRow.find(s);
            if (it == shapeRow.end()) ReportMissingSection(s);
            sec = SectionOfShape(shapes, shapes.rows[it->second], s, maxOrder);
        } else {
            auto it = propRow.find(s);
            if (it == propRow.end()) ReportMissingSection(s);
            sec = SectionOfProperties(props, props.rows[it->second], s);
        }
        m.A = sec.A;
        m.J = sec.J;
        m.Iyy = sec.Iyy;
        m.Izz = sec.Izz;
        m.E = sec.E;
        m.G = sec.G;
        if (!seen.contains(s)) {
            seen.insert(s);
            used.push_back(sec);
        }
    }
    run.sectionsInUse = std::move(used);
}

// Load shapes in display order; shapes of cases beyond nCase stay unmapped.
void ReadLoadShapes(const dao::DatabasePtr& db, AnalysisState& run)
{
    LoadData& loads = run.loads;
    const TableRows shapes = ReadTable(db, QStringLiteral("荷重形状"), true);
    loads.shapes.assign(shapes.rows.size() + 1, LoadShape{});
    const int sNo = shapes.Index("No_"), sTyp = shapes.Index("TYP"), sCase = shapes.Index("Case");
    const int sDir = shapes.Index(QStringLiteral("座標系"));
    for (size_t r = 1; r <= shapes.rows.size(); ++r) {
        const auto& row = shapes.rows[r - 1];
        LoadShape& s = loads.shapes[r];
        s.type = IntOrZero(row[sTyp]);
        s.caseNo = IntOrZero(row[sCase]);
        if (s.caseNo <= run.model.nCase) {
            s.direction = CoordinateCode(row[sDir].toStringOrEmpty());
            for (int k = 1; k <= 7; ++k) s.P[static_cast<size_t>(k)] = RealOrZero(row[shapes.Index(schema::SlotFieldName(k))]);
            loads.shapeRowOfNumber[IntOrZero(row[sNo])] = static_cast<int>(r);
        }
    }
}

// Placements in stored order, each target checked: a node for a nodal load
// (type 1), a member for any other type, whatever the shape's case.
void ReadLoadPlacements(const dao::DatabasePtr& db, AnalysisState& run)
{
    const FrameModel& model = run.model;
    LoadData& loads = run.loads;
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
        auto mapped = loads.shapeRowOfNumber.find(out.shapeNo);
        out.shapeRow = mapped == loads.shapeRowOfNumber.end() ? 0 : mapped->second;
        for (int v : PlacementTargets(places, p)) {
            if (out.type == 1) {
                if (v < 1 || v > kMaxNodes || model.NodeRow[v] == 0)
                    Report(QStringLiteral("「荷重配置」で入力した節点番号　") + QString::number(v) + CRLF
                           + QStringLiteral("入力した節点番号が「節点座標」に登録されていないので計算を終了します"));
                out.targets.push_back(model.NodeRow[v]);
            } else {
                if (v < 1 || v > kMaxMembers || model.MemberRow[v] == 0)
                    Report(QStringLiteral("「荷重配置」で入力した部材番号　") + QString::number(v) + CRLF
                           + QStringLiteral("入力した部材番号が「部材配置」に登録されていないので計算を終了します"));
                out.targets.push_back(model.MemberRow[v]);
            }
        }
        loads.placements.push_back(std::move(out));
    }
}

}  // namespace

dao::DatabasePtr OpenWorkingDatabase() { return dao::Database::Open(kWorkingDatabase); }

QString MessageNoNodeData() { return QStringLiteral("節点データがに登録されていないので計算を終了します"); }
QString MessageNoMemberData() { return QStringLiteral("部材データが「部材配置」に登録されていないので計算を終了します"); }

void ReadCaseCountForAnalysis(AnalysisState& run)
{
    run.model.nCase = 0;
    dao::DatabasePtr db = OpenWorkingDatabase();
    TableRows t = ReadTable(db, QStringLiteral("基本データ"), false);
    db->Close();
    if (t.rows.empty() || t.rows[0][t.Index(QStringLiteral("Case"))].isNull())
        Report(QStringLiteral("基本データが登録されていないので計算を終了します"));
    const int n = t.rows[0][t.Index(QStringLiteral("Case"))].toInteger();
    if (n < 1 || n > kMaxCases)
        Report(QStringLiteral("基本データの荷重ケース数　") + QString::number(n) + CRLF
               + QStringLiteral("荷重ケース数が 1 ～ 10 の範囲にないので計算を終了します"));
    run.model.nCase = n;
}

bool ConvertConditionValue(const QString& text, double* value)
{
    if (text == QStringLiteral("拘束") || text == QStringLiteral("剛")) { *value = 1.0; return true; }
    if (text == QStringLiteral("自由") || text == QStringLiteral("ピン")) { *value = 0.0; return true; }
    if (!rt::IsNumeric(text)) return false;
    *value = rt::Val(text);
    return std::isfinite(*value);
}

void LoadStructureModel(AnalysisState& run)
{
    run.model.Clear();
    run.sectionsInUse.clear();
    dao::DatabasePtr db = OpenWorkingDatabase();
    {
        const dao::ReadTransaction reading(*db);
        ReadNodes(db, run.model);
        run.Milestone();
        ReadRestraints(db, run.model);
        run.Milestone();
        ReadMembers(db, run.model);
        run.Milestone();
        ReadMemberEnds(db, run.model);
        run.Milestone();
        ReadSections(db, run);
        run.Milestone();
    }
    db->Close();
    run.model.SizeBandMatrix();
}

void ReadLoadTables(AnalysisState& run)
{
    run.loads.shapes.clear();
    run.loads.shapeRowOfNumber.clear();
    run.loads.placements.clear();
    dao::DatabasePtr db = OpenWorkingDatabase();
    {
        const dao::ReadTransaction reading(*db);
        ReadLoadShapes(db, run);
        run.Milestone();
        ReadLoadPlacements(db, run);
    }
    db->Close();
    run.Milestone();
}

namespace {

const QStringList kMemberFields = {"Case", "No_", "iTan", "iN", "iQy", "iQz", "iMx", "iMy", "iMz",
                                   "jTan", "jN", "jQy", "jQz", "jMx", "jMy", "jMz", "cMy", "cMz"};

std::vector<Variant> MemberRowValues(const FrameModel& model, int m, int c, const std::array<double, 15>& F)
{
    const MemberRecord& member = model.members[static_cast<size_t>(m)];
    std::vector<Variant> v;
    v.reserve(18);
    v.push_back(Variant::Integer(static_cast<int16_t>(c)));
    v.push_back(Variant::Integer(static_cast<int16_t>(model.MemberNo[static_cast<size_t>(m)])));
    v.push_back(Variant::Integer(static_cast<int16_t>(model.NodeNo[static_cast<size_t>(member.iRow)])));
    for (int q = 1; q <= 6; ++q) v.push_back(Variant::Double(F[q]));
    v.push_back(Variant::Integer(static_cast<int16_t>(model.NodeNo[static_cast<size_t>(member.jRow)])));
    for (int q = 7; q <= 14; ++q) v.push_back(Variant::Double(F[q]));
    return v;
}

// Every value must fit the Single fields before the first table is touched.
void CheckResultsFitTheTables(const AnalysisState& run)
{
    auto check = [](double v) {
        if (!rt::FitsSingle(v))
            AnalysisFailure::Error(QStringLiteral("ERROR：計算結果の値が大きすぎるため結果を書き込めません（構造が不安定か、入力値が大きすぎます）。"));
    };
    const FrameModel& model = run.model;
    for (int m = 1; m <= model.nMember; ++m)
        for (int c = 1; c <= model.nCase; ++c)
            for (int q = 1; q <= 14; ++q) {
                check(run.loads.equivalentLoads[static_cast<size_t>(m)][c][q]);
                check(run.results.memberEndForces[static_cast<size_t>(m)][c][q]);
            }
    for (int n = 1; n <= model.nNode; ++n)
        for (int c = 1; c <= model.nCase; ++c)
            for (int d = 1; d <= 6; ++d) {
                check(run.Displacement(n, d, c));
                check(run.Reaction(n, d, c));
            }
}

std::vector<std::vector<Variant>> SectionRows(const AnalysisState& run)
{
    std::vector<std::vector<Variant>> rows;
    for (const SectionInUse& s : run.sectionsInUse)
        rows.push_back({Variant::Integer(static_cast<int16_t>(s.no)), Variant::Double(s.E), Variant::Double(s.G),
                        Variant::Double(s.A), Variant::Double(s.J), Variant::Double(s.Iyy), Variant::Double(s.Izz),
                        Variant::Long(s.order)});
    return rows;
}

// A member and case get a row only when some component of its member loads is not 0.
std::vector<std::vector<Variant>> EquivalentLoadRows(const AnalysisState& run)
{
    std::vector<std::vector<Variant>> rows;
    for (int m = 1; m <= run.model.nMember; ++m)
        for (int c = 1; c <= run.model.nCase; ++c) {
            const auto& F = run.loads.equivalentLoads[static_cast<size_t>(m)][c];
            bool any = false;
            for (int q = 1; q <= 14; ++q) any = any || F[q] != 0;
            if (any) rows.push_back(MemberRowValues(run.model, m, c, F));
        }
    return rows;
}

std::vector<std::vector<Variant>> MemberForceRows(const AnalysisState& run)
{
    std::vector<std::vector<Variant>> rows;
    rows.reserve(static_cast<size_t>(run.model.nMember) * run.model.nCase);
    for (int m = 1; m <= run.model.nMember; ++m)
        for (int c = 1; c <= run.model.nCase; ++c)
            rows.push_back(MemberRowValues(run.model, m, c, run.results.memberEndForces[static_cast<size_t>(m)][c]));
    return rows;
}

std::vector<std::vector<Variant>> DisplacementRows(const AnalysisState& run)
{
    std::vector<std::vector<Variant>> rows;
    for (int n = 1; n <= run.model.nNode; ++n)
        for (int c = 1; c <= run.model.nCase; ++c) {
            std::vector<Variant> v{Variant::Integer(static_cast<int16_t>(run.model.NodeNo[static_cast<size_t>(n)])),
                                   Variant::Integer(static_cast<int16_t>(c))};
            for (int d = 1; d <= 6; ++d) v.push_back(Variant::Double(run.Displacement(n, d, c)));
            rows.push_back(std::move(v));
        }
    return rows;
}

std::vector<std::vector<Variant>> ReactionRows(const AnalysisState& run)
{
    std::vector<std::vector<Variant>> rows;
    for (int n = 1; n <= run.model.nNode; ++n)
        for (int c = 1; c <= run.model.nCase; ++c) {
            std::vector<Variant> v{Variant::Integer(static_cast<int16_t>(c)),
                                   Variant::Integer(static_cast<int16_t>(run.model.NodeNo[static_cast<size_t>(n)]))};
            for (int d = 1; d <= 6; ++d) v.push_back(Variant::Double(run.Reaction(n, d, c)));
            rows.push_back(std::move(v));
        }
    return rows;
}

void ReplaceRows(const dao::DatabasePtr& db, const QString& table, const QStringList& fields,
                 const std::vector<std::vector<Variant>>& rows)
{
    db->ClearTable(table);
    if (!rows.empty()) db->AppendRows(table, fields, rows);
}

}  // namespace

void WriteResultTables(const AnalysisState& run)
{
    // Nothing is written before every stage has succeeded, and the five
    // tables change together or not at all.
    CheckResultsFitTheTables(run);
    dao::DatabasePtr db = OpenWorkingDatabase();
    {
        dao::WriteTransaction writing(*db);
        ReplaceRows(db, QStringLiteral("材料定数0"),
                    {"No_", "E", QStringLiteral("γ"), "A", "Ixx", "Iyy", "Izz", QStringLiteral("順")}, SectionRows(run));
        ReplaceRows(db, QStringLiteral("Analyze等価節点荷重"), kMemberFields, EquivalentLoadRows(run));
        ReplaceRows(db, QStringLiteral("Analyze部材応力"), kMemberFields, MemberForceRows(run));
        run.Milestone();
        ReplaceRows(db, QStringLiteral("Analyze節点変位"),
                    {"No_", "Case", QStringLiteral("⊿X"), QStringLiteral("⊿Y"), QStringLiteral("⊿Z"),
                     QStringLiteral("⊿θx"), QStringLiteral("⊿θy"), QStringLiteral("⊿θz")},
                    DisplacementRows(run));
        run.Milestone();
        ReplaceRows(db, QStringLiteral("Analyze支点反力"), {"Case", "No_", "PX", "PY", "PZ", "MX", "MY", "MZ"}, ReactionRows(run));
        writing.Commit();
    }
    run.Milestone();
    db->Close();
}
