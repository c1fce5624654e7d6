#include "report/diagrams/MomentCurves.h"

#include "analysis/AnalysisFailure.h"
#include "analysis/MemberStiffness.h"
#include "platform/Ui.h"
#include "report/MidSpanMoment.h"
#include "report/ReportContext.h"
#include "report/tables/ResultRows.h"

#include <cmath>

namespace report {

namespace {


// The member's local axes ([global][local]); a member of length 0 ends the
// build with the analysis's own message.
std::array<std::array<float, 3>, 3> LocalAxes(int16_t member, float dx, float dy, float dz)
{
    std::array<std::array<float, 3>, 3> t{};
    float length = 0;
    try {
        BuildDirectionCosines(member, t, length, 0, -1, dx, dy, dz);
    } catch (const AnalysisFailure& failure) {
        const int icon = failure.icon == AnalysisFailure::Icon::Exclamation ? ui::Icon::Exclamation : ui::Icon::Information;
        Fail(ReportMessage{failure.text, icon | ui::Buttons::OK, failure.beep});
    }
    return t;
}

// The fields of Analyze部材応力 the curves read: the case, the number and the
// six moments in the order of MemberMoments.
const QStringList kMomentFields = {QStringLiteral("Case"), QStringLiteral("No_"), QStringLiteral("iMy"), QStringLiteral("iMz"),
                                   QStringLiteral("jMy"),  QStringLiteral("jMz"), QStringLiteral("cMy"), QStringLiteral("cMz")};

MemberMoments MomentsOf(const ResultRows& rows, int row)
{
    return {rows.Single(row, 2), rows.Single(row, 3), rows.Single(row, 4),
            rows.Single(row, 5), rows.Single(row, 6), rows.Single(row, 7)};
}

}  // namespace

void FitLineThroughEnds(float& slope, float& intercept, const Stations& s, const Stations& f)
{
    slope = (f[6] - f[0]) / (s[6] - s[0]);
    intercept = f[0];
}

void FitParabolaThroughThreePoints(float& a, float& b, float& c, const Stations& s, const Stations& f)
{
    const float left = (f[3] - f[0]) / (s[3] - s[0]);
    const float right = (f[6] - f[3]) / (s[6] - s[3]);
    a = (right - left) / (s[6] - s[0]);
    b = left - a * (s[0] + s[3]);
    c = f[0] - s[0] * (left - a * s[3]);
}

void FillInnerStations(Stations& f, const Stations& s, bool lineWhenMidZero)
{
    if (lineWhenMidZero && f[3] == 0.0f) {
        float slope = 0, intercept = 0;
        FitLineThroughEnds(slope, intercept, s, f);
        for (size_t k = 1; k <= 5; ++k) f[k] = slope * s[k] + intercept;
        return;
    }
    float a = 0, b = 0, c = 0;
    FitParabolaThroughThreePoints(a, b, c, s, f);
    for (size_t k = 1; k <= 5; ++k) f[k] = a * s[k] * s[k] + b * s[k] + c;
}

MomentOrdinates ComputeMomentOrdinates(float length, std::span<const WeightedMoments> parts, bool combination)
{
    MomentOrdinates o;
    const float step = length / 6.0f;
    for (size_t k = 0; k < 7; ++k) o.s[k] = static_cast<float>(k) * step;
    for (const WeightedMoments& p : parts) {
        const MemberMoments& m = p.moments;
        const float midZ = combination ? MidSpanMomentOfCase(MomentAxis::Z, m.iMz, m.jMz, m.cMz) : m.cMz;
        const float midY = combination ? MidSpanMomentOfCase(MomentAxis::Y, m.iMy, m.jMy, m.cMy) : m.cMy;
        o.mz[0] += m.iMz / 100.0f * p.weight;
        o.mz[3] += midZ / 100.0f * p.weight;
        o.mz[6] += m.jMz / 100.0f * p.weight;
        o.my[0] += m.iMy / 100.0f * p.weight;
        o.my[3] += midY / 100.0f * p.weight;
        o.my[6] += m.jMy / 100.0f * p.weight;
    }
    o.my[0] = -o.my[0];
    o.mz[6] = -o.mz[6];
    FillInnerStations(o.mz, o.s, !combination);
    FillInnerStations(o.my, o.s, !combination);
    return o;
}

std::vector<MomentCurve> BuildMomentDiagramPoints(ReportContext& ctx, int16_t caseNo)
{
    const DiagramGeometry& g = ctx.geometry;
    const bool combine = ctx.CombinesCases();
    const float w0 = ctx.info.StressScale / 100.0f;
    const ResultRows rows(ctx.db, QStringLiteral("Analyze部材応力"), kMomentFields,
                          combine ? std::nullopt : std::optional<int16_t>(caseNo));
    std::vector<MomentCurve> curves(g.members.size());
    std::vector<WeightedMoments> parts;
    for (size_t u = 0; u < g.members.size(); ++u) {
        const DiagramMember& m = g.members[u];
        if (m.no == 0) continue;
        const diagram::NodeCoordinate& ni = g.coordinates[size_t(g.NodeRowOf(m.iNode))];
        const diagram::NodeCoordinate& nj = g.coordinates[size_t(g.NodeRowOf(m.jNode))];
        const float dx = nj.x - ni.x, dy = nj.y - ni.y, dz = nj.z - ni.z;
        const auto axes = LocalAxes(m.no, dx, dy, dz);
        const float length = std::sqrt(dx * dx + dy * dy + dz * dz);

        parts.clear();
        if (!combine) {
            parts.push_back({MomentsOf(rows, ResultRowOrFail(rows, m.no, caseNo)), w0});
        } else {
            for (int16_t k = 1; k <= ctx.loadCaseCount && k <= 10; ++k) {
                const float w = ctx.CaseWeight(k) * w0;
                parts.push_back({MomentsOf(rows, ResultRowOrFail(rows, m.no, k)), w});
            }
        }
        const MomentOrdinates o = ComputeMomentOrdinates(length, parts, combine);

        float points[2][7][4];
        LocalPointsToGlobal(points, o.s.data(), o.mz.data(), o.my.data(), ni.x, ni.y, ni.z, axes);
        MomentCurve& curve = curves[u];
        curve.no = m.no;
        for (size_t k = 0; k < 7; ++k) {
            const auto& z = points[0][k];
            const auto& y = points[1][k];
            const diagram::PlanePoint pz = ProjectOrFail(g.view, {z[0], z[1], z[2], z[3]});
            const diagram::PlanePoint py = ProjectOrFail(g.view, {y[0], y[1], y[2], y[3]});
            curve.mzX[k] = pz.x;
            curve.mzY[k] = pz.y;
            curve.myX[k] = py.x;
            curve.myY[k] = py.y;
        }
    }
    return curves;
}

}  // namespace report
