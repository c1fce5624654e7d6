// Running zelkova-probe from a test and reading what it prints.
#pragma once

#include <QString>
#include <QStringList>

namespace testenv {

// Runs the probe in `dir` with the given commands; its output lines.
QStringList RunProbe(const QString& dir, const QStringList& args);
// The lines that begin with `prefix`.
QStringList Matching(const QStringList& lines, const QString& prefix);
// The rest of each line that begins with `prefix`.
QStringList After(const QStringList& lines, const QString& prefix);
// The value of the first "key=value" line, or "<none>".
QString Value(const QStringList& lines, const QString& key);
// The output of one page of a "dump": its "page=<page>|..." line and the
// header, footer and printed lines after it, up to the next page.
QStringList PageOutput(const QStringList& lines, int page);

}  // namespace testenv
