// Fixed-end forces of every member-load type in every end case, against
// consistent loads integrated here with Hermite shape functions and end
// releases condensed from the beam stiffness; and the pieces' edge values.
#include "AnalysisTestModel.h"

#include "analysis/FixedEndForces.h"
#include "analysis/LoadVectors.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <vector>

using namespace antest;

namespace {

constexpr double L = 6.0;   // m

// A load along member y: linear pieces (x0, x1, q0, q1) and point loads (a, P).
struct Lin { double x0, x1, q0, q1; };
struct Pt { double a, P; };
struct Load { std::vector<Lin> lin; std::vector<Pt> pts; };

// Values per unit point load at x: (Qi, Mi, Qj, Mj) of a fixed-fixed beam, and
// the simply supported mid-span moment.
void PointTerms(double x, double out[5])
{
    const double s = x / L;
    out[0] = 1 - 3 * s * s + 2 * s * s * s;
    out[1] = L * (s - 2 * s * s + s * s * s);
    out[2] = 3 * s * s - 2 * s * s * s;
    out[3] = L * (-s * s + s * s * s);
    out[4] = std::min(x, L - x) / 2;
}

std::array<double, 5> Integrate(const Load& load)
{
    std::array<double, 5> r{};
    double t[5];
    for (const Pt& p : load.pts) {
        PointTerms(p.a, t);
        for (int k = 0; k < 5; ++k) r[k] += p.P * t[k];
    }
    // Gauss-Legendre, 5 points, on pieces split at mid-span: exact here.
    const double gx[5] = {-0.9061798459386640, -0.5384693101056831, 0, 0.5384693101056831, 0.9061798459386640};
    const double gw[5] = {0.2369268850561891, 0.4786286704993665, 0.5688888888888889, 0.4786286704993665, 0.2369268850561891};
    for (const Lin& l : load.lin) {
        std::vector<double> cuts{l.x0};
        if (l.x0 < L / 2 && L / 2 < l.x1) cuts.push_back(L / 2);
        cuts.push_back(l.x1);
        for (size_t c = 0; c + 1 < cuts.size(); ++c) {
            const double a = cuts[c], b = cuts[c + 1], h = (b - a) / 2, m = (a + b) / 2;
            for (int g = 0; g < 5; ++g) {
                const double x = m + h * gx[g];
                const double q = l.q0 + (l.q1 - l.q0) * (x - l.x0) / (l.x1 - l.x0);
                PointTerms(x, t);
                for (int k = 0; k < 5; ++k) r[k] += gw[g] * h * q * t[k];
            }
        }
    }
    return r;
}

// Condenses the end rotations through springs k (per 6EI/L: p/(1−p)); p = 1
// rigid, p = 0 pin. Works on the 4×4 beam stiffness with two internal rotations.
std::array<double, 4> Condense(const std::array<double, 5>& f, double pi, double pj)
{
    // dofs: 0 vi, 1 φi, 2 vj, 3 φj (beam), 4 θi, 5 θj (nodes); EI = 1.
    double K[6][6] = {};
    const double k4[4][4] = {{12 / (L * L * L), 6 / (L * L), -12 / (L * L * L), 6 / (L * L)},
                             {6 / (L * L), 4 / L, -6 / (L * L), 2 / L},
                             {-12 / (L * L * L), -6 / (L * L), 12 / (L * L * L), -6 / (L * L)},
                             {6 / (L * L), 2 / L, -6 / (L * L), 4 / L}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) K[r][c] = k4[r][c];
    const double c6 = 6 / L;
    auto spring = [](double p, double c) { return p >= 1 ? 1e12 : p / (1 - p) * c; };
    const double ki = spring(pi, c6), kj = spring(pj, c6);
    K[1][1] += ki; K[4][4] += ki; K[1][4] -= ki; K[4][1] -= ki;
    K[3][3] += kj; K[5][5] += kj; K[3][5] -= kj; K[5][3] -= kj;
    // Condense φi, φj (dofs 1, 3) onto (vi, θi, vj, θj) = (0, 4, 2, 5).
    const double a = K[1][1], b = K[1][3], d = K[3][3], det = a * d - b * b;
    const double inv[2][2] = {{d / det, -b / det}, {-b / det, a / det}};
    const double fc[2] = {f[1], f[3]};
    const int ext[4] = {0, 4, 2, 5};
    const double fe[4] = {f[0], 0, f[2], 0};
    std::array<double, 4> out{};
    for (int r = 0; r < 4; ++r) {
        const double kr[2] = {K[ext[r]][1], K[ext[r]][3]};
        double s = 0;
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) s += kr[i] * inv[i][j] * fc[j];
        out[r] = fe[r] - s;
    }
    return out;   // Qi, Mi, Qj, Mj
}

// The engine's equivalent loads of one shape on a 6 m member along X with
// the given zMWR values at its ends (member E·Izz/L gives 6EI/L = 40000 kN·m).
FefVector EngineLoads(int type, const std::array<double, 8>& P, double endI, double endJ)
{
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, L, 0, 0).restraint = kFix;
    Member& mem = m.AddMember(1, 1, 2);
    mem.endI[5] = endI;
    mem.endJ[5] = endJ;
    m.MemberLoad({1}, 1, type, QStringLiteral("y 部材系"), P);
    m.Apply();
    PlaceLoads(Engine());
    FefVector F{};
    for (int k = 1; k <= 14; ++k) F[k] = Equiv(1, k);
    return F;
}

struct TypeCase {
    const char* name;
    int type;
    std::array<double, 8> P;
    Load load;
};

Load Tri(double a, double c, double q0, double q1) { return Load{{Lin{a, a + c, q0, q1}}, {}}; }

Load Join(std::initializer_list<Load> parts)
{
    Load r;
    for (const Load& p : parts) {
        r.lin.insert(r.lin.end(), p.lin.begin(), p.lin.end());
        r.pts.insert(r.pts.end(), p.pts.begin(), p.pts.end());
    }
    return r;
}

// Floor load: a trapezoid (rise X) or triangle per segment, and a point load
// at each division.
Load Floor(double w, int n, double P3, double X, const std::vector<double>& divs)
{
    std::vector<double> b{0};
    for (int k = 0; k < n; ++k) b.push_back(divs[k]);
    b.push_back(L);
    Load r;
    auto T = [X](double l) { return l / 2 > X ? X * X / 2 : (l / 2) * X - (l / 2) * (l / 2) / 2; };
    for (size_t k = 0; k + 1 < b.size(); ++k) {
        const double s = b[k], l = b[k + 1] - b[k];
        if (l / 2 > X) {
            r.lin.push_back({s, s + X, 0, w});
            r.lin.push_back({s + X, s + l - X, w, w});
            r.lin.push_back({s + l - X, s + l, w, 0});
        } else {
            r.lin.push_back({s, s + l / 2, 0, w});
            r.lin.push_back({s + l / 2, s + l, w, 0});
        }
    }
    for (int k = 1; k <= n; ++k) r.pts.push_back({b[k], P3 + w * (T(b[k] - b[k - 1]) + T(b[k + 1] - b[k]))});
    return r;
}

std::vector<TypeCase> Cases()
{
    return {
        {"type 3", 3, {0, -2.5}, Tri(0, L, -2.5, -2.5)},
        {"type 4", 4, {0, 3, 1, 2, 1.5}, Join({Tri(1, 2, 0, 3), Tri(3, 1.5, 3, 0)})},
        {"type 14", 14, {0, 3, 0.1, 0.3, 0.4}, Join({Tri(0.6, 1.8, 0, 3), Tri(2.4, 2.4, 3, 0)})},
        {"type 5 rising", 5, {0, 1, 4, 0.5, 3}, Tri(0.5, 3, 1, 4)},
        {"type 5 opposite signs", 5, {0, 2, -3, 1, 4}, Tri(1, 4, 2, -3)},
        {"type 15", 15, {0, -4, -1, 0.25, 0.5}, Tri(1.5, 3, -4, -1)},
        {"type 6", 6, {0, 2, 5, 0.5, 1, 2, 1.5}, Join({Tri(0.5, 1, 0, 2), Tri(1.5, 2, 2, 5), Tri(3.5, 1.5, 5, 0)})},
        {"type 16", 16, {0, -3, -1, 0.1, 0.2, 0.3, 0.25},
         Join({Tri(0.6, 1.2, 0, -3), Tri(1.8, 1.8, -3, -1), Tri(3.6, 1.5, -1, 0)})},
        {"type 7", 7, {0, 5, -2, 3, 1, 2, 1.5}, Load{{}, {{1, 5}, {3, -2}, {4.5, 3}}}},
        {"type 7 zero distances", 7, {0, 5, 4, 0, 0, 2, 0}, Load{{}, {{0, 5}, {2, 4}}}},
        {"type 17", 17, {0, -5, 0, 2, 0.2, 0.5, 0}, Load{{}, {{1.2, -5}, {4.2, 2}}}},
        {"type 8", 8, {0, 4, 3}, Load{{}, {{1.5, 4}, {3, 4}, {4.5, 4}}}},
        {"type 10 trapezoids", 10, {0, 2, 1, 5, 0.5, 2.5}, Floor(2, 1, 5, 0.5, {2.5})},
        {"type 10 triangles", 10, {0, -1, 2, 0, 1.5, 1, 2}, Floor(-1, 2, 0, 1.5, {1, 3})},
        {"type 10 one segment", 10, {0, 3, 0, 7, 1}, Floor(3, 0, 7, 1, {})},
        {"type 20", 20, {0, 2, 3, 1, 0.4, 0.2, 0.3, 0.2}, Floor(2, 3, 1, 0.4, {1.2, 3, 4.2})},
    };
}

}  // namespace

TEST(FixedEndForces, EveryTypeInEveryEndCaseMatchesConsistentLoads)
{
    // zMWR values: rigid, pin, and springs (6EI/L = 40000 gives p = 0.5; 120000 gives 0.75).
    struct Ends { double vi, vj, pi, pj; };
    const Ends ends[] = {{1, 1, 1, 1}, {1, 0, 1, 0}, {0, 1, 0, 1}, {0, 0, 0, 0},
                         {40000, 120000, 0.5, 0.75}, {1, 40000, 1, 0.5}, {0, 120000, 0, 0.75}};
    for (const TypeCase& tc : Cases()) {
        const std::array<double, 5> fixed = Integrate(tc.load);
        for (const Ends& e : ends) {
            const std::array<double, 4> expect = Condense(fixed, e.pi, e.pj);
            const FefVector F = EngineLoads(tc.type, tc.P, e.vi, e.vj);
            const double scale = 1 + std::fabs(fixed[0]) + std::fabs(fixed[2]);
            const std::string what = std::string(tc.name) + " ends " + std::to_string(e.vi) + "/" + std::to_string(e.vj);
            EXPECT_NEAR(F[2], expect[0], 1e-7 * scale) << what;
            EXPECT_NEAR(F[6], 100 * expect[1], 1e-5 * scale) << what;
            EXPECT_NEAR(F[8], expect[2], 1e-7 * scale) << what;
            EXPECT_NEAR(F[12], 100 * expect[3], 1e-5 * scale) << what;
            EXPECT_NEAR(F[14], 100 * fixed[4], 1e-5 * scale) << what;
            EXPECT_EQ(F[1], 0.0);
            EXPECT_EQ(F[3], 0.0);
            EXPECT_EQ(F[5], 0.0);
            EXPECT_EQ(F[13], 0.0);
        }
    }
}

TEST(FixedEndForces, PlaneZMirrorsTheEndMoments)
{
    Model m;
    m.AddNode(1, 0, 0, 0);
    m.AddNode(2, L, 0, 0);
    m.AddMember(1, 1, 2);
    m.MemberLoad({1}, 1, 7, QStringLiteral("z 部材系"), {0, 5, 0, 0, 2});
    m.Apply();
    PlaceLoads(Engine());
    const std::array<double, 5> f = Integrate(Load{{}, {{2, 5}}});
    EXPECT_NEAR(Equiv(1, 3), f[0], 1e-9);
    EXPECT_NEAR(Equiv(1, 5), -100 * f[1], 1e-7);
    EXPECT_NEAR(Equiv(1, 9), f[2], 1e-9);
    EXPECT_NEAR(Equiv(1, 11), -100 * f[3], 1e-7);
    EXPECT_NEAR(Equiv(1, 13), 100 * f[4], 1e-7);
}

TEST(FixedEndForces, EdgeValuesOfThePieces)
{
    struct Row { PieceValues v; double Qi, Mi, Qj, Mj, Mc; };
    const Row rows[] = {
        {UniformValues(1, 6, 0, 6, 0, 1), 3, 3, 3, -3, 4.5},
        {UniformValues(1, 6, 0, 6, 0, 2), 3.75, 4.5, 2.25, 0, 4.5},
        {UniformValues(1, 6, 0, 6, 0, 3), 2.25, 0, 3.75, -4.5, 4.5},
        {UniformValues(1, 6, 0, 6, 0, 4), 3, 0, 3, 0, 4.5},
        {UniformValues(1, 6, 1, 2, 3, 1), 1.4630, 1.6667, 0.5370, -0.8889, 2},
        {PointLoadValues(1, 6, 2, 4, 1), 0.7407, 0.8889, 0.2593, -0.4444, 1},
        {PointLoadValues(1, 6, 2, 4, 2), 0.8519, 1.1111, 0.1481, 0, 1},
        {PointLoadValues(1, 6, 2, 4, 3), 0.5185, 0, 0.4815, -0.8889, 1},
        {PointLoadValues(1, 6, 3, 3, 1), 0.5, 0.75, 0.5, -0.75, 1.5},
        {RisingTriangleValues(1, 6, 1, 3, 2, 1), 0.7472, 1.0542, 0.7528, -1.0708, 1.8056},
        {FallingTriangleValues(1, 6, 1, 3, 2, 1), 1.0931, 1.2167, 0.4069, -0.6583, 1.4444},
    };
    for (const Row& r : rows) {
        EXPECT_NEAR(r.v.Qi, r.Qi, 1e-4);
        EXPECT_NEAR(r.v.Mi, r.Mi, 1e-4);
        EXPECT_NEAR(r.v.Qj, r.Qj, 1e-4);
        EXPECT_NEAR(r.v.Mj, r.Mj, 1e-4);
        EXPECT_NEAR(r.v.Mc, r.Mc, 1e-4);
    }
}

TEST(FixedEndForces, TypesThatPlaceNothing)
{
    struct Row { int type; std::array<double, 8> P; };
    const Row rows[] = {
        {4, {0, 2, 1, 0, 0}},          // no rise, no fall
        {5, {0, 2, 3, 1, 0}},          // zero length
        {8, {0, 2, 0.4}},              // count rounds to 0
        {8, {0, 0, 3}},                // no load
        {10, {0, 2, 4, 0, 1, 1, 1, 1}}, // more than three divisions
        {9, {0, 5, 5, 5, 5}},
        {13, {0, 5, 5, 5, 5}},
    };
    for (const Row& r : rows) {
        const FefVector F = EngineLoads(r.type, r.P, 1, 1);
        for (int k = 1; k <= 14; ++k) EXPECT_EQ(F[k], 0.0) << "type " << r.type;
    }
}

TEST(FixedEndForces, GlobalOppositeSignLinearLoadIsPlaced)
{
    // A linear load from +2 to −3 along global Y on a member along X acts
    // fully in its plane y.
    const FefVector member = EngineLoads(5, {0, 2, -3, 1, 4}, 1, 1);
    Model m;
    m.AddNode(1, 0, 0, 0);
    m.AddNode(2, L, 0, 0);
    m.AddMember(1, 1, 2);
    m.MemberLoad({1}, 1, 5, QStringLiteral("Y 絶対系"), {0, 2, -3, 1, 4});
    m.Apply();
    PlaceLoads(Engine());
    for (int k = 1; k <= 14; ++k) EXPECT_NEAR(Equiv(1, k), member[k], 1e-9) << k;
    EXPECT_NE(Equiv(1, 2), 0.0);
}

TEST(FixedEndForces, EndForcesGivenAreNeverResolved)
{
    // Type 2 on a vertical member: plane z for "z 部材系", plane y for any
    // other text (a global one included), values as entered.
    for (const QString& dir : {QStringLiteral("z 部材系"), QStringLiteral("Z 絶対系"), QStringLiteral("Y 部材系")}) {
        Model m;
        m.AddNode(1, 0, 0, 0);
        m.AddNode(2, 0, 0, 4);
        m.AddMember(1, 1, 2);
        m.MemberLoad({1}, 1, 2, dir, {0, 1, 2, 3, 4, 5, 6, 7});
        m.Apply();
        PlaceLoads(Engine());
        const bool z = dir == QStringLiteral("z 部材系");
        EXPECT_EQ(Equiv(1, 1), 1);
        EXPECT_EQ(Equiv(1, 7), 4);
        EXPECT_EQ(Equiv(1, z ? 3 : 2), 2);
        EXPECT_EQ(Equiv(1, z ? 5 : 6), z ? -300 : 300);
        EXPECT_EQ(Equiv(1, z ? 9 : 8), 5);
        EXPECT_EQ(Equiv(1, z ? 11 : 12), z ? -600 : 600);
        EXPECT_EQ(Equiv(1, z ? 13 : 14), 700);
    }
}
