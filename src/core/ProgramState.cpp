#include "core/ProgramState.h"

#include "platform/Forms.h"

namespace {
ProgramState* g_state = nullptr;
}  // namespace

ProgramState& Program()
{
    if (!g_state) qFatal("the program state is used before its owner created it");
    return *g_state;
}

ProgramStateScope::ProgramStateScope() : previous_(g_state) { g_state = &state_; }
ProgramStateScope::~ProgramStateScope() { g_state = previous_; }

void CloseSharedData()
{
    // Every step on its own: a failure of one never keeps the others from
    // running, and afterwards nothing of the menu holds the file open.
    Program().MemberNo.clear();
    Program().NodeNo.clear();
    auto closeRs = [](dao::RecordsetPtr& rs) {
        try {
            if (rs) rs->Close();
        } catch (...) {
        }
        rs.reset();
    };
    closeRs(Program().SharedRecordset);
    closeRs(Program().WorkRecordset);
    try {
        if (Program().SharedDatabase) Program().SharedDatabase->Close();
    } catch (...) {
    }
    Program().SharedDatabase.reset();
    Program().CurrentInputForm.clear();
}
