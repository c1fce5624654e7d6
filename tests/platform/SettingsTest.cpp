#include "platform/Settings.h"
#include "common/QtPrint.h"

#include "common/TestEnv.h"

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
