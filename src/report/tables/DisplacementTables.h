// Chapter 2: the nodal displacements, by node for all cases or for one load
// case.
#pragma once

#include <cstdint>

namespace report {

struct ReportContext;

void PrintDisplacementsByNode(ReportContext& ctx);
void PrintDisplacementsForCase(ReportContext& ctx, int16_t caseNo);

}  // namespace report
