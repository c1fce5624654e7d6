// The cover of the results report: a framed title with the project's name,
// designer and remarks, printed from the top of the current page in the
// cover's format (SetupPageFormat with "FCOVER").
#pragma once

namespace report {

struct ReportContext;

void PrintFrontCover(ReportContext& ctx);

}  // namespace report
