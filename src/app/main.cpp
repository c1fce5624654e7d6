#include "platform/Settings.h"
#include "app/Main.h"
#include "core/ProgramState.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ProgramStateScope state;   // the one program state, for the program's life
    InitApplication(app);
    if (!Main()) return 0;
    int rc = app.exec();
    reg::Sync();
    return rc;
}
