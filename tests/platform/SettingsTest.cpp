#include "platform/Settings.h"
#include "common/QtPrint.h"

#include "common/FullDisk.h"
#include "common/LockHolder.h"
#include "common/TestEnv.h"
#include "platform/SafeFileFaults.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The settings file as the settings library of earlier versions reads it,
// from a copy of a name it has never read: it keeps files it has read.
std::unique_ptr<QSettings> ReadByTheEarlierLibrary()
{
    static int copies = 0;
    const QString copy = testenv::MakeDir(QString("earlier-reader-%1").arg(++copies)) + "/ZELKOVA.conf";
    QFile::copy(testenv::SettingsFilePath(), copy);
    return std::make_unique<QSettings>(copy, QSettings::IniFormat);
}

}  // namespace

TEST(Settings, NamesMatchWithoutRegardToCase)
{
    reg::SaveSetting("Mainmenu", "datapass", "A");
    reg::SaveSetting("MainMenu", "DataPass", "B");
    EXPECT_EQ(reg::GetSetting("MAINMENU", "DATAPASS"), "B");
    EXPECT_TRUE(reg::HasSetting("mainmenu", "DataPASS"));

    reg::SaveSetting("Input\\Ramen", "Zoom", "1.5");
    reg::SaveSetting("input\\ramen", "ZOOM", "2");
    reg::SaveSetting("Input", "Zoom", "9");  // a value of the parent section is another value
    EXPECT_EQ(reg::GetSetting("INPUT\\Ramen", "zoom"), "2");
    EXPECT_EQ(reg::GetSetting("Input", "zoom"), "9");
    reg::Sync();

    // One stored value each, under the first spelling.
    const std::unique_ptr<QSettings> earlier = ReadByTheEarlierLibrary();
    QSettings& file = *earlier;
    EXPECT_EQ(file.value("Mainmenu/datapass").toString(), "B");
    EXPECT_EQ(file.childGroups(), QStringList({"Input", "Mainmenu"}));
    file.beginGroup("Mainmenu");
    EXPECT_EQ(file.childKeys(), QStringList({"datapass"}));
    file.endGroup();
    EXPECT_EQ(file.value("Input/Ramen/Zoom").toString(), "2");

    reg::DeleteSetting("MAINMENU", "DATAPASS");
    EXPECT_FALSE(reg::HasSetting("Mainmenu", "datapass"));
    EXPECT_EQ(reg::GetSetting("Mainmenu", "datapass", "none"), "none");
    reg::DeleteSetting("Preview", "Absent");  // nothing to remove is no fault
}

// Whatever a value holds, it reads back the same after a restart, and the
// settings library of earlier versions reads it the same too.
TEST(Settings, EveryTextReadsBackAfterARestart)
{
    const QStringList texts = {"a, b", " lead and trail ", "@Variant(x)", "@home", "構造 設計", "",
                               "C:\\保存データ\\x.lzh", "a;b=c", "\"q\"", "100% \\", "\tx\r\ny\n",
                               QStringLiteral("\uFEFFproject.lzh"), QString(3000, u'長')};
    for (int i = 0; i < texts.size(); ++i) reg::SaveSetting("Public", QString("T%1").arg(i), texts[i]);
    ASSERT_TRUE(reg::Sync());
    reg::Reopen();
    for (int i = 0; i < texts.size(); ++i) EXPECT_EQ(reg::GetSetting("Public", QString("T%1").arg(i)), texts[i]) << i;
    const std::unique_ptr<QSettings> earlier = ReadByTheEarlierLibrary();
    QSettings& file = *earlier;
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(file.value(QString("Public/T%1").arg(i)).toString(), texts[i]) << i;
}

// No value can stop the others from being written: a project named with a
// leading byte order mark, then the analysis flag at once.
TEST(Settings, NoValueBlocksTheOthers)
{
    reg::SaveSetting("Mainmenu", "DataName", QStringLiteral("\uFEFFproject.lzh"));
    ASSERT_TRUE(reg::Sync());
    EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False"), reg::WriteResult::Written);
    EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), "False");
    reg::Reopen();
    EXPECT_EQ(reg::GetSetting("Mainmenu", "DataName"), QStringLiteral("\uFEFFproject.lzh"));
    EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "True"), reg::WriteResult::Written);
}

TEST(Settings, TypedReadsFallBackToTheDefault)
{
    reg::SaveBool("Public", "ChkToolTipText", true);
    EXPECT_EQ(reg::GetSetting("Public", "chktooltiptext"), "True");
    EXPECT_TRUE(reg::GetBool("Public", "ChkToolTiptext", false));
    reg::SaveBool("Public", "ChkToolTipText", false);
    EXPECT_EQ(reg::GetSetting("Public", "ChkToolTipText"), "False");
    EXPECT_FALSE(reg::GetBool("Public", "ChkToolTipText", true));
    EXPECT_TRUE(reg::GetBool("Public", "Missing", true));

    struct Case { const char* text; bool boolOk; double number; int integer; };
    // Stored text -> GetBool(default true), GetNumber(default -99), GetInteger(default -99).
    const Case cases[] = {
        {"garbage", true, -99, -99}, {"", true, -99, -99},   {"1,5", true, -99, -99},
        {" 12 ", true, 12, 12},      {"2.5", true, 2.5, -99}, {"40000", true, 40000, -99},
        {"-32768", true, -32768, -32768}, {"0", false, 0, 0}, {"1e2", true, 100, 100},
    };
    for (const Case& c : cases) {
        reg::SaveSetting("Preview", "V", c.text);
        EXPECT_EQ(reg::GetBool("Preview", "V", true), c.boolOk) << c.text;
        EXPECT_EQ(reg::GetNumber("Preview", "V", -99), c.number) << c.text;
        EXPECT_EQ(reg::GetInteger("Preview", "V", -99), c.integer) << c.text;
    }
}

namespace {

// The settings as a program of an earlier run left them: written by QSettings
// in its INI format, sections spelt as they were first written.
void WriteEarlierSettingsFile()
{
    QSettings file(testenv::SettingsFilePath(), QSettings::IniFormat);
    file.setValue("Public/AnalyzeFinish", "True");
    file.setValue("Public/ChkToolTiptext", "False");
    file.setValue("MainMenu/DataPass", "C:\\保存データ\\工事1.lzh");
    file.setValue("MainMenu/DataName", "工事1");
    file.setValue("Input/InputLeft", "1200");
    file.setValue("Input/Ramen/Zoom", "1.5");
    file.setValue("Preview/Note", QStringList({"a", "b"}));   // a list, as a hand-edited "a, b" reads
    file.setValue("Preview/Tag", "@home");
    file.setValue("Preview/Title", " a, b ");
    file.setValue("Preview/My Key", "x");
    file.setValue("Preview/表示", "y");
    file.sync();
    ASSERT_EQ(file.status(), QSettings::NoError);
}

}  // namespace

// A file of an earlier run loads, names matched without regard to case, and
// a change rewrites it with every other value, section and spelling kept.
TEST(Settings, AFileOfAnEarlierRunLoadsAndKeepsItsValues)
{
    WriteEarlierSettingsFile();
    reg::Reopen();
    EXPECT_EQ(reg::GetSetting("Mainmenu", "datapass"), "C:\\保存データ\\工事1.lzh");
    EXPECT_FALSE(reg::GetBool("Public", "ChkToolTipText", true));
    EXPECT_EQ(reg::GetNumber("input\\RAMEN", "zoom", 0), 1.5);
    EXPECT_EQ(reg::GetSetting("Preview", "Note"), "a, b");
    EXPECT_EQ(reg::GetSetting("Preview", "Tag"), "@home");
    EXPECT_EQ(reg::GetSetting("Preview", "Title"), " a, b ");
    EXPECT_EQ(reg::GetSetting("Preview", "my key"), "x");
    EXPECT_EQ(reg::GetSetting("Preview", "表示"), "y");

    // Only the changed line changes.
    QByteArray expected = testenv::ReadFile(testenv::SettingsFilePath());
    ASSERT_TRUE(expected.contains("DataName=工事1\n"));
    expected.replace("DataName=工事1\n", "DataName=工事2\n");
    reg::SaveSetting("Mainmenu", "DataName", "工事2");
    ASSERT_TRUE(reg::Sync());
    EXPECT_EQ(testenv::ReadFile(testenv::SettingsFilePath()), expected);
    reg::Reopen();
    EXPECT_EQ(reg::GetSetting("Mainmenu", "DataName"), "工事2");
    EXPECT_EQ(reg::GetSetting("Mainmenu", "DataPass"), "C:\\保存データ\\工事1.lzh");

    // A change reaches the file from the event loop too, as it always did.
    reg::SaveSetting("Public", "AnalyzeFinish", "False");
    EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), "True");
    QCoreApplication::processEvents();
    EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), "False");
}

// However the write fails, the file keeps what it held, the values stay in
// memory, and the next write that can be made puts them in the file.
TEST(Settings, AFailedWriteKeepsThePreviousFile)
{
    WriteEarlierSettingsFile();
    reg::Reopen();
    const QByteArray before = testenv::ReadFile(testenv::SettingsFilePath());
    const struct {
        const char* what;
        files::FailingStep step;
        qint64 room;
    } faults[] = {
        {"disk full at once", files::FailingStep::Write, 0},
        {"disk full half-way", files::FailingStep::Write, 40},
        {"flush fails", files::FailingStep::Sync, 0},
        {"rename fails", files::FailingStep::Rename, 0},
    };
    int n = 0;
    for (const auto& f : faults) {
        SCOPED_TRACE(f.what);
        reg::SaveSetting("Input", "InputTop", QString::number(++n));
        reg::DeleteSetting("Public", "AnalyzeFinish");
        {
            files::InjectedWriteFailure failure(f.step, f.room);
            EXPECT_FALSE(reg::Sync());
            QCoreApplication::processEvents();   // the event loop's write fails alike
            EXPECT_GT(failure.Failures(), 0);
        }
        EXPECT_EQ(testenv::ReadFile(testenv::SettingsFilePath()), before);
        EXPECT_EQ(QDir(QFileInfo(testenv::SettingsFilePath()).path()).entryList(QDir::Files),
                  QStringList{"ZELKOVA.conf"});
        EXPECT_EQ(reg::GetInteger("input", "inputtop", 0), n);
        EXPECT_FALSE(reg::HasSetting("Public", "AnalyzeFinish"));
    }
    ASSERT_TRUE(reg::Sync());
    reg::Reopen();
    EXPECT_EQ(reg::GetInteger("Input", "InputTop", 0), n);
    EXPECT_EQ(reg::GetSetting("MainMenu", "DataName"), "工事1");
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish", "<absent>"), "<absent>");
}

// A full or nearly full disk where the settings live: at every level of free
// room the file afterwards is the old one byte for byte, or the whole new
// one, and the write says which; never a new one cut short. The values stay
// in memory and are written once there is room.
TEST(Settings, ANearlyFullDiskLeavesTheOldFileOrTheWholeNewOne)
{
    testenv::SmallDisk disk(testenv::MakeDir(QStringLiteral("settings-disk")), 256 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why().toStdString();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(disk.Path()));
    const QString folder = disk.Path() + "/ZELKOVA";
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const int kilobytes : {1, 5, 11}) {
        // The program's sections, then lines added by hand.
        QByteArray old = "[Public]\nChkCancel=False\nAnalyzeFinish=True\n\n[Input]\nInputLeft=1200\n\n[ByHand]\n";
        for (int n = 0; old.size() < kilobytes * 1000; ++n) old += QString("note%1=kept by hand, line %1\n").arg(n, 3, 10, QChar(u'0')).toUtf8();
        QByteArray whole = old;
        whole.replace("AnalyzeFinish=True\n", "AnalyzeFinish=False\n").replace("InputLeft=1200\n", "InputLeft=1300\n");
        int written = 0, failed = 0;
        for (qint64 room = 0; room <= 40 * 1024; room += 1024) {
            SCOPED_TRACE(QString("%1 KB file, %2 bytes free").arg(kilobytes).arg(room).toStdString());
            QFile::remove(disk.Path() + "/filler");
            reg::Reopen();
            ASSERT_TRUE(testenv::WriteFile(testenv::SettingsFilePath(), old));
            reg::Reopen();
            ASSERT_TRUE(disk.FillLeaving(room));

            reg::SaveSetting("Input", "InputLeft", "1300");
            const reg::WriteResult result = reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False");
            if (result == reg::WriteResult::Written) {
                ++written;
                EXPECT_EQ(testenv::ReadFile(testenv::SettingsFilePath()), whole);
                EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "False");
            } else {
                ++failed;
                EXPECT_EQ(result, reg::WriteResult::Failed);
                EXPECT_EQ(testenv::ReadFile(testenv::SettingsFilePath()), old);
                EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
            }
            EXPECT_EQ(testenv::FilesIn(folder), QStringList{"ZELKOVA.conf"});
            EXPECT_EQ(reg::GetSetting("Input", "InputLeft"), "1300");

            QFile::remove(disk.Path() + "/filler");
            ASSERT_TRUE(reg::Sync());
            EXPECT_EQ(testenv::SettingOnDisk("InputLeft"), "1300");
        }
        // The levels reach from a disk too full to one with room enough.
        EXPECT_GT(failed, 0);
        EXPECT_GT(written, 0);
    }
    reg::Reopen();
}

// Nothing outside the settings folder is needed: a full system temporary
// folder stops no write, and a write leaves nothing there.
TEST(Settings, AFullTemporaryFolderStopsNoWrite)
{
    testenv::SmallDisk disk(testenv::MakeDir(QStringLiteral("temporary-disk")), 64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why().toStdString();
    ASSERT_TRUE(disk.FillLeaving(0));
    const QByteArray tempFolder = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(disk.Path()));
    WriteEarlierSettingsFile();
    reg::Reopen();
    reg::SaveSetting("Public", "AnalyzeFinish", "False");
    EXPECT_TRUE(reg::Sync());
    EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), "False");
    EXPECT_EQ(testenv::FilesIn(disk.Path()), QStringList{"filler"});
    if (tempFolder.isNull()) qunsetenv("TMPDIR");
    else qputenv("TMPDIR", tempFolder);
}

// A write changes only the lines of the program's values: comments, blank
// lines, values of others and lines that are no values stay byte for byte,
// in their place.
TEST(Settings, OtherLinesStayByteForByte)
{
    const QByteArray foreign = "; settings of ZELKOVA, with notes by hand\n"
                               "[Public]\nAnalyzeFinish=True\nTags=draft, @home\nX%9Y9]a=%,@Z/\n"
                               "a line without an equals sign\n[half a section\n\n[Mine]\nwho=me ; a comment\n";
    QDir().mkpath(QFileInfo(testenv::SettingsFilePath()).path());
    ASSERT_TRUE(testenv::WriteFile(testenv::SettingsFilePath(), foreign));
    reg::Reopen();
    EXPECT_EQ(reg::GetSetting("Public", "Tags"), "draft, @home");

    for (const char* value : {"False", "True", "False"}) {
        EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", value), reg::WriteResult::Written) << value;
        EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), value);
    }
    reg::SaveSetting("Mainmenu", "DataName", "工事");
    reg::SaveSetting("Public", "ChkCancel", "True");
    ASSERT_TRUE(reg::Sync());
    EXPECT_EQ(testenv::ReadFile(testenv::SettingsFilePath()),
              "; settings of ZELKOVA, with notes by hand\n"
              "[Public]\nAnalyzeFinish=False\nTags=draft, @home\nX%9Y9]a=%,@Z/\n"
              "a line without an equals sign\nChkCancel=True\n[half a section\n\n[Mine]\nwho=me ; a comment\n"
              "\n[Mainmenu]\nDataName=工事\n");
    reg::Reopen();
    EXPECT_EQ(reg::GetSetting("public", "analyzefinish"), "False");
    EXPECT_EQ(reg::GetSetting("Mine", "who"), "me");
}

namespace {

// Runs the settings writer of another program with `changes`; its output.
QString RunOtherProgram(const QStringList& changes)
{
    QProcess other;
    other.start(QStringLiteral(ZELKOVA_SETTINGS_WRITER), changes);
    if (!other.waitForFinished(60000)) return QStringLiteral("did not finish");
    return QString::fromUtf8(other.readAllStandardOutput()).trimmed();
}

// Makes the settings file a symbolic link to `target`, as given (relative or
// not); the settings are read afresh.
void LinkSettingsFileTo(const QString& target)
{
    const QString link = testenv::SettingsFilePath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(link).path()));
    QFile::remove(link);
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
    reg::Reopen();
}

// What the link `link` says, or "<no link>".
QString LinkText(const QString& link)
{
    char text[4096];
    const ssize_t n = ::readlink(QFile::encodeName(link).constData(), text, sizeof text);
    return n < 0 ? QStringLiteral("<no link>") : QFile::decodeName(QByteArray(text, n));
}

}  // namespace

// Each write reads the file afresh and applies only what this run changed:
// what another program stored or removed meanwhile, or a hand edit, stays.
TEST(Settings, AWriteKeepsWhatAnotherProgramStoredMeanwhile)
{
    WriteEarlierSettingsFile();
    reg::Reopen();
    ASSERT_EQ(reg::GetSetting("Mainmenu", "DataName"), "工事1");
    reg::SaveSetting("Public", "AnalyzeFinish", "False");

    ASSERT_EQ(RunOtherProgram({"MAINMENU/DataName=工事9", "-Input/InputLeft", "Preview/Added=1",
                               "Input\\Ramen/Zoom=3"}),
              "written");
    // By hand, in a section the program does not know.
    QByteArray text = testenv::ReadFile(testenv::SettingsFilePath());
    text.append("\n[ByHand]\nnote=kept\n");
    ASSERT_TRUE(testenv::WriteFile(testenv::SettingsFilePath(), text));

    reg::SaveSetting("input\\ramen", "zoom", "2");
    ASSERT_TRUE(reg::Sync());
    const std::unique_ptr<QSettings> earlier = ReadByTheEarlierLibrary();
    QSettings& file = *earlier;
    EXPECT_EQ(file.value("Public/AnalyzeFinish").toString(), "False");
    EXPECT_EQ(file.value("MainMenu/DataName").toString(), "工事9");
    EXPECT_FALSE(file.contains("Input/InputLeft"));
    EXPECT_EQ(file.value("Preview/Added").toString(), "1");
    EXPECT_EQ(file.value("Input/Ramen/Zoom").toString(), "2");
    EXPECT_EQ(file.value("ByHand/note").toString(), "kept");
    // This run now reads what the other stored.
    EXPECT_EQ(reg::GetSetting("Mainmenu", "DataName"), "工事9");
    EXPECT_FALSE(reg::HasSetting("Input", "InputLeft"));
}

// Two programs writing at the same moment lose none of each other's values:
// with one settings folder, and with two whose settings files link to one
// file (two accounts keeping their settings in one shared file). The other
// program writes each value on its own, and this one starts once it has
// begun.
TEST(Settings, TwoProgramsWritingAtOnceLoseNothing)
{
    const struct {
        const char* what;
        bool linked;
        int writes;
    } cases[] = {
        {"one settings folder", false, 40},
        {"two settings folders linking to one file", true, 150},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ++n;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(testenv::MakeDir(QString("config-%1").arg(n))));
        reg::Reopen();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        QString shared = testenv::SettingsFilePath();
        QString otherLink;
        if (c.linked) {
            shared = testenv::MakeDir(QString("dotfiles-%1").arg(n)) + "/zelkova.conf";
            LinkSettingsFileTo(shared);
            const QString otherConfig = testenv::MakeDir(QString("other-config-%1").arg(n));
            otherLink = otherConfig + "/ZELKOVA/ZELKOVA.conf";
            ASSERT_TRUE(QDir().mkpath(otherConfig + "/ZELKOVA"));
            ASSERT_TRUE(QFile::link(shared, otherLink));
            environment.insert("XDG_CONFIG_HOME", otherConfig);
        }
        QStringList theirs;
        for (int i = 0; i < c.writes; ++i) theirs << QString("Other/K%1=%1").arg(i);
        QProcess other;
        other.setProcessEnvironment(environment);
        other.start(QStringLiteral(ZELKOVA_SETTINGS_WRITER), QStringList{"--each"} + theirs);
        ASSERT_TRUE(other.waitForStarted());
        QDeadlineTimer started(30000);
        while (!testenv::ReadFile(shared).contains("[Other]") && !started.hasExpired()) ::usleep(1000);
        for (int i = 0; i < c.writes; ++i) {
            reg::SaveSetting("Mine", QString("K%1").arg(i), QString::number(i));
            ASSERT_TRUE(reg::Sync());
        }
        ASSERT_TRUE(other.waitForFinished(60000));
        ASSERT_EQ(QString::fromUtf8(other.readAllStandardOutput()).trimmed(), "written");
        const std::unique_ptr<QSettings> earlier = ReadByTheEarlierLibrary();
        QSettings& file = *earlier;
        int lost = 0;
        for (int i = 0; i < c.writes; ++i) {
            lost += file.value(QString("Mine/K%1").arg(i)).toString() != QString::number(i);
            lost += file.value(QString("Other/K%1").arg(i)).toString() != QString::number(i);
        }
        EXPECT_EQ(lost, 0);
        if (c.linked) {
            EXPECT_EQ(LinkText(testenv::SettingsFilePath()), shared);
            EXPECT_EQ(LinkText(otherLink), shared);
        }
    }
}

// An at-once write gets the lock from another copy that writes back to back:
// the lock passes to the one waiting as soon as it is let go. The other copy
// lets go of it only for a process that waits for it in the system, and
// takes it again right after each write: one that polled the lock would
// never get it, however quiet or busy the machine.
TEST(Settings, AnAtOnceWriteIsNotStarvedByACopyWritingBackToBack)
{
    ASSERT_TRUE(reg::Sync() && QDir().mkpath(QFileInfo(testenv::SettingsFilePath()).path()));
    testenv::LockYielder other(QFileInfo(testenv::SettingsFilePath()).path());
    ASSERT_TRUE(other.Holding());
    for (const char* value : {"False", "True", "False", "True", "False", "True"}) {
        ASSERT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", value), reg::WriteResult::Written) << value;
        EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), value);
        ASSERT_TRUE(other.TakeAgain());
    }
}

// A write that can be made later does not wait while another copy holds the
// file: its value stays pending and is written once the file is free. The
// other copy holds the lock on the settings folder, or, where the settings
// file links to a file in another folder, the lock on that folder, as a copy
// with another settings folder linking there does. It would let go of the
// lock for a write that waited, which would then be on disk.
TEST(Settings, AWriteThatCanWaitDoesNotWaitForTheLock)
{
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "the folder of the file a link points to" : "the settings folder");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(testenv::MakeDir(linked ? "config-linked" : "config")));
        QString held = QFileInfo(testenv::SettingsFilePath()).path();
        if (linked) {
            held = testenv::MakeDir("dotfiles");
            LinkSettingsFileTo(held + "/zelkova.conf");
        }
        reg::Reopen();
        reg::SaveSetting("Public", "ChkCancel", "True");
        ASSERT_TRUE(reg::Sync());
        testenv::LockYielder holder(held);
        ASSERT_TRUE(holder.Holding());

        reg::SaveSetting("Public", "ChkCancel", "False");
        QCoreApplication::processEvents();   // the event loop's write
        EXPECT_FALSE(reg::SyncIfFree());
        EXPECT_EQ(testenv::SettingOnDisk("ChkCancel"), "True");
        EXPECT_EQ(reg::GetSetting("Public", "ChkCancel"), "False");

        // Tried again without a further change, once the other lets go.
        holder.Kill();
        QDeadlineTimer deadline(10000);
        while (testenv::SettingOnDisk("ChkCancel") != "False" && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(testenv::SettingOnDisk("ChkCancel"), "False");
    }
}

// An at-once write through a link waits for the lock on the settings folder
// and that on the folder of the file it points to together no longer than
// for one: here the first is let go of after 3 s and the second is kept.
TEST(Settings, AnAtOnceWriteWaitsForBothLocksTogetherAFewSecondsAtMost)
{
    const QString folder = testenv::MakeDir("dotfiles");
    LinkSettingsFileTo(folder + "/zelkova.conf");
    reg::SaveSetting("Public", "AnalyzeFinish", "True");
    ASSERT_TRUE(reg::Sync());
    {
        const testenv::LockHolder settingsFolder(QFileInfo(testenv::SettingsFilePath()).path(), 3000);
        const testenv::LockHolder filesFolder(folder, -1);
        ASSERT_TRUE(settingsFolder.Holding() && filesFolder.Holding());
        QElapsedTimer waited;
        waited.start();
        EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False"), reg::WriteResult::Busy);
        EXPECT_LT(waited.elapsed(), 7000);
    }
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
    EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), "True");
    EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False"), reg::WriteResult::Written);
    EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), "False");
}

// An at-once write that cannot be made says why: another copy kept the file
// all along, or the file cannot be written. The value is as it was.
TEST(Settings, AnAtOnceWriteSaysWhyItFailed)
{
    reg::SaveSetting("Public", "AnalyzeFinish", "True");
    ASSERT_TRUE(reg::Sync());
    {
        testenv::LockHolder holder(QFileInfo(testenv::SettingsFilePath()).path(), -1);
        ASSERT_TRUE(holder.Holding());
        EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False"), reg::WriteResult::Busy);
    }
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
    {
        files::InjectedWriteFailure full(files::FailingStep::Write, 0);
        EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False"), reg::WriteResult::Failed);
    }
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
    EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), "True");
}

// A write killed while it holds the lock, or the empty lock file such a kill
// of a lock-file writer leaves, stops no later write.
TEST(Settings, AWriterKilledWhileItWritesStopsNoLaterWrite)
{
    reg::SaveSetting("Public", "AnalyzeFinish", "True");
    ASSERT_TRUE(reg::Sync());
    const QString folder = QFileInfo(testenv::SettingsFilePath()).path();
    ASSERT_TRUE(testenv::WriteFile(folder + "/ZELKOVA.conf.lock", ""));
    testenv::LockHolder writer(folder, -1);
    ASSERT_TRUE(writer.Holding());
    EXPECT_TRUE(files::FolderLock(folder).HeldElsewhere());
    writer.Kill();

    reg::SaveSetting("Public", "AnalyzeFinish", "False");
    EXPECT_TRUE(reg::Sync());
    EXPECT_EQ(testenv::SettingOnDisk("AnalyzeFinish"), "False");
}

// What a write killed on the way leaves beside the file goes at the next
// start; files of other names stay.
TEST(Settings, LeftoversOfAKilledWriteGoAtTheNextStart)
{
    reg::SaveSetting("Public", "AnalyzeFinish", "True");
    ASSERT_TRUE(reg::Sync());
    reg::Reopen();
    const QString folder = QFileInfo(testenv::SettingsFilePath()).path();
    const QStringList leftovers{"ZELKOVA.conf.~zelkova-tmp-0123abcd", "ZELKOVA.conf.~zelkova-tmp-89ef4567"};
    const QStringList others{"ZELKOVA.conf.bak", "ZELKOVA.conf.20250107", "ZELKOVA.conf.12345678.before",
                             "ZELKOVA.conf.0123abcd", "ZELKOVA.conf.~zelkova-tmp-0123ABCD",
                             "ZELKOVA.conf.~zelkova-tmp-0123abcd.txt", "ZELKOVA.conf.~zelkova-tmp-0123abc",
                             "notes.conf.~zelkova-tmp-0123abcd", "ZELKOVA.conf.~zelkova-tmp-89ef4567.lock",
                             "ZELKOVA.conf.~zelkova-tmp-0123abcd\n", "ZELKOVA.conf.~zelkova-tmp-0123abcd.mZrq0I"};
    for (const QString& name : leftovers + others) ASSERT_TRUE(testenv::WriteFile(folder + "/" + name, "x"));

    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
    QStringList expected = others;
    expected << "ZELKOVA.conf";
    expected.sort();
    EXPECT_EQ(testenv::FilesIn(folder), expected);
}

// The settings file as a link to a file not made yet, in a folder of the
// user's own: a write makes that file, and the link stays; messages name it.
// A relative link counts from the link's folder; a link may lead to another.
TEST(Settings, ALinkToAFileNotMadeYetIsWrittenAsThatFile)
{
    const QString settingsFolder = QFileInfo(testenv::SettingsFilePath()).path();
    const struct {
        const char* what;
        const char* link;     // the settings file's link, "<file>" standing for the file's path
        const char* second;   // a further link "<folder>/second" and what it says, or none
        QByteArray before;    // what the file holds already, or null: not made yet
    } cases[] = {
        {"a link to a file not made yet", "<file>", nullptr, {}},
        {"a relative link", "<relative>", nullptr, {}},
        {"a link to a link, relative", "<folder>/second", "zelkova.conf", {}},
        {"a link to a file there", "<file>", nullptr, "; mine\n[Mine]\nwho=me\n"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = testenv::MakeDir(QString("dotfiles-%1").arg(++n));
        const QString file = folder + "/zelkova.conf";
        if (!c.before.isNull()) {
            ASSERT_TRUE(testenv::WriteFile(file, c.before));
        }
        if (c.second) {
            ASSERT_EQ(::symlink(c.second, QFile::encodeName(folder + "/second").constData()), 0);
        }
        QString link = QString::fromUtf8(c.link);
        link.replace("<file>", file).replace("<folder>", folder).replace("<relative>", QDir(settingsFolder).relativeFilePath(file));
        LinkSettingsFileTo(link);
        EXPECT_EQ(reg::FilePath(), file);

        EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False"), reg::WriteResult::Written);
        EXPECT_EQ(LinkText(testenv::SettingsFilePath()), link);
        EXPECT_EQ(testenv::ReadFile(file), c.before + (c.before.isEmpty() ? "" : "\n") + "[Public]\nAnalyzeFinish=False\n");
        // Another copy writes there too; a restart reads the file.
        EXPECT_EQ(RunOtherProgram({"Public/ChkDelete=False"}), "written");
        reg::Reopen();
        EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "False");
        EXPECT_EQ(reg::GetSetting("Public", "ChkDelete"), "False");
        EXPECT_EQ(LinkText(testenv::SettingsFilePath()), link);
        QStringList expected{"zelkova.conf"};
        if (c.second) expected.prepend("second");
        EXPECT_EQ(testenv::FilesIn(folder), expected);
    }
}

// A link to where no file can be made (a folder that is not there, a loop
// of links) fails the write and is left as it is; the folder is not made,
// and messages name the file the link points to.
TEST(Settings, ALinkToWhereNoFileCanBeMadeIsLeftAsItIs)
{
    const QString folder = testenv::MakeDir("dotfiles");
    const QString missing = folder + "/gone/zelkova.conf";
    LinkSettingsFileTo(missing);
    EXPECT_EQ(reg::FilePath(), missing);
    EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False"), reg::WriteResult::Failed);
    reg::SaveSetting("Input", "InputLeft", "1200");
    EXPECT_FALSE(reg::Sync());
    EXPECT_FALSE(QFileInfo::exists(folder + "/gone"));
    EXPECT_EQ(LinkText(testenv::SettingsFilePath()), missing);

    // A loop of links, and a chain of more links than the system follows,
    // say so; a message names the settings file itself.
    ASSERT_EQ(::symlink(QFile::encodeName(testenv::SettingsFilePath()).constData(),
                        QFile::encodeName(folder + "/loop").constData()), 0);
    for (int i = 0; i < 45; ++i)
        ASSERT_TRUE(QFile::link(QString("%1/chain-%2").arg(folder).arg(i + 1), QString("%1/chain-%2").arg(folder).arg(i)));
    for (const char* first : {"loop", "chain-0"}) {
        SCOPED_TRACE(first);
        LinkSettingsFileTo(folder + "/" + first);
        EXPECT_EQ(reg::FilePath(), testenv::SettingsFilePath());
        EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False"), reg::WriteResult::LinkLoop);
        reg::SaveSetting("Input", "InputLeft", "1200");
        EXPECT_FALSE(reg::Sync());
        EXPECT_EQ(LinkText(testenv::SettingsFilePath()), folder + "/" + first);
        EXPECT_EQ(testenv::FilesIn(QFileInfo(testenv::SettingsFilePath()).path()), QStringList{"ZELKOVA.conf"});
    }
    EXPECT_EQ(LinkText(folder + "/loop"), testenv::SettingsFilePath());
    EXPECT_EQ(LinkText(folder + "/chain-44"), folder + "/chain-45");
    EXPECT_FALSE(QFileInfo::exists(folder + "/chain-45"));
}

// Anything of the settings file's name that is not a file (a pipe, a folder,
// a link to a device) is never read, never waited for and never replaced:
// the program runs on its defaults, a write that cannot wait says so, and
// the values stay pending until a file can take them.
TEST(Settings, AnythingButAFileGivesTheDefaultsAndIsLeftAsItIs)
{
    const struct {
        const char* what;
        mode_t kind;
        std::function<bool(const QString& path)> make;
        QString named;   // the path a message names, empty: the settings file
    } cases[] = {
        {"a pipe", S_IFIFO, [](const QString& path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }, {}},
        {"a folder", S_IFDIR, [](const QString& path) { return QDir().mkdir(path); }, {}},
        {"a link to a pipe", S_IFIFO,
         [](const QString& path) {
             const QByteArray pipe = QFile::encodeName(testenv::WorkDir() + "/pipe");
             return ::mkfifo(pipe.constData(), 0600) == 0 && ::symlink(pipe.constData(), QFile::encodeName(path).constData()) == 0;
         },
         testenv::WorkDir() + "/pipe"},
        {"a link to a device", S_IFCHR,
         [](const QString& path) { return ::symlink("/dev/null", QFile::encodeName(path).constData()) == 0; }, "/dev/null"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(testenv::MakeDir(QString("config-%1").arg(++n))));
        const QString path = testenv::SettingsFilePath();
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        ASSERT_TRUE(c.make(path));
        // Another copy starts, does not wait, and refuses to write.
        ASSERT_EQ(RunOtherProgram({"Public/ChkDelete=False"}), "failed");

        reg::Reopen();
        EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish", "<default>"), "<default>");
        EXPECT_EQ(reg::FilePath(), c.named.isEmpty() ? path : c.named);
        reg::SaveSetting("Input", "InputLeft", "1200");
        EXPECT_EQ(reg::SaveSettingAtOnce("Public", "AnalyzeFinish", "False"), reg::WriteResult::NotAFile);
        EXPECT_FALSE(reg::Sync());
        QCoreApplication::processEvents();   // the event loop's write
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & S_IFMT, c.kind);
        EXPECT_EQ(reg::GetSetting("Input", "InputLeft"), "1200");

        // Once the thing is gone, a file takes the values that waited.
        ASSERT_TRUE(c.kind == S_IFDIR ? QDir().rmdir(path) : QFile::remove(path));
        EXPECT_TRUE(reg::Sync());
        EXPECT_EQ(testenv::SettingOnDisk("InputLeft"), "1200");
    }
}

// A write killed through a link leaves its temporary file beside the file
// the link points to: the next start takes it there too, and only names of
// that file with the mark, once no other copy writes there.
TEST(Settings, LeftoversBesideTheFileALinkPointsToGoAtTheNextStart)
{
    const QString folder = testenv::MakeDir("dotfiles");
    ASSERT_TRUE(testenv::WriteFile(folder + "/mine.conf", "[Public]\nAnalyzeFinish=True\n"));
    LinkSettingsFileTo(folder + "/mine.conf");
    ASSERT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
    const QString settingsFolder = QFileInfo(testenv::SettingsFilePath()).path();
    const QStringList leftovers{"mine.conf.~zelkova-tmp-0123abcd", "mine.conf.~zelkova-tmp-89ef4567"};
    const QStringList others{"mine.conf.bak", "mine.conf.~zelkova-tmp-0123ABCD", "mine.conf.~zelkova-tmp-0123abcd.txt",
                             "ZELKOVA.conf.~zelkova-tmp-0123abcd", "other.conf.~zelkova-tmp-0123abcd", "mine.conf.0123abcd"};
    for (const QString& name : leftovers + others) ASSERT_TRUE(testenv::WriteFile(folder + "/" + name, "x"));
    ASSERT_TRUE(testenv::WriteFile(settingsFolder + "/ZELKOVA.conf.~zelkova-tmp-0123abcd", "x"));
    QStringList all = leftovers + others;
    all << "mine.conf";
    all.sort();

    // Not while another copy, of another settings folder linking there too,
    // writes the file: the name may be that of its new file.
    {
        const testenv::LockHolder other(folder, -1);
        ASSERT_TRUE(other.Holding());
        reg::Reopen();
        EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
        EXPECT_EQ(testenv::FilesIn(folder), all);
        EXPECT_EQ(testenv::FilesIn(settingsFolder), QStringList{"ZELKOVA.conf"});
    }

    reg::Reopen();
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
    QStringList expected = others;
    expected << "mine.conf";
    expected.sort();
    EXPECT_EQ(testenv::FilesIn(folder), expected);
}
