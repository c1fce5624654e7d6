// The frame diagram print: the projected frame cut into page tiles, the
// first tile on the page that is current when it starts.
#pragma once

#include "report/diagrams/DiagramGeometry.h"

#include <cstdint>

namespace report {

struct ReportContext;

void PrintFrameDiagram(ReportContext& ctx, DiagramExtents extents);

}  // namespace report
