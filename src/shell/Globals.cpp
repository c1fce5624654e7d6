#include "shell/Globals.h"

#include "platform/Forms.h"

#include <algorithm>

QString ProgramVersion;
int16_t MsgResult = 0;
const QString AppTitle;
std::array<QString, 51> TableNames;
int16_t TableCount = 0;
dao::DatabasePtr SharedDatabase;
dao::RecordsetPtr SharedRecordset;
dao::RecordsetPtr SharedRecordset2;
dao::RecordsetPtr WorkRecordset;
int16_t ScreenCode = 0;
bool MenuUpdating = false;
bool MainMenuSwitching = false;
QPointer<forms::Form> CurrentInputForm;
QString InputTableName;
int16_t GridRowCount = 0;
bool UnitIsSI = false;
bool WarnOnCancel = false;
ReportHeaderRecord ReportHeader;

bool StartAck = false;
bool FinishAck = false;
std::vector<int16_t> NodeNo;
std::vector<int16_t> MemberNo;
std::array<int16_t, 301> NodeRow{};
std::array<int16_t, 501> MemberRow{};
int16_t CurrentTableCode = 0;
int16_t LoadCaseCount = 0;
int16_t NodeUpperIndex = 0;
int16_t MemberUpperIndex = 0;

namespace {
std::vector<void (*)()>& Releasers()
{
    static std::vector<void (*)()> list;
    return list;
}
}  // namespace

void AddSharedDataReleaser(void (*release)())
{
    auto& list = Releasers();
    if (std::find(list.begin(), list.end(), release) == list.end()) list.push_back(release);
}

void CloseSharedData()
{
    // Every step on its own: a failure of one never keeps the others from
    // running, and afterwards nothing of the menu holds the file open.
    for (auto release : Releasers()) {
        try {
            release();
        } catch (...) {
        }
    }
    MemberNo.clear();
    NodeNo.clear();
    auto closeRs = [](dao::RecordsetPtr& rs) {
        try {
            if (rs) rs->Close();
        } catch (...) {
        }
        rs.reset();
    };
    closeRs(SharedRecordset);
    closeRs(SharedRecordset2);
    closeRs(WorkRecordset);
    try {
        if (SharedDatabase) SharedDatabase->Close();
    } catch (...) {
    }
    SharedDatabase.reset();
    CurrentInputForm.clear();
}
