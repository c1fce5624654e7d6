#include "analysis/FixedEndForces.h"

#include <algorithm>
#include <cmath>
#include <utility>

PlaneEnds EndCaseOnly(int endCase)
{
    PlaneEnds e;
    e.EndCase = endCase;
    return e;
}

int RoundHalfEven(double v)
{
    if (!std::isfinite(v)) return 0;
    v = std::clamp(v, -1e9, 1e9);
    return static_cast<int>(std::nearbyint(v));  // default rounding mode: half to even
}

void AccumulateFEF(MemberLoadForces& load, int plane, double Ni, double Qi, double Mi, double Nj, double Qj, double Mj, double Mc)
{
    FefVector& F = load.F;
    const bool across = Qi != 0 || Mi != 0 || Qj != 0 || Mj != 0 || Mc != 0;
    if (plane == PlaneZ) {
        F[1] += Ni; F[3] += Qi; F[5] -= 100 * Mi;
        F[7] += Nj; F[9] += Qj; F[11] -= 100 * Mj;
        F[13] += 100 * Mc;
        load.planeZ = load.planeZ || across;
    } else {
        F[1] += Ni; F[2] += Qi; F[6] += 100 * Mi;
        F[7] += Nj; F[8] += Qj; F[12] += 100 * Mj;
        F[14] += 100 * Mc;
        load.planeY = load.planeY || across;
    }
}

PieceValues PointLoadValues(double P, double L, double a, double b, int endCase)
{
    PieceValues v;
    const double L2 = L * L, L3 = L2 * L;
    switch (endCase) {
    case 1:
        v.Qi = P * b * b * (3 * a + b) / L3;
        v.Mi = P * a * b * b / L2;
        v.Qj = P * a * a * (a + 3 * b) / L3;
        v.Mj = -P * a * a * b / L2;
        break;
    case 2:
        v.Qj = P * a * a * (2 * a + 3 * b) / (2 * L3);
        v.Qi = P - v.Qj;
        v.Mi = P * a * b * (a + 2 * b) / (2 * L2);
        break;
    case 3:
        v.Qi = P * b * b * (3 * a + 2 * b) / (2 * L3);
        v.Qj = P - v.Qi;
        v.Mj = -P * a * b * (2 * a + b) / (2 * L2);
        break;
    default:
        v.Qi = P * b / L;
        v.Qj = P * a / L;
        break;
    }
    v.Mc = L / 2 > a ? P * a / 2 : P * b / 2;
    return v;
}

PieceValues UniformValues(double w, double L, double a, double c, double b, int endCase)
{
    PieceValues v;
    const double W = w * c, L2 = L * L, L3 = L2 * L;
    switch (endCase) {
    case 1:
        v.Mi = w * (std::pow(L - a, 3) * (L + 3 * a) - std::pow(b, 3) * (4 * L - 3 * b)) / (12 * L2);
        v.Mj = -w * (std::pow(L - b, 3) * (L + 3 * b) - std::pow(a, 3) * (4 * L - 3 * a)) / (12 * L2);
        v.Qi = (W * (b + c / 2) + v.Mi + v.Mj) / L;
        v.Qj = W - v.Qi;
        break;
    case 2:
        v.Qj = W * (4 * L * (c * c + 3 * a * (a + c)) - 2 * a * a * (2 * a + 3 * c) - c * c * (4 * a + c)) / (8 * L3);
        v.Qi = W - v.Qj;
        v.Mi = W * (a + c / 2) - v.Qj * L;
        break;
    case 3:
        v.Qi = W * (4 * L * (c * c + 3 * b * (b + c)) - 2 * b * b * (2 * b + 3 * c) - c * c * (4 * b + c)) / (8 * L3);
        v.Qj = W - v.Qi;
        v.Mj = v.Qi * L - W * (b + c / 2);
        break;
    default:
        v.Qi = W * (2 * b + c) / (2 * L);
        v.Qj = W * (2 * a + c) / (2 * L);
        break;
    }
    if (L / 2 >= a)
        v.Mc = L / 2 > a + c ? W * (2 * a + c) / 4 : W * (2 * b + c) / 4 - w * (L / 2 - a) * (L / 2 - a) / 2;
    else
        v.Mc = W * (2 * b + c) / 4;
    return v;
}

PieceValues RisingTriangleValues(double q, double L, double a, double c, double b, int endCase)
{
    PieceValues v;
    if (c == 0) return v;
    const double W = q * c / 2, L2 = L * L, L3 = L2 * L;
    const double c2 = c * c, c3 = c2 * c, c4 = c3 * c, a2 = a * a, a3 = a2 * a;
    switch (endCase) {
    case 1:
        v.Mi = q / L2 * (c2 * L2 / 3 - c3 * L / 2 + c4 / 5 + a * (c * L2 / 2 - 4 * c2 * L / 3 + 3 * c3 / 4)
                         - a2 * (c * L - c2) + a3 * c / 2);
        v.Mj = -q / L2 * (c3 * L / 4 - c4 / 5 + a * (2 * c2 * L / 3 - 3 * c3 / 4) + a2 * (c * L / 2 - c2) - a3 * c / 2);
        v.Qi = (W * (b + c / 3) + v.Mi + v.Mj) / L;
        v.Qj = W - v.Qi;
        break;
    case 2:
        v.Qj = q * c * (5 * L * (3 * c2 + 8 * a * c + 6 * a2) - 10 * a2 * (a + 2 * c) - c2 * (15 * a + 4 * c)) / (40 * L3);
        v.Qi = W - v.Qj;
        v.Mi = W * (a + 2 * c / 3) - v.Qj * L;
        break;
    case 3:
        v.Qi = q * c * (5 * L * (c2 + 4 * b * c + 6 * b * b) - 10 * b * b * (b + c) - c2 * (c + 5 * b)) / (40 * L3);
        v.Qj = W - v.Qi;
        v.Mj = v.Qi * L - W * (b + c / 3);
        break;
    default:
        v.Qi = W * (b + c / 3) / L;
        v.Qj = W * (a + 2 * c / 3) / L;
        break;
    }
    if (L / 2 >= a)
        v.Mc = L / 2 > a + c ? W * (a + 2 * c / 3) / 2 : W * (b + c / 3) / 2 - q * std::pow(L / 2 - a, 3) / (6 * c);
    else
        v.Mc = W * (b + c / 3) / 2;
    return v;
}

PieceValues FallingTriangleValues(double q, double L, double a, double c, double b, int endCase)
{
    const int mirrored = endCase == 2 ? 3 : endCase == 3 ? 2 : endCase;
    const PieceValues r = RisingTriangleValues(q, L, b, c, a, mirrored);
    PieceValues v;
    v.Qi = r.Qj;
    v.Qj = r.Qi;
    v.Mi = -r.Mj;
    v.Mj = -r.Mi;
    v.Mc = r.Mc;
    return v;
}

PieceValues CondenseEnds(const PieceValues& f, double pi, double pj, double L)
{
    // The member's end rotations (times 2EI/L) under the spring law of each
    // end, with the nodes held: (2 + p)ψ_own + (1 − p)ψ_other = −(1 − p)·M_fixed.
    // Only the fixity factors enter; p = 1 keeps the end fixed, p = 0 frees it.
    const double det = 3 * (1 + pi + pj);
    const double ri = -(1 - pi) * f.Mi, rj = -(1 - pj) * f.Mj;
    const double psi = ((2 + pj) * ri - (1 - pi) * rj) / det;
    const double psj = ((2 + pi) * rj - (1 - pj) * ri) / det;
    PieceValues v = f;
    double dMi = 2 * psi + psj, dMj = psi + 2 * psj;
    // A released end takes no moment: exactly, not as the rounding of the
    // condensation, which would load a rotation that nothing resists.
    if (pi == 0) dMi = -f.Mi;
    if (pj == 0) dMj = -f.Mj;
    v.Mi = f.Mi + dMi;
    v.Mj = f.Mj + dMj;
    v.Qi = f.Qi + (dMi + dMj) / L;
    v.Qj = f.Qj - (dMi + dMj) / L;
    return v;
}

namespace {
template <typename Fn>
void Emit(MemberLoadForces& F, int plane, const PlaneEnds& e, double L, Fn values)
{
    if (plane == PlaneAxial) {
        const PieceValues v = values(4);
        AccumulateFEF(F, PlaneY, v.Qi, 0, 0, v.Qj, 0, 0, 0);
        return;
    }
    PieceValues v = values(e.condensed ? 1 : e.EndCase);
    if (e.condensed) v = CondenseEnds(v, e.pi, e.pj, L);
    AccumulateFEF(F, plane, 0, v.Qi, v.Mi, 0, v.Qj, v.Mj, v.Mc);
}
}  // namespace

void CalcPointLoadFEF(MemberLoadForces& F, int plane, double P, double L, double a, double b, const PlaneEnds& e)
{
    Emit(F, plane, e, L, [&](int ec) { return PointLoadValues(P, L, a, b, ec); });
}

void CalcPartialUniformFEF(MemberLoadForces& F, int plane, double w, double L, double a, double c, double b, const PlaneEnds& e)
{
    Emit(F, plane, e, L, [&](int ec) { return UniformValues(w, L, a, c, b, ec); });
}

void CalcRisingTriangleFEF(MemberLoadForces& F, int plane, double q, double L, double a, double c, double b, const PlaneEnds& e)
{
    if (c == 0) return;
    Emit(F, plane, e, L, [&](int ec) { return RisingTriangleValues(q, L, a, c, b, ec); });
}

void CalcFallingTriangleFEF(MemberLoadForces& F, int plane, double q, double L, double a, double c, double b, const PlaneEnds& e)
{
    if (c == 0) return;
    Emit(F, plane, e, L, [&](int ec) { return FallingTriangleValues(q, L, a, c, b, ec); });
}

void CalcPeakedTriangleFEF(MemberLoadForces& F, int plane, double w, double L, double O1, double O2, double O3, const PlaneEnds& e)
{
    if (O2 > 0) CalcRisingTriangleFEF(F, plane, w, L, O1, O2, L - O1 - O2, e);
    if (O3 > 0) CalcFallingTriangleFEF(F, plane, w, L, O1 + O2, O3, L - O1 - O2 - O3, e);
}

namespace {
// A linear piece from w1 at a to w2 at a + c, cut into a triangle and a uniform part.
void LinearPiece(MemberLoadForces& F, int plane, double w1, double w2, double L, double a, double c, bool keepZeroUniform,
                 const PlaneEnds& e)
{
    const double b = L - a - c;
    if (w1 == w2) {
        if (w1 != 0 || keepZeroUniform) CalcPartialUniformFEF(F, plane, w1, L, a, c, b, e);
    } else if (std::fabs(w2) > std::fabs(w1)) {
        CalcRisingTriangleFEF(F, plane, w2 - w1, L, a, c, b, e);
        if (w1 != 0 || keepZeroUniform) CalcPartialUniformFEF(F, plane, w1, L, a, c, b, e);
    } else {
        CalcFallingTriangleFEF(F, plane, w1 - w2, L, a, c, b, e);
        if (w2 != 0 || keepZeroUniform) CalcPartialUniformFEF(F, plane, w2, L, a, c, b, e);
    }
}
}  // namespace

void CalcLinearSegmentFEF(MemberLoadForces& F, int plane, double w1, double w2, double L, double O1, double O2, const PlaneEnds& e)
{
    if (O2 <= 0) return;
    LinearPiece(F, plane, w1, w2, L, O1, O2, false, e);
}

void CalcTwoSegmentFEF(MemberLoadForces& F, int plane, double w1, double w2, double L, double O1, double O2, double O3, double O4,
                       const PlaneEnds& e)
{
    if (O2 != 0) CalcRisingTriangleFEF(F, plane, w1, L, O1, O2, L - O1 - O2, e);
    if (O3 != 0) LinearPiece(F, plane, w1, w2, L, O1 + O2, O3, true, e);
    if (O4 != 0) CalcFallingTriangleFEF(F, plane, w2, L, O1 + O2 + O3, O4, L - O1 - O2 - O3 - O4, e);
}

void CalcPointLoadsFEF(MemberLoadForces& F, int plane, double P1, double P2, double P3, double L, double O1, double O2, double O3,
                       const PlaneEnds& e)
{
    // A zero distance is a valid position (the load stands where the previous one does).
    const double loads[3] = {P1, P2, P3};
    const double dist[3] = {O1, O2, O3};
    double a = 0;
    for (int k = 0; k < 3; ++k) {
        a += dist[k];
        if (loads[k] != 0) CalcPointLoadFEF(F, plane, loads[k], L, a, L - a, e);
    }
}

void CalcEqualPointLoadsFEF(MemberLoadForces& F, int plane, double P, int n, double L, double s, const PlaneEnds& e)
{
    for (int k = 1; k <= n; ++k) {
        const double a = k * s;
        CalcPointLoadFEF(F, plane, P, L, a, L - a, e);
    }
}

void CalcFloorSegmentFEF(MemberLoadForces& F, int plane, double w, double X, double L, double start, double length, const PlaneEnds& e)
{
    if (length / 2 > X) {
        CalcRisingTriangleFEF(F, plane, w, L, start, X, L - start - X, e);
        CalcPartialUniformFEF(F, plane, w, L, start + X, length - 2 * X, L - start - length + X, e);
        CalcFallingTriangleFEF(F, plane, w, L, start + length - X, X, L - start - length, e);
    } else {
        const double h = length / 2;
        CalcRisingTriangleFEF(F, plane, w, L, start, h, L - start - h, e);
        CalcFallingTriangleFEF(F, plane, w, L, start + h, h, L - start - length, e);
    }
}

void CalcFloorLoadFEF(MemberLoadForces& F, int plane, double w, int n, double P3, double X, double L, double O1, double O2, double O3,
                      const PlaneEnds& e)
{
    if (n < 0 || n > 3) return;
    const double div[3] = {O1, O1 + O2, O1 + O2 + O3};
    double bounds[5];
    int nb = 0;
    bounds[nb++] = 0;
    for (int k = 0; k < n; ++k) bounds[nb++] = div[k];
    bounds[nb++] = L;
    for (int k = 0; k + 1 < nb; ++k) CalcFloorSegmentFEF(F, plane, w, X, L, bounds[k], bounds[k + 1] - bounds[k], e);
    auto T = [X](double l) { return l / 2 > X ? X * X / 2 : (l / 2) * X - (l / 2) * (l / 2) / 2; };
    for (int k = 1; k <= n; ++k) {
        const double before = bounds[k] - bounds[k - 1], after = bounds[k + 1] - bounds[k];
        const double P = P3 + w * (T(before) + T(after));
        CalcPointLoadFEF(F, plane, P, L, bounds[k], L - bounds[k], e);
    }
}
