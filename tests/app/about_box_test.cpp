// The version-information box and the information-page window.
#include "common/QtPrint.h"
#include "common/TestEnv.h"
#include "platform/Settings.h"
#include "app/AboutBox.h"
#include "core/ProgramState.h"
#include "app/InfoPage.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <gtest/gtest.h>

TEST(AboutBox, LoadFillsTitleVersionAndNotices)
{
    Program().ProgramVersion = QStringLiteral("1.41");
    frmAbout box;
    box.Load();
    EXPECT_EQ(box.Caption(), QStringLiteral("ZELKOVAのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(box.lblTitle->text(), QStringLiteral("ZELKOVA　（断面設計機能）"));
    EXPECT_EQ(box.lblVersion->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ   1.41    rev. 080329"));
    EXPECT_EQ(box.lblDescription->text(), QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの説明"));
    EXPECT_TRUE(box.lblCopyright->text().contains(QString::number(QDate::currentDate().year())));
    EXPECT_EQ(box.lblDisclaimer->text().split(QLatin1Char('\n')).size(), 2);
    EXPECT_EQ(box.cmdSysInfo->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
    for (const char* name : {"picIcon", "lblTitle", "lblVersion", "lblDescription", "lblCopyright", "lblDisclaimer",
                             "cmdOK", "cmdSysInfo", "Line1"})
        EXPECT_NE(box.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;

    Program().ProgramVersion = QStringLiteral("2.00");
    frmAbout again;
    again.Load();
    EXPECT_EQ(again.lblVersion->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ   2.00    rev. 080329"));

    box.Show();
    box.cmdOK->click();
    EXPECT_FALSE(box.IsLoaded());
    EXPECT_FALSE(box.isVisible());
}

TEST(AboutBox, SystemInformationViewerComesFromTheSettings)
{
    const QString kMessage = QStringLiteral("message=none|現時点ではｼｽﾃﾑ情報を使用できません");
    frmAbout box;
    box.Load();

    // None named: the message, nothing started.
    ui::ScriptedServices& s = testenv::ResetScript();
    box.cmdSysInfo->click();
    EXPECT_EQ(s.messages, QStringList{kMessage});
    EXPECT_TRUE(s.startedPrograms.isEmpty());

    // A named viewer that cannot be started: it is tried, then the message.
    reg::SaveSetting(kSysInfoSection, kSysInfoPathKey, QStringLiteral("/opt/none/sysinfo-viewer"));
    ui::ScriptedServices& s2 = testenv::ResetScript();
    box.StartSysInfo();
    EXPECT_EQ(s2.startedPrograms, QStringList{QStringLiteral("/opt/none/sysinfo-viewer")});
    EXPECT_EQ(s2.messages, QStringList{kMessage});

    // One that starts: no message.
    ui::ScriptedServices& s3 = testenv::ResetScript();
    s3.startSucceeds = true;
    box.StartSysInfo();
    EXPECT_EQ(s3.startedPrograms.size(), 1);
    EXPECT_TRUE(s3.messages.isEmpty());

    QString value = QStringLiteral("old");
    EXPECT_TRUE(box.GetKeyValue(QStringLiteral("sysinfo"), QStringLiteral("path"), value));
    EXPECT_EQ(value, QStringLiteral("/opt/none/sysinfo-viewer"));
    EXPECT_FALSE(box.GetKeyValue(kSysInfoSection, QStringLiteral("Missing"), value));
    EXPECT_EQ(value, QString());
}

TEST(WebWindow, ShowsTheShippedInformationPageFillingTheWindow)
{
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        frm01WebBrows w;
        const QSize design = w.size();
        w.Show();
        QApplication::processEvents();
        EXPECT_EQ(w.Caption(), InfoPageTitle());
        EXPECT_EQ(w.WebBrowser1->source(), QUrl(InfoPageAddress()));
        EXPECT_TRUE(w.WebBrowser1->toPlainText().contains(QStringLiteral("立体フレームの応力解析")))
            << w.WebBrowser1->toPlainText().left(200).toStdString();
        EXPECT_EQ(w.size(), design);
        EXPECT_EQ(w.WebBrowser1->geometry(), QRect(QPoint(0, 0), w.size()));
        w.resize(500, 300);
        QApplication::processEvents();
        EXPECT_EQ(w.WebBrowser1->geometry(), QRect(0, 0, 500, 300));
        w.Unload();
    }
}
