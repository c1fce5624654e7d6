// Start-up, the main menu and its dispatcher, checked from outside through
// zelkova-probe in folders prepared by the test.
#include "common/TestEnv.h"
#include "core/MakeDatabase.h"
#include "platform/Database.h"
#include "platform/Settings.h"
#include "core/ProgramState.h"
#include "database/WorkingFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include "common/Probe.h"

using rt::Variant;

using testenv::Matching;
using testenv::RunProbe;
using testenv::Value;

namespace {

// Marks of the 13 items as a string of 0 and 1.
QString Marks(const QStringList& lines)
{
    QString s;
    for (const QString& l : Matching(lines, QStringLiteral("item="))) s += l.section(QLatin1Char('|'), 1, 1);
    return s;
}

// A project folder with a new database, filled by `fill` through our own layer.
class ProjectFolder {
public:
    explicit ProjectFolder(const QString& name) : dir_(testenv::MakeDir(name))
    {
        const testenv::InFolder in(dir_);
        int16_t mode = 0;
        MakeDatabase(mode);
    }
    QString dir() const { return dir_; }
    QString db() const { return dir_ + QStringLiteral("/Zelkova.mdb"); }
    void AddRow(const QString& table, const std::vector<std::pair<QString, Variant>>& values)
    {
        auto d = dao::Database::Open(db());
        auto rs = d->OpenRecordset(table);
        rs->AddNew();
        for (const auto& [f, v] : values) rs->SetField(f, v);
        rs->Update();
        d->Close();
    }
    void Drop(const QString& table)
    {
        auto d = dao::Database::Open(db());
        d->Execute(QStringLiteral("DROP TABLE ") + dao::QuoteIdent(table));
        d->Close();
    }

private:
    QString dir_;
};

const QString kNoProjectMessage = QStringLiteral(
    "message=information|工事データが選択されていません。\\n保管されているデータを読み込むか、または新たに[基本データ]で工事データを作成して下さい。");
const QString kNoResultsMessage = QStringLiteral(
    "message=information|現在工事データが選択されていないか、または選択されている最新の工事データに対して\\n"
    "計算処理が実行されていないので計算結果が表示できません。[解析]を実行して下さい。");
const QString kDamagedMessage = QStringLiteral(
    "message=exclamation|現在の工事データのデータベースの一部が破損しています。\\n"
    "[クリア]を実行して新たにデータベースを作成してください。\\n尚その場合、破損していない入力データもクリアされます。");

}  // namespace

TEST(StartUp, EmptyFolderGetsANewDatabaseAndAMenuWithoutProject)
{
    QString dir = testenv::MakeDir(QStringLiteral("empty"));
    QStringList out = RunProbe(dir, {QStringLiteral("dump"), QStringLiteral("setting:Public/AnalyzeFinish")});
    EXPECT_EQ(Value(out, QStringLiteral("caption")), QStringLiteral("ZELKOVA  ver 1.41　メインメニュー"));
    EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("**********"));
    EXPECT_EQ(Value(out, QStringLiteral("designer")), QString());
    EXPECT_EQ(Value(out, QStringLiteral("unit")), QStringLiteral("SI"));
    EXPECT_EQ(Marks(out), QStringLiteral("0000000000000"));
    EXPECT_EQ(Value(out, QStringLiteral("selected")), QStringLiteral("0"));
    EXPECT_EQ(Value(out, QStringLiteral("setting")), QStringLiteral("Public/AnalyzeFinish=False"));
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/pif")));

    QStringList items = Matching(out, QStringLiteral("item="));
    ASSERT_EQ(items.size(), 13);
    EXPECT_EQ(items[0], QStringLiteral("item=0|0|  1　基本データ"));
    EXPECT_EQ(items[8], QStringLiteral("item=8|0|  9　部 材 端 部 拘 束 条 件 配 置"));
    EXPECT_EQ(items[12], QStringLiteral("item=12|0| 13　荷重の組合せ条件（断面設計用）"));

    auto db = dao::Database::Open(dir + QStringLiteral("/Zelkova.mdb"));
    EXPECT_EQ(db->TableNames().size(), 29);
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("VUP01鋼材材種強度"))->RecordCount(), 19);
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("VUP01鉄筋材種強度"))->RecordCount(), 6);
}

TEST(StartUp, MenuShowsTheProjectAndMarksExactlyTheFilledItems)
{
    ProjectFolder p(QStringLiteral("project"));
    p.AddRow(QStringLiteral("基本データ"), {{QStringLiteral("工事名"), Variant::Text(QStringLiteral("テスト工事"))},
                                            {QStringLiteral("設計者"), Variant::Text(QStringLiteral("設計 太郎"))},
                                            {QStringLiteral("Note"), Variant::Text(QStringLiteral(" "))},
                                            {QStringLiteral("Unit"), Variant::Text(QStringLiteral("False"))},
                                            {QStringLiteral("Case"), Variant::Integer(2)}});
    p.AddRow(QStringLiteral("節点座標1"), {{QStringLiteral("No_"), Variant::Integer(1)}});
    p.AddRow(QStringLiteral("要素情報"), {{QStringLiteral("No_"), Variant::Integer(1)}});
    p.AddRow(QStringLiteral("荷重配置"), {{QStringLiteral("No_"), Variant::Integer(1)}});
    p.AddRow(QStringLiteral("VUP01荷重名称組合せ"), {{QStringLiteral("CaseNo"), Variant::Integer(1)}});

    QStringList out = RunProbe(p.dir(), {QStringLiteral("dump")});
    EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("テスト工事"));
    EXPECT_EQ(Value(out, QStringLiteral("designer")), QStringLiteral("設計 太郎"));
    EXPECT_EQ(Value(out, QStringLiteral("unit")), QStringLiteral("CGS"));
    EXPECT_EQ(Marks(out), QStringLiteral("1100100000101"));
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty());
}

TEST(StartUp, UpgradeAndDamagedDatabases)
{
    // An older file without the section-design tables gains them and keeps its data.
    ProjectFolder old(QStringLiteral("old"));
    old.AddRow(QStringLiteral("節点座標1"), {{QStringLiteral("No_"), Variant::Integer(5)}});
    for (const char* t : {"VUP01断面設計共通事項", "VUP01荷重名称組合せ", "VUP01鋼材材種強度", "VUP01鉄筋材種強度",
                          "VUP01鉄筋材種サイズ"})
        old.Drop(QString::fromUtf8(t));
    QStringList out = RunProbe(old.dir(), {QStringLiteral("dump")});
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty());
    EXPECT_EQ(Marks(out), QStringLiteral("0100000000000"));
    auto db = dao::Database::Open(old.db());
    EXPECT_EQ(db->TableNames().size(), 29);
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("VUP01鋼材材種強度"))->RecordCount(), 19);
    db->Close();

    // Grade tables left empty are filled again.
    ProjectFolder emptied(QStringLiteral("emptied"));
    {
        auto d = dao::Database::Open(emptied.db());
        d->Execute(QStringLiteral("DELETE FROM \"VUP01鋼材材種強度\""));
        d->Execute(QStringLiteral("DELETE FROM \"VUP01鉄筋材種強度\""));
        d->Close();
    }
    out = RunProbe(emptied.dir(), {QStringLiteral("dump")});
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty());
    db = dao::Database::Open(emptied.db());
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("VUP01鋼材材種強度"))->RecordCount(), 19);
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("VUP01鉄筋材種強度"))->RecordCount(), 6);
    db->Close();

    // A missing input table is not made again; the menu reports the damage
    // and keeps the marks found before it.
    ProjectFolder damaged(QStringLiteral("damaged"));
    damaged.AddRow(QStringLiteral("節点拘束形状"), {{QStringLiteral("No_"), Variant::Integer(1)}});
    damaged.Drop(QStringLiteral("節点拘束配置"));
    out = RunProbe(damaged.dir(), {QStringLiteral("dump")});
    EXPECT_EQ(Matching(out, QStringLiteral("message=")), QStringList{kDamagedMessage});
    EXPECT_EQ(Marks(out), QStringLiteral("0000010000000"));
    EXPECT_FALSE(dao::Database::Open(damaged.db())->TableExists(QStringLiteral("節点拘束配置")));

    // A missing table that the menu does not open goes unreported.
    ProjectFolder quiet(QStringLiteral("quiet"));
    quiet.Drop(QStringLiteral("節点座標2"));
    out = RunProbe(quiet.dir(), {QStringLiteral("dump")});
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty());
    EXPECT_EQ(Value(out, QStringLiteral("menu")), QStringLiteral("loaded"));

    // A table that exists but cannot be read is not created again.
    ProjectFolder unreadable(QStringLiteral("unreadable"));
    unreadable.Drop(QStringLiteral("VUP01鉄筋材種サイズ"));
    {
        auto d = dao::Database::Open(unreadable.db());
        d->Execute(QStringLiteral("CREATE VIEW \"VUP01鉄筋材種サイズ\" AS SELECT * FROM \"no such\""));
        d->Close();
    }
    out = RunProbe(unreadable.dir(), {QStringLiteral("dump")});
    EXPECT_EQ(Value(out, QStringLiteral("menu")), QStringLiteral("loaded"));
}

TEST(StartUp, AFileThatIsNotOurDatabaseIsKeptAndReplacedOnlyWhenTheUserAgrees)
{
    // A file of another kind, and a link to a file that is gone.
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link ? "link" : "file");
        const QString dir = testenv::MakeDir(link ? QStringLiteral("link") : QStringLiteral("foreign"));
        const QString db = dir + QStringLiteral("/Zelkova.mdb");
        if (link) {
            ASSERT_TRUE(QFile::link(dir + QStringLiteral("/gone/Zelkova.mdb"), db));
        } else {
            QFile f(db);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'J'));
        }
        const QString before = link ? QFileInfo(db).symLinkTarget() : testenv::FileHash(db);
        auto now = [&](const QString& path) { return link ? QFileInfo(path).symLinkTarget() : testenv::FileHash(path); };

        QStringList out = RunProbe(dir, {QStringLiteral("answer:no"), QStringLiteral("dump")});
        ASSERT_EQ(Matching(out, QStringLiteral("message=")).size(), 1);
        EXPECT_TRUE(out[0].startsWith(QStringLiteral("message=exclamation|工事データのデータベース（Zelkova.mdb）を開くことができません。")));
        EXPECT_EQ(out.last(), QStringLiteral("ended"));
        EXPECT_EQ(now(db), before);

        out = RunProbe(dir, {QStringLiteral("answer:yes"), QStringLiteral("dump")});
        EXPECT_EQ(Matching(out, QStringLiteral("message=")).size(), 1);
        EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("**********"));
        QStringList kept = QDir(dir).entryList({QStringLiteral("Zelkova-*.mdb")}, QDir::Files | QDir::System);
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(now(dir + QLatin1Char('/') + kept[0]), before);
        EXPECT_FALSE(QFileInfo(db).isSymLink());
        EXPECT_EQ(dao::Database::Open(db)->TableNames().size(), 29);
        EXPECT_TRUE(Matching(RunProbe(dir, {QStringLiteral("dump")}), QStringLiteral("message=")).isEmpty());
    }
}

TEST(StartUp, TemporaryFilesLeftByACrashAreRemoved)
{
    ProjectFolder p(QStringLiteral("temporaries"));
    // The program's own names, exactly, each with the mark "~zelkova-tmp":
    // the databases being opened or built with the database engine's side
    // files and the safe writer's temporary files of their names, and the
    // safe writer's temporary files of the work files; and the fixed names of
    // a killed compaction's database and a killed print's document.
    const QStringList left{"ZelkovaOpen-a1b2c3d4.~zelkova-tmp",
                           "ZelkovaOpen-a1b2c3d4.~zelkova-tmp.~zelkova-tmp-0f1e2d3c",
                           "ZelkovaOpen-a1b2c3d4.~zelkova-tmp-wal",
                           "ZelkovaOpen-a1b2c3d4.~zelkova-tmp-shm",
                           "ZelkovaNew-0a1b2c3d.~zelkova-tmp",
                           "ZelkovaNew-0a1b2c3d.~zelkova-tmp-journal",
                           "Zelkova2.mdb",
                           "Zelkova2.mdb-journal",
                           "DocFile",
                           "DocFile.~zelkova-tmp-00ff00aa",
                           "pif.~zelkova-tmp-0123abcd",
                           "vpf.~zelkova-tmp-deadbeef"};
    // Names that only look alike are the user's: dated or numbered copies,
    // names without the mark (as temporary files were once named), names with
    // anything more, even a final newline, which a Linux file name can hold.
    const QStringList others{"pif.20250107", "vpf.12345678", "DocFile.00ff00aa", "pif.0123abcd",
                             "Zelkova.mdb.bak", "Zelkova2.mdb.bak", "ZelkovaOpen-0123abcd.tmp",
                             "ZelkovaOpen-0123abcd.tmp\n", "ZelkovaNew-0a1b2c3d.tmp-journal",
                             "ZelkovaOpen-a1b2c3d4.~zelkova-tmp\n", "ZelkovaOpen-a1b2c3d4.~zelkova-tmp-wal\n",
                             "ZelkovaOpen-a1b2c3d4.~zelkova-tmp.~zelkova-tmp-0f1e2d3c\n",
                             "pif.~zelkova-tmp-0123abcd\n", "\npif.~zelkova-tmp-0123abcd",
                             "ZelkovaOpen.txt", "ZelkovaOpen-notes.~zelkova-tmp", "ZelkovaOpen-a1b2c3.~zelkova-tmp",
                             "ZelkovaOpen-A1B2C3D4.~zelkova-tmp", "ZelkovaOpen-a1b2c3d4~zelkova-tmp",
                             "ZelkovaNew-0a1b2c3d.~zelkova-tmp.bak", "ZelkovaNew-0a1b2c3d.~zelkova-tmp-journal.txt",
                             "ZelkovaOpen-a1b2c3d4.~zelkova-tmp.~zelkova-tmp-0f1e2d3c-journal",
                             "ZelkovaOpen-a1b2c3d4.~zelkova-tmp.0f1e2d3c", "pif", "vpf",
                             "docfile", "DocFile.bak", "pif.~zelkova-tmp-0123ABCD", "pif.~zelkova-tmp-0123abc",
                             "vpf.~zelkova-tmp-0123abcde", "pif.~zelkova-tmp0123abcd", "mypif.~zelkova-tmp-0123abcd",
                             "pif.~zelkova-tmp-0123abcd.txt"};
    for (const QString& name : left + others) ASSERT_TRUE(testenv::WriteFile(p.dir() + QLatin1Char('/') + name, "left behind"));
    QStringList out = RunProbe(p.dir(), {QStringLiteral("dump")});
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty());
    QStringList expected = others + QStringList{QStringLiteral("Zelkova.mdb")};
    expected.sort();
    EXPECT_EQ(testenv::FilesIn(p.dir()), expected);
}

// A compaction that runs in another copy of the program holds its lock: the
// start-up leaves its database alone, and removes it once nobody holds it.
TEST(StartUp, TheDatabaseOfACompactionThatRunsStays)
{
    ProjectFolder p(QStringLiteral("compacting"));
    const QString compacted = p.dir() + QStringLiteral("/Zelkova2.mdb");
    ASSERT_TRUE(testenv::WriteFile(compacted, "being written"));
    {
        const testenv::InFolder in(p.dir());
        const CompactionLock compaction;
        ASSERT_TRUE(compaction.Held());
        EXPECT_TRUE(Matching(RunProbe(p.dir(), {QStringLiteral("dump")}), QStringLiteral("message=")).isEmpty());
        EXPECT_EQ(testenv::ReadFile(compacted), QByteArray("being written"));
    }
    RunProbe(p.dir(), {QStringLiteral("dump")});
    EXPECT_EQ(testenv::FilesIn(p.dir()), QStringList{QStringLiteral("Zelkova.mdb")});
}

TEST(StartUp, ABackupLeftByACrashOnAnInputScreenIsOfferedBack)
{
    const QString question = QStringLiteral(
        "message=question|前回、入力画面の編集中にプログラムが終了しました。\\n編集前のデータに戻しますか？\\n"
        "[いいえ]を選択すると、編集途中のデータをそのまま使います。");
    ProjectFolder p(QStringLiteral("crashed"));
    p.AddRow(QStringLiteral("基本データ"), {{QStringLiteral("工事名"), Variant::Text(QStringLiteral("編集前"))}});
    const QString backup = p.dir() + QStringLiteral("/ZelkovaMT.mdb");
    const QByteArray beforeEdit = testenv::ReadFile(p.db());
    ASSERT_TRUE(testenv::WriteFile(backup, beforeEdit));
    {
        auto d = dao::Database::Open(p.db());
        d->Execute(QStringLiteral("UPDATE \"基本データ\" SET \"工事名\" = '編集途中'"));
        d->Close();
    }

    // A copy cut short while the screen was opening is of no use: it goes
    // without a question.
    ASSERT_TRUE(testenv::WriteFile(backup, beforeEdit.left(beforeEdit.size() / 2)));
    const QString edited = testenv::FileHash(p.db());
    QStringList out = RunProbe(p.dir(), {QStringLiteral("dump")});
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty());
    EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("編集途中"));
    EXPECT_EQ(testenv::FileHash(p.db()), edited);
    EXPECT_FALSE(QFileInfo::exists(backup));

    // No: the backup goes, the edits stay, and the results count as stale.
    ASSERT_TRUE(testenv::WriteFile(backup, beforeEdit));
    out = RunProbe(p.dir(), {QStringLiteral("answer:no"), QStringLiteral("dump"),
                                         QStringLiteral("setting:Public/AnalyzeFinish")});
    EXPECT_EQ(Matching(out, QStringLiteral("message=")), QStringList{question});
    EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("編集途中"));
    EXPECT_EQ(Value(out, QStringLiteral("setting")), QStringLiteral("Public/AnalyzeFinish=False"));
    EXPECT_FALSE(QFileInfo::exists(backup));
    EXPECT_TRUE(Matching(RunProbe(p.dir(), {QStringLiteral("dump")}), QStringLiteral("message=")).isEmpty());

    // Yes: the backup takes the database's place, also where that is gone.
    for (const bool databaseGone : {false, true}) {
        SCOPED_TRACE(databaseGone ? "database gone" : "database there");
        if (databaseGone) {
            ASSERT_TRUE(QFile::remove(p.db()));
        }
        ASSERT_TRUE(testenv::WriteFile(backup, beforeEdit));
        out = RunProbe(p.dir(), {QStringLiteral("answer:yes"), QStringLiteral("dump")});
        EXPECT_EQ(Matching(out, QStringLiteral("message=")), QStringList{question});
        EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("編集前"));
        EXPECT_EQ(testenv::ReadFile(p.db()), beforeEdit);
        EXPECT_FALSE(QFileInfo::exists(backup));
    }
}

TEST(MainMenu, DispatchChecksPreconditionsAndKeepsTheMenuWhenNoWindowOpens)
{
    QString dir = testenv::MakeDir(QStringLiteral("dispatch"));
    for (int code : {10202, 10205, 10211, 10401}) {
        QStringList out = RunProbe(dir, {QStringLiteral("dispatch:%1").arg(code), QStringLiteral("dump")});
        EXPECT_EQ(Matching(out, QStringLiteral("message=")), QStringList{kNoProjectMessage}) << code;
        EXPECT_EQ(Value(out, QStringLiteral("menu")), QStringLiteral("loaded"));
    }
    QStringList out = RunProbe(dir, {QStringLiteral("dispatch:10402")});
    EXPECT_EQ(Matching(out, QStringLiteral("message=")), QStringList{kNoResultsMessage});

    // Item 12 has no screen; item 13 without a project stops while it loads:
    // neither unloads the menu.
    out = RunProbe(dir, {QStringLiteral("dispatch:10232"), QStringLiteral("dispatch:10233"), QStringLiteral("dump")});
    QStringList msgs = Matching(out, QStringLiteral("message="));
    ASSERT_EQ(msgs.size(), 2);
    EXPECT_TRUE(msgs[0].startsWith(QStringLiteral("message=information|")));
    EXPECT_EQ(msgs[1], QStringLiteral("message=critical|基本データが正常に読み込めませんでした。処理を中止します。"));
    EXPECT_EQ(Value(out, QStringLiteral("menu")), QStringLiteral("loaded"));
    EXPECT_EQ(Value(out, QStringLiteral("enabled")), QStringLiteral("1"));
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/ZelkovaMT.mdb")));

    // Item 1 and the analysis are never refused for want of a project.
    out = RunProbe(dir, {QStringLiteral("dispatch:10301"), QStringLiteral("dump")});
    EXPECT_FALSE(Matching(out, QStringLiteral("message=")).contains(kNoProjectMessage));
    EXPECT_EQ(Value(out, QStringLiteral("enabled")), QStringLiteral("1"));
    // Item 1 opens the basic data screen in place of the menu.
    out = RunProbe(dir, {QStringLiteral("dispatch:10201"), QStringLiteral("dump")});
    EXPECT_FALSE(Matching(out, QStringLiteral("message=")).contains(kNoProjectMessage));
    EXPECT_EQ(Value(out, QStringLiteral("menu")), QStringLiteral("unloaded"));
}

TEST(MainMenu, ClearAsksAndThenStartsAnEmptyProject)
{
    ProjectFolder p(QStringLiteral("clear"));
    p.AddRow(QStringLiteral("基本データ"), {{QStringLiteral("工事名"), Variant::Text(QStringLiteral("A"))},
                                            {QStringLiteral("Unit"), Variant::Text(QStringLiteral("True"))}});
    p.AddRow(QStringLiteral("節点座標1"), {{QStringLiteral("No_"), Variant::Integer(1)}});
    QStringList out = RunProbe(p.dir(), {QStringLiteral("clear:no"), QStringLiteral("dump")});
    EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("A"));
    EXPECT_EQ(Matching(out, QStringLiteral("message=question|クリアを実行すると")).size(), 1);

    out = RunProbe(p.dir(), {QStringLiteral("clear:yes"), QStringLiteral("dump"), QStringLiteral("setting:Mainmenu/DataName")});
    EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("**********"));
    EXPECT_EQ(Marks(out), QStringLiteral("0000000000000"));
    EXPECT_EQ(Value(out, QStringLiteral("setting")), QStringLiteral("Mainmenu/DataName=<absent>"));
    EXPECT_EQ(Value(out, QStringLiteral("enabled")), QStringLiteral("1"));
}

TEST(MainMenu, ExitQuestionAndRememberedItem)
{
    QString dir = testenv::MakeDir(QStringLiteral("exit"));
    reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("LstInputIndex"), QStringLiteral("7"));
    reg::Sync();
    QStringList out = RunProbe(dir, {QStringLiteral("dump")});
    EXPECT_EQ(Value(out, QStringLiteral("selected")), QStringLiteral("7"));
    reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("LstInputIndex"), QStringLiteral("x"));
    reg::Sync();
    out = RunProbe(dir, {QStringLiteral("dump")});
    EXPECT_EQ(Value(out, QStringLiteral("selected")), QStringLiteral("0"));
}

TEST(StartUp, ADatabaseThatCannotBeMadeIsReportedAtStartAndInClear)
{
    const QString access = QStringLiteral(
        "message=exclamation|データベースにアクセスできません。\\n"
        "もしデータベースをオープンしている場合はデータベースを閉じて、もう一度処理を実行して下さい。\\n"
        "それでもエラーが発生する場合はメインメニューで[クリア]を実行して下さい。");
    // A folder in the way of the database's journal makes every write fail.
    QString dir = testenv::MakeDir(QStringLiteral("blocked"));
    QDir(dir).mkpath(QStringLiteral("Zelkova.mdb-journal/x"));
    QStringList out = RunProbe(dir, {QStringLiteral("dump")});
    EXPECT_EQ(Matching(out, QStringLiteral("message=")), QStringList{access});
    EXPECT_EQ(out.last(), QStringLiteral("ended"));

    ProjectFolder p(QStringLiteral("blockedclear"));
    p.AddRow(QStringLiteral("基本データ"), {{QStringLiteral("工事名"), Variant::Text(QStringLiteral("A"))}});
    QStringList args{QStringLiteral("dump")};
    out = RunProbe(p.dir(), args);
    ASSERT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("A"));
    // A settings file of the preview that cannot be deleted stops the clear.
    QDir(p.dir()).mkpath(QStringLiteral("pif/x"));
    out = RunProbe(p.dir(), {QStringLiteral("clear:yes"), QStringLiteral("dump")});
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).contains(access));
    EXPECT_EQ(Value(out, QStringLiteral("menu")), QStringLiteral("loaded"));
    EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("A"));   // still there
    EXPECT_EQ(Value(out, QStringLiteral("enabled")), QStringLiteral("1"));
}
