// The frame diagram print: the projected frame with its node, member and
// section numbers, cut into page tiles at its stored placement; every tile
// that holds a line is one page, the first on the page that is current when
// it starts, titled "ラーメン図".
#pragma once

#include "report/diagrams/DiagramGeometry.h"

namespace report {

struct ReportContext;

void PrintFrameDiagram(ReportContext& ctx, DiagramExtents extents);

}  // namespace report
