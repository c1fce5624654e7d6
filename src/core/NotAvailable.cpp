#include "core/NotAvailable.h"

#include "platform/Ui.h"
#include "core/ProgramState.h"

void ShowWindowNotAvailable(const QString& title)
{
    ui::Beep();
    Program().MsgResult = ui::MsgBox(QStringLiteral("「%1」の画面は、このバージョンではまだ使用できません。").arg(title),
                           ui::Icon::Information, AppTitle);
}
