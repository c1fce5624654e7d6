#include "database/MakeDatabase.h"

#include "database/Schema.h"
#include "platform/Database.h"
#include "platform/Runtime.h"
#include "platform/Settings.h"
#include "database/WorkingFiles.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The connection and recordset of a call; empty between calls.
dao::DatabasePtr MakeDbConnection;
dao::RecordsetPtr MakeDbRecordset;

void CloseRecordset(dao::RecordsetPtr& rs)
{
    if (rs) {
        rs->Close();
        rs.reset();
    }
}

void CloseDatabase(dao::DatabasePtr& db)
{
    if (db) {
        db->Close();
        db.reset();
    }
}

// Deletes a work file of the current folder when it is there.
void KillIfExists(const QString& name)
{
    if (!QFileInfo::exists(name)) return;
    QFile file(name);
    if (!file.remove())
        rt::Raise(rt::ErrFileIO, QStringLiteral("ファイル '%1' を削除できません: %2").arg(name, file.errorString()));
}

void AppendDefaultRows(const schema::DefaultRows& defaults)
{
    MakeDbRecordset = MakeDbConnection->OpenRecordset(defaults.table);
    for (const auto& row : defaults.rows) {
        MakeDbRecordset->AddNew();
        for (qsizetype f = 0; f < defaults.fields.size(); ++f) MakeDbRecordset->SetField(defaults.fields[f], row[f]);
        MakeDbRecordset->Update();
    }
    CloseRecordset(MakeDbRecordset);
}

// Adds the section-design tables the file lacks, and the default rows of a
// grade table made here or found empty, inside the caller's transaction. A
// table counts as missing only when the catalogue does not list it: one that
// is there but cannot be read is left alone, and the main menu reports the
// database as damaged.
void AddSectionDesignTables()
{
    bool steelNeedsRows = false;
    bool barNeedsRows = false;
    for (const QString& name : schema::SectionDesignTableNames()) {
        if (MakeDbConnection->TableExists(name)) continue;
        MakeDbConnection->CreateTable(schema::Table(name));
        if (name == schema::kSteelGradeTable) steelNeedsRows = true;
        if (name == schema::kBarGradeTable) barNeedsRows = true;
    }
    if (steelNeedsRows || IsEmptyGradeTable(*MakeDbConnection, schema::SteelGradeRows()))
        AppendDefaultRows(schema::SteelGradeRows());
    if (barNeedsRows || IsEmptyGradeTable(*MakeDbConnection, schema::BarGradeRows()))
        AppendDefaultRows(schema::BarGradeRows());
}

// The create pass builds the whole new database under a temporary name and
// renames it over the old file: a pass that ends early leaves the old file.
void CreatePass()
{
    reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("DataName"), QString());
    reg::DeleteSetting(QStringLiteral("Mainmenu"), QStringLiteral("DataName"));
    reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False"));
    KillIfExists(kPreviewInfoFile);
    CloseDatabase(MakeDbConnection);

    const QString building = UnusedTemporaryName(kBuildingPrefix);
    try {
        MakeDbConnection = dao::Database::Create(building);
        // A file that fails half-way is thrown away whole, so it needs no
        // journal; it is synced once, before it takes the database's name.
        MakeDbConnection->Execute(QStringLiteral("PRAGMA journal_mode = OFF"));
        MakeDbConnection->Execute(QStringLiteral("PRAGMA synchronous = OFF"));
        MakeDbConnection->BeginTrans();
        const auto& tables = schema::AllTables();
        for (int i = 0; i < schema::kBaseTableCount; ++i) MakeDbConnection->CreateTable(tables[i]);
        AddSectionDesignTables();
        MakeDbConnection->CommitTrans();
        CloseDatabase(MakeDbConnection);
        if (!ReplaceWorkingDatabase(building, false))
            rt::Raise(rt::ErrFileIO, QStringLiteral("ファイル '%1' を置き換えられません。").arg(kWorkingDatabase));
    } catch (...) {
        try { CloseDatabase(MakeDbConnection); } catch (...) { MakeDbConnection.reset(); }
        QFile::remove(building);
        QFile::remove(building + QStringLiteral("-journal"));
        throw;
    }
}

// The upgrade pass alone changes the file in one transaction: all of it or
// nothing.
void UpgradePass()
{
    CloseDatabase(MakeDbConnection);
    MakeDbConnection = dao::Database::Open(kWorkingDatabase);
    MakeDbConnection->BeginTrans();
    AddSectionDesignTables();
    MakeDbConnection->CommitTrans();
    CloseDatabase(MakeDbConnection);
}

}  // namespace

bool IsEmptyGradeTable(dao::Database& db, const schema::DefaultRows& defaults)
{
    try {
        dao::RecordsetPtr rs = db.OpenRecordset(defaults.table);
        const bool empty = rs->RecordCount() == 0;
        for (const QString& field : defaults.fields) rs->FieldIndex(field);
        rs->Close();
        return empty;
    } catch (const rt::Error&) {
        return false;
    }
}

void MakeDatabaseFile(int16_t& mode)
{
    try {
        if (mode == 1) UpgradePass();
        else CreatePass();
    } catch (...) {
        // Leave no connection behind on the file, so that the caller can
        // report the failure and the user can clear or replace the file.
        try { CloseRecordset(MakeDbRecordset); } catch (...) { MakeDbRecordset.reset(); }
        try { CloseDatabase(MakeDbConnection); } catch (...) { MakeDbConnection.reset(); }
        throw;
    }
}
