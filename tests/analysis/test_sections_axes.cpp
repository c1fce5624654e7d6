// Section properties, member axes and the solver's treatment of missing stiffness.
#include "AnalysisTestModel.h"

#include "analysis/AnalysisState.h"
#include "analysis/MemberStiffness.h"
#include "analysis/SectionProperties.h"
#include "analysis/ScratchFiles.h"
#include "analysis/SolveFrame.h"
#include "common/TestEnv.h"

#include <QFile>
#include <gtest/gtest.h>
#include <cmath>

using namespace antest;

TEST(SectionProperties, EdgeValues)
{
    SectionValues v;
    ASSERT_TRUE(CalcShapeSection(1, {20, 10}, &v));
    EXPECT_DOUBLE_EQ(v.A, 200);
    EXPECT_DOUBLE_EQ(v.Iyy, 20.0 * 20 * 20 * 10 / 12);
    EXPECT_DOUBLE_EQ(v.Izz, 10.0 * 10 * 10 * 20 / 12);
    EXPECT_NEAR(v.J, 20.0 * 1000 / 3 * (1 - 0.63 * 0.5 + 0.052 * std::pow(0.5, 5)), 1e-9);
    ASSERT_TRUE(CalcShapeSection(1, {10, 10}, &v));
    EXPECT_NEAR(v.J, 1e4 / 3 * (1 - 0.63 + 0.052), 1e-9);

    ASSERT_TRUE(CalcShapeSection(5, {10.16, 0.32}, &v));
    EXPECT_NEAR(v.A, 9.892, 1e-3);
    EXPECT_NEAR(v.J, 239.71, 0.01);
    EXPECT_NEAR(v.Iyy, 119.85, 0.01);
    EXPECT_EQ(v.Iyy, v.Izz);
    ASSERT_TRUE(CalcShapeSection(6, {2}, &v));
    EXPECT_NEAR(v.A, 3.1416, 1e-4);
    EXPECT_NEAR(v.J, 1.5708, 1e-4);
    EXPECT_NEAR(v.Iyy, 0.7854, 1e-4);

    // H-section and the same turned: A and J alike, second moments exchanged.
    const ShapeDimensions h{30, 15, 0.65, 0.9, 1.3};
    SectionValues h2, h3;
    ASSERT_TRUE(CalcShapeSection(2, h, &h2));
    ASSERT_TRUE(CalcShapeSection(3, h, &h3));
    EXPECT_EQ(h2.A, h3.A);
    EXPECT_EQ(h2.J, h3.J);
    EXPECT_EQ(h2.Iyy, h3.Izz);
    EXPECT_EQ(h2.Izz, h3.Iyy);
    EXPECT_NEAR(h2.A, 46.78, 0.05);        // H-300×150×6.5×9, r = 13: 46.78 cm²
    EXPECT_NEAR(h2.Iyy, 7210, 10);         // about the strong axis
}

TEST(SectionProperties, ClosedTubeTorsion)
{
    // 100 × 100 × 3.2: a closed section, about 290 cm⁴; the corner radius does not enter J.
    SectionValues sharp, round;
    ASSERT_TRUE(CalcShapeSection(4, {10, 10, 0.32, 0}, &sharp));
    ASSERT_TRUE(CalcShapeSection(4, {10, 10, 0.32, 0.48}, &round));
    EXPECT_NEAR(sharp.J, 2 * 0.32 * std::pow(9.68, 4) / 19.36, 1e-9);
    EXPECT_NEAR(sharp.J, 290, 1);
    EXPECT_EQ(sharp.J, round.J);
    EXPECT_LT(round.A, sharp.A);
    // Rectangular: J = 2t(d1−t)²(d2−t)²/(d1+d2−2t)
    SectionValues r;
    ASSERT_TRUE(CalcShapeSection(4, {20, 10, 0.6, 0}, &r));
    EXPECT_NEAR(r.J, 2 * 0.6 * std::pow(19.4, 2) * std::pow(9.4, 2) / 28.8, 1e-9);
}

TEST(SectionProperties, RefusedDimensionsAndTypes)
{
    SectionValues v;
    EXPECT_FALSE(CalcShapeSection(1, {0, 0}, &v));
    EXPECT_FALSE(CalcShapeSection(4, {0, 0, 0, 0.5}, &v));
    EXPECT_FALSE(CalcShapeSection(0, {10, 10}, &v));
    EXPECT_FALSE(CalcShapeSection(7, {10, 10}, &v));
}

TEST(MemberAxes, LocalAxesOfEveryDirection)
{
    struct Row { double dx, dy, dz; std::array<double, 3> y, z; };
    const double r = std::sqrt(0.5);
    const Row rows[] = {
        {4, 0, 0, {0, 1, 0}, {0, 0, 1}},
        {0, 4, 0, {-1, 0, 0}, {0, 0, 1}},
        {-4, 0, 0, {0, -1, 0}, {0, 0, 1}},     // along −X: not turned over
        {0, -4, 0, {1, 0, 0}, {0, 0, 1}},      // along −Y: no division by zero
        {0, 0, 4, {0, 1, 0}, {-1, 0, 0}},
        {0, 0, -4, {0, 1, 0}, {1, 0, 0}},
        {3, 3, 0, {-r, r, 0}, {0, 0, 1}},
        {-3, -3, 0, {r, -r, 0}, {0, 0, 1}},    // −X −Y: the general rule
        {0, -3, -3, {1, 0, 0}, {0, -r, r}},
    };
    for (const Row& row : rows) {
        Mat3 T;
        double L;
        ASSERT_TRUE(ComputeDirectionCosines(row.dx, row.dy, row.dz, T, L));
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(T[1][c], row.y[c], 1e-12) << row.dx << "," << row.dy << "," << row.dz;
            EXPECT_NEAR(T[2][c], row.z[c], 1e-12) << row.dx << "," << row.dy << "," << row.dz;
        }
        // right-handed: z = x × y
        EXPECT_NEAR(T[0][0] * T[1][1] - T[0][1] * T[1][0], T[2][2], 1e-12);
    }
    Mat3 T;
    double L;
    EXPECT_FALSE(ComputeDirectionCosines(0, 0, 0, T, L));
}

TEST(MemberAxes, SharedServiceForTheReport)
{
    testenv::ResetScript();
    std::array<std::array<float, 3>, 3> Tt{};
    float L = 0;
    BuildDirectionCosines(3, Tt, L, 0, -1, 0, 3, 4);
    EXPECT_FLOAT_EQ(L, 5);
    EXPECT_FLOAT_EQ(Tt[1][0], 0.6f);   // component Y of local x
    EXPECT_FLOAT_EQ(Tt[2][0], 0.8f);
    float x[7], y[7], z[7], pts[2][7][4];
    for (int s = 0; s < 7; ++s) { x[s] = s; y[s] = 0; z[s] = s == 3 ? 1.f : 0.f; }
    LocalPointsToGlobal(pts, x, y, z, 1, 2, 3, Tt);
    for (int s = 0; s < 7; ++s) {
        EXPECT_FLOAT_EQ(pts[0][s][0], 1);              // X
        EXPECT_FLOAT_EQ(pts[0][s][2], 2 + 0.6f * s);   // Y in component 2
        EXPECT_FLOAT_EQ(pts[0][s][1], 3 + 0.8f * s);   // Z in component 1
        EXPECT_FLOAT_EQ(pts[0][s][3], 1);
    }
    // curve 1 offsets along local z
    EXPECT_NEAR(pts[1][3][0] - pts[0][3][0], Tt[0][2], 1e-6);
    EXPECT_TRUE(ShowsFailure([&] { BuildDirectionCosines(7, Tt, L, 0, -1, 0, 0, 0); }));
    ASSERT_EQ(testenv::Script().messages.size(), 1);
    EXPECT_EQ(testenv::Script().messages[0],
              QStringLiteral("message=exclamation|ERROR：部材番号=7 の部材長が 0 または 0 以下になっています。"));
}

TEST(MemberStiffness, SpringsAndReleases)
{
    Model m;
    m.AddNode(1, 0, 0, 0);
    m.AddNode(2, 6, 0, 0);
    Member& mem = m.AddMember(1, 1, 2);
    const double c = 6 * kE * kIzz / 600;   // kN·cm
    mem.endI[5] = mem.endJ[5] = c / 100;    // springs 6EI/L: p = 0.5
    mem.endI[4] = 1.0;                      // exactly 1.0: rigid, not a spring of 1
    m.Apply();
    MemberStiffnessState s;
    BuildMemberStiffness(Engine().model, 1, s, true);
    EXPECT_NEAR(s.LocalStiffness[5][5], 2.25 * kE * kIzz / 600, 1e-6);
    EXPECT_NEAR(s.LocalStiffness[4][4], 4 * kE * kIyy / 600, 1e-6);
    EXPECT_NEAR(s.LocalStiffness[3][3], kG * kJ / 600, 1e-9);
    m.members[0].endJ[3] = 500;   // a torsion value other than 0 transmits fully
    m.Apply();
    BuildMemberStiffness(Engine().model, 1, s, false);
    EXPECT_NEAR(s.LocalStiffness[3][3], kG * kJ / 600, 1e-9);
    m.members[0].endJ[3] = 0;
    m.Apply();
    BuildMemberStiffness(Engine().model, 1, s, false);
    EXPECT_EQ(s.LocalStiffness[3][3], 0.0);
    EXPECT_EQ(s.LocalStiffness[3][9], 0.0);
    // A weak spring of 0.01 kN·m/rad (1 kN·cm/rad) is nearly a pin, not rigid.
    m.members[0].endI[4] = 0.01;
    m.Apply();
    BuildMemberStiffness(Engine().model, 1, s, false);
    EXPECT_LT(s.LocalStiffness[4][4], 1.0);
}

TEST(Solver, FreeRotationThatNothingTouchesIsLeftAtZero)
{
    // A node where every member is pinned about z: its rotation about Z has
    // no stiffness and no load, and the rest solves normally.
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 4, 0, 0);
    m.AddNode(3, 8, 0, 0).restraint = kFix;
    m.AddMember(1, 1, 2).endJ[5] = 0;
    m.AddMember(2, 2, 3).endI[5] = 0;
    m.NodalLoad(2, 1, 0, -10, 0);
    m.Solve();
    EXPECT_EQ(Disp(2, 6), 0.0);
    // two propped cantilevers side by side: 2 × 3EI/L³
    EXPECT_NEAR(Disp(2, 2), -10 / (2 * 3 * kE * kIzz / std::pow(400, 3)), 1e-9);
    // Moments about Z that cancel, up to the rounding of their sum (−4e-15
    // kN·cm), leave it unloaded too.
    for (double mz : {0.11, 0.17, -0.28}) m.NodalLoad(2, 1, 0, 0, 0, 0, 0, mz);
    m.Solve();
    EXPECT_EQ(Disp(2, 6), 0.0);
    EXPECT_NEAR(Disp(2, 2), -10 / (2 * 3 * kE * kIzz / std::pow(400, 3)), 1e-9);
}

TEST(Solver, LoadedDirectionWithoutStiffnessFailsTheRun)
{
    testenv::ResetScript();
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 4, 0, 0);
    m.AddNode(3, 8, 0, 0).restraint = kFix;
    m.AddNode(4, 12, 0, 0);                  // no member: all six directions empty
    m.AddMember(1, 1, 2).endJ[5] = 0;
    m.AddMember(2, 2, 3).endI[5] = 0;
    m.NodalLoad(2, 1, 0, 0, 0, 0, 0, 5);     // a moment where nothing resists it
    EXPECT_TRUE(ShowsFailure([&] { m.Solve(); }));
    ASSERT_EQ(testenv::Script().messages.size(), 1);
    EXPECT_EQ(testenv::Script().messages[0],
              QStringLiteral("message=exclamation|ERROR：節点番号=2 のθz方向の剛性がありません（構造が不安定です）。"));
}

TEST(Solver, NearlyZeroPivotUnderLoadFailsTheRun)
{
    // Two members in one inclined straight line, hinged at the middle node:
    // a mechanism across it. Eliminating X leaves Y with a pivot of rounding
    // size, far below 1e-10 of its diagonal; a load across the line has
    // nothing to carry it.
    testenv::ResetScript();
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 3, 4, 0).restraint = {0, 0, 1, 1, 1, 0};
    m.AddNode(3, 6, 8, 0).restraint = kFix;
    for (int k = 1; k <= 2; ++k) {
        Member& mem = m.AddMember(k, k, k + 1);
        mem.endI[5] = mem.endJ[5] = 0;
    }
    m.NodalLoad(2, 1, 0, 10, 0);
    EXPECT_TRUE(ShowsFailure([&] { m.Solve(); }));
    ASSERT_EQ(testenv::Script().messages.size(), 1);
    EXPECT_EQ(testenv::Script().messages[0],
              QStringLiteral("message=exclamation|ERROR：節点番号=2 のY方向の剛性がありません（構造が不安定です）。"));
    // Loaded along the line it stands: the movement along the line is
    // carried by both members (the mechanism's own amplitude is left at 0).
    testenv::ResetScript();
    m.shapes[0].P = {0, 3, 4, 0};
    m.Solve();
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
    EXPECT_NEAR((3 * Disp(2, 1) + 4 * Disp(2, 2)) / 5, 5 / (2 * kE * kA / 500), 1e-12);
    EXPECT_NEAR(Force(1, 7), 2.5, 1e-9);
    EXPECT_NEAR(Force(2, 1), 2.5, 1e-9);
}

TEST(Solver, BandSizes)
{
    Model m;
    m.cases = 2;
    m.AddNode(5, 0, 0, 0);
    m.AddNode(1, 1, 0, 0);
    m.AddNode(3, 2, 0, 0);
    m.AddMember(1, 3, 5);   // rows 3 and 1
    m.Apply();
    EXPECT_EQ(Engine().model.NodeRow[5], 1);
    EXPECT_EQ(Engine().model.NodeRow[1], 2);
    EXPECT_EQ(Engine().model.NodeRow[3], 3);
    EXPECT_EQ(Engine().model.nDof, 18);
    EXPECT_EQ(Engine().model.HalfBand, 18);
    EXPECT_EQ(Engine().model.RowWidth, 20);
    Model two;
    two.cases = 2;
    two.AddNode(1, 0, 0, 0);
    two.AddNode(2, 1, 0, 0);
    two.AddMember(1, 2, 1);
    two.Apply();
    EXPECT_EQ(Engine().model.HalfBand, 12);
    EXPECT_EQ(Engine().model.RowWidth, 14);
}

TEST(Solver, ScratchRowsHoldDoubles)
{
    const double value = 0.1 + 1e-12;   // not a Single
    {
        BandFile f;
        f.Open(QStringLiteral("sm"), 4, true);
        const double row[5] = {0, value, -value, 3, 4};
        f.PutRow(2, row);
        f.Close();
    }
    EXPECT_EQ(QFile(QStringLiteral("sm")).size(), 2 * BandRecordLength(4));
    EXPECT_EQ(BandRecordLength(4), 10 + 8 * 5);
    BandFile f;
    f.Open(QStringLiteral("sm"), 4, false);
    double row[5];
    f.GetRow(2, row);
    EXPECT_EQ(row[1], value);
    EXPECT_EQ(row[2], -value);
    f.GetRow(1, row);   // never written: zeros
    EXPECT_EQ(row[1], 0.0);
    f.Close();
    DeleteScratchFiles();
    EXPECT_FALSE(QFile::exists(QStringLiteral("sm")));
}

TEST(Solver, ScratchRecordsSurviveThePageCache)
{
    // Records that straddle the cache's pages, written in two streams a band
    // apart as the elimination does, then rewritten backwards after reopening.
    const int length = 1000;
    auto pattern = [&](long record, int salt) {
        std::vector<char> r(length);
        for (int i = 0; i < length; ++i) r[static_cast<size_t>(i)] = static_cast<char>(record * 31 + i * 7 + salt);
        return r;
    };
    std::vector<char> got(length);
    RecordFile f;
    f.Open(QStringLiteral("eq"), length, true);
    for (long r = 1; r <= 2000; ++r) {
        f.Put(r, pattern(r, 0).data());
        if (r > 400) {
            f.Get(r - 400, got.data());
            ASSERT_EQ(got, pattern(r - 400, 0)) << r;
        }
    }
    f.Close();
    const QByteArray bytes = testenv::ReadFile(QStringLiteral("eq"));
    ASSERT_EQ(bytes.size(), 2000 * length);
    for (long r : {1L, 66L, 1999L, 2000L})
        EXPECT_EQ(std::vector<char>(bytes.begin() + (r - 1) * length, bytes.begin() + r * length), pattern(r, 0)) << r;

    f.Open(QStringLiteral("eq"), length, false);
    for (long r = 2000; r >= 1; --r) {
        f.Get(r, got.data());
        ASSERT_EQ(got, pattern(r, 0)) << r;
        f.Put(r, pattern(r, 1).data());
    }
    f.Get(2001, got.data());
    EXPECT_EQ(got, std::vector<char>(length, 0));
    f.Close();
    f.Open(QStringLiteral("eq"), length, false);
    for (long r : {1L, 1000L, 2000L}) {
        f.Get(r, got.data());
        EXPECT_EQ(got, pattern(r, 1)) << r;
    }
    f.Close();
    EXPECT_EQ(QFile(QStringLiteral("eq")).size(), 2000 * length);
    DeleteScratchFiles();
}
