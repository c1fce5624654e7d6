// A small project for the report's tables, written into a fresh
// "Zelkova.mdb": four nodes (7, 2, 10, 4 in display order), two sections in
// use (1001, 3), three members (5, 2, 9 in display order), restraint and
// member-end types with fixed, free, pinned and spring components, placements
// where a later row overrides an earlier one, two load shapes and their
// placement, and the result tables of two load cases. The values are listed
// in TableFixture.cpp; the tests derive the printed lines from them.
#pragma once

#include "core/ProgramState.h"
#include "platform/Database.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace testenv {

// Writes the project into `dir` (the current folder when empty).
void WriteTableFixture(bool si, const QString& dir = QString());

// Display contents with the load combination: case 1 × 1.5 and case 2 × 0.5,
// by node and member or by load case.
PreviewInfoRecord CombinationContents(bool perNodeMember);

// Replaces the rows of a table by `rows` (values in the order of `fields`).
void ReplaceRows(dao::Database& db, const QString& table, const QStringList& fields,
                 const std::vector<std::vector<rt::Variant>>& rows);

}  // namespace testenv
