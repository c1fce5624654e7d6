#include "database/WorkingFiles.h"

#include "database/Schema.h"
#include "platform/Database.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

QString UnusedTemporaryName(const QString& prefix)
{
    QString name;
    do {
        name = prefix + files::RandomHexDigits() + QStringLiteral(".tmp");
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

void RemoveLeftoverTemporaries()
{
    const QDir::Filters kinds = QDir::Files | QDir::Hidden | QDir::System;
    const QStringList patterns{kOpeningPrefix + QStringLiteral("*.tmp*"), kBuildingPrefix + QStringLiteral("*.tmp*")};
    for (const QString& name : QDir::current().entryList(patterns, kinds)) QFile::remove(name);

    // A print lives no longer than the program that runs it.
    if (QFileInfo(kPrintDocumentFile).isFile()) QFile::remove(kPrintDocumentFile);
    for (const QString& target : {kPreviewInfoFile, kViewParameterFile, kPrintDocumentFile})
        for (const QString& name : QDir::current().entryList({target + QStringLiteral(".*")}, kinds))
            if (files::IsTemporaryNameOf(name, target)) QFile::remove(name);
}

bool ReplaceWorkingDatabase(const QString& source, bool keepPermissions)
{
    const QString journal = kWorkingDatabase + QStringLiteral("-journal");
    return files::ReplaceWith(source, kWorkingDatabase, keepPermissions,
                              [&journal] { return !QFileInfo(journal).exists() || QFile::remove(journal); });
}
