#include "app/InfoPage.h"

#include <QFile>
#include <QRegularExpression>

// The page is a resource of the program's static library; it is registered
// before the first use.
void RegisterInfoPage()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(info);
        return true;
    }();
    (void)done;
}

QString InfoPageAddress() { return QStringLiteral("qrc:/info/zelkova.html"); }

QString InfoPageTitle()
{
    RegisterInfoPage();
    QFile page(QStringLiteral(":/info/zelkova.html"));
    if (!page.open(QIODevice::ReadOnly)) return QStringLiteral("ZELKOVA");
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("<title>(.*)</title>")).match(QString::fromUtf8(page.readAll()));
    return m.hasMatch() ? m.captured(1).trimmed() : QStringLiteral("ZELKOVA");
}
