// The life of an input screen: the backup copy, register, cancel, the close
// box, the cancel question, the shared window position, tool tips and tab
// stops, and the file steps when they fail.
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "common/Hooks.h"
#include "common/LockHolder.h"
#include "database/WorkingFiles.h"
#include "platform/DataGrid.h"
#include "platform/SafeFile.h"
#include "platform/SafeFileFaults.h"
#include "platform/Settings.h"
#include "screens/NodeScreen.h"
#include "core/WindowHelpers.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <functional>
#include <memory>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace inputtest;

namespace {

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeEmptyDatabase();
        AddNodes(3);
        Program().WarnOnCancel = false;
        reg::SaveSetting("Public", "AnalyzeFinish", "True");
        untouched = testenv::FileHash(kWorkingDatabase);
        testenv::ResetScript();
    }
    frm節点座標1* Open()
    {
        Program().ScreenCode = ScreenNodeCoordinates;
        EXPECT_TRUE(StartInputForm());
        auto* s = dynamic_cast<frm節点座標1*>(Program().CurrentInputForm.data());
        EXPECT_NE(s, nullptr);
        return s;
    }
    void AddNode(frm節点座標1* s, const QString& no)
    {
        s->Box("txtNo")->setText(no);
        s->Box("txtX")->setText("1.5");
        s->cmd追加_Click();
    }
    QString AnalyzeFinish() { return reg::GetSetting("Public", "AnalyzeFinish", "<absent>"); }
    // What the settings file itself holds, as a crash would leave it.
    QString AnalyzeFinishOnDisk() { return testenv::SettingOnDisk("AnalyzeFinish"); }
    // The node screen does not open: the user is told `message` with one
    // beep, and neither the model nor the menu changes.
    void ExpectNoScreenOpens(const QString& message)
    {
        testenv::ResetScript();
        Program().ScreenCode = ScreenNodeCoordinates;
        EXPECT_FALSE(StartInputForm());
        EXPECT_TRUE(Program().CurrentInputForm.isNull());
        EXPECT_EQ(testenv::Script().messages, QStringList{Exclamation(message)});
        EXPECT_EQ(testenv::Script().beeps, 1);
        EXPECT_FALSE(QFile::exists(kBackupDatabase));
        EXPECT_EQ(testenv::FileHash(kWorkingDatabase), untouched);
        EXPECT_EQ(menuShown, 0);
    }

    int menuShown = 0;
    QString untouched;
    testenv::HookFor<std::function<void()>> mainMenu{SetShowMainMenuHandler, [this] { ++menuShown; }};
};

TEST_F(Lifecycle, OpeningTakesAByteCopyAndRegisterKeepsTheEdits)
{
    QFile stale(kBackupDatabase);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("old copy");
    stale.close();

    frm節点座標1* s = Open();
    EXPECT_EQ(testenv::FileHash(kBackupDatabase), untouched);
    EXPECT_TRUE(s->IsLoaded());
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(Program().InputTableName, "節点座標1");
    EXPECT_EQ(Program().GridRowCount, 11);

    AddNode(s, "4");
    EXPECT_EQ(Rows("節点座標1", {"No_"}).size(), 4);   // written at once
    s->Cmd登録_Click();
    EXPECT_FALSE(s->IsLoaded());
    EXPECT_FALSE(QFile::exists(kBackupDatabase));
    EXPECT_EQ(Rows("節点座標1", {"No_"}), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(AnalyzeFinish(), "False");
    EXPECT_EQ(menuShown, 1);
    EXPECT_TRUE(Program().CurrentInputForm.isNull());
}

// Before the screen can change anything the flag is False on disk, so that a
// crash with edits in place leaves the results stale; a cancel puts it back.
TEST_F(Lifecycle, OpeningMarksTheResultsStaleOnDiskAndCancelPutsTheFlagBack)
{
    struct Edit {
        const char* name;
        std::function<void(frm節点座標1*)> run;
    };
    const Edit edits[] = {
        {"add", [this](frm節点座標1* s) { AddNode(s, "4"); }},
        {"update", [](frm節点座標1* s) { s->Box("txtX")->setText("2"); s->cmd修正_Click(); }},
        {"delete", [](frm節点座標1* s) { s->cmd削除_Click(); }},
        {"reorder", [](frm節点座標1* s) { s->MoveRecord("L"); }},
        {"delete all", [](frm節点座標1* s) { s->cmdAllDelete_Click(); }},
    };
    for (const char* before : {"True", static_cast<const char*>(nullptr)}) {
        for (const Edit& e : edits) {
            if (before) reg::SaveSetting("Public", "AnalyzeFinish", before);
            else reg::DeleteSetting("Public", "AnalyzeFinish");
            reg::Sync();
            const QString was = AnalyzeFinishOnDisk();
            frm節点座標1* s = Open();
            EXPECT_EQ(AnalyzeFinishOnDisk(), "False") << e.name;
            e.run(s);
            EXPECT_EQ(AnalyzeFinishOnDisk(), "False") << e.name;
            s->cmdCancel_Click();
            EXPECT_EQ(AnalyzeFinishOnDisk(), was) << e.name;
            EXPECT_EQ(AnalyzeFinish(), before ? before : "<absent>") << e.name;
            EXPECT_EQ(testenv::FileHash(kWorkingDatabase), untouched) << e.name;
        }
    }

    // The close box cancels the same way; a commit keeps the results stale.
    reg::SaveSetting("Public", "AnalyzeFinish", "True");
    frm節点座標1* s = Open();
    AddNode(s, "4");
    s->close();
    EXPECT_EQ(AnalyzeFinishOnDisk(), "True");
    s = Open();
    AddNode(s, "4");
    s->Cmd登録_Click();
    EXPECT_EQ(AnalyzeFinishOnDisk(), "False");
}

// Settings that cannot be written (a full or read-only settings folder) would
// keep the old results current on disk whatever the screen changed: the
// screen does not open, and the user is told why.
// The message says why the flag cannot be stored: the settings folder cannot
// be written, or another running copy of the program keeps the file.
TEST_F(Lifecycle, NoScreenOpensWhileTheResultsFlagCannotBeStored)
{
    ASSERT_TRUE(reg::Sync());
    const QString settingsFolder = QFileInfo(reg::FilePath()).path();
    const struct {
        const char* cause;
        std::function<std::shared_ptr<void>()> makeIt;
        QString message;
    } causes[] = {
        {"a full disk",
         [] { return std::make_shared<files::InjectedWriteFailure>(files::FailingStep::Write, 0, reg::FilePath()); },
         "設定を保存できないため、入力画面を開けません。\r\n設定ファイル " + reg::FilePath() +
             " のあるフォルダの空き容量と書き込みの権限を確認して下さい。"},
        {"another copy of the program",
         [&settingsFolder] { return std::make_shared<testenv::LockHolder>(settingsFolder, -1); },
         "別に起動している ZELKOVA が設定ファイル " + reg::FilePath() +
             " を使用中のため、入力画面を開けません。\r\nしばらく待ってから、もう一度実行して下さい。"},
    };
    for (const auto& c : causes) {
        SCOPED_TRACE(c.cause);
        {
            const std::shared_ptr<void> cause = c.makeIt();
            ExpectNoScreenOpens(c.message);
        }
        EXPECT_EQ(AnalyzeFinishOnDisk(), "True");
    }

    // Once the settings can be written again, the screen opens.
    frm節点座標1* s = Open();
    EXPECT_EQ(AnalyzeFinishOnDisk(), "False");
    s->cmdCancel_Click();
    EXPECT_EQ(AnalyzeFinishOnDisk(), "True");
}

// The settings file as a symbolic link to a file not made yet, in a folder
// of the user's own: the flag goes into that file, made by the write, the
// link stays and the screen opens.
TEST_F(Lifecycle, TheScreenOpensWhenTheSettingsFileIsALinkToAFileNotMadeYet)
{
    ASSERT_TRUE(reg::Sync());
    const QString target = testenv::MakeDir("dotfiles") + "/zelkova.conf";
    ASSERT_TRUE(QFile::remove(testenv::SettingsFilePath()));
    ASSERT_TRUE(QFile::link(target, testenv::SettingsFilePath()));
    reg::Reopen();

    frm節点座標1* s = Open();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->IsLoaded());
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
    EXPECT_EQ(QFileInfo(testenv::SettingsFilePath()).symLinkTarget(), target);
    EXPECT_EQ(testenv::ReadFile(target), "[Public]\nAnalyzeFinish=False\n");
    AddNode(s, "4");
    s->cmdCancel_Click();
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), untouched);
    EXPECT_EQ(AnalyzeFinish(), "<absent>");
    EXPECT_EQ(AnalyzeFinishOnDisk(), "<absent>");
    EXPECT_EQ(QFileInfo(testenv::SettingsFilePath()).symLinkTarget(), target);
}

// Where the flag has no file to go to (a link to a folder that is not there,
// a folder, a pipe, or a link to one, of the settings file's name, or a loop
// of links), the screen does not open and the message names the file, the
// one a link points to; the thing is left as it is, every link of a loop too.
TEST_F(Lifecycle, NoScreenOpensWhereTheSettingsHaveNoFile)
{
    ASSERT_TRUE(reg::Sync());
    const QString settings = testenv::SettingsFilePath();
    const QString folder = testenv::MakeDir("dotfiles");
    const QString notAFile = " がファイルではない（フォルダやパイプなどである）ため、入力画面を開けません。\r\n"
                             "その名前のものを別の場所に移してから、もう一度実行して下さい。";
    const struct {
        const char* cause;
        std::function<bool()> make;
        QString message;
    } causes[] = {
        {"a link to a folder that is not there", [&] { return QFile::link(folder + "/gone/zelkova.conf", settings); },
         "設定を保存できないため、入力画面を開けません。\r\n設定ファイル " + folder +
             "/gone/zelkova.conf のあるフォルダの空き容量と書き込みの権限を確認して下さい。"},
        {"a folder", [&] { return QDir().mkdir(settings); }, "設定ファイル " + settings + notAFile},
        {"a pipe", [&] { return ::mkfifo(QFile::encodeName(settings).constData(), 0600) == 0; },
         "設定ファイル " + settings + notAFile},
        {"a link to a pipe",
         [&] {
             return ::mkfifo(QFile::encodeName(folder + "/pipe").constData(), 0600) == 0 &&
                    QFile::link(folder + "/pipe", settings);
         },
         "設定ファイル " + folder + "/pipe" + notAFile},
        {"a loop of two links",
         [&] { return QFile::link(settings, folder + "/b") && QFile::link(folder + "/b", settings); },
         "設定ファイル " + settings + " のリンクが輪になっていて、ファイルにたどり着けないため、入力画面を開けません。\r\n"
                                      "リンクを直してから、もう一度実行して下さい。"},
    };
    for (const auto& c : causes) {
        SCOPED_TRACE(c.cause);
        if (QFileInfo(settings).isDir()) QDir().rmdir(settings);
        else QFile::remove(settings);
        ASSERT_TRUE(c.make());
        const QFileInfo made(settings);
        reg::Reopen();

        ExpectNoScreenOpens(c.message);
        const QFileInfo after(settings);
        EXPECT_EQ(after.isSymLink(), made.isSymLink());
        EXPECT_EQ(after.symLinkTarget(), made.symLinkTarget());
        EXPECT_EQ(after.isDir(), made.isDir());
        EXPECT_FALSE(QFileInfo::exists(folder + "/gone"));
    }
    EXPECT_EQ(QFileInfo(folder + "/b").symLinkTarget(), settings);
}

// A cancel puts the flag back without waiting for another copy that keeps
// the settings file: the flag stays False on disk (stale is safe) and is put
// back once the file is free. The other copy would let go of the file for a
// write that waited, which would then be on disk.
TEST_F(Lifecycle, ACancelDoesNotWaitForTheSettingsFile)
{
    ASSERT_TRUE(reg::Sync());
    frm節点座標1* s = Open();
    AddNode(s, "4");
    testenv::LockYielder other(QFileInfo(testenv::SettingsFilePath()).path());
    ASSERT_TRUE(other.Holding());
    s->cmdCancel_Click();
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), untouched);
    EXPECT_EQ(AnalyzeFinish(), "True");
    EXPECT_EQ(AnalyzeFinishOnDisk(), "False");

    other.Kill();
    QDeadlineTimer deadline(10000);
    while (AnalyzeFinishOnDisk() != "True" && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(AnalyzeFinishOnDisk(), "True");
}

// The new copy that "上書き保存" makes of the backup bears the mark of the
// program's temporary files until it takes the backup's place: one that a
// kill left goes at the next start.
TEST_F(Lifecycle, ARefreshedBackupLeftByAKillGoesAtTheNextStart)
{
    Open();
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, ".", IN_CREATE | IN_MOVED_TO), 0);
    ASSERT_TRUE(RefreshInputBackup());
    // The names the refresh gave files in the working folder.
    QStringList made;
    alignas(inotify_event) char events[64 * 1024];
    for (ssize_t n; (n = ::read(watch, events, sizeof events)) > 0;)
        for (char* p = events; p < events + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            if (event->len) made << QFile::decodeName(event->name);
            p += sizeof(inotify_event) + event->len;
        }
    ::close(watch);
    made.removeDuplicates();
    ASSERT_TRUE(made.removeAll(kBackupDatabase));
    ASSERT_FALSE(made.isEmpty());
    for (const QString& name : made) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(name.contains(files::kTemporaryTag));
        ASSERT_TRUE(testenv::WriteFile(name, "a copy cut short"));
    }
    RemoveLeftoverTemporaries();
    for (const QString& name : made) EXPECT_FALSE(QFileInfo::exists(name)) << name.toStdString();
    EXPECT_TRUE(QFile::exists(kBackupDatabase));
}

TEST_F(Lifecycle, TheProgramGoesOnWhileTheMenuReplacesTheScreen)
{
    int ended = 0;
    const testenv::HookFor lastWindow(forms::SetLastWindowHandler, [&] { ++ended; });
    forms::Form menu("frmMainmenu");
    mainMenu.Replace([&] { menu.Show(); });
    frm節点座標1* s = Open();
    s->Cmd登録_Click();
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(menu.IsLoaded());
    menu.Unload();
    EXPECT_EQ(ended, 1);

    // With no menu to take over, the program ends as with any last window.
    mainMenu.Replace([] {});
    s = Open();
    s->cmdCancel_Click();
    EXPECT_EQ(ended, 2);
}

TEST_F(Lifecycle, RegisterWithoutAnEditStillMarksResultsStale)
{
    frm節点座標1* s = Open();
    s->Cmd登録_Click();
    EXPECT_EQ(AnalyzeFinish(), "False");
    EXPECT_FALSE(QFile::exists(kBackupDatabase));
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), untouched);
}

TEST_F(Lifecycle, CancelGivesBackTheDatabaseByteForByte)
{
    frm節点座標1* s = Open();
    AddNode(s, "4");
    s->MoveRecord("F");
    ASSERT_NE(testenv::FileHash(kWorkingDatabase), untouched);
    s->cmdCancel_Click();
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), untouched);
    EXPECT_FALSE(QFile::exists(kBackupDatabase));
    EXPECT_EQ(AnalyzeFinish(), "True");
    EXPECT_EQ(menuShown, 1);
    EXPECT_FALSE(s->IsLoaded());
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
}

TEST_F(Lifecycle, CloseBoxCancelsInsideItsOwnClosingRequest)
{
    frm節点座標1* s = Open();
    AddNode(s, "4");
    s->close();
    EXPECT_FALSE(s->IsLoaded());
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), untouched);
    EXPECT_FALSE(QFile::exists(kBackupDatabase));
    EXPECT_EQ(AnalyzeFinish(), "True");
    EXPECT_EQ(menuShown, 1);
}

TEST_F(Lifecycle, AnsweringNoKeepsTheScreenOpen)
{
    Program().WarnOnCancel = true;
    frm節点座標1* s = Open();
    AddNode(s, "4");
    auto& script = testenv::ResetScript();
    script.answers = {ui::Answer::No, ui::Answer::No};
    s->cmdCancel_Click();
    s->close();
    EXPECT_TRUE(s->IsLoaded());
    EXPECT_TRUE(QFile::exists(kBackupDatabase));
    EXPECT_EQ(Rows("節点座標1", {"No_"}).size(), 4);
    ASSERT_EQ(script.messages.size(), 2);
    EXPECT_TRUE(script.messages[0].startsWith("message=question|<ｷｬﾝｾﾙ>ボタンがクリックされたので"));
    EXPECT_TRUE(script.messages[1].startsWith("message=question|コントロール メニューの<閉じる>がクリックされました。"));
    EXPECT_EQ(menuShown, 0);
}

struct CancelCase {
    const char* chkCancel;   // nullptr: absent
    bool warn;
    int16_t reason;
    int answer;
    int16_t expected;
    const char* question;    // beginning of the question, nullptr: none
};

TEST_F(Lifecycle, CancelQuestionOnlyWhenBothOptionsAreOn)
{
    const CancelCase cases[] = {
        {"False", true, 1, ui::Answer::No, 6, nullptr},
        {"False", false, 0, ui::Answer::No, 6, nullptr},
        {nullptr, false, 1, ui::Answer::No, 0, nullptr},
        {"True", false, 0, ui::Answer::No, 0, nullptr},
        {"garbage", false, 1, ui::Answer::No, 0, nullptr},   // unreadable: the default True
        {nullptr, true, 1, ui::Answer::No, 7, "<ｷｬﾝｾﾙ>ボタンがクリックされたので\r\nここで入力したデータは全て保存されません。よろしいですか？"},
        {"True", true, 1, ui::Answer::Yes, 6, "<ｷｬﾝｾﾙ>ボタンがクリックされたので"},
        {"garbage", true, 0, ui::Answer::No, 7,
         "コントロール メニューの<閉じる>がクリックされました。\r\n<ｷｬﾝｾﾙ>ボタンと同様に、ここで入力したデータは全て保存されません。よろしいですか？"},
    };
    for (const CancelCase& c : cases) {
        if (c.chkCancel) reg::SaveSetting("Public", "ChkCancel", c.chkCancel);
        else reg::DeleteSetting("Public", "ChkCancel");
        Program().WarnOnCancel = c.warn;
        auto& script = testenv::ResetScript();
        script.answers = {c.answer};
        Program().MsgResult = 99;
        EXPECT_EQ(ConfirmCancelInput(c.reason), c.expected) << (c.chkCancel ? c.chkCancel : "absent") << c.warn << c.reason;
        EXPECT_EQ(Program().MsgResult, 99);
        if (c.question) {
            ASSERT_EQ(script.messages.size(), 1);
            EXPECT_TRUE(script.messages[0].startsWith(QStringLiteral("message=question|") + c.question));
            EXPECT_EQ(script.beeps, 1);
        } else {
            EXPECT_TRUE(script.messages.isEmpty());
        }
    }
}

TEST_F(Lifecycle, FailedBackupOpensNothing)
{
    QFile::remove(kWorkingDatabase);
    Program().ScreenCode = ScreenNodeCoordinates;
    EXPECT_FALSE(StartInputForm());
    EXPECT_EQ(testenv::Script().messages, QStringList{Exclamation(kDatabaseAccess)});
    EXPECT_TRUE(forms::LoadedForms().empty());
    EXPECT_FALSE(QFile::exists(kBackupDatabase));
}

TEST_F(Lifecycle, CodeWithoutAScreenTakesNoCopy)
{
    // 10212 lies in the menu's input range but no input screen belongs to it.
    Program().ScreenCode = 10212;
    EXPECT_FALSE(StartInputForm());
    EXPECT_EQ(testenv::Script().messages,
              QStringList{Info("「入力画面」の画面は、このバージョンではまだ使用できません。")});
    EXPECT_FALSE(QFile::exists(kBackupDatabase));
    EXPECT_TRUE(forms::LoadedForms().empty());
}

TEST_F(Lifecycle, FailedRestoreKeepsBothFilesAndStillShowsTheMenu)
{
    frm節点座標1* s = Open();
    AddNode(s, "4");
    const QString edited = testenv::FileHash(kWorkingDatabase);
    // Something holds the working name so that the copy cannot take it.
    s->ScreenDatabase.reset();
    const QString moved = QStringLiteral("held.mdb");
    s->MarkEnding();
    CloseInputRecordsets(s->ScreenDatabase, s->ScreenRecordset);
    ASSERT_TRUE(QFile::rename(kWorkingDatabase, moved));
    ASSERT_TRUE(QDir().mkpath(kWorkingDatabase + "/inside"));
    EndInputForm(true);
    EXPECT_TRUE(QFile::exists(kBackupDatabase));
    EXPECT_EQ(testenv::FileHash(kBackupDatabase), untouched);
    EXPECT_EQ(testenv::FileHash(moved), edited);
    EXPECT_EQ(testenv::Script().messages, QStringList{Exclamation(kDatabaseAccess)});
    EXPECT_EQ(menuShown, 1);
    // The edits are still in the working file: the results stay stale.
    EXPECT_EQ(AnalyzeFinish(), "False");
}

TEST_F(Lifecycle, FailedBackupDeletionOnCommitStillMarksStaleAndShowsTheMenu)
{
    frm節点座標1* s = Open();
    AddNode(s, "4");
    ASSERT_TRUE(QFile::remove(kBackupDatabase));
    ASSERT_TRUE(QDir().mkpath(kBackupDatabase + "/inside"));
    s->Cmd登録_Click();
    EXPECT_EQ(testenv::Script().messages, QStringList{Exclamation(kDatabaseAccess)});
    EXPECT_EQ(AnalyzeFinish(), "False");
    EXPECT_EQ(menuShown, 1);
    EXPECT_EQ(Rows("節点座標1", {"No_"}).size(), 4);
}

TEST_F(Lifecycle, CancelWithoutABackupLeavesTheWorkingFileAlone)
{
    frm節点座標1* s = Open();
    AddNode(s, "4");
    const QString edited = testenv::FileHash(kWorkingDatabase);
    ASSERT_TRUE(QFile::remove(kBackupDatabase));
    s->cmdCancel_Click();
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), edited);
    EXPECT_EQ(menuShown, 1);
    EXPECT_EQ(AnalyzeFinish(), "False");
}

TEST_F(Lifecycle, ScreenGoneByNeitherPathMarksStaleAndTouchesNoFile)
{
    frm節点座標1* s = Open();
    AddNode(s, "4");
    const QString edited = testenv::FileHash(kWorkingDatabase);
    s->Unload();   // the session ends
    EXPECT_FALSE(s->IsLoaded());
    EXPECT_EQ(AnalyzeFinish(), "False");
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), edited);
    EXPECT_EQ(testenv::FileHash(kBackupDatabase), untouched);
    EXPECT_EQ(menuShown, 0);
    EXPECT_FALSE(s->ScreenDatabase);
}

TEST_F(Lifecycle, OnePositionServesEveryScreen)
{
    reg::SaveSetting("Input", "InputLeft", "abc");   // unreadable: centred
    frm節点座標1* s = Open();
    const QRect area = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(s->LeftTw(), (forms::Tw(area.width()) - s->WidthTw()) * 0.5, 60);
    s->MoveTw(1500, 1200);
    s->cmdCancel_Click();
    EXPECT_EQ(reg::GetNumber("Input", "InputLeft", -1), 1500);
    EXPECT_EQ(reg::GetNumber("Input", "InputTop", -1), 1200);

    Program().ScreenCode = ScreenBasicData;
    ASSERT_TRUE(StartInputForm());
    forms::Form* b = Program().CurrentInputForm.data();
    EXPECT_EQ(b->LeftTw(), 1500);
    EXPECT_EQ(b->TopTw(), 1200);
    b->showMinimized();
    b->MoveTw(3000, 3000);
    reg::SaveSetting("Input", "InputLeft", "1500");
    EndInputForm(true);
    EXPECT_EQ(reg::GetNumber("Input", "InputLeft", -1), 1500);
}

// The one position of the input screens, stored on a larger monitor or off
// the screen's edge, brings a screen of any size up whole: each screen is
// moved in no further than it needs. With none stored, each is centred in
// what the panels leave of the screen.
TEST_F(Lifecycle, AStoredPositionOffTheScreenIsBroughtWithinIt)
{
    using testenv::kCentred;
    using testenv::kFarEdge;
    const testenv::StoredPlace cases[] = {
        {"stored on 1920 x 1080", {0, 0, 1366, 768}, "25500", "14000", kFarEdge, kFarEdge},
        {"left of and above the screen", {0, 0, 1366, 768}, "-4500", "-3000", 0, 0},
        {"under a panel at the top", {0, 32, 1366, 736}, "1500", "0", 100, 32},
        {"none stored, a panel at the top", {0, 32, 1366, 736}, nullptr, nullptr, kCentred, kCentred},
        {"none stored, a panel at the left", {64, 0, 1302, 768}, nullptr, nullptr, kCentred, kCentred},
    };
    for (const testenv::StoredPlace& c : cases) {
        for (int16_t code : {ScreenNodeCoordinates, ScreenBasicData, ScreenMemberEndPlacement}) {
            SCOPED_TRACE(std::string(c.what) + ", screen " + std::to_string(code));
            forms::SetAvailableScreenArea(c.screen);
            testenv::StorePlacement("Input", {"InputLeft", "InputTop"}, testenv::StoredValues(c));
            Program().ScreenCode = code;
            ASSERT_TRUE(StartInputForm());
            // Placed again, if need be, once the window has its frame.
            QCoreApplication::processEvents();
            testenv::ExpectFrameAt(c, Program().CurrentInputForm->frameGeometry());
            EndInputForm(true);
        }
    }
}

TEST_F(Lifecycle, GridHeightToolTipsAndTabStops)
{
    frm節点座標1* s = Open();
    auto* grid = s->findChild<dao::DataGrid*>("DBGrid");
    ASSERT_NE(grid, nullptr);
    EXPECT_NEAR(grid->HeightTw(), 11 * grid->RowHeight() + 140, 15);
    EXPECT_EQ(s->cmdMU->toolTip(), "選択されているデータの並び順を、1つ前のデータと入れ換えます");
    EXPECT_EQ(s->Cmd登録->toolTip(), "この画面で実行したデータの編集を決定します");
    EXPECT_EQ(s->cmdReferRAMEN->toolTip(), "現在の入力データを基に、ラーメン図を表示します");
    EXPECT_EQ(s->Box("txtNo")->focusPolicy(), Qt::ClickFocus);
    for (const char* b : {"txtX", "txtY", "txtZ"}) EXPECT_EQ(s->Box(b)->focusPolicy(), Qt::StrongFocus) << b;
    EXPECT_EQ(s->cmd追加->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(grid->focusPolicy(), Qt::ClickFocus);
}

TEST_F(Lifecycle, ToolTipsAreNotSetWhenTheOptionIsOff)
{
    reg::SaveSetting("Public", "ChkToolTipText", "False");
    frm節点座標1* s = Open();
    EXPECT_TRUE(s->cmdMU->toolTip().isEmpty());
    EXPECT_TRUE(s->Cmd登録->toolTip().isEmpty());
}

}  // namespace
