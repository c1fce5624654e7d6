// Generated frames checked structure-independently: equilibrium, supports,
// springs, linearity, and agreement with a dense solver written here (static
// condensation for releases and springs, no code shared with the engine).
#include "AnalysisTestModel.h"

#include "analysis/AnalysisState.h"
#include "analysis/SolveFrame.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <map>
#include <random>

using namespace antest;

namespace {

using Vec = std::vector<double>;
using Mat = std::vector<Vec>;

Mat Zero(int r, int c) { return Mat(static_cast<size_t>(r), Vec(static_cast<size_t>(c), 0.0)); }

// Solves A x = b (dense, partial pivoting); A and b are copies.
Vec Solve(Mat A, Vec b)
{
    const int n = static_cast<int>(b.size());
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int i = k + 1; i < n; ++i)
            if (std::fabs(A[i][k]) > std::fabs(A[p][k])) p = i;
        std::swap(A[k], A[p]);
        std::swap(b[k], b[p]);
        if (A[k][k] == 0) throw std::runtime_error("singular");
        for (int i = k + 1; i < n; ++i) {
            const double f = A[i][k] / A[k][k];
            if (f == 0) continue;
            for (int j = k; j < n; ++j) A[i][j] -= f * A[k][j];
            b[i] -= f * b[k];
        }
    }
    Vec x(static_cast<size_t>(n));
    for (int i = n - 1; i >= 0; --i) {
        double s = b[i];
        for (int j = i + 1; j < n; ++j) s -= A[i][j] * x[j];
        x[i] = s / A[i][i];
    }
    return x;
}

struct V3 { double x, y, z; };
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Unit(V3 a) { const double n = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); return {a.x / n, a.y / n, a.z / n}; }

// Member axes: local x along the member; local y horizontal (Ẑ × x), or +Y
// for a member parallel to Z; local z = x × y.
std::array<V3, 3> Axes(V3 d)
{
    const V3 x = Unit(d);
    V3 y;
    if (std::fabs(d.x) < 1e-8 && std::fabs(d.y) < 1e-8) y = {0, 1, 0};
    else y = Unit(Cross({0, 0, 1}, x));
    return {x, y, Cross(x, y)};
}

// A member load of the test: linear distributed pieces (local intensities
// q0 at a rising linearly to q1 at a + c) and point loads (local components).
struct Segment {
    double a, c;
    V3 q0, q1;
};
struct MemberLoadDef {
    int member;
    int caseNo;
    std::vector<Segment> segments;
    std::vector<std::pair<double, V3>> points;   // (a m, local kN)
};

// Calls fn(x, local load, weight) for every point load and for Gauss points
// of every piece, the pieces cut at mid-span: sums over them integrate the
// load against any polynomial up to degree 9, on each half separately.
template <typename Fn>
void ForEachLoadPoint(const MemberLoadDef& l, double Lm, Fn fn)
{
    const double gx[5] = {-0.9061798459386640, -0.5384693101056831, 0, 0.5384693101056831, 0.9061798459386640};
    const double gw[5] = {0.2369268850561891, 0.4786286704993665, 0.5688888888888889, 0.4786286704993665, 0.2369268850561891};
    for (const Segment& s : l.segments) {
        std::vector<double> cuts{s.a};
        if (s.a < Lm / 2 && Lm / 2 < s.a + s.c) cuts.push_back(Lm / 2);
        cuts.push_back(s.a + s.c);
        for (size_t k = 0; k + 1 < cuts.size(); ++k) {
            const double h = (cuts[k + 1] - cuts[k]) / 2, m = (cuts[k] + cuts[k + 1]) / 2;
            for (int g = 0; g < 5; ++g) {
                const double x = m + h * gx[g], t = (x - s.a) / s.c;
                const V3 q{s.q0.x + t * (s.q1.x - s.q0.x), s.q0.y + t * (s.q1.y - s.q0.y), s.q0.z + t * (s.q1.z - s.q0.z)};
                fn(x, q, gw[g] * h);
            }
        }
    }
    for (const auto& p : l.points) fn(p.first, p.second, 1.0);
}

// Consistent fixed-fixed loads of the 12 local dofs (kN, kN·cm).
std::array<double, 12> Consistent(const MemberLoadDef& l, double Lm)
{
    std::array<double, 12> f{};
    auto point = [&](double a, V3 P, double w) {
        const double s = a / Lm;
        const double N1 = 1 - 3 * s * s + 2 * s * s * s, N2 = Lm * (s - 2 * s * s + s * s * s);
        const double N3 = 3 * s * s - 2 * s * s * s, N4 = Lm * (-s * s + s * s * s);
        f[0] += w * P.x * (1 - s); f[6] += w * P.x * s;
        f[1] += w * P.y * N1; f[5] += w * 100 * P.y * N2; f[7] += w * P.y * N3; f[11] += w * 100 * P.y * N4;
        f[2] += w * P.z * N1; f[4] -= w * 100 * P.z * N2; f[8] += w * P.z * N3; f[10] -= w * 100 * P.z * N4;
    };
    ForEachLoadPoint(l, Lm, point);
    return f;
}

struct DenseResult {
    std::map<int, std::array<double, 6>> u;          // node number -> displacement
    std::map<int, std::array<double, 6>> reaction;
    std::map<int, std::array<double, 12>> force;     // member number -> end forces
};

DenseResult DenseSolve(const Model& m, const std::vector<MemberLoadDef>& loads, int caseNo)
{
    const int N = static_cast<int>(m.nodes.size());
    std::map<int, int> idx;
    for (int k = 0; k < N; ++k) idx[m.nodes[k].no] = k;
    Mat K = Zero(6 * N, 6 * N);
    Vec F(static_cast<size_t>(6 * N), 0.0);
    for (const Shape& s : m.shapes) {
        if (s.type != 1 || s.caseNo != caseNo) continue;
        for (const Placement& p : m.placements)
            if (p.shape == s.no)
                for (int t : p.targets)
                    for (int d = 0; d < 6; ++d) F[6 * idx[t] + d] += d < 3 ? s.P[d + 1] : 100 * s.P[d + 1];
    }
    struct Element {
        Mat K0, Kei, Kii_inv_Kie;   // for recovery
        Mat Kc;
        std::array<double, 12> f0;
        std::vector<int> map;       // beam dof -> super index
        std::array<V3, 3> T;
        Mat Kfull; Vec ffull;
        int nInt;
        double Lcm;
    };
    std::map<int, Element> elems;
    for (const Member& mem : m.members) {
        const Node& a = m.nodes[idx[mem.i]];
        const Node& b = m.nodes[idx[mem.j]];
        const V3 d{b.x - a.x, b.y - a.y, b.z - a.z};
        const double Lm = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z), L = 100 * Lm;
        Element el;
        el.T = Axes(d);
        el.Lcm = L;
        const double G = (mem.endI[3] == 0 || mem.endJ[3] == 0) ? 0 : mem.G;
        Mat K0 = Zero(12, 12);
        auto put = [&K0](int r, int c, double v) { K0[r][c] += v; if (r != c) K0[c][r] += v; };
        const double E = mem.E;
        put(0, 0, E * mem.A / L); put(6, 6, E * mem.A / L); put(0, 6, -E * mem.A / L);
        put(3, 3, G * mem.J / L); put(9, 9, G * mem.J / L); put(3, 9, -G * mem.J / L);
        const double z = E * mem.Izz, y = E * mem.Iyy;
        put(1, 1, 12 * z / (L * L * L)); put(7, 7, 12 * z / (L * L * L)); put(1, 7, -12 * z / (L * L * L));
        put(1, 5, 6 * z / (L * L)); put(1, 11, 6 * z / (L * L)); put(5, 7, -6 * z / (L * L)); put(7, 11, -6 * z / (L * L));
        put(5, 5, 4 * z / L); put(11, 11, 4 * z / L); put(5, 11, 2 * z / L);
        put(2, 2, 12 * y / (L * L * L)); put(8, 8, 12 * y / (L * L * L)); put(2, 8, -12 * y / (L * L * L));
        put(2, 4, -6 * y / (L * L)); put(2, 10, -6 * y / (L * L)); put(4, 8, 6 * y / (L * L)); put(8, 10, 6 * y / (L * L));
        put(4, 4, 4 * y / L); put(10, 10, 4 * y / L); put(4, 10, 2 * y / L);
        el.K0 = K0;
        el.f0 = {};
        for (const MemberLoadDef& l : loads)
            if (l.member == mem.no && l.caseNo == caseNo) {
                const auto f = Consistent(l, Lm);
                for (int k = 0; k < 12; ++k) el.f0[k] += f[k];
            }
        // Released or elastic end rotations become internal dofs joined to the node by a spring.
        el.map.resize(12);
        for (int k = 0; k < 12; ++k) el.map[k] = k;
        std::vector<std::pair<int, double>> springs;   // (beam dof, k)
        el.nInt = 0;
        const int rotDof[4] = {4, 5, 10, 11};
        const double rotVal[4] = {mem.endI[4], mem.endI[5], mem.endJ[4], mem.endJ[5]};
        for (int r = 0; r < 4; ++r)
            if (rotVal[r] != 1.0) {
                el.map[rotDof[r]] = 12 + el.nInt++;
                springs.push_back({rotDof[r], 100 * rotVal[r]});
            }
        const int S = 12 + el.nInt;
        Mat Ks = Zero(S, S);
        Vec fs(static_cast<size_t>(S), 0.0);
        for (int r = 0; r < 12; ++r) {
            fs[el.map[r]] += el.f0[r];
            for (int c = 0; c < 12; ++c) Ks[el.map[r]][el.map[c]] += K0[r][c];
        }
        for (const auto& sp : springs) {
            const int in = el.map[sp.first], ex = sp.first;
            Ks[in][in] += sp.second; Ks[ex][ex] += sp.second; Ks[in][ex] -= sp.second; Ks[ex][in] -= sp.second;
        }
        el.Kfull = Ks; el.ffull = fs;
        // Condense the internal dofs.
        Mat Kc = Zero(12, 12);
        Vec fc(12);
        Mat Kii = Zero(el.nInt, el.nInt);
        for (int a2 = 0; a2 < el.nInt; ++a2)
            for (int b2 = 0; b2 < el.nInt; ++b2) Kii[a2][b2] = Ks[12 + a2][12 + b2];
        Vec fi(static_cast<size_t>(el.nInt));
        for (int a2 = 0; a2 < el.nInt; ++a2) fi[a2] = fs[12 + a2];
        Vec Kinv_fi = el.nInt ? Solve(Kii, fi) : Vec{};
        Mat KinvKie = Zero(el.nInt, 12);
        for (int c = 0; c < 12; ++c) {
            Vec col(static_cast<size_t>(el.nInt));
            for (int a2 = 0; a2 < el.nInt; ++a2) col[a2] = Ks[12 + a2][c];
            if (el.nInt) {
                const Vec x = Solve(Kii, col);
                for (int a2 = 0; a2 < el.nInt; ++a2) KinvKie[a2][c] = x[a2];
            }
        }
        for (int r = 0; r < 12; ++r) {
            double s = fs[r];
            for (int a2 = 0; a2 < el.nInt; ++a2) s -= Ks[r][12 + a2] * Kinv_fi[a2];
            fc[r] = s;
            for (int c = 0; c < 12; ++c) {
                double v = Ks[r][c];
                for (int a2 = 0; a2 < el.nInt; ++a2) v -= Ks[r][12 + a2] * KinvKie[a2][c];
                Kc[r][c] = v;
            }
        }
        el.Kii_inv_Kie = KinvKie;
        // To global axes: T12ᵀ Kc T12.
        auto Tl = [&el](int r, int c) {   // 12×12 rotation, local = T·global
            if (r / 3 != c / 3) return 0.0;
            const V3 ax = el.T[r % 3];
            return c % 3 == 0 ? ax.x : c % 3 == 1 ? ax.y : ax.z;
        };
        const int gi = 6 * idx[mem.i], gj = 6 * idx[mem.j];
        auto gdof = [&](int k) { return k < 6 ? gi + k : gj + k - 6; };
        for (int r = 0; r < 12; ++r) {
            double fr = 0;
            for (int k = 0; k < 12; ++k) fr += Tl(k, r) * fc[k];
            F[gdof(r)] += fr;
            for (int c = 0; c < 12; ++c) {
                double s = 0;
                for (int k = 0; k < 12; ++k)
                    for (int l = 0; l < 12; ++l) {
                        const double t = Tl(k, r) * Tl(l, c);
                        if (t != 0) s += t * Kc[k][l];
                    }
                K[gdof(r)][gdof(c)] += s;
            }
        }
        elems[mem.no] = std::move(el);
    }
    // Supports: fixed directions removed, springs on the diagonal.
    Mat Ksup = K;
    std::vector<int> freeDofs;
    for (int n = 0; n < N; ++n)
        for (int d = 0; d < 6; ++d) {
            const double v = m.nodes[n].restraint[d];
            if (v == 1.0) continue;
            if (v != 0) Ksup[6 * n + d][6 * n + d] += d < 3 ? v : 100 * v;
            freeDofs.push_back(6 * n + d);
        }
    Mat A = Zero(static_cast<int>(freeDofs.size()), static_cast<int>(freeDofs.size()));
    Vec b(freeDofs.size());
    for (size_t r = 0; r < freeDofs.size(); ++r) {
        b[r] = F[freeDofs[r]];
        for (size_t c = 0; c < freeDofs.size(); ++c) A[r][c] = Ksup[freeDofs[r]][freeDofs[c]];
    }
    const Vec x = Solve(A, b);
    Vec u(static_cast<size_t>(6 * N), 0.0);
    for (size_t r = 0; r < freeDofs.size(); ++r) u[freeDofs[r]] = x[r];

    DenseResult out;
    for (int n = 0; n < N; ++n) {
        std::array<double, 6> un{}, rn{};
        for (int d = 0; d < 6; ++d) {
            un[d] = u[6 * n + d];
            if (m.nodes[n].restraint[d] != 0) {
                double s = -F[6 * n + d];
                for (int c = 0; c < 6 * N; ++c) s += K[6 * n + d][c] * u[c];
                rn[d] = s;
            }
        }
        out.u[m.nodes[n].no] = un;
        out.reaction[m.nodes[n].no] = rn;
    }
    for (const Member& mem : m.members) {
        const Element& el = elems[mem.no];
        const int gi = 6 * idx[mem.i], gj = 6 * idx[mem.j];
        std::array<double, 12> ue{};
        for (int blk = 0; blk < 4; ++blk) {
            const int base = blk < 2 ? gi + 3 * blk : gj + 3 * (blk - 2);
            for (int r = 0; r < 3; ++r) {
                const V3 ax = el.T[r];
                ue[3 * blk + r] = ax.x * u[base] + ax.y * u[base + 1] + ax.z * u[base + 2];
            }
        }
        // Internal rotations from their own equations, then the beam's end forces.
        Vec ui(static_cast<size_t>(el.nInt), 0.0);
        if (el.nInt) {
            Mat Kii = Zero(el.nInt, el.nInt);
            Vec rhs(static_cast<size_t>(el.nInt));
            for (int a2 = 0; a2 < el.nInt; ++a2) {
                rhs[a2] = el.ffull[12 + a2];
                for (int c = 0; c < 12; ++c) rhs[a2] -= el.Kfull[12 + a2][c] * ue[c];
                for (int b2 = 0; b2 < el.nInt; ++b2) Kii[a2][b2] = el.Kfull[12 + a2][12 + b2];
            }
            ui = Solve(Kii, rhs);
        }
        std::array<double, 12> ub{};
        for (int k = 0; k < 12; ++k) ub[k] = el.map[k] < 12 ? ue[k] : ui[el.map[k] - 12];
        std::array<double, 12> f{};
        for (int r = 0; r < 12; ++r) {
            double s = -el.f0[r];
            for (int c = 0; c < 12; ++c) s += el.K0[r][c] * ub[c];
            f[r] = s;
        }
        out.force[mem.no] = f;
    }
    return out;
}

struct Frame {
    Model model;
    std::vector<MemberLoadDef> loads;
};

// A jittered grid of nx × ny × nz nodes with columns, beams both ways, a few
// diagonals, pinned and elastic member ends, support springs, and loads in
// three cases (the third is the sum of the first two).
Frame Generate(unsigned seed, int nx, int ny, int nz)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> U(0, 1);
    Frame f;
    Model& m = f.model;
    m.cases = 3;
    const int N = nx * ny * nz;
    std::vector<int> numbers(N);
    for (int k = 0; k < N; ++k) numbers[k] = k + 1;
    std::shuffle(numbers.begin(), numbers.end(), rng);
    std::vector<double> xs(nx), ys(ny), zs(nz), jx(nx * ny), jy(nx * ny);
    for (int i = 0; i < nx; ++i) xs[i] = 4.0 * i + 0.3 * U(rng);
    for (int j = 0; j < ny; ++j) ys[j] = 5.0 * j + 0.3 * U(rng);
    for (int k = 0; k < nz; ++k) zs[k] = 3.5 * k + 0.2 * U(rng) * (k > 0);
    auto id = [&](int i, int j, int k) { return numbers[(k * ny + j) * nx + i]; };
    // Display order: level by level, shuffled within a level (so the half band
    // stays below the number of equations).
    for (int k = 0; k < nz; ++k) {
        std::vector<Node> level;
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                // Beams wander in plan from level to level; columns of one plan position stay vertical.
                const double dx = k % 2 ? 0.25 * U(rng) : 0.0;
                Node n{id(i, j, k), xs[i] + dx, ys[j] + (k % 2 ? 0.2 * U(rng) : 0.0), zs[k]};
                if (k == 0) n.restraint = kFix;
                level.push_back(n);
            }
        std::shuffle(level.begin(), level.end(), rng);
        m.nodes.insert(m.nodes.end(), level.begin(), level.end());
    }
    // Support variety: one elastic base, one pinned base.
    for (Node& n : m.nodes) {
        if (n.no == id(0, 0, 0)) n.restraint = {5, 1, 7, 300, 0, 1};
        if (n.no == id(nx - 1, ny - 1, 0)) n.restraint = {1, 1, 1, 0, 0, 0};
    }
    std::vector<std::pair<int, int>> links;
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                if (i + 1 < nx && k > 0) links.push_back({id(i, j, k), id(i + 1, j, k)});
                if (j + 1 < ny && k > 0) links.push_back({id(i, j, k), id(i, j + 1, k)});
                if (k + 1 < nz) links.push_back({id(i, j, k), id(i, j, k + 1)});
            }
    for (int d = 0; d < 3; ++d) {
        const int k = 1 + static_cast<int>(U(rng) * (nz - 1));
        links.push_back({id(0, d % ny, k - 1), id(1, d % ny, k)});
    }
    std::shuffle(links.begin(), links.end(), rng);
    std::vector<int> memberNumbers(links.size());
    for (size_t k = 0; k < links.size(); ++k) memberNumbers[k] = static_cast<int>(k) + 1;
    std::shuffle(memberNumbers.begin(), memberNumbers.end(), rng);
    // node -> releases placed there; none at the bases, whose rotations may be free
    std::map<int, int> released;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) released[id(i, j, 0)] = 1;
    for (size_t k = 0; k < links.size(); ++k) {
        auto [a, b] = links[k];
        if (U(rng) < 0.5) std::swap(a, b);   // members pointing both ways
        Member& mem = m.AddMember(memberNumbers[k], a, b);
        mem.A = 50 + 100 * U(rng);
        mem.Iyy = 5000 + 20000 * U(rng);
        mem.Izz = 5000 + 20000 * U(rng);
        mem.J = 2000 + 5000 * U(rng);
        const double r = U(rng);
        if (released[b] == 0 && r < 0.35) {
            released[b]++;
            const double values[3] = {0, 2000, 1};
            mem.endJ[5] = values[static_cast<int>(U(rng) * 2)];
            mem.endJ[4] = values[static_cast<int>(U(rng) * 3)];
        } else if (released[a] == 0 && r < 0.5) {
            released[a]++;
            mem.endI[4] = 800 + 1000 * U(rng);
            if (U(rng) < 0.3) mem.endI[3] = 0;   // torsion released
        }
    }
    // Loads.
    std::vector<int> top;
    for (const Node& n : m.nodes)
        if (n.z > 0) top.push_back(n.no);
    const QString dirs[5] = {QStringLiteral("y 部材系"), QStringLiteral("z 部材系"), QStringLiteral("X 絶対系"),
                             QStringLiteral("Y 絶対系"), QStringLiteral("Z 絶対系")};
    std::map<int, const Member*> byNo;
    for (const Member& mem : m.members) byNo[mem.no] = &mem;
    std::map<int, const Node*> nodeByNo;
    for (const Node& n : m.nodes) nodeByNo[n.no] = &n;
    for (int c = 1; c <= 2; ++c) {
        for (int k = 0; k < 4; ++k) {
            const int n = top[static_cast<size_t>(U(rng) * top.size())];
            const double v[6] = {20 * U(rng) - 10, 20 * U(rng) - 10, 20 * U(rng) - 10, 4 * U(rng) - 2, 4 * U(rng) - 2, 4 * U(rng) - 2};
            for (int cc : {c, 3}) m.NodalLoad(n, cc, v[0], v[1], v[2], v[3], v[4], v[5]);
        }
        for (int k = 0; k < 8; ++k) {
            const Member& mem = m.members[static_cast<size_t>(U(rng) * m.members.size())];
            const Node& a = *nodeByNo[mem.i];
            const Node& b = *nodeByNo[mem.j];
            const V3 d{b.x - a.x, b.y - a.y, b.z - a.z};
            const double Lm = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            int dir = static_cast<int>(U(rng) * 5);
            // A global load along the member's own line is refused by the engine.
            if (dir == 2 && d.y == 0 && d.z == 0) dir = 0;
            if (dir == 3 && d.x == 0 && d.z == 0) dir = 0;
            if (dir == 4 && d.x == 0 && d.y == 0) dir = 1;
            const auto T = Axes(d);
            auto local = [&](double w) -> V3 {
                switch (dir) {
                case 0: return {0, w, 0};
                case 1: return {0, 0, w};
                default: {
                    const int g = dir - 2;
                    auto comp = [g](V3 a) { return g == 0 ? a.x : g == 1 ? a.y : a.z; };
                    return {w * comp(T[0]), w * comp(T[1]), w * comp(T[2])};
                }
                }
            };
            MemberLoadDef def{};
            def.member = mem.no;
            const double kind = U(rng);
            if (kind < 0.35) {
                const double w = 10 * U(rng) - 5;
                def.segments = {{0, Lm, local(w), local(w)}};
                for (int cc : {c, 3}) {
                    m.MemberLoad({mem.no}, cc, 3, dirs[dir], {0, w});
                    def.caseNo = cc;
                    f.loads.push_back(def);
                }
            } else if (kind < 0.7) {
                // A linear piece, its two intensities often of opposite signs.
                const double w1 = 10 * U(rng) - 5, w2 = 10 * U(rng) - 5;
                const double a = 0.1 * Lm + 0.3 * Lm * U(rng), len = (0.2 + 0.4 * U(rng)) * Lm;
                def.segments = {{a, len, local(w1), local(w2)}};
                for (int cc : {c, 3}) {
                    m.MemberLoad({mem.no}, cc, 5, dirs[dir], {0, w1, w2, a, len});
                    def.caseNo = cc;
                    f.loads.push_back(def);
                }
            } else {
                const double P1 = 20 * U(rng) - 10, P2 = 20 * U(rng) - 10;
                const double a1 = (0.1 + 0.3 * U(rng)) * Lm, a2 = (0.1 + 0.3 * U(rng)) * Lm;
                def.points = {{a1, local(P1)}, {a1 + a2, local(P2)}};
                for (int cc : {c, 3}) {
                    m.MemberLoad({mem.no}, cc, 7, dirs[dir], {0, P1, P2, 0, a1, a2, 0});
                    def.caseNo = cc;
                    f.loads.push_back(def);
                }
            }
        }
    }
    return f;
}

double MaxAbs(const std::vector<double>& v)
{
    double r = 0;
    for (double x : v) r = std::max(r, std::fabs(x));
    return r;
}

void CheckFrame(unsigned seed, int nx, int ny, int nz)
{
    SCOPED_TRACE("seed " + std::to_string(seed));
    Frame fr = Generate(seed, nx, ny, nz);
    const Model& m = fr.model;
    m.Solve();
    ASSERT_LT(Engine().model.HalfBand, Engine().model.nDof);

    for (int c = 1; c <= 3; ++c) {
        const DenseResult d = DenseSolve(m, fr.loads, c);
        std::vector<double> us, fs, rs;
        for (const auto& [n, u] : d.u) us.insert(us.end(), u.begin(), u.end());
        for (const auto& [n, f] : d.force) fs.insert(fs.end(), f.begin(), f.end());
        for (const auto& [n, r] : d.reaction) rs.insert(rs.end(), r.begin(), r.end());
        const double uMax = MaxAbs(us), fMax = MaxAbs(fs), rMax = MaxAbs(rs);
        ASSERT_GT(uMax, 0);
        for (const Node& n : m.nodes)
            for (int k = 1; k <= 6; ++k) {
                EXPECT_NEAR(Disp(n.no, k, c), d.u.at(n.no)[k - 1], 1e-8 * uMax) << "node " << n.no << " dof " << k;
                EXPECT_NEAR(React(n.no, k, c), d.reaction.at(n.no)[k - 1], 1e-8 * rMax) << "node " << n.no << " dof " << k;
                const double v = n.restraint[k - 1];
                if (v == 1.0) {
                    EXPECT_EQ(Disp(n.no, k, c), 0.0);
                } else if (v == 0.0) {
                    EXPECT_EQ(React(n.no, k, c), 0.0);
                } else {
                    EXPECT_NEAR(React(n.no, k, c), -(k <= 3 ? v : 100 * v) * Disp(n.no, k, c), 1e-9 * rMax);
                }
            }
        for (const Member& mem : m.members)
            for (int k = 1; k <= 12; ++k)
                EXPECT_NEAR(Force(mem.no, k, c), d.force.at(mem.no)[k - 1], 1e-8 * fMax) << "member " << mem.no << " comp " << k;

        // Global equilibrium: reactions balance the applied loads (forces and
        // moments about the origin), member loads taken as the loads themselves.
        double sum[6] = {0, 0, 0, 0, 0, 0};
        std::map<int, const Node*> nodeByNo;
        for (const Node& n : m.nodes) nodeByNo[n.no] = &n;
        auto addForce = [&sum](V3 r, V3 F, V3 M) {
            sum[0] += F.x; sum[1] += F.y; sum[2] += F.z;
            const V3 t = Cross(r, F);
            sum[3] += 100 * t.x + M.x; sum[4] += 100 * t.y + M.y; sum[5] += 100 * t.z + M.z;
        };
        for (const Node& n : m.nodes)
            addForce({n.x, n.y, n.z}, {React(n.no, 1, c), React(n.no, 2, c), React(n.no, 3, c)},
                     {React(n.no, 4, c), React(n.no, 5, c), React(n.no, 6, c)});
        for (const Shape& s : m.shapes) {
            if (s.type != 1 || s.caseNo != c) continue;
            for (const Placement& p : m.placements)
                if (p.shape == s.no)
                    for (int t : p.targets) {
                        const Node& n = *nodeByNo[t];
                        addForce({n.x, n.y, n.z}, {s.P[1], s.P[2], s.P[3]}, {100 * s.P[4], 100 * s.P[5], 100 * s.P[6]});
                    }
        }
        std::map<int, const Member*> memberByNo;
        for (const Member& mem : m.members) memberByNo[mem.no] = &mem;
        for (const MemberLoadDef& l : fr.loads) {
            if (l.caseNo != c) continue;
            const Member& mem = *memberByNo[l.member];
            const Node& a = *nodeByNo[mem.i];
            const Node& b = *nodeByNo[mem.j];
            const V3 d{b.x - a.x, b.y - a.y, b.z - a.z};
            const double Lm = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            const auto T = Axes(d);
            auto global = [&T](V3 q) {
                return V3{q.x * T[0].x + q.y * T[1].x + q.z * T[2].x, q.x * T[0].y + q.y * T[1].y + q.z * T[2].y,
                          q.x * T[0].z + q.y * T[1].z + q.z * T[2].z};
            };
            auto at = [&](double s) { return V3{a.x + d.x * s / Lm, a.y + d.y * s / Lm, a.z + d.z * s / Lm}; };
            ForEachLoadPoint(l, Lm, [&](double x, V3 q, double w) {
                const V3 g = global(q);
                addForce(at(x), {g.x * w, g.y * w, g.z * w}, {0, 0, 0});
            });
        }
        for (int k = 0; k < 6; ++k) EXPECT_NEAR(sum[k], 0, 1e-8 * std::max(rMax, 1.0) * 100) << "equilibrium " << k;
    }
    // Linearity: case 3 carries the loads of cases 1 and 2.
    for (const Node& n : m.nodes)
        for (int k = 1; k <= 6; ++k)
            EXPECT_NEAR(Disp(n.no, k, 3), Disp(n.no, k, 1) + Disp(n.no, k, 2), 1e-9 * (1 + std::fabs(Disp(n.no, k, 3))));
}

}  // namespace

TEST(RandomFrames, AgreeWithDenseSolverAndMechanics)
{
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) CheckFrame(seed, 3, 3, 3);
    CheckFrame(11, 4, 3, 4);
}

TEST(RandomFrames, MemberEquilibrium)
{
    // End forces of a loaded member balance its load: forces and moments about the i end.
    Frame fr = Generate(7, 3, 2, 3);
    fr.model.Solve();
    std::map<int, const Node*> nodeByNo;
    for (const Node& n : fr.model.nodes) nodeByNo[n.no] = &n;
    for (const Member& mem : fr.model.members)
        for (int c = 1; c <= 3; ++c) {
            const Node& a = *nodeByNo[mem.i];
            const Node& b = *nodeByNo[mem.j];
            const double Lm = std::hypot(b.x - a.x, b.y - a.y, b.z - a.z), L = 100 * Lm;
            double F[3] = {Force(mem.no, 1, c) + Force(mem.no, 7, c), Force(mem.no, 2, c) + Force(mem.no, 8, c),
                           Force(mem.no, 3, c) + Force(mem.no, 9, c)};
            // local moments about i: end moments plus (L, 0, 0) × j-end force
            double M[3] = {Force(mem.no, 4, c) + Force(mem.no, 10, c),
                           Force(mem.no, 5, c) + Force(mem.no, 11, c) - L * Force(mem.no, 9, c),
                           Force(mem.no, 6, c) + Force(mem.no, 12, c) + L * Force(mem.no, 8, c)};
            for (const MemberLoadDef& l : fr.loads) {
                if (l.member != mem.no || l.caseNo != c) continue;
                ForEachLoadPoint(l, Lm, [&](double x, V3 q, double w) {
                    F[0] += q.x * w; F[1] += q.y * w; F[2] += q.z * w;
                    M[1] -= 100 * x * q.z * w;
                    M[2] += 100 * x * q.y * w;
                });
            }
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(F[k], 0, 1e-7) << "member " << mem.no;
                EXPECT_NEAR(M[k], 0, 1e-5) << "member " << mem.no;
            }
            // Mid-span moments by statics of the half from i to mid-span:
            // cMz the moment about z there, cMy that about y with its sign turned
            // (a load along −y or −z gives a negative value in either plane).
            double mz = Force(mem.no, 6, c) - L / 2 * Force(mem.no, 2, c);
            double my = Force(mem.no, 5, c) + L / 2 * Force(mem.no, 3, c);
            for (const MemberLoadDef& l : fr.loads) {
                if (l.member != mem.no || l.caseNo != c) continue;
                ForEachLoadPoint(l, Lm, [&](double x, V3 q, double w) {
                    if (x >= Lm / 2) return;
                    mz += 100 * (x - Lm / 2) * q.y * w;
                    my -= 100 * (x - Lm / 2) * q.z * w;
                });
            }
            // A plane without member load keeps 0.
            bool acrossY = false, acrossZ = false;
            for (const MemberLoadDef& l : fr.loads) {
                if (l.member != mem.no || l.caseNo != c) continue;
                ForEachLoadPoint(l, Lm, [&](double, V3 q, double) {
                    acrossY = acrossY || q.y != 0;
                    acrossZ = acrossZ || q.z != 0;
                });
            }
            if (acrossY) EXPECT_NEAR(Force(mem.no, 14, c), mz, 1e-5) << "member " << mem.no;
            else EXPECT_EQ(Force(mem.no, 14, c), 0.0);
            if (acrossZ) EXPECT_NEAR(Force(mem.no, 13, c), -my, 1e-5) << "member " << mem.no;
            else EXPECT_EQ(Force(mem.no, 13, c), 0.0);
        }
}
