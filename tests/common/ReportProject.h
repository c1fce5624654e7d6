// Projects for the report tests and benchmarks: a model with result tables
// filled as an analysis leaves them (one row per node or member and case),
// written into a fresh "Zelkova.mdb".
#pragma once

#include <QString>

namespace testenv {

struct ReportProjectSetup {
    QString name = QStringLiteral("試験構造");
    QString designer = QStringLiteral(" ");
    QString remarks = QStringLiteral(" ");
    bool si = true;
    int cases = 1;
    int nodes = 4;
    int members = 3;
    bool equivalentLoads = true;   // rows in Analyze等価節点荷重
};

// Writes the project into `dir` (the current folder when empty) and marks
// the results valid in the settings.
void WriteReportProject(const ReportProjectSetup& setup, const QString& dir = QString());

}  // namespace testenv
