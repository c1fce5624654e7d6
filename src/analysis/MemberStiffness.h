// Member local axes and the member stiffness in member and global axes.
#pragma once

#include "analysis/AnalysisState.h"

#include <array>
#include <cstdint>

using Mat3 = std::array<std::array<double, 3>, 3>;
using Mat12 = std::array<std::array<double, 12>, 12>;

// Local axes of a member from its vector (dx, dy, dz): row r of T is local
// axis r (0 x, 1 y, 2 z) in global components; T maps global to member
// components. Returns false when the length is not above 0.
bool ComputeDirectionCosines(double dx, double dy, double dz, Mat3& T, double& L);

// The vector from a member's i node to its j node and its length (m).
struct MemberSpan {
    double dx = 0, dy = 0, dz = 0;
    double L = 0;
};
MemberSpan MemberSpanOf(const FrameModel& model, int memberRow);
// The same, failing the run with its message when the length is not above 0.
MemberSpan CheckedMemberSpan(const FrameModel& model, int memberRow);

// The member's local axes from its end nodes and its length (m). A length
// not above 0 fails the run with its message.
void MemberAxes(const FrameModel& model, int memberRow, Mat3& T, double& length);

// The shared service of the report: with source non-zero the vector is taken
// from the nodes of the member row of `model` (dx, dy, dz ignored; the given
// vector is used when there is no model), with source 0 the given vector is
// used and the row only names the member in the failure message.
// Orientation 1 gives T, -1 its transpose (element [g][l] = component g of
// local axis l), any other value leaves `out` untouched. Indices are 0-based.
// A length not above 0 fails with the error message (AnalysisFailure).
void BuildDirectionCosines(int16_t memberRow, std::array<std::array<float, 3>, 3>& out, float& length,
                           int16_t source, int16_t orientation, float dx, float dy, float dz,
                           const FrameModel* model = nullptr);

// Two curves of seven points given in member axes to global coordinates, in
// the homogeneous order (X, Z, Y, 1): curve 0 from (x, y), curve 1 from (x, z),
// about the origin (X0, Y0, Z0). Tt is the transposed matrix ([g][l]).
void LocalPointsToGlobal(float points[2][7][4], const float x[7], const float y[7], const float z[7],
                         float X0, float Y0, float Z0, const std::array<std::array<float, 3>, 3>& Tt);

// Fixity factor of a member end in one bending plane from its end value as
// entered (kN·m/rad): 1 for exactly 1.0 (rigid), 0 for a pin, k / (k + c) for
// a spring with k = 100·value (kN·cm/rad) and c = 6EI/L; 1 when the division
// has no finite result.
double CalcEndFixity(double endValue, double c);

// The stiffness state of one member (indices 0-based: dof 0..11 in the order
// N, Qy, Qz, Mx, My, Mz at i, then at j).
struct MemberStiffnessState {
    Mat12 LocalStiffness{};
    Mat3 T{};
    Mat12 GlobalStiffness{};
    int iRow = 0, jRow = 0;
    double L = 0;   // cm
};

// Fills the member's local stiffness (with end fixity, springs and torsion
// release) and the direction cosines; `global` also forms Tᵀ·K·T.
void BuildMemberStiffness(const FrameModel& model, int memberRow, MemberStiffnessState& s, bool global);

// Fixity factors (i, j) of a member in one bending plane: plane 0 is plane y
// (bending about local z, uses Izz and the zMWR values), plane 1 plane z.
void PlaneFixity(const FrameModel& model, int memberRow, int plane, double* pi, double* pj);
