// The layout picture: one diagram reduced onto its grid of page tiles on one
// landscape page, with its placement written back into ctx.boxes.
#pragma once

#include "report/diagrams/DiagramGeometry.h"

#include <cstdint>

namespace report {

struct ReportContext;

void DrawFrameLayoutView(ReportContext& ctx, DiagramExtents extents);
void ShowDisplacementDiagramLayout(ReportContext& ctx, int16_t caseNo, DiagramExtents extents);
void ShowStressDiagramLayout(ReportContext& ctx, int16_t caseNo, DiagramExtents extents);

}  // namespace report
