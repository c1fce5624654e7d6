#include "analysis/RunAnalysis.h"

#include "shell/NotAvailable.h"

void RunAnalysis()
{
    // The analysis is not part of this build yet.
    ShowWindowNotAvailable(QStringLiteral("応力計算"));
}
