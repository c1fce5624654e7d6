#include "analysis/MemberStiffness.h"

#include "analysis/AnalysisState.h"

#include <cmath>

bool ComputeDirectionCosines(double dx, double dy, double dz, Mat3& T, double& L)
{
    L = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(L > 0)) return false;
    const double cx = dx / L, cy = dy / L, cz = dz / L;
    T[0] = {cx, cy, cz};
    if (std::fabs(dx) < 1e-8 && std::fabs(dy) < 1e-8) {
        // Parallel to Z: local z lies in the global XZ plane.
        const double Q = std::sqrt(cx * cx + cz * cz);
        T[1] = {-cx * cy / Q, Q, -cy * cz / Q};
        T[2] = {-cz / Q, 0.0, cx / Q};
    } else {
        // Local y lies in the global XY plane.
        const double R = std::sqrt(cx * cx + cy * cy);
        T[1] = {-cy / R, cx / R, 0.0};
        T[2] = {-cx * cz / R, -cy * cz / R, R};
    }
    return true;
}

namespace {
[[noreturn]] void ReportZeroLength(int shownNumber)
{
    AnalysisFailure::Error(QStringLiteral("ERROR：部材番号=") + QString::number(shownNumber)
                           + QStringLiteral(" の部材長が 0 または 0 以下になっています。"));
}
}  // namespace

MemberSpan MemberSpanOf(const FrameModel& model, int memberRow)
{
    const MemberRecord& m = model.members[static_cast<size_t>(memberRow)];
    const NodeRecord& i = model.nodes[static_cast<size_t>(m.iRow)];
    const NodeRecord& j = model.nodes[static_cast<size_t>(m.jRow)];
    MemberSpan s;
    s.dx = j.X - i.X;
    s.dy = j.Y - i.Y;
    s.dz = j.Z - i.Z;
    s.L = std::sqrt(s.dx * s.dx + s.dy * s.dy + s.dz * s.dz);
    return s;
}

MemberSpan CheckedMemberSpan(const FrameModel& model, int memberRow)
{
    const MemberSpan s = MemberSpanOf(model, memberRow);
    if (!(s.L > 0)) ReportZeroLength(model.MemberNumber(memberRow));
    return s;
}

void MemberAxes(const FrameModel& model, int memberRow, Mat3& T, double& length)
{
    const MemberSpan s = CheckedMemberSpan(model, memberRow);
    ComputeDirectionCosines(s.dx, s.dy, s.dz, T, length);   // the length is above 0
}

void BuildDirectionCosines(int16_t memberRow, std::array<std::array<float, 3>, 3>& out, float& length,
                           int16_t source, int16_t orientation, float dx, float dy, float dz, const FrameModel* model)
{
    const bool fromNodes = source != 0 && model;
    double vx = dx, vy = dy, vz = dz;
    if (fromNodes) {
        const MemberSpan s = CheckedMemberSpan(*model, memberRow);
        vx = s.dx;
        vy = s.dy;
        vz = s.dz;
    }
    Mat3 T;
    double L = 0;
    if (!ComputeDirectionCosines(vx, vy, vz, T, L)) ReportZeroLength(memberRow);
    length = static_cast<float>(L);
    if (orientation == 1) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) out[r][c] = static_cast<float>(T[r][c]);
    } else if (orientation == -1) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) out[r][c] = static_cast<float>(T[c][r]);
    }
}

void LocalPointsToGlobal(float points[2][7][4], const float x[7], const float y[7], const float z[7],
                         float X0, float Y0, float Z0, const std::array<std::array<float, 3>, 3>& Tt)
{
    for (int curve = 0; curve < 2; ++curve) {
        const float* off = curve == 0 ? y : z;
        const int axis = curve == 0 ? 1 : 2;
        for (int s = 0; s < 7; ++s) {
            const float X = X0 + x[s] * Tt[0][0] + off[s] * Tt[0][axis];
            const float Y = Y0 + x[s] * Tt[1][0] + off[s] * Tt[1][axis];
            const float Z = Z0 + x[s] * Tt[2][0] + off[s] * Tt[2][axis];
            points[curve][s][0] = X;
            points[curve][s][1] = Z;
            points[curve][s][2] = Y;
            points[curve][s][3] = 1.0f;
        }
    }
}

// A spring that happens to scale to 1.0 (0.01 kN·m/rad) is not taken for a
// rigid end: rigidity is read from the value as entered.
double CalcEndFixity(double v, double c)
{
    if (v == 1.0) return 1.0;
    const double k = v * 100.0;
    const double p = k / (k + c);
    return std::isfinite(p) ? p : 1.0;
}

void PlaneFixity(const FrameModel& model, int memberRow, int plane, double* pi, double* pj)
{
    const MemberRecord& m = model.members[static_cast<size_t>(memberRow)];
    const double L = MemberSpanOf(model, memberRow).L * 100.0;
    // Plane y bends about local z (Izz, zMWR); plane z about local y (Iyy, yMWR).
    const double I = plane == 0 ? m.Izz : m.Iyy;
    const double c = 6.0 * m.E * I / L;
    *pi = CalcEndFixity(plane == 0 ? m.endI.aboutZ : m.endI.aboutY, c);
    *pj = CalcEndFixity(plane == 0 ? m.endJ.aboutZ : m.endJ.aboutY, c);
}

void BuildMemberStiffness(const FrameModel& model, int memberRow, MemberStiffnessState& s, bool global)
{
    const MemberRecord& m = model.members[static_cast<size_t>(memberRow)];
    s.iRow = m.iRow;
    s.jRow = m.jRow;
    if (s.iRow == s.jRow)
        AnalysisFailure::Error(QStringLiteral("ERROR：部材番号=") + QString::number(model.MemberNumber(memberRow))
                               + QStringLiteral(" の両端の節点番号が同じになっています。"));
    const double yi = m.endI.aboutY, zi = m.endI.aboutZ, yj = m.endJ.aboutY, zj = m.endJ.aboutZ;
    const double A = m.A, J = m.J, Iyy = m.Iyy, Izz = m.Izz, E = m.E;
    const double G = m.endI.aboutX == 0 || m.endJ.aboutX == 0 ? 0.0 : m.G;   // torsion released

    double L;
    MemberAxes(model, memberRow, s.T, L);
    L *= 100.0;
    s.L = L;

    const double cz = 6.0 * E * Izz / L, cy = 6.0 * E * Iyy / L;
    const double piz = CalcEndFixity(zi, cz), pjz = CalcEndFixity(zj, cz);
    const double piy = CalcEndFixity(yi, cy), pjy = CalcEndFixity(yj, cy);
    const double Dz = 2 + 2 * piz + 2 * pjz, Dy = 2 + 2 * piy + 2 * pjy;
    Mat12& K = s.LocalStiffness;
    for (auto& row : K) row.fill(0.0);
    auto set = [&K](int r, int c, double v) { K[r - 1][c - 1] = v; };
    const double ea = E * A / L;
    set(1, 1, ea); set(7, 7, ea); set(1, 7, -ea);
    const double L2 = L * L, L3 = L2 * L;
    double v;
    v = 12 * E * Izz / L3 * (piz + pjz + 4 * piz * pjz) / Dz;
    set(2, 2, v); set(8, 8, v); set(2, 8, -v);
    v = 12 * E * Izz / L2 * piz * (1 + 2 * pjz) / Dz;
    set(2, 6, v); set(6, 8, -v);
    v = 12 * E * Izz / L2 * pjz * (1 + 2 * piz) / Dz;
    set(2, 12, v); set(8, 12, -v);
    set(6, 6, 6 * E * Izz / L * piz * (2 + 2 * pjz) / Dz);
    set(12, 12, 6 * E * Izz / L * pjz * (2 + 2 * piz) / Dz);
    set(6, 12, 6 * E * Izz / L * 2 * piz * pjz / Dz);
    v = 12 * E * Iyy / L3 * (piy + pjy + 4 * piy * pjy) / Dy;
    set(3, 3, v); set(9, 9, v); set(3, 9, -v);
    v = -12 * E * Iyy / L2 * piy * (1 + 2 * pjy) / Dy;
    set(3, 5, v); set(5, 9, -v);
    v = -12 * E * Iyy / L2 * pjy * (1 + 2 * piy) / Dy;
    set(3, 11, v); set(9, 11, -v);
    set(5, 5, 6 * E * Iyy / L * piy * (2 + 2 * pjy) / Dy);
    set(11, 11, 6 * E * Iyy / L * pjy * (2 + 2 * piy) / Dy);
    set(5, 11, 6 * E * Iyy / L * 2 * piy * pjy / Dy);
    const double gj = G * J / L;
    set(4, 4, gj); set(10, 10, gj); set(4, 10, -gj);
    for (int r = 0; r < 12; ++r)
        for (int c = r + 1; c < 12; ++c) K[c][r] = K[r][c];

    if (!global) return;
    // Kg = T12ᵀ·K·T12 block by block (T12 has T on its four diagonal blocks).
    Mat12 KT{};
    for (int a = 0; a < 12; ++a)
        for (int bb = 0; bb < 4; ++bb)
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (int k = 0; k < 3; ++k) sum += K[a][3 * bb + k] * s.T[k][c];
                KT[a][3 * bb + c] = sum;
            }
    for (int ab = 0; ab < 4; ++ab)
        for (int r = 0; r < 3; ++r)
            for (int b = 0; b < 12; ++b) {
                double sum = 0;
                for (int k = 0; k < 3; ++k) sum += s.T[k][r] * KT[3 * ab + k][b];
                s.GlobalStiffness[3 * ab + r][b] = sum;
            }
}
