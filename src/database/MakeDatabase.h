// Makes the working database "Zelkova.mdb" in the current folder fit for use.
#pragma once

#include <cstdint>

// The caller closes its own connections to the file first (MakeDatabase of
// the program state does).
//
// mode 1: the upgrade pass alone, which adds whichever section-design tables
// the file lacks. Any other mode: the create pass first, which
// discards the project (the file, the stored archive name, the analysis flag
// and the preview settings file) and makes an empty database, then the
// upgrade pass. The two grade tables get their default rows when this call
// creates them.
//
// Shows no message. A failure (a file that cannot be deleted, a database that
// cannot be created or opened, a table or row that cannot be written) raises
// rt::Error to the caller; the connection is closed first, and what was done
// before it stays done. No connection stays open on return.
void MakeDatabaseFile(int16_t& mode);
