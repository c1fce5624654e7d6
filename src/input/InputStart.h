// Opening and closing the input screens.
#pragma once

#include "platform/Database.h"
#include "core/ProgramState.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace forms { class Form; }

// What the framework needs to open an input screen: its code, its window,
// the table it edits, the rows its grid shows and how its window is made.
struct InputScreenDescription {
    ScreenCodes code{};
    QString formName{};
    QString table{};
    int16_t gridRows = 0;
    std::function<forms::Form*()> create{};
    // The window places itself: the position shared by the input screens is
    // neither applied to it nor taken from it.
    bool ownPlacement = false;
};

// Makes the screen known to StartInputForm by its code, and its window by
// its code and name.
void RegisterInputScreen(const InputScreenDescription& screen);
// The registered screen of a code, or nullptr.
const InputScreenDescription* FindInputScreen(int16_t code);

// Opens the input screen of ScreenCode on a backup copy of the working
// database. Returns true when a screen opened; false leaves the caller's
// window in charge (the backup failed, or no screen belongs to the code).
bool StartInputForm();

// Closes the open screen and every other window but the main menu, keeps
// (cancelled false) or restores (true) the working database, and shows the
// main menu again. The caller has closed its own connection and recordset.
// Only the copy that StartInputForm took is restored or deleted: a window
// that was not opened through it ends without touching any file.
void EndInputForm(bool cancelled);

void CreateInputForm();
void RestoreInputFormPosition();
void SaveInputFormPosition();
void SetupInputGridAndToolTips();
void LimitTabStopsToEntryBoxes();

// 7 when the user refused the cancel; 6 or 0 when it may go ahead.
// reason 0: the window's close box; anything else: the cancel button.
int16_t ConfirmCancelInput(int16_t reason);

// Closes and clears rs, WorkRecordset and db, in this order; never fails.
void CloseInputRecordsets(dao::DatabasePtr& db, dao::RecordsetPtr& rs);

// The database-access message of the file steps (exclamation icon).
#include "core/Messages.h"

// True while EndInputForm unloads the windows (their unload handlers then
// leave the files and the results flag to it).
bool InputFormEnding();

// Marks the results stale for good: a cancel keeps them stale (a change made
// outside the backup's reach, or one that the backup now holds).
void MarkResultsStaleForGood();
// Replaces the open screen's backup by a copy of the working database as it
// is now, so that a cancel goes back to this state. False, with the
// database-access message, when the copy cannot be made; the old backup then
// stays. The caller has closed its connection.
bool RefreshInputBackup();
