// Load stage: load shapes and their placements become the load vectors of all
// load cases, the equivalent nodal loads of the member loads per member, the
// scratch files "sm", "eq", "ka", "sk", and table Analyze等価節点荷重.
#pragma once

#include "analysis/FixedEndForces.h"

#include <QString>
#include <array>
#include <map>
#include <vector>

// Direction codes of 座標系.
int CoordinateCode(const QString& text);

// One row per load shape in 順 order (row 0 unused): columns 1 TYP, 2 Case,
// 3 CoordinateCode, 4..10 P1..P7.
extern std::vector<std::array<double, 11>> LoadShapeTable;
// Shape number -> row of LoadShapeTable (0: not registered or case skipped).
extern std::map<int, int> LoadShapeRowMap;
struct LoadPlacementRow {
    int shapeRow = 0;      // row of LoadShapeTable
    int shapeNo = 0;       // the placement's shape number
    int type = 0;          // TYP of the shape as stored
    std::vector<int> targets;  // node or member rows of the non-zero slots, in slot order
};
extern std::vector<LoadPlacementRow> LoadPlacementTable;

// Per member row, case 0..16 and component 0..14: the equivalent nodal loads
// of its member loads in member axes (after the solution: its end forces).
using CaseRecord = std::array<std::array<double, 15>, 17>;
extern std::vector<CaseRecord> MemberCaseRecords;
// Load of equation e (1..nDof) in case c (1..nCase): LoadColumns[e * (nCase + 1) + c].
extern std::vector<double> LoadColumns;

// Member length (m) and the load's position values O1..O4 (m) for its type.
struct MemberGeometry {
    double L = 0;
    double O[5] = {0, 0, 0, 0, 0};
    double dx = 0, dy = 0, dz = 0;
};
MemberGeometry GetMemberGeometry(int memberRow, int type, const std::array<double, 11>& shape);
void CheckProjectedLength(int memberRow, int code, int shapeNo, const MemberGeometry& g);
// End fixity of a member in one plane (0 y, 1 z), as the member stiffness has it.
PlaneEnds GetPlaneEnds(int plane, int memberRow);

// Places every placement of LoadPlacementTable into LoadColumns and
// MemberCaseRecords (both cleared first). Needs the model arrays.
void PlaceLoads();
// The loads of one member load (type other than 1) on one member row.
void PlaceMemberLoad(int memberRow, int caseNo, const std::array<double, 11>& shape, int shapeNo);

// The whole stage: reads 荷重形状 and 荷重配置, checks, places, writes the
// scratch files and table Analyze等価節点荷重.
void BuildLoadVectors();
// The in-memory steps after reading: places, writes the scratch files.
void BuildLoadVectorsFromTables();
// Releases the stage's tables.
void CloseLoadTables();
