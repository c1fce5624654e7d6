// Chapter 3: the combination of load cases chosen in the display contents
// (ctx.info), its factors and the combined displacements, member forces and
// reactions. The driver prints the chapter caption before it.
#pragma once

#include <cstdint>

namespace report {

struct ReportContext;

void PrintLoadCombinationResults(ReportContext& ctx);

}  // namespace report
