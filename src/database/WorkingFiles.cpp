#include "database/WorkingFiles.h"

#include "database/Schema.h"
#include "platform/Database.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

QString UnusedTemporaryName(const QString& prefix)
{
    QString name;
    do {
        name = prefix + files::RandomHexDigits() + QLatin1Char('.') + files::kTemporaryTag;
    } while (QFileInfo(name).exists() || QFileInfo(name).isSymLink());
    return name;
}

bool IsProjectDatabase(const QString& path)
{
    try {
        dao::DatabasePtr db = dao::Database::Open(path);
        bool sound = false;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db->Handle(), "PRAGMA quick_check", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            sound = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "ok";
        sqlite3_finalize(st);
        try {
            for (const QString& table : schema::InputTableNames())
                if (sound) db->OpenRecordset(table)->Close();
        } catch (const rt::Error&) {
            sound = false;
        }
        db->Close();
        return sound;
    } catch (const rt::Error&) {
        return false;
    }
}

namespace {

// The endings the database engine gives the side files of a database.
const QStringList kSideFileEndings{QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};

// True when `name` is one the program gives a temporary file of its own:
// "<prefix><8 hex digits>.~zelkova-tmp" (UnusedTemporaryName), alone, as a
// side file of that database, or as the safe writer's temporary file beside
// it. The whole name is matched: one with anything more, be it only a final
// newline, is not the program's.
bool IsOwnTemporaryName(const QString& name, const QString& prefix)
{
    const QRegularExpression own(QRegularExpression::anchoredPattern(
        QStringLiteral("(%1[0-9a-f]{8}\\.%2)(.*)")
            .arg(QRegularExpression::escape(prefix), QRegularExpression::escape(files::kTemporaryTag))));
    const QRegularExpressionMatch match = own.match(name);
    if (!match.hasMatch()) return false;
    const QString ending = match.captured(2);
    return ending.isEmpty() || kSideFileEndings.contains(ending) || files::IsTemporaryNameOf(name, match.captured(1));
}

// True when `name` is the safe writer's temporary file beside one of the
// report's and the views' own files, or the new copy of an input screen's
// backup being made.
bool IsWorkFileTemporaryName(const QString& name)
{
    return files::IsTemporaryNameOf(name, kPreviewInfoFile) || files::IsTemporaryNameOf(name, kViewParameterFile) ||
           files::IsTemporaryNameOf(name, kPrintDocumentFile) || files::IsTemporaryNameOf(name, kBackupDatabase);
}

}  // namespace

void RemoveLeftoverTemporaries()
{
    const QDir::Filters kinds = QDir::Files | QDir::Hidden | QDir::System;
    for (const QString& name : QDir::current().entryList(kinds))
        if (IsOwnTemporaryName(name, kOpeningPrefix) || IsOwnTemporaryName(name, kBuildingPrefix) ||
            IsWorkFileTemporaryName(name))
            QFile::remove(name);

    // A compaction ended by a crash; one that runs now holds its lock.
    if (const CompactionLock lock; lock.Held())
        for (const QString& ending : QStringList{QString()} + kSideFileEndings) QFile::remove(kCompactDatabase + ending);

    // A print lives no longer than the program that runs it.
    if (QFileInfo(kPrintDocumentFile).isFile()) QFile::remove(kPrintDocumentFile);
}

bool ReplaceWorkingDatabase(const QString& source, bool keepPermissions)
{
    const QString journal = kWorkingDatabase + QStringLiteral("-journal");
    return files::ReplaceWith(source, kWorkingDatabase, keepPermissions,
                              [&journal] { return !QFileInfo(journal).exists() || QFile::remove(journal); });
}
