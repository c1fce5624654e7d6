// Section 1.6: the equivalent nodal loads, by member for all cases or for one
// load case. The driver prints the section caption before them.
#pragma once

#include <cstdint>

namespace report {

struct ReportContext;

void PrintEquivalentNodalLoadsByMember(ReportContext& ctx);
void PrintEquivalentNodalLoadsForCase(ReportContext& ctx, int16_t caseNo);

}  // namespace report
