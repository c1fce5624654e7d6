#include "platform/Settings.h"
#include "app/Main.h"

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
