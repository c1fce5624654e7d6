// Fixed-end forces of member loads: every load type is cut into basic pieces
// (a concentrated load, a uniform piece, a rising and a falling triangle);
// each piece gives its end shears and moments for the member's end fixity in
// its plane and its mid-span moment on a simply supported span, and adds
// them to the member load's vector of equivalent nodal loads.
//
// Units: intensities kN/m, forces kN, lengths m, moments kN·m inside the
// pieces; AccumulateFEF stores moments in kN·cm.
#pragma once

#include <array>

// Components 1..14 (0 unused): iN iQy iQz iMx iMy iMz jN jQy jQz jMx jMy jMz cMy cMz,
// equivalent nodal loads in member axes.
using FefVector = std::array<double, 15>;

// The equivalent nodal loads of one member load, and whether it has a
// component across the member in plane y and in plane z.
struct MemberLoadForces {
    FefVector F{};
    bool planeY = false, planeZ = false;
};

// Planes: 0 plane y (load along member y; Qy, Mz), 1 plane z (along member z;
// Qz, My), 2 axial (the load's axial component, shared between the ends as a
// simply supported span would: the shears of end case 4 become N at each end).
enum LoadPlane : int { PlaneY = 0, PlaneZ = 1, PlaneAxial = 2 };

// End fixity of a member in one plane. EndCase 1 fixed-fixed, 2 fixed-pinned,
// 3 pinned-fixed, 4 pinned-pinned. With `condensed` the end case is 1 and the
// pieces are condensed through the fixity factors pi, pj (springs), the same
// factors that the member stiffness uses.
struct PlaneEnds {
    int EndCase = 1;
    bool condensed = false;
    double pi = 1, pj = 1;
};
PlaneEnds EndCaseOnly(int endCase);

// Adds one planar piece (kN, kN·m) to F; a piece with a shear or moment
// marks its plane as loaded.
void AccumulateFEF(MemberLoadForces& F, int plane, double Ni, double Qi, double Mi, double Nj, double Qj, double Mj, double Mc);

// Values of one piece in the planar sign rule (a positive load gives Mi > 0
// and Mj < 0 when fixed at both ends).
struct PieceValues {
    double Qi = 0, Mi = 0, Qj = 0, Mj = 0, Mc = 0;
};
PieceValues PointLoadValues(double P, double L, double a, double b, int endCase);
PieceValues UniformValues(double w, double L, double a, double c, double b, int endCase);
PieceValues RisingTriangleValues(double q, double L, double a, double c, double b, int endCase);
PieceValues FallingTriangleValues(double q, double L, double a, double c, double b, int endCase);
// End-case-1 values condensed through the fixity factors of both ends; a
// released end (factor 0) carries exactly no moment.
PieceValues CondenseEnds(const PieceValues& fixed, double pi, double pj, double L);

// Basic pieces, each added to F.
void CalcPointLoadFEF(MemberLoadForces& F, int plane, double P, double L, double a, double b, const PlaneEnds& e);
void CalcPartialUniformFEF(MemberLoadForces& F, int plane, double w, double L, double a, double c, double b, const PlaneEnds& e);
void CalcRisingTriangleFEF(MemberLoadForces& F, int plane, double q, double L, double a, double c, double b, const PlaneEnds& e);
void CalcFallingTriangleFEF(MemberLoadForces& F, int plane, double q, double L, double a, double c, double b, const PlaneEnds& e);

// Load types, each cut into pieces added to F.
void CalcPeakedTriangleFEF(MemberLoadForces& F, int plane, double w, double L, double O1, double O2, double O3, const PlaneEnds& e);
void CalcLinearSegmentFEF(MemberLoadForces& F, int plane, double w1, double w2, double L, double O1, double O2, const PlaneEnds& e);
void CalcTwoSegmentFEF(MemberLoadForces& F, int plane, double w1, double w2, double L, double O1, double O2, double O3, double O4,
                       const PlaneEnds& e);
void CalcPointLoadsFEF(MemberLoadForces& F, int plane, double P1, double P2, double P3, double L, double O1, double O2, double O3,
                       const PlaneEnds& e);
void CalcEqualPointLoadsFEF(MemberLoadForces& F, int plane, double P, int n, double L, double s, const PlaneEnds& e);
void CalcFloorLoadFEF(MemberLoadForces& F, int plane, double w, int n, double P3, double X, double L, double O1, double O2, double O3,
                      const PlaneEnds& e);
void CalcFloorSegmentFEF(MemberLoadForces& F, int plane, double w, double X, double L, double start, double length, const PlaneEnds& e);

// Round half to even, as the runtime's Integer conversion (no overflow: clamped).
int RoundHalfEven(double v);
