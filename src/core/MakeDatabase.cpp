#include "core/MakeDatabase.h"

#include "core/ProgramState.h"
#include "database/MakeDatabase.h"

void MakeDatabase(int16_t& mode)
{
    auto close = [](dao::RecordsetPtr& rs) {
        try {
            if (rs) rs->Close();
        } catch (...) {
        }
        rs.reset();
    };
    if (mode != 1) {
        close(Program().SharedRecordset);
        close(Program().WorkRecordset);
    }
    try {
        if (Program().SharedDatabase) Program().SharedDatabase->Close();
    } catch (...) {
    }
    Program().SharedDatabase.reset();
    MakeDatabaseFile(mode);
}
