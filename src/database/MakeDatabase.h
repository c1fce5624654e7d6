// Makes the working database "Zelkova.mdb" in the current folder fit for use.
#pragma once

#include <cstdint>

namespace dao { class Database; }
namespace schema { struct DefaultRows; }

// The caller closes its own connections to the file first (MakeDatabase of
// the program state does).
//
// mode 1: the upgrade pass alone, which adds whichever section-design tables
// the file lacks. Any other mode: the create pass, which discards the project
// (the file, the stored archive name, the analysis flag and the preview
// settings file) and puts an empty database with all tables in its place.
// A grade table gets its default rows when this call creates it or finds it
// empty.
//
// Each pass changes the file whole or not at all: the upgrade pass in one
// transaction, the create pass by building the new file under another name
// and renaming it over the old one. Shows no message. A failure (a file that
// cannot be deleted or replaced, a database that cannot be created or opened,
// a table or row that cannot be written) raises rt::Error to the caller with
// the file as it was and no connection left open; the settings and the
// preview file the create pass resets stay reset.
void MakeDatabaseFile(int16_t& mode);

// True for a grade table of ours without a row (one left empty by a pass that
// ended early), which the upgrade pass fills with its default rows. A table
// that cannot be read as ours counts as not empty: it is left alone.
bool IsEmptyGradeTable(dao::Database& db, const schema::DefaultRows& defaults);
