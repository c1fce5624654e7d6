// The bending-moment curves: stations, the line and the parabola through
// the stored moments, the combination, and the curves of a beam on the
// drawing plane. Moments are stored in force x cm; with StressScale 100 a
// moment of 1 force x m is drawn 1 m off the member.
//
// The fixed-end beam: 6 m, uniform load w = 10 kN/m. M(x) = wL²/12 at the
// ends (hogging), w x (L - x) / 2 - wL²/12 sagging in the span; drawn on
// the tension side that is 30 at the ends, then 30 - 5 x (6 - x):
// 30, 5, -10, -15, -10, 5, 30 kN·m at the seven stations. The analysis
// stores the end moments about z as iMz = +3000, jMz = -3000 and about y as
// iMy = -3000, jMy = +3000 (kN·cm), and both mid-span moments as -1500.
#include "DiagramTestSupport.h"

#include "report/diagrams/MomentCurves.h"

#include <gtest/gtest.h>

using diagramtest::DiagramBuild;
using diagramtest::Model;
using report::MemberMoments;
using report::Stations;
using report::WeightedMoments;

namespace {

constexpr Stations kSixths{0, 1, 2, 3, 4, 5, 6};
constexpr Stations kFixedEndBeam{30, 5, -10, -15, -10, 5, 30};

void ExpectStations(const Stations& actual, const Stations& expected, float tolerance = 1e-4f)
{
    for (size_t k = 0; k < 7; ++k) EXPECT_NEAR(actual[k], expected[k], tolerance) << "station " << k;
}

TEST(MomentCurves, InnerStationsFromTheEndsAndTheMiddle)
{
    struct Case {
        Stations given;   // stations 0, 3 and 6 are read
        bool lineWhenMidZero;
        Stations expected;
    };
    const Case cases[] = {
        {{0, 0, 0, 9, 0, 0, 0}, true, {0, 5, 8, 9, 8, 5, 0}},              // a = -1, b = 6, c = 0
        {{4, 0, 0, 0, 0, 0, 4}, true, {4, 4, 4, 4, 4, 4, 4}},              // the line: station 3 shows 4, not 0
        {{-5, 0, 0, 0, 0, 0, 5}, true, {-5, -10.0f / 3, -5.0f / 3, 0, 5.0f / 3, 10.0f / 3, 5}},
        {{10, 0, 0, 20, 0, 0, 10}, true, {10, 140.0f / 9, 170.0f / 9, 20, 170.0f / 9, 140.0f / 9, 10}},
        {{4, 0, 0, 0, 0, 0, 4}, false, {4, 16.0f / 9, 4.0f / 9, 0, 4.0f / 9, 16.0f / 9, 4}},   // the parabola through 0
    };
    for (const Case& c : cases) {
        Stations f = c.given;
        report::FillInnerStations(f, kSixths, c.lineWhenMidZero);
        ExpectStations(f, c.expected);
    }
    float a = 0, b = 0, cc = 0;
    report::FitParabolaThroughThreePoints(a, b, cc, kSixths, {0, 0, 0, 9, 0, 0, 0});
    EXPECT_FLOAT_EQ(a, -1);
    EXPECT_FLOAT_EQ(b, 6);
    EXPECT_FLOAT_EQ(cc, 0);
}

TEST(MomentCurves, OrdinatesOfOneCase)
{
    const WeightedMoments beam[] = {{{-3000, 3000, 3000, -3000, -1500, -1500}, 1}};
    const report::MomentOrdinates o = report::ComputeMomentOrdinates(6, beam, false);
    ExpectStations(o.s, kSixths);
    ExpectStations(o.mz, kFixedEndBeam);
    ExpectStations(o.my, kFixedEndBeam);

    // End moments of 500 about y with no mid-span moment: -5 and 5, and the
    // straight line gives 0 at mid-span.
    const WeightedMoments sway[] = {{{500, 1000, 500, -1000, 0, 2000}, 1}};
    const report::MomentOrdinates s = report::ComputeMomentOrdinates(6, sway, false);
    ExpectStations(s.my, {-5, -10.0f / 3, -5.0f / 3, 0, 5.0f / 3, 10.0f / 3, 5});
    // 1000, 2000 and -1000 about z: a parabola through 10, 20 and 10.
    ExpectStations(s.mz, {10, 140.0f / 9, 170.0f / 9, 20, 170.0f / 9, 140.0f / 9, 10});

    // The drawing scale: StressScale 1 draws 1 kN·m 0.01 m off.
    const WeightedMoments small[] = {{beam[0].moments, 0.01f}};
    EXPECT_NEAR(report::ComputeMomentOrdinates(6, small, false).mz[0], 0.3f, 1e-6f);
}

// A case left out of the combination adds nothing; a case without member
// load (mid-span 0) adds the midpoint of its end moments, so the combined
// curve is the sum of the cases' own curves.
TEST(MomentCurves, OrdinatesOfTheCombination)
{
    const MemberMoments beam{-3000, 3000, 3000, -3000, -1500, -1500};
    const MemberMoments sway{0, 1000, 0, -200, 0, 0};   // mz: 10 at i, 2 at j, a line
    const WeightedMoments parts[] = {{sway, 0}, {beam, 2}};
    Stations doubled;
    for (size_t k = 0; k < 7; ++k) doubled[k] = 2 * kFixedEndBeam[k];
    ExpectStations(report::ComputeMomentOrdinates(6, parts, true).mz, doubled);

    const WeightedMoments both[] = {{sway, 1}, {beam, 1}};
    const Stations line{10, 26.0f / 3, 22.0f / 3, 6, 14.0f / 3, 10.0f / 3, 2};
    Stations sum;
    for (size_t k = 0; k < 7; ++k) sum[k] = line[k] + kFixedEndBeam[k];
    ExpectStations(report::ComputeMomentOrdinates(6, both, true).mz, sum);
    // The single case keeps its straight line.
    const WeightedMoments alone[] = {{sway, 1}};
    ExpectStations(report::ComputeMomentOrdinates(6, alone, false).mz, line);
}

// The beam of the portal frame (node 2 to node 3 at 4 m height, along +X)
// under a downward uniform load, StressScale 1: its My curve stands 0.3 m
// above the beam at the ends (hogging, tension on top) and 0.15 m below it
// at mid-span; its Mz curve, without moment, lies on the member.
TEST(MomentCurves, TheBeamOfThePortalOnItsTensionSide)
{
    Model m = diagramtest::PortalFrame();
    m.moments[{1, 2}] = {-3000, 0, 3000, 0, -1500, 0};
    DiagramBuild b(m);
    b.ctx().info.StressScale = 1;
    b.Prepare();
    const std::vector<report::MomentCurve> curves = report::BuildMomentDiagramPoints(b.ctx(), 1);
    ASSERT_EQ(curves.size(), 3u);
    const report::MomentCurve& beam = curves[1];
    EXPECT_EQ(beam.no, 2);
    for (size_t k = 0; k < 7; ++k) {
        const float x = static_cast<float>(k);
        const float z = 4 + kFixedEndBeam[k] / 100;
        EXPECT_NEAR(beam.myX[k], x / 99, 2e-6f) << k;
        EXPECT_NEAR(beam.myY[k], -z / 99, 2e-6f) << k;
        EXPECT_NEAR(beam.mzX[k], x / 99, 2e-6f) << k;
        EXPECT_NEAR(beam.mzY[k], -4.0f / 99, 2e-6f) << k;
    }
    // Above the beam on the page is the smaller y.
    EXPECT_LT(beam.myY[0], beam.mzY[0]);
    EXPECT_GT(beam.myY[3], beam.mzY[3]);
}

TEST(MomentCurves, AMemberWithoutLengthOrWithoutItsRowEndsTheBuild)
{
    Model m = diagramtest::PortalFrame();
    m.nodes.push_back({5, 6, 0, 4});   // on node 3
    m.members.push_back({4, 3, 5});
    DiagramBuild b(m);
    b.Prepare();
    try {
        report::BuildMomentDiagramPoints(b.ctx(), 1);
        ADD_FAILURE() << "no failure";
    } catch (const report::ReportFailure& f) {
        EXPECT_EQ(f.message.text, QStringLiteral("ERROR：部材番号=4 の部材長が 0 または 0 以下になっています。"));
        EXPECT_EQ(f.message.style, ui::Icon::Exclamation | ui::Buttons::OK);
    }

    Model missing = diagramtest::PortalFrame();
    missing.missingMoments = {{1, 3}};
    DiagramBuild c(missing);
    c.Prepare();
    try {
        report::BuildMomentDiagramPoints(c.ctx(), 1);
        ADD_FAILURE() << "no failure";
    } catch (const report::ReportFailure& f) {
        EXPECT_TRUE(f.message.text.isEmpty());   // the driver's message alone
    }
}

}  // namespace
