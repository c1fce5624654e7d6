// Chapter 2: the member end forces, by member for all cases or for one load
// case.
#pragma once

#include <cstdint>

namespace report {

struct ReportContext;

void PrintMemberForcesByMember(ReportContext& ctx);
void PrintMemberForcesForCase(ReportContext& ctx, int16_t caseNo);

}  // namespace report
