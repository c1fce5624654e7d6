// The bending-moment curves of the stress diagram. Along every member two
// curves of seven stations at sixths of its length: the moment about the
// member's local z axis (Mz) plotted along its local y axis, and the moment
// about its local y axis (My) plotted along its local z axis, so that each
// curve stands on the tension side. The moments at the ends and at
// mid-span come from the analysis (force x cm), the stations between them
// from a parabola through the three, or a straight line between the ends
// when a single case has no mid-span moment (no member load). A moment of
// 1 force x m is drawn StressScale / 100 m off the member.
#pragma once

#include "report/diagrams/DiagramGeometry.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace report {

struct ReportContext;

// One member's moments of one case as the analysis stores them.
struct MemberMoments {
    float iMy = 0, iMz = 0, jMy = 0, jMz = 0, cMy = 0, cMz = 0;
};

// The moments of one case and the weight they are drawn with: the drawing
// scale, times the case's factor in a combination.
struct WeightedMoments {
    MemberMoments moments;
    float weight = 0;
};

// Stations (m from the i end) and the ordinates of both curves (m).
struct MomentOrdinates {
    std::array<float, 7> s{}, mz{}, my{};
};

using Stations = std::array<float, 7>;

// The line through stations 0 and 6.
void FitLineThroughEnds(float& slope, float& intercept, const Stations& s, const Stations& f);
// The parabola a s² + b s + c through stations 0, 3 and 6.
void FitParabolaThroughThreePoints(float& a, float& b, float& c, const Stations& s, const Stations& f);
// Stations 1 to 5 from 0, 3 and 6: the straight line when `lineWhenMidZero`
// and station 3 is exactly 0, the parabola otherwise.
void FillInnerStations(Stations& f, const Stations& s, bool lineWhenMidZero);

// The ordinates of a member of `length` m: one case (one part), or the sum of
// the weighted cases of a combination, where a case without a mid-span
// moment contributes the midpoint of its end moments (MidSpanMoment.h) and
// the curve is always the parabola through the combined values.
MomentOrdinates ComputeMomentOrdinates(float length, std::span<const WeightedMoments> parts, bool combination);

// The projected curves of every member row (entries of skipped members stay
// number 0) for one load case, or for the combination when the display
// contents combine the cases (caseNo is then not used). A member without
// its result row, or of length 0, ends the build.
std::vector<MomentCurve> BuildMomentDiagramPoints(ReportContext& ctx, int16_t caseNo);

}  // namespace report
