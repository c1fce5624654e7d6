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

// The values of `fields` of the rows of a table in ascending number.
std::vector<std::vector<rt::Variant>> ReadByNumber(dao::Database& db, const QString& table, const QStringList& fields)
{
    dao::RecordsetPtr rs;
    auto rows = diagram::ReadRowsByNumber(db, table, fields, rs);
    rs->Close();
    return rows;
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
    const auto rows = ReadByNumber(ctx.db, QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z"});
    // Rows are counted in 16 bits.
    if (rows.size() > size_t(kMaxRows)) Fail();
    for (const std::vector<rt::Variant>& r : rows) {
        const int16_t number = r[0].toInteger();
        if (number < 0 || number > kLargestNodeNumber) Fail();
        g.nodeRow[static_cast<size_t>(number)] = static_cast<int16_t>(g.coordinates.size());
        g.coordinates.push_back({number, r[1].toSingle(), r[2].toSingle(), r[3].toSingle()});
    }
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
    const auto rows = ReadByNumber(ctx.db, QStringLiteral("要素情報"), {"No_", "iTan", "jTan", QStringLiteral("材料番号")});
    if (rows.size() > size_t(kMaxRows)) Fail();
    g.members.assign(rows.size(), DiagramMember{});
    for (size_t row = 0; row < rows.size(); ++row) {
        const std::vector<rt::Variant>& r = rows[row];
        const int16_t number = r[0].toInteger();
        const int16_t i = r[1].toInteger();
        const int16_t j = r[2].toInteger();
        if (g.NodeRowOf(i) < 0 || g.NodeRowOf(j) < 0) {
            // Yes ends the preview; No leaves the member out.
            const QString question =
                diagram::MissingEndNodesQuestion(number, QStringLiteral("プレビューの作成を終了しますか？"));
            if (ctx.Ask(question)) Cancel();
            continue;
        }
        if (number < 0 || number > kLargestMemberNumber) Fail();
        g.memberRow[static_cast<size_t>(number)] = static_cast<int16_t>(row);
        g.members[row] = {number, i, j, r[3].toInteger()};
    }
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
    const float size = static_cast<float>(rt::Val(ctx.BoxText(QString::fromUtf8(diagram::kAxisSizeBox))));
    const float length = size * (ctx.bounds.diagonal * 0.1f);
    const auto rows = diagram::AxisRows(length);
    for (size_t k = 0; k < rows.size(); ++k) {
        const diagram::PlanePoint p = ProjectOrFail(g.view, rows[k]);
        g.axis[k] = {static_cast<int16_t>(k), p.x, p.y};
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
