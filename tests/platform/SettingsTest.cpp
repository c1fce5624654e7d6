#include "platform/Settings.h"
#include "common/QtPrint.h"

#include "common/FullDisk.h"
#include "common/TestEnv.h"
#include "platform/SafeFileFaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

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
    QSettings file(testenv::SettingsFilePath(), QSettings::IniFormat);
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

TEST(Settings, TextsAreKeptAsWritten)
{
    const QStringList texts = {"a, b", " lead and trail ", "@Variant(x)", "構造 設計", "", "C:\\保存データ\\x.lzh",
                               "a;b=c", "\"q\""};
    for (int i = 0; i < texts.size(); ++i) reg::SaveSetting("Public", QString("T%1").arg(i), texts[i]);
    reg::Sync();
    for (int i = 0; i < texts.size(); ++i) EXPECT_EQ(reg::GetSetting("Public", QString("T%1").arg(i)), texts[i]) << i;
    QSettings file(testenv::SettingsFilePath(), QSettings::IniFormat);
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(file.value(QString("Public/T%1").arg(i)).toString(), texts[i]) << i;
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

    reg::SaveSetting("Mainmenu", "DataName", "工事2");
    ASSERT_TRUE(reg::Sync());
    QSettings file(testenv::SettingsFilePath(), QSettings::IniFormat);
    EXPECT_EQ(file.childGroups(), QStringList({"Input", "MainMenu", "Preview", "Public"}));
    EXPECT_EQ(file.allKeys().size(), 7);
    EXPECT_EQ(file.value("MainMenu/DataName").toString(), "工事2");
    EXPECT_EQ(file.value("MainMenu/DataPass").toString(), "C:\\保存データ\\工事1.lzh");
    EXPECT_EQ(file.value("Input/Ramen/Zoom").toString(), "1.5");
    EXPECT_EQ(file.value("Preview/Note").toStringList(), QStringList({"a", "b"}));

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

// A really full disk, where the settings live or where the file is put
// together before it is written: the previous file stays.
TEST(Settings, AFullDiskKeepsThePreviousFile)
{
    for (bool settingsFolderFull : {true, false}) {
        SCOPED_TRACE(settingsFolderFull ? "settings folder full" : "temporary folder full");
        testenv::SmallDisk disk(testenv::MakeDir(settingsFolderFull ? QStringLiteral("settings-disk") : QStringLiteral("scratch-disk")), 256 * 1024);
        if (!disk.Mounted()) GTEST_SKIP() << disk.Why().toStdString();
        const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
        const QByteArray tempFolder = qgetenv("TMPDIR");
        if (settingsFolderFull) qputenv("XDG_CONFIG_HOME", QFile::encodeName(disk.Path()));
        else qputenv("TMPDIR", QFile::encodeName(disk.Path()));
        WriteEarlierSettingsFile();
        reg::Reopen();
        const QByteArray before = testenv::ReadFile(testenv::SettingsFilePath());
        ASSERT_TRUE(disk.FillLeaving(0));

        for (int i = 0; i < 50; ++i) reg::SaveSetting("Input", QString("Column%1").arg(i), QString(100, u'x'));
        EXPECT_FALSE(reg::Sync());
        EXPECT_EQ(testenv::ReadFile(testenv::SettingsFilePath()), before);
        EXPECT_EQ(reg::GetSetting("Input", "Column49"), QString(100, u'x'));

        // Back on a disk with room, the settings are written whole.
        if (settingsFolderFull) qputenv("XDG_CONFIG_HOME", configHome);
        else if (tempFolder.isNull()) qunsetenv("TMPDIR");
        else qputenv("TMPDIR", tempFolder);
        reg::Reopen();
    }
}
