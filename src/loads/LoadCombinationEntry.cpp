#include "loads/LoadCombinationEntry.h"

#include "shell/NotAvailable.h"

// The load-combination window is not part of this build yet.
bool LoadCombinationWindowAvailable() { return false; }

void ShowLoadCombinationWindow() { ShowWindowNotAvailable(QStringLiteral("荷重の組合せ条件")); }
