// A table printed the way the report's table procedures print theirs, for
// tests, pictures and benchmarks that need pages of tables before the real
// tables exist: the member forces of one case (heading code 222), two lines
// per member.
#pragma once

#include <cstdint>

namespace report { struct ReportContext; }

namespace testenv {

// `members` members, the lines fitted to the column template of code 222.
void PrintSampleMemberForceTable(report::ReportContext& ctx, int members, int16_t caseNo = 1);

}  // namespace testenv
