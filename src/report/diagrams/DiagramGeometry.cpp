#include "report/diagrams/DiagramGeometry.h"

#include "platform/Database.h"
#include "platform/Runtime.h"
#include "report/ReportContext.h"
#include "report/tables/ResultRows.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr int kMaxRows = 32768;   // rows 0 to 32767

// The rows of a table in ascending number (none for an empty table).
dao::RecordsetPtr OpenByNumber(dao::Database& db, const QString& table)
{
    dao::RecordsetPtr rs = db.OpenRecordset(table);
    if (rs->BOF() && rs->EOF_()) return rs;
    rs->Sort = QStringLiteral("no_ ASC");
    dao::RecordsetPtr sorted = rs->OpenRecordset();
    rs->Close();
    return sorted;
}

QString MissingEndNodeQuestion(int member)
{
    return QStringLiteral("部材番号 : ") + QString::number(member)
           + QStringLiteral("\r\nのｉ端またはｊ端で指定した節点が、[節点]データに登録されていません。\r\n"
                            "プレビューの作成を終了しますか？");
}

void Raise(float& max, float value)
{
    if (value > max) max = value;
}

void Lower(float& min, float value)
{
    if (value < min) min = value;
}

}  // namespace

int DiagramGeometry::NodeRowOf(int number) const
{
    if (number < 0 || number > kLargestNodeNumber) return -1;
    return nodeRow[static_cast<size_t>(number)];
}

diagram::PlanePoint ProjectOrFail(const diagram::ViewMatrix& view, const diagram::HomogeneousRow& row)
{
    const auto point = diagram::ProjectRow(view, row);
    if (!point) Fail();
    return *point;
}

int ResultRowOrFail(const ResultRows& rows, int16_t no, int16_t caseNo)
{
    const std::optional<int> row = rows.First(no, caseNo);
    if (!row) Fail();
    return *row;
}

void LoadAndProjectNodes(ReportContext& ctx)
{
    DiagramGeometry& g = ctx.geometry;
    g.coordinates.clear();
    g.nodes.clear();
    g.nodeRow.fill(-1);
    dao::RecordsetPtr rs = OpenByNumber(ctx.db, QStringLiteral("節点座標1"));
    if (rs->BOF() && rs->EOF_()) {
        rs->Close();
        return;
    }
    // Rows are counted in 16 bits.
    if (rs->RecordCount() > kMaxRows) Fail();
    const int no = rs->FieldIndex(QStringLiteral("No_"));
    const int x = rs->FieldIndex(QStringLiteral("X"));
    const int y = rs->FieldIndex(QStringLiteral("Y"));
    const int z = rs->FieldIndex(QStringLiteral("Z"));
    for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
        const int16_t number = rs->Field(no).toInteger();
        if (number < 0 || number > kLargestNodeNumber) Fail();
        g.nodeRow[static_cast<size_t>(number)] = static_cast<int16_t>(g.coordinates.size());
        g.coordinates.push_back({number, rs->Field(x).toSingle(), rs->Field(y).toSingle(), rs->Field(z).toSingle()});
    }
    rs->Close();
    g.nodes.reserve(g.coordinates.size());
    for (const diagram::NodeCoordinate& c : g.coordinates) {
        const diagram::PlanePoint p = ProjectOrFail(g.view, diagram::ViewRow(c.x, c.y, c.z));
        g.nodes.push_back({c.no, p.x, p.y});
    }
}

void LoadMemberTable(ReportContext& ctx)
{
    DiagramGeometry& g = ctx.geometry;
    g.members.clear();
    g.memberRow.fill(-1);
    dao::RecordsetPtr rs = OpenByNumber(ctx.db, QStringLiteral("要素情報"));
    if (rs->BOF() && rs->EOF_()) {
        rs->Close();
        return;
    }
    if (rs->RecordCount() > kMaxRows) Fail();
    g.members.assign(static_cast<size_t>(rs->RecordCount()), DiagramMember{});
    const int no = rs->FieldIndex(QStringLiteral("No_"));
    const int iTan = rs->FieldIndex(QStringLiteral("iTan"));
    const int jTan = rs->FieldIndex(QStringLiteral("jTan"));
    const int section = rs->FieldIndex(QStringLiteral("材料番号"));
    size_t row = 0;
    for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext(), ++row) {
        const int16_t number = rs->Field(no).toInteger();
        const int16_t i = rs->Field(iTan).toInteger();
        const int16_t j = rs->Field(jTan).toInteger();
        if (g.NodeRowOf(i) < 0 || g.NodeRowOf(j) < 0) {
            // Yes ends the preview; No leaves the member out.
            if (ctx.Ask(MissingEndNodeQuestion(number))) Cancel();
            continue;
        }
        if (number < 0 || number > kLargestMemberNumber) Fail();
        g.memberRow[static_cast<size_t>(number)] = static_cast<int16_t>(row);
        g.members[row] = {number, i, j, rs->Field(section).toInteger()};
    }
    rs->Close();
}

std::vector<ProjectedNode> ProjectDisplacedNodes(ReportContext& ctx, int16_t caseNo)
{
    const DiagramGeometry& g = ctx.geometry;
    const bool combine = ctx.CombinesCases();
    const float scale = ctx.info.DisplacementScale;
    const ResultRows rows(ctx.db, QStringLiteral("Analyze節点変位"),
                          {QStringLiteral("Case"), QStringLiteral("No_"), QStringLiteral("⊿X"), QStringLiteral("⊿Y"),
                           QStringLiteral("⊿Z")},
                          combine ? std::nullopt : std::optional<int16_t>(caseNo));
    constexpr int kDx = 2, kDy = 3, kDz = 4;
    std::vector<ProjectedNode> displaced;
    displaced.reserve(g.coordinates.size());
    for (const diagram::NodeCoordinate& c : g.coordinates) {
        float dx = 0, dy = 0, dz = 0;
        if (!combine) {
            const int row = ResultRowOrFail(rows, c.no, caseNo);
            dx = rows.Single(row, kDx) / 100.0f * scale;
            dy = rows.Single(row, kDy) / 100.0f * scale;
            dz = rows.Single(row, kDz) / 100.0f * scale;
        } else {
            for (int16_t k = 1; k <= ctx.loadCaseCount && k <= 10; ++k) {
                const float w = ctx.CaseWeight(k) * scale;
                const int row = ResultRowOrFail(rows, c.no, k);
                dx += rows.Single(row, kDx) / 100.0f * w;
                dz += rows.Single(row, kDz) / 100.0f * w;
                dy += rows.Single(row, kDy) / 100.0f * w;
            }
        }
        const diagram::PlanePoint p = ProjectOrFail(g.view, diagram::ViewRow(c.x + dx, c.y + dy, c.z + dz));
        displaced.push_back({c.no, p.x, p.y});
    }
    return displaced;
}

void ProjectCoordinateAxes(ReportContext& ctx)
{
    DiagramGeometry& g = ctx.geometry;
    const float size = static_cast<float>(rt::Val(ctx.BoxText(QStringLiteral("txtCoordSize"))));
    const float length = size * (ctx.bounds.diagonal * 0.1f);
    const diagram::HomogeneousRow rows[4] = {
        {0, 0, 0, 1}, {length, 0, 0, 1}, {0, 0, length, 1}, {0, length, 0, 1}};
    for (int k = 0; k < 4; ++k) {
        const diagram::PlanePoint p = ProjectOrFail(g.view, rows[k]);
        g.axis[size_t(k)] = {static_cast<int16_t>(k), p.x, p.y};
    }
}

void ComputeDiagramExtents(const DiagramGeometry& g, DiagramExtents& e, const std::vector<ProjectedNode>* displaced,
                           const std::vector<MomentCurve>* curves)
{
    if (g.nodes.empty()) return;
    auto forCurvePoints = [&](auto visit) {
        for (const MomentCurve& c : *curves) {
            if (c.no == 0) continue;
            for (size_t k = 0; k < 7; ++k) {
                visit(c.mzX[k], c.mzY[k]);
                visit(c.myX[k], c.myY[k]);
            }
        }
    };
    if (!displaced) {
        e.maxX = g.nodes[0].x;
        e.maxY = g.nodes[0].y;
        for (const ProjectedNode& n : g.nodes) {
            Raise(e.maxX, n.x);
            Raise(e.maxY, n.y);
        }
    } else {
        for (const ProjectedNode& n : *displaced) {
            Raise(e.maxX, n.x);
            Raise(e.maxY, n.y);
        }
    }
    if (curves) forCurvePoints([&](float x, float y) {
        Raise(e.maxX, x);
        Raise(e.maxY, y);
    });
    if (!displaced && !curves) {
        e.minX = e.maxX;
        e.minY = e.maxY;
        for (const ProjectedNode& n : g.nodes) {
            Lower(e.minX, n.x);
            Lower(e.minY, n.y);
        }
    }
    if (displaced) {
        for (const ProjectedNode& n : *displaced) {
            Lower(e.minX, n.x);
            Lower(e.minY, n.y);
        }
    }
    if (curves) forCurvePoints([&](float x, float y) {
        Lower(e.minX, x);
        Lower(e.minY, y);
    });
}

}  // namespace report
