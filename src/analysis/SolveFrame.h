// Stiffness stage: assembly, supports, the out-of-core band solution for all
// load cases at once, member end forces, reactions and the result tables.
#pragma once

#include "analysis/AnalysisState.h"

// Pivots below this fraction of their row's diagonal before elimination count as zero.
constexpr double kPivotTolerance = 1e-10;
// A load on a direction without stiffness that is below this fraction of the
// largest load of its kind (force or moment) in its case is rounding, not load.
constexpr double kLoadRounding = 1e-10;

// Assembly to reactions: needs the model, the loads and "sm"/"eq" from the
// load stage; fills the run's results.
void SolveFrameNumeric(AnalysisState& run);
// The whole stage, with the result tables.
void SolveFrame(AnalysisState& run);
