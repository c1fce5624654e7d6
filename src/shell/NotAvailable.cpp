#include "shell/NotAvailable.h"

#include "platform/Ui.h"
#include "shell/Globals.h"

void ShowWindowNotAvailable(const QString& title)
{
    ui::Beep();
    MsgResult = ui::MsgBox(QStringLiteral("「%1」の画面は、このバージョンではまだ使用できません。").arg(title),
                           ui::Icon::Information, AppTitle);
}
