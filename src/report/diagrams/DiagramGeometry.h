// The projected frame that every diagram of a build draws from: the view
// matrix, the nodes and members on the drawing plane, the axis symbol and
// the box around the undeformed frame. The driver's geometry step fills it
// once per build (PrepareDiagramGeometry, ReportDriver.h) through the
// procedures below; each diagram then adds what it needs of its own.
#pragma once

#include "diagram/ViewGeometry.h"

#include <array>
#include <cstdint>
#include <vector>

namespace report {

struct ReportContext;

// Box of the projected frame on the drawing plane, in the order the diagram
// procedures take it.
struct DiagramExtents {
    float maxX = 0;
    float maxY = 0;
    float minX = 0;
    float minY = 0;
};

// A node on the drawing plane.
struct ProjectedNode {
    int16_t no = 0;
    float x = 0;
    float y = 0;
};

// A member of the diagram; all zero for a member that was skipped.
struct DiagramMember {
    int16_t no = 0;
    int16_t iNode = 0;
    int16_t jNode = 0;
    int16_t section = 0;
};

struct DiagramGeometry {
    diagram::ViewMatrix view{};
    std::vector<ProjectedNode> nodes;        // by row, in ascending node number
    std::vector<DiagramMember> members;      // by row, in ascending member number
    std::array<ProjectedNode, 4> axis{};     // origin, X tip, Y tip, Z tip
    DiagramExtents extents;
};

// The nodes of 節点座標1 projected through geometry.view.
void LoadAndProjectNodes(ReportContext& ctx);
// The members of 要素情報 with both end nodes present; may ask the user.
void LoadMemberTable(ReportContext& ctx);
// Sets (both switches off) or widens the box by the displaced nodes or the
// moment curves.
void ComputeDiagramExtents(ReportContext& ctx, DiagramExtents& extents, bool displaced, bool moments);
// The axis symbol through geometry.view.
void ProjectCoordinateAxes(ReportContext& ctx);

}  // namespace report
