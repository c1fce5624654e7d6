// The layout picture: one diagram on its grid of page tiles, reduced until
// the grid of printed (portrait) pages fits the printable area of the one
// landscape page of the layout mode. Tiles that will print are filled; the
// frame is drawn black, the displaced shape or the moment curves blue, each
// label as an empty red-outlined box of its size, the axis symbol blue. The
// placement used (zoom relative to the base scale, offsets in mm, whole
// numbers) is written back into the boxes "txtzoom", "txtX" and "txtY".
#pragma once

#include "report/diagrams/DiagramGeometry.h"

#include <cstdint>

namespace report {

struct ReportContext;

void DrawFrameLayoutView(ReportContext& ctx, DiagramExtents extents);
void ShowDisplacementDiagramLayout(ReportContext& ctx, int16_t caseNo, DiagramExtents extents);
void ShowStressDiagramLayout(ReportContext& ctx, int16_t caseNo, DiagramExtents extents);

}  // namespace report
