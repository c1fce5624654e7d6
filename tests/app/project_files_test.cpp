// Project open and save through LZH archives and the compaction, driven from
// outside through zelkova-probe; archives checked with the lhasa command.
#include "common/QtPrint.h"
#include "common/TestEnv.h"
#include "core/MakeDatabase.h"
#include "platform/Database.h"
#include "platform/LzhTestTools.h"
#include "platform/SafeFileFaults.h"
#include "platform/Settings.h"
#include "platform/lzh/LzhArchive.h"
#include "app/ProjectFiles.h"
#include "database/WorkingFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include "common/Probe.h"

using rt::Variant;
using namespace lzhtest;
using testenv::ReadFile;
using testenv::WriteFile;

using testenv::Matching;
using testenv::RunProbe;
using testenv::Value;

namespace {

using testenv::FilesIn;

// A working folder with a project database made by the program's own layer.
QString MakeProject(const QString& name, const QString& project, int nodes = 3)
{
    const QString dir = testenv::MakeDir(name);
    {
        const testenv::InFolder in(dir);
        int16_t mode = 0;
        MakeDatabase(mode);
    }
    auto db = dao::Database::Open(dir + QStringLiteral("/Zelkova.mdb"));
    auto rs = db->OpenRecordset(QStringLiteral("基本データ"));
    rs->AddNew();
    rs->SetField(QStringLiteral("工事名"), Variant::Text(project));
    rs->SetField(QStringLiteral("設計者"), Variant::Text(QStringLiteral("設計 太郎")));
    rs->SetField(QStringLiteral("Unit"), Variant::Text(QStringLiteral("True")));
    rs->SetField(QStringLiteral("Case"), Variant::Integer(1));
    rs->Update();
    rs->Close();
    auto nodesRs = db->OpenRecordset(QStringLiteral("節点座標1"));
    for (int i = 1; i <= nodes; ++i) {
        nodesRs->AddNew();
        nodesRs->SetField(QStringLiteral("No_"), Variant::Integer(int16_t(i)));
        nodesRs->SetField(QStringLiteral("順"), Variant::Integer(int16_t(i)));
        nodesRs->Update();
    }
    nodesRs->Close();
    db->Close();
    return dir;
}

QString IntegrityCheck(const QString& path)
{
    sqlite3* db = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

const QStringList kProjectSettings = {QStringLiteral("setting:Mainmenu/DataPass"), QStringLiteral("setting:Mainmenu/DataName"),
                                      QStringLiteral("setting:Public/AnalyzeFinish")};

}  // namespace

TEST(ProjectFiles, SavedArchiveIsARealLzhFileHoldingTheCompactedDatabase)
{
    const QString dir = MakeProject(QStringLiteral("work"), QStringLiteral("保存テスト工事"), 120);
    {
        // Space freed inside the file, which the save's compaction gives back.
        auto db = dao::Database::Open(dir + QStringLiteral("/Zelkova.mdb"));
        db->Execute(QStringLiteral("CREATE TABLE junk (x TEXT)"));
        for (int i = 0; i < 100; ++i) db->Execute(QStringLiteral("INSERT INTO junk VALUES (hex(randomblob(2000)))"));
        db->Execute(QStringLiteral("DROP TABLE junk"));
        db->Close();
    }
    const qint64 before = QFileInfo(dir + QStringLiteral("/Zelkova.mdb")).size();
    const QString archive = dir + QStringLiteral("/../保存データ/P1.lzh");
    const QStringList out = RunProbe(dir, QStringList{QStringLiteral("save:") + archive} + kProjectSettings);
    const QString full = QFileInfo(archive).absoluteFilePath();

    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty()) << out.join('\n').toStdString();
    // The dialog starts in 保存データ beside the working folder and proposes the project name.
    EXPECT_EQ(Value(out, QStringLiteral("dialog")),
              QStringLiteral("工事データを保存する|%1|保存テスト工事").arg(QFileInfo(dir + "/../保存データ").absoluteFilePath()));
    EXPECT_EQ(Value(out, QStringLiteral("setting")), QStringLiteral("Mainmenu/DataPass=") + full);
    EXPECT_TRUE(out.contains(QStringLiteral("setting=Mainmenu/DataName=P1.lzh")));
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/Zelkova2.mdb")));
    EXPECT_LT(QFileInfo(dir + QStringLiteral("/Zelkova.mdb")).size(), before / 2);
    EXPECT_EQ(IntegrityCheck(dir + QStringLiteral("/Zelkova.mdb")), QStringLiteral("ok"));

    std::vector<lzh::MemberInfo> members;
    ASSERT_EQ(lzh::ListMembers(full, members), lzh::Status::Ok);
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(members[0].name, QStringLiteral("Zelkova.mdb"));

    if (Lhasa().isEmpty()) GTEST_SKIP() << "lhasa is not installed";
    const RunResult t = RunLhasa({QStringLiteral("t"), full});
    EXPECT_TRUE(t.output.contains("Tested") && !t.output.contains("rror")) << t.output.constData();
    EXPECT_EQ(LhasaNames(full), QStringList{QStringLiteral("Zelkova.mdb")});
    const QString x = testenv::MakeDir(QStringLiteral("x"));
    RunLhasa({QStringLiteral("e"), full}, x);
    EXPECT_EQ(testenv::FileHash(x + QStringLiteral("/Zelkova.mdb")), testenv::FileHash(dir + QStringLiteral("/Zelkova.mdb")));
    EXPECT_EQ(IntegrityCheck(x + QStringLiteral("/Zelkova.mdb")), QStringLiteral("ok"));
}

TEST(ProjectFiles, SaveOpenSaveRoundTripRestoresTheProject)
{
    const QString a = MakeProject(QStringLiteral("a"), QStringLiteral("工事Ａ"), 7);
    const QString b = MakeProject(QStringLiteral("b"), QStringLiteral("工事Ｂ"), 2);
    const QString archive = testenv::MakeDir(QStringLiteral("arch")) + QStringLiteral("/A.lzh");
    // A "vpf" of the folder that opens is dropped with the old project.
    ASSERT_TRUE(WriteFile(b + QStringLiteral("/vpf"), "view"));

    RunProbe(a, {QStringLiteral("save:") + archive});
    const QString savedHash = testenv::FileHash(a + QStringLiteral("/Zelkova.mdb"));
    const QStringList out = RunProbe(b, QStringList{QStringLiteral("dump"), QStringLiteral("open:") + archive,
                                                    QStringLiteral("dump")} + kProjectSettings);
    EXPECT_EQ(Matching(out, QStringLiteral("project=")),
              (QStringList{QStringLiteral("project=工事Ｂ"), QStringLiteral("project=工事Ａ")}));
    EXPECT_EQ(Matching(out, QStringLiteral("enabled=")), (QStringList{"enabled=1", "enabled=1"}));
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty()) << out.join('\n').toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("setting=Mainmenu/DataPass=") + archive));
    EXPECT_TRUE(out.contains(QStringLiteral("setting=Mainmenu/DataName=A.lzh")));
    EXPECT_TRUE(out.contains(QStringLiteral("setting=Public/AnalyzeFinish=False")));
    EXPECT_EQ(testenv::FileHash(b + QStringLiteral("/Zelkova.mdb")), savedHash);
    EXPECT_FALSE(QFileInfo::exists(b + QStringLiteral("/vpf")));
    EXPECT_EQ(FilesIn(b), QStringList{QStringLiteral("Zelkova.mdb")});

    // Saving again from the second folder gives the same project back.
    const QString again = QFileInfo(archive).absolutePath() + QStringLiteral("/A2.lzh");
    const QStringList out2 = RunProbe(b, {QStringLiteral("save:") + again});
    // The save dialog starts at the archive last opened and proposes its name.
    EXPECT_EQ(Value(out2, QStringLiteral("dialog")), QStringLiteral("工事データを保存する|%1|A.lzh").arg(archive));
    const QString c = testenv::MakeDir(QStringLiteral("c"));
    ASSERT_EQ(lzh::ExtractMember(again, c + QStringLiteral("/Zelkova.mdb")), lzh::Status::Ok);
    auto db = dao::Database::Open(c + QStringLiteral("/Zelkova.mdb"));
    auto rs = db->OpenRecordset(QStringLiteral("基本データ"));
    EXPECT_EQ(rs->Field(QStringLiteral("工事名")).toStringOrEmpty(), QStringLiteral("工事Ａ"));
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("節点座標1"))->RecordCount(), 7);
}

TEST(ProjectFiles, SavingKeepsTheArchivesOtherMembers)
{
    const QString dir = MakeProject(QStringLiteral("work"), QStringLiteral("追加保存"));
    const QString archive = testenv::MakeDir(QStringLiteral("arch")) + QStringLiteral("/two.lzh");
    ASSERT_TRUE(QFile::copy(FixturePath(QStringLiteral("sjis_lv1.lzh")), archive));
    QFile::setPermissions(archive, QFile::ReadOwner | QFile::WriteOwner);
    RunProbe(dir, {QStringLiteral("save:") + archive});
    std::vector<lzh::MemberInfo> members;
    ASSERT_EQ(lzh::ListMembers(archive, members), lzh::Status::Ok);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].name, QStringLiteral("メモ.txt"));
    EXPECT_EQ(members[1].name, QStringLiteral("Zelkova.mdb"));
    ASSERT_EQ(lzh::ExtractMember(archive, QStringLiteral("memo"), QStringLiteral("メモ.txt")), lzh::Status::Ok);
    EXPECT_EQ(ReadFile(QStringLiteral("memo")), QStringLiteral("メモです\n").toUtf8());
}

TEST(ProjectFiles, AFailedSaveChangesNothingAndSaysSo)
{
    const QString dir = MakeProject(QStringLiteral("work"), QStringLiteral("失敗する保存"));
    const QString arch = testenv::MakeDir(QStringLiteral("arch"));
    const QByteArray notes = "not an archive\n";
    ASSERT_TRUE(WriteFile(arch + QStringLiteral("/notes.lzh"), notes));
    const QStringList out = RunProbe(dir, QStringList{QStringLiteral("save:") + arch + QStringLiteral("/notes.lzh"),
                                                      QStringLiteral("dump")} + kProjectSettings);
    const QStringList messages = Matching(out, QStringLiteral("message="));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("message=exclamation|工事データを保存できませんでした。")));
    EXPECT_EQ(ReadFile(arch + QStringLiteral("/notes.lzh")), notes);
    EXPECT_TRUE(out.contains(QStringLiteral("setting=Mainmenu/DataPass=<absent>")));
    EXPECT_TRUE(out.contains(QStringLiteral("setting=Mainmenu/DataName=<absent>")));
    EXPECT_EQ(Value(out, QStringLiteral("enabled")), QStringLiteral("1"));
    EXPECT_EQ(FilesIn(arch), QStringList{QStringLiteral("notes.lzh")});
}

TEST(ProjectFiles, OnAFullDiskSaveAndOpenKeepEveryFileAndSaySo)
{
    const QString dir = MakeProject(QStringLiteral("work"), QStringLiteral("満杯"), 100);
    const QString arch = testenv::MakeDir(QStringLiteral("arch"));
    const QString archive = arch + QStringLiteral("/P.lzh");
    RunProbe(dir, {QStringLiteral("save:") + archive});
    const QByteArray saved = ReadFile(archive);
    std::vector<lzh::MemberInfo> members;
    ASSERT_EQ(lzh::ListMembers(archive, members), lzh::Status::Ok);
    const qint64 databaseSize = qint64(members.at(0).unpackedSize);
    {
        // More data: the next archive is larger than the one on disk.
        auto db = dao::Database::Open(dir + QStringLiteral("/Zelkova.mdb"));
        for (int i = 0; i < 200; ++i)
            db->Execute(QStringLiteral("INSERT INTO \"節点座標1\" (\"No_\", \"X\", \"順\") VALUES (?, ?, ?)"),
                        {Variant::Integer(int16_t(200 + i)), Variant::Double(i * 0.37), Variant::Integer(int16_t(200 + i))});
        db->Close();
    }
    RunProbe(dir, {QStringLiteral("save:") + arch + QStringLiteral("/size.lzh")});
    const qint64 archiveSize = QFileInfo(arch + QStringLiteral("/size.lzh")).size();
    ASSERT_GT(archiveSize, saved.size());
    const QString project = testenv::FileHash(dir + QStringLiteral("/Zelkova.mdb"));
    const QStringList settings = Matching(RunProbe(dir, kProjectSettings), QStringLiteral("setting="));

    // Saving over the archive and to a new one; the disk is full one byte short.
    QStringList out;
    {
        FileSizeLimit full(archiveSize - 1);
        out = RunProbe(dir, QStringList{QStringLiteral("save:") + archive, QStringLiteral("save:") + arch + QStringLiteral("/new.lzh"),
                                        QStringLiteral("dump")} + kProjectSettings);
    }
    const QStringList messages = Matching(out, QStringLiteral("message="));
    ASSERT_EQ(messages.size(), 2) << out.join('\n').toStdString();
    for (const QString& m : messages)
        EXPECT_TRUE(m.startsWith(QStringLiteral("message=exclamation|工事データを保存できませんでした。"))) << m.toStdString();
    EXPECT_EQ(ReadFile(archive), saved);
    EXPECT_EQ(FilesIn(arch), (QStringList{QStringLiteral("P.lzh"), QStringLiteral("size.lzh")}));
    EXPECT_EQ(Matching(out, QStringLiteral("setting=")), settings);
    EXPECT_EQ(Value(out, QStringLiteral("enabled")), QStringLiteral("1"));
    EXPECT_EQ(testenv::FileHash(dir + QStringLiteral("/Zelkova.mdb")), project);

    // Opening it where the extracted database does not fit.
    {
        FileSizeLimit full(databaseSize - 1);
        out = RunProbe(dir, {QStringLiteral("open:") + archive, QStringLiteral("dump")});
    }
    EXPECT_EQ(Matching(out, QStringLiteral("message=")),
              QStringList{QStringLiteral("message=exclamation|工事データを読み込めませんでした。\\n作業フォルダに書き込めません。")});
    EXPECT_EQ(testenv::FileHash(dir + QStringLiteral("/Zelkova.mdb")), project);
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Zelkova.mdb")});
}

TEST(ProjectFiles, ArchivesOfAnotherToolOpenByteIdentical)
{
    const QString dir = MakeProject(QStringLiteral("work"), QStringLiteral("元の工事"));
    const QString fixtureHash = testenv::FileHash(FixturePath(QStringLiteral("Zelkova.mdb")));
    for (const char* f : {"lv0_lh5.lzh", "lv0_lh6.lzh", "lv0_lh7.lzh", "lv1_lh0.lzh", "lv1_lh5.lzh", "lv1_lh6.lzh",
                          "lv1_lh7.lzh", "lv2_lh5.lzh", "lv2_lh6.lzh", "lv2_lh7.lzh", "sjis_lv0.lzh", "sjis_lv1.lzh"}) {
        SCOPED_TRACE(f);
        const QStringList out = RunProbe(dir, {QStringLiteral("open:") + FixturePath(QString::fromLatin1(f)),
                                               QStringLiteral("dump")});
        EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty()) << out.join('\n').toStdString();
        EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("他ツールで圧縮した工事"));
        EXPECT_EQ(testenv::FileHash(dir + QStringLiteral("/Zelkova.mdb")), fixtureHash);
    }
}

TEST(ProjectFiles, AFailedOpenLeavesTheProjectAsItWas)
{
    const QString dir = MakeProject(QStringLiteral("work"), QStringLiteral("残る工事"));
    const QString src = testenv::MakeDir(QStringLiteral("src"));
    ASSERT_TRUE(WriteFile(dir + QStringLiteral("/vpf"), "view"));
    // Settings from an earlier save, which a failed open must not change.
    RunProbe(dir, {QStringLiteral("save:") + src + QStringLiteral("/earlier.lzh"), QStringLiteral("analyse")});
    const QStringList settings = Matching(RunProbe(dir, kProjectSettings), QStringLiteral("setting="));
    ASSERT_TRUE(settings.contains(QStringLiteral("setting=Mainmenu/DataPass=") + src + QStringLiteral("/earlier.lzh")));
    const QString hash = testenv::FileHash(dir + QStringLiteral("/Zelkova.mdb"));

    // Archives that yield no project database.
    ASSERT_TRUE(WriteFile(src + QStringLiteral("/text.lzh"), "ZELKOVA notes, not an archive\r\n"));
    ASSERT_TRUE(WriteFile(src + QStringLiteral("/readme.txt"), "read me"));
    ASSERT_EQ(lzh::AddMember(src + QStringLiteral("/nomember.lzh"), src + QStringLiteral("/readme.txt"),
                             QStringLiteral("readme.txt")), lzh::Status::Ok);
    QByteArray flipped = ReadFile(FixturePath(QStringLiteral("lv1_lh0.lzh")));
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x01);
    ASSERT_TRUE(WriteFile(src + QStringLiteral("/flipped.lzh"), flipped));
    ASSERT_EQ(lzh::AddMember(src + QStringLiteral("/notsqlite.lzh"), src + QStringLiteral("/readme.txt")), lzh::Status::Ok);
    {
        sqlite3* other = nullptr;
        sqlite3_open(QFile::encodeName(src + QStringLiteral("/other.db")).constData(), &other);
        sqlite3_exec(other, "CREATE TABLE t (x); INSERT INTO t VALUES (1);", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    }
    ASSERT_EQ(lzh::AddMember(src + QStringLiteral("/foreigndb.lzh"), src + QStringLiteral("/other.db")), lzh::Status::Ok);
    {
        // A database with only the basic data of a project.
        auto db = dao::Database::Create(src + QStringLiteral("/basic.db"));
        db->Execute(QStringLiteral("CREATE TABLE \"基本データ\" (\"工事名\" TEXT)"));
        db->Execute(QStringLiteral("INSERT INTO \"基本データ\" VALUES ('別の何か')"));
        db->Close();
    }
    ASSERT_EQ(lzh::AddMember(src + QStringLiteral("/basiconly.lzh"), src + QStringLiteral("/basic.db")), lzh::Status::Ok);

    struct Case { const char* file; const char* reason; };
    for (const Case& c : {Case{"text.lzh", "圧縮ファイル（LZH形式）ではありません。"},
                          Case{"nomember.lzh", "工事データ（Zelkova.mdb）が含まれていません。"},
                          Case{"flipped.lzh", "壊れています。"},
                          Case{"notsqlite.lzh", "このプログラムの工事データではありません。"},
                          Case{"foreigndb.lzh", "このプログラムの工事データではありません。"},
                          Case{"basiconly.lzh", "このプログラムの工事データではありません。"}}) {
        SCOPED_TRACE(c.file);
        const QStringList out = RunProbe(dir, QStringList{QStringLiteral("open:") + src + "/" + c.file,
                                                          QStringLiteral("dump")} + kProjectSettings);
        const QStringList messages = Matching(out, QStringLiteral("message="));
        ASSERT_EQ(messages.size(), 1) << out.join('\n').toStdString();
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral("message=exclamation|工事データを読み込めませんでした。\\n")));
        EXPECT_TRUE(messages[0].endsWith(QString::fromUtf8(c.reason))) << messages[0].toStdString();
        EXPECT_EQ(testenv::FileHash(dir + QStringLiteral("/Zelkova.mdb")), hash);
        EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("残る工事"));
        EXPECT_EQ(Value(out, QStringLiteral("enabled")), QStringLiteral("1"));
        EXPECT_EQ(Matching(out, QStringLiteral("setting=")), settings);
        EXPECT_EQ(FilesIn(dir), (QStringList{QStringLiteral("Zelkova.mdb"), QStringLiteral("vpf")}));
    }
}

// The project opened brings results that are not current: when the flag
// cannot first be stored False, the project before stays, with its results
// as current as they were, and the user is told.
TEST(ProjectFiles, NoProjectOpensWhileTheResultsFlagCannotBeStored)
{
    const QString other = MakeProject(QStringLiteral("other"), QStringLiteral("開かれない工事"));
    const QString archive = testenv::MakeDir(QStringLiteral("src")) + QStringLiteral("/other.lzh");
    ASSERT_EQ(lzh::AddMember(archive, other + QStringLiteral("/Zelkova.mdb")), lzh::Status::Ok);
    const QString dir = MakeProject(QStringLiteral("work"), QStringLiteral("残る工事"));
    QDir::setCurrent(dir);
    const QString hash = testenv::FileHash(QStringLiteral("Zelkova.mdb"));
    reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("True"));
    ASSERT_TRUE(reg::Sync());

    ui::ScriptedServices& s = testenv::ResetScript();
    s.openFiles.push_back(archive);
    {
        files::InjectedWriteFailure full(files::FailingStep::Write, 0, reg::FilePath());
        OpenProject();
    }
    ASSERT_EQ(s.messages.size(), 1);
    EXPECT_TRUE(s.messages[0].startsWith(QStringLiteral("message=exclamation|設定を保存できないため、工事データを読み込めません。\r\n")))
        << s.messages[0].toStdString();
    EXPECT_EQ(testenv::FileHash(QStringLiteral("Zelkova.mdb")), hash);
    EXPECT_EQ(testenv::FilesIn(dir), QStringList{QStringLiteral("Zelkova.mdb")});
    EXPECT_EQ(testenv::SettingOnDisk(QStringLiteral("AnalyzeFinish")), QStringLiteral("True"));
    EXPECT_FALSE(s.busy);
}

TEST(ProjectFiles, CancelledDialogsChangeNothing)
{
    const QString dir = MakeProject(QStringLiteral("work"), QStringLiteral("取消"));
    ASSERT_TRUE(WriteFile(dir + QStringLiteral("/vpf"), "view"));
    const QString hash = testenv::FileHash(dir + QStringLiteral("/Zelkova.mdb"));
    const QStringList out = RunProbe(dir, QStringList{QStringLiteral("open:"), QStringLiteral("save:")} + kProjectSettings);
    EXPECT_EQ(Matching(out, QStringLiteral("dialog=")).size(), 2);
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty());
    EXPECT_EQ(testenv::FileHash(dir + QStringLiteral("/Zelkova.mdb")), hash);
    EXPECT_TRUE(out.contains(QStringLiteral("setting=Mainmenu/DataPass=<absent>")));
    EXPECT_EQ(FilesIn(dir), (QStringList{QStringLiteral("Zelkova.mdb"), QStringLiteral("vpf")}));
}

// ---- compaction, in this process ---------------------------------------------

TEST(ProjectFiles, CompactionReplacesTheDatabaseOnlyWhenNothingHoldsIt)
{
    MakeProject(QStringLiteral("w"), QStringLiteral("圧縮"), 50);
    QDir::setCurrent(testenv::WorkDir() + QStringLiteral("/w"));
    // Bloat the file, then free the space: compaction must shrink it.
    {
        auto db = dao::Database::Open(QStringLiteral("Zelkova.mdb"));
        db->Execute(QStringLiteral("CREATE TABLE junk (x TEXT)"));
        for (int i = 0; i < 200; ++i) db->Execute(QStringLiteral("INSERT INTO junk VALUES (hex(randomblob(2000)))"));
        db->Execute(QStringLiteral("DROP TABLE junk"));
        db->Close();
    }
    const qint64 before = QFileInfo(QStringLiteral("Zelkova.mdb")).size();

    // A connection still open: nothing happens, and an old Zelkova2.mdb never comes back.
    ASSERT_TRUE(WriteFile(QStringLiteral("Zelkova2.mdb"), "stale leftover"));
    auto holder = dao::Database::Open(QStringLiteral("Zelkova.mdb"));
    const QString hash = testenv::FileHash(QStringLiteral("Zelkova.mdb"));
    CompactWorkingDatabase();
    EXPECT_EQ(testenv::FileHash(QStringLiteral("Zelkova.mdb")), hash);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("Zelkova2.mdb")));
    holder->Close();

    CompactWorkingDatabase();
    EXPECT_LT(QFileInfo(QStringLiteral("Zelkova.mdb")).size(), before);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("Zelkova2.mdb")));
    EXPECT_EQ(IntegrityCheck(QStringLiteral("Zelkova.mdb")), QStringLiteral("ok"));
    auto db = dao::Database::Open(QStringLiteral("Zelkova.mdb"));
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("節点座標1"))->RecordCount(), 50);
    EXPECT_EQ(db->TableNames().size(), 29);
    db->Close();

    // The compacted file takes the place of the old one with its permissions.
    for (const mode_t mode : {0444, 0600}) {
        ASSERT_EQ(chmod("Zelkova.mdb", mode), 0);
        struct stat old {}, compacted {};
        ASSERT_EQ(stat("Zelkova.mdb", &old), 0);
        CompactWorkingDatabase();
        ASSERT_EQ(stat("Zelkova.mdb", &compacted), 0);
        EXPECT_NE(compacted.st_ino, old.st_ino);
        EXPECT_EQ(compacted.st_mode & 07777, mode);
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("Zelkova2.mdb")));

    // A working database that is not a database is left alone.
    ASSERT_TRUE(WriteFile(QStringLiteral("Zelkova.mdb"), "garbage"));
    CompactWorkingDatabase();
    EXPECT_EQ(ReadFile(QStringLiteral("Zelkova.mdb")), QByteArray("garbage"));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("Zelkova2.mdb")));
}

// While another copy of the program compacts in the same folder, its
// "Zelkova2.mdb" and the working database it compacts are left alone.
TEST(ProjectFiles, CompactionLeavesTheFilesOfOneThatRuns)
{
    MakeProject(QStringLiteral("w"), QStringLiteral("圧縮"));
    const testenv::InFolder in(testenv::WorkDir() + QStringLiteral("/w"));
    ASSERT_TRUE(WriteFile(QStringLiteral("Zelkova2.mdb"), "being written"));
    const QString hash = testenv::FileHash(QStringLiteral("Zelkova.mdb"));
    {
        const CompactionLock other;
        ASSERT_TRUE(other.Held());
        CompactWorkingDatabase();
        EXPECT_EQ(ReadFile(QStringLiteral("Zelkova2.mdb")), QByteArray("being written"));
        EXPECT_EQ(testenv::FileHash(QStringLiteral("Zelkova.mdb")), hash);
    }
    // Once it is over, a leftover of it goes.
    CompactWorkingDatabase();
    EXPECT_EQ(FilesIn(), QStringList{QStringLiteral("Zelkova.mdb")});
}

TEST(ProjectFiles, GetProjectFolderFallsBackToTheFolderBesideTheWorkingFolder)
{
    const QString work = testenv::MakeDir(QStringLiteral("w"));
    QDir::setCurrent(work);
    const QString fallback = QFileInfo(work + QStringLiteral("/../保存データ")).absoluteFilePath();
    QString path;
    GetProjectFolder(path);
    EXPECT_EQ(path, fallback);
    EXPECT_TRUE(QFileInfo(fallback).isDir());

    ASSERT_TRUE(WriteFile(fallback + QStringLiteral("/last.lzh"), "x"));
    reg::SaveSetting(QStringLiteral("MainMenu"), QStringLiteral("DataPass"), fallback + QStringLiteral("/last.lzh"));
    GetProjectFolder(path);
    EXPECT_EQ(path, fallback + QStringLiteral("/last.lzh"));
    QFile::remove(fallback + QStringLiteral("/last.lzh"));
    GetProjectFolder(path);
    EXPECT_EQ(path, fallback);
}

TEST(ProjectFiles, DialogsOfferLzhArchivesInTheProjectFolder)
{
    const QString work = testenv::MakeDir(QStringLiteral("w"));
    QDir::setCurrent(work);
    const QString folder = QFileInfo(work + QStringLiteral("/../保存データ")).absoluteFilePath();
    ui::ScriptedServices& s = testenv::ResetScript();
    OpenProject();  // both dialogs cancelled: nothing else happens
    SaveProject();
    ASSERT_EQ(s.dialogs.size(), 2u);
    const ui::FileDialogRequest& open = s.dialogs[0];
    EXPECT_EQ(open.title, QStringLiteral("工事データを読み込む"));
    EXPECT_EQ(open.filter, QStringLiteral("圧縮ファイル|*.lzh"));
    EXPECT_TRUE(open.mustExist);
    EXPECT_EQ(open.initialPath, folder);
    const ui::FileDialogRequest& save = s.dialogs[1];
    EXPECT_EQ(save.title, QStringLiteral("工事データを保存する"));
    EXPECT_EQ(save.filter, QStringLiteral("圧縮ファイル|*.lzh"));
    EXPECT_EQ(save.defaultExtension, QStringLiteral("lzh"));
    EXPECT_TRUE(save.confirmOverwrite);
    EXPECT_EQ(save.initialPath, folder);
    EXPECT_TRUE(s.messages.isEmpty());
    EXPECT_FALSE(s.busy);
    EXPECT_EQ(FilesIn(work), QStringList{});
}

TEST(ProjectFiles, AnOlderProjectGainsTheSectionDesignTablesAndAStaleJournalIsNotPlayedIntoIt)
{
    const QString old = MakeProject(QStringLiteral("older"), QStringLiteral("旧工事"), 4);
    {
        auto db = dao::Database::Open(old + QStringLiteral("/Zelkova.mdb"));
        for (const char* t : {"VUP01断面設計共通事項", "VUP01荷重名称組合せ", "VUP01鋼材材種強度", "VUP01鉄筋材種強度",
                              "VUP01鉄筋材種サイズ"})
            db->Execute(QStringLiteral("DROP TABLE ") + dao::QuoteIdent(QString::fromUtf8(t)));
        db->Close();
    }
    const QString archive = testenv::MakeDir(QStringLiteral("olderarch")) + QStringLiteral("/old.lzh");
    ASSERT_EQ(lzh::AddMember(archive, old + QStringLiteral("/Zelkova.mdb")), lzh::Status::Ok);

    // The folder that opens it holds a journal left behind by a crash.
    const QString work = MakeProject(QStringLiteral("crashed"), QStringLiteral("今の工事"));
    ASSERT_TRUE(WriteFile(work + QStringLiteral("/Zelkova.mdb-journal"), QByteArray(2048, '\x5a')));
    const QStringList out = RunProbe(work, {QStringLiteral("open:") + archive, QStringLiteral("dump")});
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty()) << out.join('\n').toStdString();
    EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("旧工事"));
    EXPECT_FALSE(QFileInfo::exists(work + QStringLiteral("/Zelkova.mdb-journal")));
    EXPECT_EQ(IntegrityCheck(work + QStringLiteral("/Zelkova.mdb")), QStringLiteral("ok"));
    auto db = dao::Database::Open(work + QStringLiteral("/Zelkova.mdb"));
    EXPECT_EQ(db->TableNames().size(), 29);
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("節点座標1"))->RecordCount(), 4);
}
