#include "report/diagrams/DiagramGeometry.h"

#include "report/ReportContext.h"

namespace report {

// Not built yet: the geometry stays empty, so the diagrams draw nothing.

void LoadAndProjectNodes(ReportContext&) {}

void LoadMemberTable(ReportContext&) {}

void ComputeDiagramExtents(ReportContext&, DiagramExtents&, bool, bool) {}

void ProjectCoordinateAxes(ReportContext&) {}

}  // namespace report
