// The projected frame that every diagram of a build draws from: the view
// matrix, the nodes and members on the drawing plane, the axis symbol and
// the box around the undeformed frame. The driver's geometry step fills it
// once per build (PrepareDiagramGeometry, ReportDriver.h) through the
// procedures below; each diagram then adds what it needs of its own: the
// displaced nodes of a load case, or its moment curves (MomentCurves.h).
//
// All arithmetic is single precision. A point is projected as the row
// (x, z, y, 1) of its model coordinates times the view matrix: the plane
// position is (-q0 / q2, -q1 / q2), x to the right and y downwards. Anything
// that cannot be read or projected ends the build (Fail, ReportContext.h).
#pragma once

#include "diagram/ViewGeometry.h"

#include <array>
#include <cstdint>
#include <vector>

namespace report {

struct ReportContext;
class ResultRows;

// Box of a diagram on the drawing plane, in the order the diagram
// procedures take it.
struct DiagramExtents {
    float maxX = 0;
    float maxY = 0;
    float minX = 0;
    float minY = 0;
};

// A node on the drawing plane (the axis symbol uses 0 to 3 as numbers).
struct ProjectedNode {
    int16_t no = 0;
    float x = 0;
    float y = 0;
};

// A member of the diagram. A member whose end node is missing, kept at the
// user's answer, stays all zero: every loop over the members skips number 0.
struct DiagramMember {
    int16_t no = 0;
    int16_t iNode = 0;
    int16_t jNode = 0;
    int16_t section = 0;
};

// The two bending-moment curves of a member on the drawing plane, seven
// stations each from the i end (0) to the j end (6): Mz plotted along the
// member's local y axis, My along its local z axis. Number 0: no curve.
struct MomentCurve {
    int16_t no = 0;
    std::array<float, 7> mzX{}, mzY{}, myX{}, myY{};
};

// Highest node and member numbers the report's maps hold.
constexpr int kLargestNodeNumber = 300;
constexpr int kLargestMemberNumber = 500;

struct DiagramGeometry {
    diagram::ViewMatrix view{};
    std::vector<diagram::NodeCoordinate> coordinates;   // by row, model coordinates (m)
    std::vector<ProjectedNode> nodes;                   // by row, ascending node number
    std::vector<DiagramMember> members;                 // by row, ascending member number
    std::array<int16_t, kLargestNodeNumber + 1> nodeRow{};     // number -> row, -1 absent
    std::array<int16_t, kLargestMemberNumber + 1> memberRow{}; // number -> row, -1 absent
    std::array<ProjectedNode, 4> axis{};                // origin, X tip, Y tip, Z tip
    DiagramExtents extents;                             // of the undeformed frame

    // The row of a node number, -1 when the model has no such node.
    int NodeRowOf(int number) const;
};

// The plane position of a homogeneous row; a point on the eye's plane ends
// the build.
diagram::PlanePoint ProjectOrFail(const diagram::ViewMatrix& view, const diagram::HomogeneousRow& row);

// The first row of number `no` and load case `caseNo` of a result table, in
// stored order; none ends the build.
int ResultRowOrFail(const ResultRows& rows, int16_t no, int16_t caseNo);

// The nodes of 節点座標1 in ascending number, projected through
// geometry.view; none for an empty table (the diagrams then draw nothing). A
// number outside 0 to 300 ends the build.
void LoadAndProjectNodes(ReportContext& ctx);

// The members of 要素情報 in ascending number. A member whose end node is
// missing asks whether to end the preview: Yes cancels the build, No keeps
// the member as an all-zero entry. A number outside 0 to 500 ends the build.
void LoadMemberTable(ReportContext& ctx);

// The nodes moved by the displacements of one load case (cm, times the
// displacement scale), or by the weighted sum of the cases when the display
// contents combine them (caseNo is then not used), and projected. A node
// without its displacement row ends the build.
std::vector<ProjectedNode> ProjectDisplacedNodes(ReportContext& ctx, int16_t caseNo);

// The axis symbol: origin and the three tips, each axis as long as the
// axis-size box (its leading number, 0 when none) times a tenth of the
// model's diagonal.
void ProjectCoordinateAxes(ReportContext& ctx);

// Without displaced nodes and curves: the box of the projected nodes (left
// as it is when there are none).
// With displaced nodes: `extents` widened by them. With curves: the maxima
// taken again from the projected nodes, then the maxima and the minima
// passed in widened by the curve points.
void ComputeDiagramExtents(const DiagramGeometry& geometry, DiagramExtents& extents,
                           const std::vector<ProjectedNode>* displaced = nullptr,
                           const std::vector<MomentCurve>* curves = nullptr);

}  // namespace report
