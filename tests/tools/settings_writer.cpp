// zelkova-settings-writer: another running copy of the program, as far as the
// settings go. Stores or removes values and writes them, in the settings
// folder of its environment ($XDG_CONFIG_HOME), then prints "written" or
// "failed".
//
// Usage: zelkova-settings-writer [--each] CHANGE...
//   SECTION/KEY=TEXT   store TEXT (SECTION may hold "\" for a sub-section)
//   -SECTION/KEY       remove the value
//   --each             write after every change, not once at the end
#include "platform/Settings.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool each = args.removeAll(QStringLiteral("--each")) > 0;
    bool written = true;
    for (const QString& arg : args) {
        const bool remove = arg.startsWith(u'-');
        const QString change = remove ? arg.mid(1) : arg;
        const qsizetype eq = remove ? change.size() : change.indexOf(u'=');
        const QString name = change.left(eq);
        const qsizetype slash = name.lastIndexOf(u'/');
        if (eq < 0 || slash < 0) {
            std::fprintf(stderr, "not a change: %s\n", qPrintable(arg));
            return 2;
        }
        if (remove) reg::DeleteSetting(name.left(slash), name.mid(slash + 1));
        else reg::SaveSetting(name.left(slash), name.mid(slash + 1), change.mid(eq + 1));
        if (each) written = reg::Sync() && written;
    }
    written = reg::Sync() && written;
    std::puts(written ? "written" : "failed");
    return written ? 0 : 1;
}
