#include "core/MakeDatabase.h"
#include "database/Schema.h"
#include "database/WorkingFiles.h"
#include "platform/Settings.h"
#include "core/ProgramState.h"

#include "CrashingVfs.h"
#include "RawSqlite.h"
#include "common/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <set>
#include <sys/wait.h>

using rt::Variant;

namespace {

void RunMakeDatabase(int16_t mode) { MakeDatabase(mode); }

QStringList SchemaNames()
{
    QStringList names;
    for (const auto& t : schema::AllTables()) names << t.name;
    names.sort();
    return names;
}

// The stored rows of a default-row table, as sqlite gives them back.
std::vector<QStringList> ExpectedRows(const schema::DefaultRows& d)
{
    std::vector<QStringList> rows;
    for (const auto& values : d.rows) {
        QStringList row;
        for (const Variant& v : values)
            row << (v.kind() == Variant::Kind::Text ? "text:" + v.toString()
                                                    : "num:" + QString::number(v.toDouble(), 'g', 17));
        rows.push_back(row);
    }
    return rows;
}

// The side state the create pass resets and the upgrade pass must not touch.
void SetProjectSideState()
{
    reg::SaveSetting("Mainmenu", "DataName", "old.lzh");
    reg::SaveSetting("Public", "AnalyzeFinish", "True");
    ASSERT_TRUE(testenv::WriteFile("pif", QByteArray(64, 'x')));
}

// A few rows of a user's project, written as the program writes them.
void AddProjectRows()
{
    auto db = dao::Database::Open(kWorkingDatabase);
    db->AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
                   {{Variant::Text("橋"), Variant::Text("山田"), Variant::Text(" "), Variant::Text("True"),
                     Variant::Integer(2), Variant::Single(20500), Variant::Single(7900)}});
    db->AppendRows("節点座標1", {"No_", "X", "Y", "Z", "順"},
                   {{Variant::Integer(1), Variant::Single(0), Variant::Single(0), Variant::Single(0), Variant::Integer(1)},
                    {Variant::Integer(2), Variant::Single(6.5f), Variant::Single(0), Variant::Single(3), Variant::Integer(2)}});
    db->AppendRows("PreviewMentPoint", {"bln種類", "Case", "XX", "YY", "zoom"},
                   {{Variant::Boolean(true), Variant::Integer(1), Variant::Single(10), Variant::Single(20), Variant::Single(1.5f)}});
    db->Close();
}

// A new database with a user's rows, without the tables `drop`, after `prepare`.
void MakeProjectFile(const QStringList& drop, const QStringList& prepare = {})
{
    RunMakeDatabase(0);
    AddProjectRows();
    rawdb::File raw(kWorkingDatabase, true);
    for (const QString& t : drop) raw.Exec("DROP TABLE " + rawdb::File::Quote(t));
    for (const QString& sql : prepare) raw.Exec(sql);
}

TEST(MakeDatabase, FreshDatabaseHoldsTheTablesAndOnlyTheDefaultRows)
{
    RunMakeDatabase(0);
    EXPECT_FALSE(Program().SharedDatabase);
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), QStringLiteral("False"));
    EXPECT_FALSE(reg::HasSetting("Mainmenu", "DataName"));   // written before deleting: works when absent
    EXPECT_FALSE(QFile::exists("pif"));

    rawdb::File raw(kWorkingDatabase);
    EXPECT_EQ(raw.Tables(), SchemaNames());
    auto db = dao::Database::Open(kWorkingDatabase);
    for (const auto& def : schema::AllTables()) {
        SCOPED_TRACE(def.name.toStdString());
        auto stored = raw.Columns(def.name);
        auto fields = db->Fields(def.name);
        ASSERT_EQ(stored.size(), def.fields.size());
        ASSERT_EQ(fields.size(), def.fields.size());
        for (size_t i = 0; i < def.fields.size(); ++i) {
            EXPECT_EQ(stored[i].first, def.fields[i].name);
            dao::FieldType type;
            EXPECT_TRUE(dao::FieldTypeFromSql(stored[i].second, &type));
            EXPECT_EQ(type, def.fields[i].type);
            EXPECT_EQ(fields[i].name, def.fields[i].name);
            EXPECT_EQ(fields[i].type, def.fields[i].type);
        }
        if (def.name == schema::kSteelGradeTable)
            EXPECT_EQ(raw.Rows(def.name), ExpectedRows(schema::SteelGradeRows()));
        else if (def.name == schema::kBarGradeTable)
            EXPECT_EQ(raw.Rows(def.name), ExpectedRows(schema::BarGradeRows()));
        else
            EXPECT_TRUE(raw.Rows(def.name).empty());
    }
    db->Close();

    // Values checked against the grade tables themselves.
    auto steel = raw.Rows(schema::kSteelGradeTable);
    ASSERT_EQ(steel.size(), 19u);
    EXPECT_EQ(steel[0], QStringList({"text:SS400", "num:235", "num:2400", "num:1"}));
    EXPECT_EQ(steel[8], QStringList({"text:STKR400", "num:245", "num:2400", "num:9"}));
    EXPECT_EQ(steel[14], QStringList({"text:STK490", "num:315", "num:3200", "num:15"}));
    EXPECT_EQ(steel[16], QStringList({"text:BCR295", "num:295", "num:3000", "num:17"}));
    EXPECT_EQ(steel[18], QStringList({"text:BCP325", "num:325", "num:3300", "num:19"}));
    auto bar = raw.Rows(schema::kBarGradeTable);
    ASSERT_EQ(bar.size(), 6u);
    EXPECT_EQ(bar[1], QStringList({"text:SR295", "num:160", "num:200", "num:295", "num:295", "num:1600",
                                   "num:2000", "num:3000", "num:3000", "num:2"}));
    EXPECT_EQ(bar[5], QStringList({"text:SD390", "num:220", "num:200", "num:390", "num:390", "num:2200",
                                   "num:2000", "num:4000", "num:4000", "num:6"}));
}

// Mode 0, and any mode other than 1, discards the project and its side state.
class CreatePass : public ::testing::TestWithParam<int16_t> {};

TEST_P(CreatePass, ExistingProjectBecomesAFreshDatabase)
{
    RunMakeDatabase(0);
    const auto fresh = rawdb::File(kWorkingDatabase).Dump();

    AddProjectRows();
    rawdb::File(kWorkingDatabase, true).Exec("CREATE TABLE \"extra\"(a INTEGER)");
    SetProjectSideState();
    Program().SharedDatabase = dao::Database::Open(kWorkingDatabase);
    Program().SharedRecordset = Program().SharedDatabase->OpenRecordset("節点座標1");
    Program().WorkRecordset = Program().SharedDatabase->OpenRecordset("基本データ");

    RunMakeDatabase(GetParam());
    EXPECT_FALSE(Program().SharedDatabase);
    EXPECT_FALSE(Program().SharedRecordset);
    EXPECT_FALSE(Program().WorkRecordset);
    EXPECT_EQ(rawdb::File(kWorkingDatabase).Dump(), fresh);
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), QStringLiteral("False"));
    EXPECT_FALSE(reg::HasSetting("Mainmenu", "DataName"));
    EXPECT_FALSE(QFile::exists("pif"));
}

INSTANTIATE_TEST_SUITE_P(Modes, CreatePass, ::testing::Values(int16_t(0), int16_t(2), int16_t(-1)));

// The upgrade pass on files that lack some tables. Tables are dropped from a
// fresh project with user rows, then `prepare` runs on the file.
struct UpgradeCase {
    const char* label = "";
    QStringList drop{};
    QStringList prepare{};
    QString unreadable{};   // a table `prepare` leaves present but unreadable
    QString refilled{};     // a grade table `prepare` leaves empty
};

void PrintTo(const UpgradeCase& c, std::ostream* os) { *os << c.label; }

class UpgradePass : public ::testing::TestWithParam<UpgradeCase> {};

TEST_P(UpgradePass, AddsOnlyMissingSectionDesignTablesAndKeepsEverythingElse)
{
    const UpgradeCase& c = GetParam();
    MakeProjectFile(c.drop, c.prepare);
    SetProjectSideState();
    const auto before = rawdb::File(kWorkingDatabase).Dump();
    if (!c.unreadable.isEmpty()) {
        auto db = dao::Database::Open(kWorkingDatabase);
        EXPECT_THROW(db->OpenRecordset(c.unreadable), rt::Error);
        db->Close();
    }
    // Start-up's probe leaves its connection open for the upgrade pass.
    Program().SharedDatabase = dao::Database::Open(kWorkingDatabase);

    RunMakeDatabase(1);

    EXPECT_FALSE(Program().SharedDatabase);
    EXPECT_EQ(reg::GetSetting("Mainmenu", "DataName"), QStringLiteral("old.lzh"));
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), QStringLiteral("True"));
    EXPECT_EQ(testenv::ReadFile("pif"), QByteArray(64, 'x'));

    rawdb::File raw(kWorkingDatabase);
    const auto after = raw.Dump();
    std::set<QString> expectedTables;
    for (const auto& [name, text] : before) {
        expectedTables.insert(name);
        auto it = after.find(name);
        ASSERT_NE(it, after.end()) << name.toStdString();
        if (name == c.refilled) continue;
        EXPECT_EQ(it->second, text) << "changed: " << name.toStdString();
    }
    for (const QString& name : schema::SectionDesignTableNames()) {
        if (before.count(name) && name != c.refilled) continue;
        SCOPED_TRACE(name.toStdString());
        expectedTables.insert(name);
        const auto& def = schema::Table(name);
        auto cols = raw.Columns(name);
        ASSERT_EQ(cols.size(), def.fields.size());
        for (size_t i = 0; i < cols.size(); ++i) EXPECT_EQ(cols[i].first, def.fields[i].name);
        if (name == schema::kSteelGradeTable)
            EXPECT_EQ(raw.Rows(name), ExpectedRows(schema::SteelGradeRows()));
        else if (name == schema::kBarGradeTable)
            EXPECT_EQ(raw.Rows(name), ExpectedRows(schema::BarGradeRows()));
        else
            EXPECT_TRUE(raw.Rows(name).empty());
    }
    // A missing base table stays missing.
    std::set<QString> tables;
    for (const auto& [name, text] : after) tables.insert(name);
    EXPECT_EQ(tables, expectedTables);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UpgradePass,
    ::testing::Values(
        UpgradeCase{.label = "OlderVersionWithBaseTablesOnly",
                    .drop = {"VUP01断面設計共通事項", "VUP01荷重名称組合せ", "VUP01鋼材材種強度", "VUP01鉄筋材種強度",
                             "VUP01鉄筋材種サイズ"}},
        // The steel grades keep exactly the rows the user left them.
        UpgradeCase{.label = "LacksOnlyTheBarGrades",
                    .drop = {"VUP01鉄筋材種強度"},
                    .prepare = {"DELETE FROM \"VUP01鋼材材種強度\" WHERE \"材種名\" = 'SS400'",
                                "INSERT INTO \"VUP01鋼材材種強度\" VALUES ('SS490', 275, 2800, 20.5)"}},
        UpgradeCase{.label = "Complete"},
        // A grade table left empty (by a pass that ended early) gets its rows.
        UpgradeCase{.label = "EmptyGradeTable",
                    .drop = {"VUP01断面設計共通事項"},
                    .prepare = {"DELETE FROM \"VUP01鉄筋材種強度\""},
                    .refilled = "VUP01鉄筋材種強度"},
        UpgradeCase{.label = "LacksALoadPlacementTable", .drop = {"荷重配置"}},
        // A grade table that is there but unreadable is neither created again
        // nor filled; the other missing tables are still added.
        UpgradeCase{.label = "UnreadableGradeTable",
                    .drop = {"VUP01鋼材材種強度", "VUP01鉄筋材種サイズ"},
                    .prepare = {"CREATE TABLE \"VUP01鋼材材種強度\"(\"材種名\" TEXT PRIMARY KEY, \"x\" FLOAT) WITHOUT ROWID"},
                    .unreadable = "VUP01鋼材材種強度"}),
    [](const auto& info) { return std::string(info.param.label); });

// A pass that dies at any write leaves the file as it was before the pass or
// as the finished pass makes it, never part of the way.
struct KilledCase {
    const char* label;
    int16_t mode;
    QStringList drop;
};

void PrintTo(const KilledCase& c, std::ostream* os) { *os << c.label; }

class PassKilledMidway : public ::testing::TestWithParam<KilledCase> {};

// Runs the pass in a child process that dies at its `writes`-th write; false
// when the pass ran to its end.
bool DiesInPass(int16_t mode, int writes)
{
    const pid_t child = fork();
    if (child == 0) {
        crashvfs::DieAfter(writes);
        try {
            MakeDatabase(mode);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 1) << "the pass failed at write " << writes;
    return WEXITSTATUS(status) == crashvfs::kCrashed;
}

TEST_P(PassKilledMidway, LeavesTheOldOrTheFinishedDatabase)
{
    const KilledCase& c = GetParam();
    MakeProjectFile(c.drop);
    const QByteArray startingBytes = testenv::ReadFile(kWorkingDatabase);
    const auto before = rawdb::File(kWorkingDatabase).Dump();
    RunMakeDatabase(c.mode);
    const auto finished = rawdb::File(kWorkingDatabase).Dump();
    ASSERT_NE(before, finished);

    int deaths = 0;
    for (int writes = 0; writes < 1000; ++writes) {
        for (const QString& f : QDir().entryList(QDir::Files)) QFile::remove(f);
        ASSERT_TRUE(testenv::WriteFile(kWorkingDatabase, startingBytes));
        const bool died = DiesInPass(c.mode, writes);
        // What the next start finds, after a journal is played back.
        const auto now = rawdb::File(kWorkingDatabase, true).Dump();
        EXPECT_TRUE(now == before || now == finished) << "died at write " << writes;
        // The temporaries go at the next start; a journal that was never
        // committed stays harmless beside the file.
        RemoveLeftoverTemporaries();
        QStringList files = QDir().entryList(QDir::Files);
        files.removeOne(kWorkingDatabase + "-journal");
        EXPECT_EQ(files, QStringList{kWorkingDatabase}) << "died at write " << writes;
        if (!died) break;
        ++deaths;
    }
    EXPECT_GT(deaths, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Passes, PassKilledMidway,
    ::testing::Values(KilledCase{"Create", 0, {}},
                      KilledCase{"Upgrade", 1,
                                 {"VUP01断面設計共通事項", "VUP01荷重名称組合せ", "VUP01鋼材材種強度",
                                  "VUP01鉄筋材種強度", "VUP01鉄筋材種サイズ"}}),
    [](const auto& info) { return std::string(info.param.label); });

// Failures reach the caller as errors, and no connection is left open.
struct FailureCase {
    const char* label;
    int16_t mode;
    void (*prepare)();
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }

class MakeDatabaseFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(MakeDatabaseFailure, RaisesAndLeavesNoConnection)
{
    GetParam().prepare();
    EXPECT_THROW(RunMakeDatabase(GetParam().mode), rt::Error);
    EXPECT_FALSE(Program().SharedDatabase);
    EXPECT_TRUE(QDir().entryList({kBuildingPrefix + "*"}, QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakeDatabaseFailure,
    ::testing::Values(
        // A folder in the way stands for a file that cannot be deleted.
        FailureCase{"DatabaseCannotBeDeleted", 0, [] {
                        QDir().mkpath("Zelkova.mdb/inside");
                    }},
        FailureCase{"PreviewFileCannotBeDeleted", 0, [] {
                        QDir().mkpath("pif/inside");
                    }},
        FailureCase{"UpgradeWithoutAFile", 1, [] {}},
        FailureCase{"UpgradeOnAFileThatIsNoDatabase", 1, [] {
                        ASSERT_TRUE(testenv::WriteFile("Zelkova.mdb", QByteArray("LHA archive, not a database\n").repeated(200)));
                    }}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
