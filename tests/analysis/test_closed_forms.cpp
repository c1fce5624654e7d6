// Closed-form checks of the whole engine (units as stored: kN, kN·cm, cm, rad).
#include "AnalysisTestModel.h"

#include "analysis/AnalysisState.h"
#include "analysis/SolveFrame.h"
#include "common/TestEnv.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace antest;

namespace {

const QString kY = QStringLiteral("y 部材系"), kZ = QStringLiteral("z 部材系");
const QString kGX = QStringLiteral("X 絶対系"), kGY = QStringLiteral("Y 絶対系"), kGZ = QStringLiteral("Z 絶対系");

void ExpectRel(double actual, double expected, double rel = 1e-6, const char* what = "")
{
    const double tol = std::max(std::fabs(expected) * rel, 1e-9);
    EXPECT_NEAR(actual, expected, tol) << what;
}

Model Cantilever(double dx, double dy, double dz)
{
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, dx, dy, dz);
    m.AddMember(1, 1, 2);
    return m;
}

}  // namespace

TEST(ClosedForm, CantileverAlongX)
{
    struct Case {
        std::array<double, 6> load;
        int comp;
        double disp;
    };
    // Tip loads and the displacement they give at the tip.
    const Case cases[] = {
        {{0, -10, 0, 0, 0, 0}, 2, -0.533333333},
        {{0, 0, -10, 0, 0, 0}, 3, -1.066666667},
        {{0, 0, 0, 5, 0, 0}, 4, 0.005},
        {{10, 0, 0, 0, 0, 0}, 1, 0.002},
    };
    for (const Case& c : cases) {
        Model m = Cantilever(4, 0, 0);
        m.NodalLoad(2, 1, c.load[0], c.load[1], c.load[2], c.load[3], c.load[4], c.load[5]);
        m.Solve();
        ExpectRel(Disp(2, c.comp), c.disp, 1e-6);
        for (int d = 1; d <= 6; ++d) EXPECT_EQ(Disp(1, d), 0.0);
    }
    {
        Model m = Cantilever(4, 0, 0);
        m.NodalLoad(2, 1, 0, -10, 0);
        m.Solve();
        ExpectRel(Disp(2, 6), -0.002);
        ExpectRel(Force(1, 2), 10);
        ExpectRel(Force(1, 6), 4000);
        ExpectRel(React(1, 2), 10);
        ExpectRel(React(1, 6), 4000);
        EXPECT_EQ(React(2, 2), 0.0);
    }
    {
        Model m = Cantilever(4, 0, 0);
        m.NodalLoad(2, 1, 0, 0, -10);
        m.Solve();
        ExpectRel(Disp(2, 5), 0.004);
        ExpectRel(Force(1, 5), -4000);
    }
    {
        Model m = Cantilever(4, 0, 0);
        m.NodalLoad(2, 1, 10, 0, 0);
        m.Solve();
        ExpectRel(Force(1, 1), -10);   // tension: the node pulls the i end backwards
        ExpectRel(Force(1, 7), 10);
    }
}

TEST(ClosedForm, VerticalCantileverUsesIyyForXAndIzzForY)
{
    Model m = Cantilever(0, 0, 4);
    m.cases = 2;
    m.NodalLoad(2, 1, 10, 0, 0);
    m.NodalLoad(2, 2, 0, 10, 0);
    m.Solve();
    ExpectRel(Disp(2, 1, 1), 1.066666667);
    ExpectRel(Disp(2, 2, 2), 0.533333333);
}

TEST(ClosedForm, FixedBeamUniformLoadInEachDirection)
{
    for (const QString& dir : {kY, kZ, kGZ}) {
        Model m;
        m.AddNode(1, 0, 0, 0).restraint = kFix;
        m.AddNode(2, 6, 0, 0).restraint = kFix;
        m.AddMember(1, 1, 2);
        m.MemberLoad({1}, 1, 3, dir, {0, -10});
        m.Solve();
        const bool planeY = dir == kY;
        const int Q = planeY ? 2 : 3, M = planeY ? 6 : 5, jQ = Q + 6, jM = M + 6, cM = planeY ? 14 : 13;
        const double s = planeY ? 1 : -1;   // moments about y are mirrored
        ExpectRel(Equiv(1, Q), -30);
        ExpectRel(Equiv(1, M), -3000 * s);
        ExpectRel(Equiv(1, jQ), -30);
        ExpectRel(Equiv(1, jM), 3000 * s);
        ExpectRel(Equiv(1, cM), -4500);
        ExpectRel(Force(1, Q), 30);
        ExpectRel(Force(1, M), 3000 * s);
        ExpectRel(Force(1, jQ), 30);
        ExpectRel(Force(1, jM), -3000 * s);
        ExpectRel(Force(1, cM), -1500);
        // the other plane is untouched
        EXPECT_EQ(Force(1, planeY ? 3 : 2), 0.0);
        EXPECT_EQ(Force(1, planeY ? 13 : 14), 0.0);
        ExpectRel(React(1, planeY ? 2 : 3), 30);
    }
}

TEST(ClosedForm, BeamPinnedAtJByMemberEnd)
{
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 6, 0, 0).restraint = kFix;
    m.AddMember(1, 1, 2).endJ[5] = 0;   // zMWR pin
    m.MemberLoad({1}, 1, 3, kY, {0, -10});
    m.Solve();
    ExpectRel(Force(1, 2), 37.5);
    ExpectRel(Force(1, 6), 4500);
    ExpectRel(Force(1, 8), 22.5);
    EXPECT_NEAR(Force(1, 12), 0, 1e-9);
    ExpectRel(Force(1, 14), -2250);
}

TEST(ClosedForm, PortalWithRigidBeamAreaKeepsPrecision)
{
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 0, 0, 4);
    m.AddNode(3, 6, 0, 4);
    m.AddNode(4, 6, 0, 0).restraint = kFix;
    for (int k = 1; k <= 3; ++k) {
        Member& mem = m.AddMember(k, k, k + 1);
        mem.A = 1e6;
    }
    m.NodalLoad(2, 1, 10, 0, 0);
    m.Solve();
    // Every member bends about its local y here (Iyy); slope-deflection gives
    // the sway and the moments below.
    ExpectRel(Disp(2, 1), 0.213333333, 1e-5);
    ExpectRel(std::fabs(React(1, 5)), 1200, 1e-5);
    ExpectRel(std::fabs(React(4, 5)), 1200, 1e-5);
    ExpectRel(std::fabs(Force(1, 5)), 1200, 1e-5);
    ExpectRel(std::fabs(Force(1, 11)), 800, 1e-5);
    ExpectRel(std::fabs(Force(2, 5)), 800, 1e-5);
    ExpectRel(React(1, 1) + React(4, 1), -10, 1e-9);
}

TEST(ClosedForm, LShapedGrid)
{
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 4, 0, 0);
    m.AddNode(3, 4, 3, 0);
    m.AddMember(1, 1, 2);
    m.AddMember(2, 2, 3);
    m.NodalLoad(3, 1, 0, 0, -10);
    m.Solve();
    const double a = 400, b = 300;
    const double expected = -10 * (a * a * a / (3 * kE * kIyy) + b * b * b / (3 * kE * kIyy) + b * b * a / (kG * kJ));
    ExpectRel(Disp(3, 3), expected, 1e-7);
    ExpectRel(expected, -10.516667, 1e-6);
}

TEST(ClosedForm, TorsionRelease)
{
    for (bool released : {false, true}) {
        Model m;
        m.AddNode(1, 0, 0, 0).restraint = kFix;
        m.AddNode(2, 4, 0, 0);
        m.AddNode(3, 8, 0, 0).restraint = kFix;
        m.AddMember(1, 1, 2);
        Member& second = m.AddMember(2, 2, 3);
        if (released) second.endI[3] = 0;
        m.NodalLoad(2, 1, 0, 0, 0, 10);
        m.Solve();
        ExpectRel(Disp(2, 4), released ? 0.01 : 0.005);
        if (released) {
            EXPECT_EQ(Force(2, 4), 0.0);
        }
    }
}

TEST(ClosedForm, SupportAndMemberEndSprings)
{
    {
        Model m = Cantilever(4, 0, 0);
        m.nodes[0].restraint[5] = 5000;   // kN·m/rad about Z
        m.NodalLoad(2, 1, 0, -10, 0);
        m.Solve();
        ExpectRel(Disp(2, 2), -3.733333333);
        ExpectRel(React(1, 6), -500000 * Disp(1, 6), 1e-9);   // −k·θ, k in kN·cm
    }
    {
        Model m = Cantilever(4, 0, 0);
        m.members[0].endI[5] = 5000;
        m.NodalLoad(2, 1, 0, -10, 0);
        m.Solve();
        ExpectRel(Disp(2, 2), -3.733333333);
    }
    {
        // Springs 6EI/L at both ends: end moments wL²/16 (not wL²/12).
        Model m;
        m.AddNode(1, 0, 0, 0).restraint = kFix;
        m.AddNode(2, 6, 0, 0).restraint = kFix;
        Member& mem = m.AddMember(1, 1, 2);
        mem.endI[5] = mem.endJ[5] = 40000;
        m.MemberLoad({1}, 1, 3, kY, {0, -10});
        m.Solve();
        ExpectRel(Equiv(1, 6), -2250);
        ExpectRel(Equiv(1, 12), 2250);
        ExpectRel(Force(1, 6), 2250);
        ExpectRel(Force(1, 12), -2250);
        ExpectRel(Force(1, 14), -4500 + 2250);
    }
}

TEST(ClosedForm, GlobalPointLoadOnInclinedMemberSplitsAxialShareAsASpan)
{
    // 45° member in X-Z, fixed at both ends; 10 kN downward at L/4.
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 4, 0, 4).restraint = kFix;
    m.AddMember(1, 1, 2);
    m.MemberLoad({1}, 1, 17, kGZ, {0, -10, 0, 0, 0.25, 0, 0});
    m.Solve();
    EXPECT_NEAR(React(1, 3), 7.97, 0.005);
    EXPECT_NEAR(React(2, 3), 2.03, 0.005);
    ExpectRel(React(1, 3) + React(2, 3), 10, 1e-9);
}

TEST(ClosedForm, GlobalUniformLoadOnInclinedMember)
{
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 4, 0, 4).restraint = kFix;
    m.AddMember(1, 1, 2);
    m.MemberLoad({1}, 1, 3, kGZ, {0, -2});
    m.Solve();
    const double L = std::sqrt(32.0), c = std::sqrt(0.5);
    ExpectRel(Equiv(1, 1), -2 * c * L / 2);
    ExpectRel(Equiv(1, 7), -2 * c * L / 2);
    EXPECT_EQ(Equiv(1, 2), 0.0);
    ExpectRel(React(1, 3) + React(2, 3), 2 * L, 1e-9);
}

TEST(ClosedForm, ProjectedLengthRefusal)
{
    testenv::ResetScript();
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 0, 0, 4);
    m.AddMember(12, 1, 2);
    m.MemberLoad({12}, 1, 3, kGZ, {0, -1});
    m.shapes.back().no = 5;
    m.placements.back().shape = 5;
    EXPECT_TRUE(ShowsFailure([&] { m.Solve(); }));
    ASSERT_EQ(testenv::Script().messages.size(), 1);
    EXPECT_EQ(testenv::Script().messages[0],
              QStringLiteral("message=exclamation|ERROR：部材番号=12はX-Y平面への投影長さが 0 のため、絶対系Ｚ方向荷重(形状番号5)の設定は無効です。"));
}

TEST(ClosedForm, PinnedEndWithASpringAtTheOther)
{
    // A 6 m beam pinned about z at i, on a rotational spring at j, under a
    // uniform load: the free rotation at i takes no moment and no load.
    const double w = -13.04, k = 21932.8;   // kN/m, kN·m/rad
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = {1, 1, 1, 0, 0, 0};
    m.AddNode(2, 6, 0, 0).restraint = kFix;
    Member& mem = m.AddMember(1, 1, 2);
    mem.endI[5] = 0;
    mem.endJ[5] = k;
    m.MemberLoad({1}, 1, 3, kY, {0, w});
    m.Solve();
    const double L = 600, EI = kE * kIzz, q = w / 100;   // cm, kN·cm², kN/cm
    // Rotation of the simple span at j against the spring and the span's own
    // end stiffness 3EI/L.
    const double jM = (q * L * L * L / (24 * EI)) / (1 / (100 * k) + L / (3 * EI));
    EXPECT_NEAR(jM, -3069.24, 0.005);
    ExpectRel(Force(1, 12), jM, 1e-9);
    EXPECT_EQ(Force(1, 6), 0.0);
    ExpectRel(Force(1, 2), -q * L / 2 + jM / L, 1e-9);
    ExpectRel(Force(1, 8), -q * L / 2 - jM / L, 1e-9);
    EXPECT_NEAR(Force(1, 2), 34.005, 5e-4);
    EXPECT_NEAR(Force(1, 8), 44.235, 5e-4);
    EXPECT_EQ(Disp(1, 6), 0.0);
    EXPECT_EQ(Equiv(1, 6), 0.0);
}

TEST(ClosedForm, MidSpanMomentOfALoadWhoseSimpleSpanMomentIsZero)
{
    // A propped cantilever under a linear load from +10 to −10 kN/m along
    // member y: the simple span has no moment at mid-span, the member has.
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 6, 0, 0).restraint = {1, 1, 1, 1, 1, 0};
    m.AddMember(1, 1, 2);
    m.MemberLoad({1}, 1, 5, kY, {0, 10, -10, 0, 6});
    m.Solve();
    EXPECT_EQ(Equiv(1, 14), 0.0);
    // Fixed at i, pinned at j: iMz = −(Mi − Mj/2) of the fixed-end moments
    // Mi = Mj = 6 kN·m; then statics of the half from i to mid-span.
    ExpectRel(Force(1, 6), -300, 1e-9);
    EXPECT_NEAR(Force(1, 12), 0, 1e-9);
    const double L = 6, iQy = Force(1, 2);
    ExpectRel(iQy, -10.5, 1e-9);
    // ∫₀^{L/2} (x − L/2)(10 − 20x/L) dx = −30 kN·m
    const double midSpan = Force(1, 6) - 100 * (L / 2) * iQy + 100 * -30;
    ExpectRel(midSpan, -150, 1e-9);
    ExpectRel(Force(1, 14), midSpan, 1e-9);
    EXPECT_EQ(Force(1, 13), 0.0);   // nothing in plane z
}
