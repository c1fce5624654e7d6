#include "app/InfoPage.h"

QString InfoPageAddress() { return QStringLiteral("qrc:/info/zelkova.html"); }
