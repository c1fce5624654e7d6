// The working files, relative names in the working folder, and the ways a
// working database is replaced without ever leaving half a file.
#pragma once

#include "platform/FolderLock.h"

#include <QString>

inline const QString kWorkingDatabase = QStringLiteral("Zelkova.mdb");
inline const QString kBackupDatabase = QStringLiteral("ZelkovaMT.mdb");
inline const QString kCompactDatabase = QStringLiteral("Zelkova2.mdb");

// The report's and the views' own files, each written whole through the safe
// writer: the display contents, the view records, and the shown document
// kept while a print with a start page number runs. A symbolic link of one
// of these names is replaced, never written through, and the records are
// never read through one: what it points to lies outside the program's work.
inline const QString kPreviewInfoFile = QStringLiteral("pif");
inline const QString kViewParameterFile = QStringLiteral("vpf");
inline const QString kPrintDocumentFile = QStringLiteral("DocFile");

// Beginnings of the names of temporary files made in the working folder: an
// archive's database being opened, a new database being built.
inline const QString kOpeningPrefix = QStringLiteral("ZelkovaOpen-");
inline const QString kBuildingPrefix = QStringLiteral("ZelkovaNew-");

// A name "<prefix>XXXXXXXX.~zelkova-tmp" (eight random hexadecimal digits,
// and the mark of the program's temporary files) that no file of the
// working folder has.
QString UnusedTemporaryName(const QString& prefix);

// True when `path` is a sound database of ours (its structure checks out)
// that holds every table of the model input: a project.
bool IsProjectDatabase(const QString& path);

// Removes the temporary files that a program ended by a crash left in the
// working folder, by their exact names: the databases being opened or built
// (with the database engine's side files and the safe writer's temporary
// files of their names), the compacted database unless another copy of the
// program is compacting now, the document of a print, the safe writer's
// temporary files of the files above, and a new copy of an input screen's
// backup not yet in place ("ZelkovaMT.mdb" with the mark, as
// files::TemporaryNameOf names it). Every temporary name carries the mark
// files::kTemporaryTag; other files, whatever their names, stay.
void RemoveLeftoverTemporaries();

// Held by a compaction for as long as it uses "Zelkova2.mdb": the lock on
// the working folder.
class CompactionLock : public files::FolderLock {
public:
    explicit CompactionLock(int waitMs = 0) : FolderLock(QStringLiteral("."), waitMs) {}
};

// Puts the complete database file `source` in place of "Zelkova.mdb" in one
// rename, once it is synced to disk. A journal of the old file goes first:
// played back into the new file it would damage it. With `keepPermissions`
// the new file gets the old one's permissions. False when anything fails:
// "Zelkova.mdb" then is as it was, and `source` is still there.
bool ReplaceWorkingDatabase(const QString& source, bool keepPermissions);
