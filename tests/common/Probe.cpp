#include "common/Probe.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace testenv {

QStringList RunProbe(const QString& dir, const QStringList& args)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZELKOVA_PROBE), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList Matching(const QStringList& lines, const QString& prefix)
{
    QStringList out;
    for (const QString& l : lines)
        if (l.startsWith(prefix)) out << l;
    return out;
}

QStringList After(const QStringList& lines, const QString& prefix)
{
    QStringList out;
    for (const QString& l : lines)
        if (l.startsWith(prefix)) out << l.mid(prefix.size());
    return out;
}

QString Value(const QStringList& lines, const QString& key)
{
    for (const QString& l : lines)
        if (l.startsWith(key + QLatin1Char('='))) return l.mid(key.size() + 1);
    return QStringLiteral("<none>");
}

QStringList PageOutput(const QStringList& lines, int page)
{
    int start = 0;
    while (start < lines.size() && !lines[start].startsWith(QStringLiteral("page=%1|").arg(page))) ++start;
    if (start == lines.size()) return {};
    int end = start + 1;
    while (end < lines.size() && (lines[end].startsWith(QStringLiteral("line=")) || lines[end].startsWith(QStringLiteral("header="))
                                  || lines[end].startsWith(QStringLiteral("footer="))))
        ++end;
    return lines.mid(start, end - start);
}

}  // namespace testenv
