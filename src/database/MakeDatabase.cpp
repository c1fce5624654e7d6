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

const QString kPreviewInfoFile = QStringLiteral("pif");

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

void CreateTables(int from, int to)
{
    const auto& tables = schema::AllTables();
    for (int i = from; i < to; ++i) MakeDbConnection->CreateTable(tables[i]);
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

void Passes(int16_t mode)
{
    bool steelCreated = false;
    bool barCreated = false;

    if (mode != 1) {
        // Create pass: the project and its side state go.
        reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("DataName"), QString());
        reg::DeleteSetting(QStringLiteral("Mainmenu"), QStringLiteral("DataName"));
        reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False"));
        KillIfExists(kPreviewInfoFile);
        CloseDatabase(MakeDbConnection);
        KillIfExists(kWorkingDatabase);
        MakeDbConnection = dao::Database::Create(kWorkingDatabase);
        CreateTables(0, schema::kBaseTableCount);
    }

    // Upgrade pass. A table counts as missing only when the catalogue does
    // not list it: one that is there but cannot be read is left alone, and
    // the main menu reports the database as damaged.
    CloseDatabase(MakeDbConnection);
    MakeDbConnection = dao::Database::Open(kWorkingDatabase);
    for (const QString& name : schema::SectionDesignTableNames()) {
        if (MakeDbConnection->TableExists(name)) continue;
        MakeDbConnection->CreateTable(schema::Table(name));
        if (name == schema::kSteelGradeTable) steelCreated = true;
        if (name == schema::kBarGradeTable) barCreated = true;
    }
    CloseDatabase(MakeDbConnection);
    MakeDbConnection = dao::Database::Open(kWorkingDatabase);

    // Default rows go only into a grade table made by this call, never into
    // one that already held the user's rows.
    if (steelCreated) AppendDefaultRows(schema::SteelGradeRows());
    if (barCreated) AppendDefaultRows(schema::BarGradeRows());

    CloseDatabase(MakeDbConnection);
}

}  // namespace

void MakeDatabaseFile(int16_t& mode)
{
    try {
        Passes(mode);
    } catch (...) {
        // Leave no connection behind on the file, so that the caller can
        // report the failure and the user can clear or replace the file.
        try { CloseRecordset(MakeDbRecordset); } catch (...) { MakeDbRecordset.reset(); }
        try { CloseDatabase(MakeDbConnection); } catch (...) { MakeDbConnection.reset(); }
        throw;
    }
}
