// Project open and save through LZH archives, and the compaction of the
// working database.
#pragma once

#include "platform/lzh/LzhCore.h"
#include "core/ProgramState.h"

#include <QString>

// The main menu's open and save commands.
void OpenProject();
void SaveProject();

// The initial folder of the file dialogs: the archive last opened or saved
// while it exists, else the folder 保存データ beside the working folder
// (created when missing). Never fails.
void GetProjectFolder(QString& path);

// The archiver: "a" adds `workFile` of the working folder to the archive as
// its member "Zelkova.mdb" (replacing a member of that name, keeping the
// others, creating the archive when missing); "e" extracts the member
// "Zelkova.mdb" into `workFile`. The status also goes to MsgResult (0 = done).
lzh::Status RunLhaCommand(const QString& archive, const QString& command,
                          const QString& workFile = kWorkingDatabase);

// Makes `path` the current folder; a failure is ignored.
void ChangeToFolder(const QString& path);

// Compacts "Zelkova.mdb" through "Zelkova2.mdb". Returns normally in every
// case; when any connection to the working database is open, or anything
// fails, the working database stays as it was. While another copy of the
// program compacts in the same folder (it holds the CompactionLock) this one
// waits a few seconds for it, then leaves the database as it is.
void CompactWorkingDatabase();
