// Load stage: load shapes and their placements become the load vectors of all
// load cases, the equivalent nodal loads of the member loads per member, and
// the scratch files "sm", "eq", "ka", "sk".
#pragma once

#include "analysis/AnalysisState.h"
#include "analysis/FixedEndForces.h"

#include <QString>

// Direction codes of 座標系.
int CoordinateCode(const QString& text);

// Member length (m) and the load's position values O1..O4 (m) for its type.
struct MemberGeometry {
    double L = 0;
    double O[5] = {0, 0, 0, 0, 0};
    double dx = 0, dy = 0, dz = 0;
};
MemberGeometry GetMemberGeometry(const FrameModel& model, int memberRow, const LoadShape& shape);
// A load along a global axis needs the member's projection on the plane
// across that axis; fails the run with its message where there is none.
void CheckProjectedLength(const FrameModel& model, int memberRow, int code, int shapeNo, const MemberGeometry& g);
// End fixity of a member in one plane (0 y, 1 z), as the member stiffness has it.
PlaneEnds GetPlaneEnds(const FrameModel& model, int plane, int memberRow);

// Places every placement into the load columns and the equivalent loads
// (both cleared first). Needs the model, the shapes and the placements.
void PlaceLoads(AnalysisState& run);
// The loads of one member load (type other than 1) on one member row.
void PlaceMemberLoad(AnalysisState& run, int memberRow, int caseNo, const LoadShape& shape, int shapeNo);

// The whole stage: reads 荷重形状 and 荷重配置, checks, places and writes the
// scratch files.
void BuildLoadVectors(AnalysisState& run);
// The steps after reading: places and writes the scratch files.
void BuildLoadVectorsFromTables(AnalysisState& run);
// Releases the stage's tables.
void CloseLoadTables(AnalysisState& run);
