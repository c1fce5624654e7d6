#include "input/InputStart.h"

#include "shell/Globals.h"
#include "shell/NotAvailable.h"

bool StartInputForm()
{
    // The input screens are not part of this build yet.
    ShowWindowNotAvailable(QStringLiteral("入力画面"));
    return false;
}
