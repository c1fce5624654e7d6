// Chapter 3: the combination of load cases chosen in the display contents
// (ctx.info), its factors and the combined displacements, member forces and
// reactions. The driver prints the chapter caption before it.
//
// A failure ends the chapter with the message of the section it is in, and
// the build goes on; a combined value that a Single cannot hold ends the
// whole build instead (ReportFailure with that message), as a stored value
// that cannot be read ends a result table.
#pragma once

#include <cstdint>

namespace report {

struct ReportContext;

void PrintLoadCombinationResults(ReportContext& ctx);

}  // namespace report
