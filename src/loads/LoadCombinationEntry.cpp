#include "loads/LoadCombinationEntry.h"

#include "shell/NotAvailable.h"

void ShowLoadCombinationWindow()
{
    // The load-combination window is not part of this build yet.
    ShowWindowNotAvailable(QStringLiteral("荷重の組合せ条件"));
}
