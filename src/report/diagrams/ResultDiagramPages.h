// Chapters 4 and 5: the displacement and bending-moment diagrams of one load
// case (0 the combination), each starting on the page the driver has just
// begun, laid out like the frame diagram on its own placement. Each widens
// its own copy of the frame's box.
#pragma once

#include "report/diagrams/DiagramGeometry.h"

#include <cstdint>

namespace report {

struct ReportContext;

void PrintDisplacementDiagram(ReportContext& ctx, int16_t caseNo, DiagramExtents extents);
void PrintStressDiagram(ReportContext& ctx, int16_t caseNo, DiagramExtents extents);

}  // namespace report
