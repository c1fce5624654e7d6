// The state of one analysis run: the model as records, the loads, the
// results and the progress sink. The run that creates it owns it; the engine
// keeps nothing between runs. Everything is computed in double precision; the
// result tables store Single as their fields are.
//
// Nodes and members are addressed by row: the position in the display order
// (順) of their tables, from 1. Row 0 is never a node or member, so every
// per-row vector has an unused entry 0.
#pragma once

#include "analysis/AnalysisFailure.h"

#include <array>
#include <cstdint>
#include <map>
#include <vector>

constexpr int kMaxNodes = 300;
constexpr int kMaxMembers = 500;
constexpr int kMaxCases = 10;     // input allows 1 to 10
constexpr int kRecordCases = 16;  // per-case records hold cases 0..16

// A node. Its six degrees of freedom are, in this order, the translations
// along X, Y, Z and the rotations about X, Y, Z; `restraint` holds one
// condition value for each: exactly 1.0 fixed, exactly 0 free, otherwise a
// spring (kN/cm for a translation, kN·m/rad for a rotation, as entered).
struct NodeRecord {
    double X = 0, Y = 0, Z = 0;   // m
    std::array<double, 6> restraint{};
};

// The condition values of one member end: exactly 1.0 rigid, exactly 0
// pinned (released), otherwise a spring in kN·m/rad. The translations take
// no part in the stiffness; a torsion value other than 0 transmits fully.
struct MemberEndConditions {
    double alongX = 1, alongY = 1, alongZ = 1;   // xHKU, yHKU, zHKU
    double aboutX = 1;                           // xMWR: torsion
    double aboutY = 1;                           // yMWR: bending in plane z
    double aboutZ = 1;                           // zMWR: bending in plane y
};

struct MemberRecord {
    int iRow = 0, jRow = 0;   // node rows of the i and j ends
    int section = 0;          // 要素情報.材料番号
    MemberEndConditions endI, endJ;
    double A = 0;             // cm²
    double J = 0;             // torsion constant, cm⁴
    double Iyy = 0, Izz = 0;  // cm⁴
    double E = 0, G = 0;      // kN/cm²
};

// The model of the run, its number maps and the band sizes.
struct FrameModel {
    int nCase = 0;
    int nNode = 0, nMember = 0;
    std::vector<NodeRecord> nodes;       // by row
    std::vector<MemberRecord> members;   // by row
    std::vector<int> NodeNo;             // number of each node row
    std::vector<int> MemberNo;           // number of each member row
    std::array<int, kMaxNodes + 1> NodeRow{};      // node number -> row, 0 for none
    std::array<int, kMaxMembers + 1> MemberRow{};  // member number -> row, 0 for none
    // Equations (6 per node), the half band width including the diagonal,
    // and the length of a band row: the band followed by one load per case.
    int nDof = 0, HalfBand = 0, RowWidth = 0;

    // Empties the model (the case count stays).
    void Clear();
    // Number of a row for messages (the row itself where there is none).
    int NodeNumber(int row) const;
    int MemberNumber(int row) const;
    // nDof, HalfBand (6 × (1 + the largest row distance of a member's ends)) and RowWidth.
    void SizeBandMatrix();
};

// A section that some member uses, as 材料定数0 records it.
struct SectionInUse {
    int no = 0;
    double E = 0, G = 0, A = 0, J = 0, Iyy = 0, Izz = 0;
    int order = 0;
};

// A load shape (荷重形状) of the run.
struct LoadShape {
    int type = 0;        // TYP
    int caseNo = 0;      // Case
    int direction = 0;   // CoordinateCode of 座標系
    std::array<double, 8> P{};   // P[1]..P[7]
};

// A load placement (荷重配置), its targets as rows.
struct LoadPlacementRow {
    int shapeRow = 0;      // row of the shape in LoadData::shapes, 0 when it is not placed
    int shapeNo = 0;       // the placement's shape number
    int type = 0;          // TYP of the shape as stored
    std::vector<int> targets;  // node or member rows of the non-zero slots, in slot order
};

// Per case 0..16 and component 0..14 of a member: equivalent nodal loads or
// end forces in member axes (components of FixedEndForces.h).
using CaseRecord = std::array<std::array<double, 15>, kRecordCases + 1>;

// The bending planes in which member loads of a case act on a member.
enum LoadedPlane : uint8_t { LoadedPlaneY = 1, LoadedPlaneZ = 2 };

struct LoadData {
    std::vector<LoadShape> shapes;              // by row in display order, from 1
    std::map<int, int> shapeRowOfNumber;        // shape number -> row (absent: not placed)
    std::vector<LoadPlacementRow> placements;   // in stored order
    // Per member row: the equivalent nodal loads of its member loads.
    std::vector<CaseRecord> equivalentLoads;
    // Per member row and case: the LoadedPlane bits of its member loads.
    std::vector<std::array<uint8_t, kRecordCases + 1>> loadedPlanes;
    // Load of equation e (1..nDof) in case c: columns[e * (nCase + 1) + c].
    std::vector<double> columns;
    // The sum of the magnitudes of the loads that make up each of columns:
    // the measure of the rounding in their sum.
    std::vector<double> magnitudes;
};

struct AnalysisResults {
    // Displacement of equation e (1..nDof) in case c: displacements[e * (nCase + 1) + c].
    std::vector<double> displacements;
    // Reaction of node row n, case c, component d (1..6): reactions[(n * (nCase + 1) + c) * 7 + d].
    std::vector<double> reactions;
    // Per member row: end forces in member axes and the mid-span moments.
    std::vector<CaseRecord> memberEndForces;
};

// Progress of the engine stages; the run's window installs one, a headless
// run has none.
class AnalysisProgressSink {
public:
    virtual ~AnalysisProgressSink() = default;
    virtual void Milestone() = 0;                             // one of the 23 milestones of a run
    virtual void Bar1(int max, int value) = 0;                // the item of a solver phase
    virtual void Bar2(bool visible, int max, int value) = 0;  // the item of a nested loop
};

struct AnalysisState {
    FrameModel model;
    std::vector<SectionInUse> sectionsInUse;
    LoadData loads;
    AnalysisResults results;
    AnalysisProgressSink* progress = nullptr;

    void Milestone() const { if (progress) progress->Milestone(); }
    void Bar1(int max, int value) const { if (progress) progress->Bar1(max, value); }

    double Displacement(int nodeRow, int component, int caseNo) const
    {
        return results.displacements[static_cast<size_t>(6 * (nodeRow - 1) + component) * (model.nCase + 1) + caseNo];
    }
    double Reaction(int nodeRow, int component, int caseNo) const
    {
        return results.reactions[(static_cast<size_t>(nodeRow) * (model.nCase + 1) + caseNo) * 7 + component];
    }
};
