#include "platform/Settings.h"
#include "shell/Main.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InitApplication(app);
    if (!Main()) return 0;
    int rc = app.exec();
    reg::Sync();
    return rc;
}
