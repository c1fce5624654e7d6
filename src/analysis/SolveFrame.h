// Stiffness stage: assembly, supports, the out-of-core band solution for all
// load cases at once, member end forces, reactions and the result tables.
#pragma once

#include "analysis/AnalysisState.h"
#include "analysis/LoadVectors.h"

#include <vector>

// Displacement of equation e (1..nDof) in case c: NodalDisplacements[e * (nCase + 1) + c].
extern std::vector<double> NodalDisplacements;
// Reaction of node row n, case c, component d (1..6): SupportReactions[(n * (nCase + 1) + c) * 7 + d].
extern std::vector<double> SupportReactions;
// Per member row, case and component 1..14: end forces in member axes and mid-span moments.
extern std::vector<CaseRecord> MemberEndForces;

// Pivots below this fraction of their row's diagonal before elimination count as zero.
constexpr double kPivotTolerance = 1e-10;

// Phases 1 to 9: needs the model arrays and "sm"/"eq" from the load stage.
void SolveFrameNumeric();
// The whole stage, with the result tables Analyze部材応力, Analyze節点変位, Analyze支点反力.
void SolveFrame();
void ReleaseSolverData();

// Accessors.
inline double Displacement(int nodeRow, int component, int caseNo)
{
    return NodalDisplacements[static_cast<size_t>(6 * (nodeRow - 1) + component) * (nCase + 1) + caseNo];
}
inline double Reaction(int nodeRow, int component, int caseNo)
{
    return SupportReactions[(static_cast<size_t>(nodeRow) * (nCase + 1) + caseNo) * 7 + component];
}
