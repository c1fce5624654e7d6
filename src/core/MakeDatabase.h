// Makes the working database "Zelkova.mdb" fit for use, as the start-up, the
// clear command and the project open need it.
#pragma once

#include <cstdint>

// Closes the program's shared connection and recordsets on the file, then
// runs MakeDatabaseFile(mode): mode 1 the upgrade pass alone, any other mode
// the create pass first. Shows no message; a failure raises rt::Error with no
// connection left open.
void MakeDatabase(int16_t& mode);
