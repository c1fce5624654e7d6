// The start every written test project shares: a fresh "Zelkova.mdb" made by
// the program's own MakeDatabase, holding the row of 基本データ.
#pragma once

#include "platform/Database.h"

#include <QString>

namespace testenv {

struct BasicData {
    QString name;
    QString designer = QStringLiteral(" ");
    QString note = QStringLiteral(" ");
    bool si = true;
    int cases = 1;
    double e = 20500;
    double gamma = 7900;
};

// Makes the database in the current folder and writes `basic` into it; the
// database is left open for the rest of the project.
dao::DatabasePtr NewProject(const BasicData& basic);

}  // namespace testenv
