// Chapter 2: the support reactions, by node for all cases or for one load
// case.
#pragma once

#include <cstdint>

namespace report {

struct ReportContext;

void PrintReactionsByNode(ReportContext& ctx);
void PrintReactionsForCase(ReportContext& ctx, int16_t caseNo);

}  // namespace report
