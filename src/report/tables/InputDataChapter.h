// Chapter 1 of the results report: the input data (1.1 nodes and restraints,
// 1.2 sections, 1.3 members and member ends, 1.4 load shapes, 1.5 load
// placement), printed after the chapter's page has begun.
#pragma once

#include <cstdint>

namespace report {

struct ReportContext;

void PrintInputDataChapter(ReportContext& ctx);

}  // namespace report
