// The main menu window through its real widgets.
#include "common/Hooks.h"
#include "common/LockHolder.h"
#include "common/TestEnv.h"
#include "platform/Forms.h"
#include "platform/Settings.h"
#include "core/ProgramState.h"
#include "app/Main.h"
#include "app/MainMenuCommands.h"
#include "app/frmMainmenu.h"
#include "app/AboutBox.h"
#include "core/frmAnalyze.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QApplication>
#include <QStatusBar>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = &testenv::ResetScript();
        ASSERT_TRUE(Main());
    }
    ui::ScriptedServices* script = nullptr;
    bool ended = false;
    testenv::HookFor<std::function<void()>> lastWindow{forms::SetLastWindowHandler, nullptr};
    testenv::HookFor<std::function<void()>> endProgram{forms::SetEndProgramHandler, [this] { ended = true; }};
    frmMainmenu& menu() { return MainMenuForm(); }
};

}  // namespace

TEST_F(MainMenuTest, ControlsCarryTheirDesignTexts)
{
    EXPECT_EQ(menu().revisionPanel->text(), QStringLiteral("rev. 080329"));
    EXPECT_EQ(menu().cmdOpen->text(), QStringLiteral("読み込み(&O)"));
    EXPECT_EQ(menu().findChild<QPushButton*>(QStringLiteral("cmdバージョン情報"))->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"));
    EXPECT_EQ(menu().txtInputMenu->text(), QStringLiteral("       1　基本データ"));
    EXPECT_TRUE(menu().Text1->toPlainText().contains(QStringLiteral("\n\nここでは、")));
    EXPECT_EQ(menu().width(), 749);   // 11235 twips
}

TEST_F(MainMenuTest, MarksCannotBeChangedByTheUser)
{
    QListWidgetItem* item = menu().lstInputMenu->item(3);
    item->setCheckState(Qt::Checked);
    EXPECT_EQ(item->checkState(), Qt::Unchecked);
}

TEST_F(MainMenuTest, ToolTipOptionSwitchesEveryTipButItsOwn)
{
    menu().chkToolTipText->setChecked(false);
    EXPECT_EQ(reg::GetSetting(QStringLiteral("Public"), QStringLiteral("ChkToolTipText")), QStringLiteral("False"));
    EXPECT_TRUE(menu().cmdOpen->toolTip().isEmpty());
    EXPECT_TRUE(menu().lstInputMenu->toolTip().isEmpty());
    EXPECT_FALSE(menu().chkToolTipText->toolTip().isEmpty());
    menu().chkToolTipText->setChecked(true);
    EXPECT_EQ(menu().cmdOpen->toolTip(), QStringLiteral("ZELKOVAが保管したデータを読み込みます"));
    menu().chkInputDelete->setChecked(false);
    EXPECT_EQ(reg::GetSetting(QStringLiteral("Public"), QStringLiteral("ChkDelete")), QStringLiteral("False"));
}

TEST_F(MainMenuTest, ExitQuestionNoKeepsRunningButStoresPlaceAndItem)
{
    menu().lstInputMenu->setCurrentRow(4);
    script->answers.push_back(ui::Answer::No);
    EXPECT_FALSE(menu().Unload());
    EXPECT_TRUE(menu().IsLoaded());
    EXPECT_FALSE(ended);
    EXPECT_EQ(script->messages.last(), QStringLiteral("message=question|プログラムを終了してもいいですか？"));
    EXPECT_EQ(reg::GetSetting(QStringLiteral("Mainmenu"), QStringLiteral("LstInputIndex")), QStringLiteral("4"));
    EXPECT_TRUE(reg::HasSetting(QStringLiteral("MainMenu"), QStringLiteral("MainMenuLeft")));
    script->answers.push_back(ui::Answer::Yes);
    menu().cmdEnd_Click();
    EXPECT_TRUE(ended);
}

// The exit writes the settings without waiting for another copy that keeps
// the file: what it stores then is written once the file is free (the
// program's end waits for it). The other copy would let go of the file for a
// write that waited, which would then be on disk.
TEST_F(MainMenuTest, ExitDoesNotWaitForTheSettingsFile)
{
    reg::SaveSetting(QStringLiteral("Mainmenu"), QStringLiteral("LstInputIndex"), QStringLiteral("2"));
    ASSERT_TRUE(reg::Sync());
    ASSERT_EQ(testenv::SettingOnDisk(QStringLiteral("LstInputIndex")), QStringLiteral("2"));
    menu().lstInputMenu->setCurrentRow(5);
    testenv::LockYielder other(QFileInfo(testenv::SettingsFilePath()).path());
    ASSERT_TRUE(other.Holding());
    script->answers.push_back(ui::Answer::Yes);
    menu().cmdEnd_Click();
    EXPECT_TRUE(ended);
    EXPECT_EQ(testenv::SettingOnDisk(QStringLiteral("LstInputIndex")), QStringLiteral("2"));
    EXPECT_EQ(reg::GetSetting(QStringLiteral("Mainmenu"), QStringLiteral("LstInputIndex")), QStringLiteral("5"));

    other.Kill();
    QDeadlineTimer deadline(10000);
    while (testenv::SettingOnDisk(QStringLiteral("LstInputIndex")) != QStringLiteral("5") && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(testenv::SettingOnDisk(QStringLiteral("LstInputIndex")), QStringLiteral("5"));
}

// A place stored on a larger monitor must not leave the menu out of reach;
// one that fits stays as it is; with none stored the menu is centred in what
// the panels leave of the screen. The menu loads afresh, as it does when
// another window hands back to it.
TEST_F(MainMenuTest, StoredPlaceIsKeptWithinTheScreen)
{
    using testenv::kCentred;
    using testenv::kFarEdge;
    const testenv::StoredPlace cases[] = {
        {"stored on 1920 x 1080", {0, 0, 1366, 768}, "25000", "12000", kFarEdge, kFarEdge},
        {"beyond the bottom only", {0, 0, 1366, 768}, "1500", "9000", 100, kFarEdge},
        {"fits: kept as it is", {0, 0, 1366, 768}, "1500", "1200", 100, 80},
        {"above a panel at the top", {0, 32, 1366, 736}, "-600", "0", 0, 32},
        {"none stored", {0, 0, 1366, 768}, nullptr, nullptr, kCentred, kCentred},
        {"none stored, a panel at the top", {0, 32, 1366, 736}, nullptr, nullptr, kCentred, kCentred},
        {"none stored, a panel at the left", {64, 0, 1302, 768}, nullptr, nullptr, kCentred, kCentred},
    };
    for (const testenv::StoredPlace& c : cases) {
        SCOPED_TRACE(c.what);
        Program().MainMenuSwitching = true;
        ASSERT_TRUE(menu().Unload());
        forms::SetAvailableScreenArea(c.screen);
        testenv::StorePlacement("Mainmenu", {"MainMenuLeft", "MainMenuTop"}, testenv::StoredValues(c));
        menu().Show();
        testenv::ExpectFrameAt(c, menu().frameGeometry());
        EXPECT_EQ(menu().size(), QSize(749, 498));
    }
}

// At the program's start no window shows the frame the menu will wear: once
// it has one, the menu is centred by it, not by its inside.
TEST_F(MainMenuTest, TheFirstOpeningCentresTheFrame)
{
    QApplication::processEvents();
    const testenv::StoredPlace centred = {"none stored", forms::AvailableScreenArea(), nullptr, nullptr,
                                          testenv::kCentred, testenv::kCentred};
    testenv::ExpectFrameAt(centred, menu().frameGeometry());
    EXPECT_GT(menu().frameGeometry().height(), menu().height());
}

TEST_F(MainMenuTest, CancelWarningLivesOnlyWhileTheProgramRuns)
{
    EXPECT_FALSE(menu().chkCancelMesege->isChecked());
    menu().chkCancelMesege->setChecked(true);
    EXPECT_TRUE(Program().WarnOnCancel);
    // The menu loads afresh when another window hands back to it.
    Program().MainMenuSwitching = true;
    menu().Unload();
    menu().Show();
    EXPECT_TRUE(menu().chkCancelMesege->isChecked());
    EXPECT_TRUE(Program().WarnOnCancel);
}

TEST_F(MainMenuTest, ReportHeaderIsPaddedAndCut)
{
    menu().lblConstructionName->setText(QString(60, QChar(u'あ')));
    menu().lblDesign->setText(QStringLiteral("設計者"));
    CaptureReportHeader();
    EXPECT_EQ(Program().ReportHeader.ProjectName, QString(50, QChar(u'あ')));
    EXPECT_EQ(Program().ReportHeader.Designer, QStringLiteral("設計者") + QString(47, QLatin1Char(' ')));
    EXPECT_EQ(Program().ReportHeader.Remarks, QString(50, QLatin1Char(' ')));
}

TEST_F(MainMenuTest, EnterAndDoubleClickOpenTheSelectedItem)
{
    menu().lstInputMenu->setCurrentRow(11);
    QTest::keyClick(menu().lstInputMenu, Qt::Key_Return);
    ASSERT_FALSE(script->messages.isEmpty());
    EXPECT_TRUE(script->messages.last().contains(QStringLiteral("断面設計共通事項")));
    EXPECT_TRUE(menu().IsLoaded());
}

TEST_F(MainMenuTest, KeepsItsDesignSizeAndNamesTheInformationPage)
{
    EXPECT_EQ(menu().minimumSize(), menu().size());
    EXPECT_EQ(menu().maximumSize(), menu().size());
    menu().resize(1200, 900);
    EXPECT_EQ(menu().width(), 749);
    EXPECT_EQ(menu().StatusBar1->width(), menu().width());

    // The panel shows the page's title; a click on it opens the page.
    EXPECT_EQ(menu().infoPanel->text(), QStringLiteral("ZELKOVA のご案内"));
    QString caption;
    QTimer::singleShot(0, [&] {
        if (auto* w = qobject_cast<frm01WebBrows*>(QApplication::activeModalWidget())) {
            caption = w->Caption();
            w->Unload();
        }
    });
    menu().StatusBar1_PanelClick(menu().infoPanel);
    EXPECT_EQ(caption, QStringLiteral("ZELKOVA のご案内"));
}

// Windows that have no place of their own open centred on the menu, frame
// and all, as they are shown.
TEST_F(MainMenuTest, AboutBoxInformationPageAndProgressOpenCentredOnTheMenu)
{
    // A screen on which each of them fits where it is centred.
    forms::SetAvailableScreenArea({0, 0, 1366, 768});
    menu().Show();
    menu().move(40, 30);
    QApplication::processEvents();
    const QPoint centre = menu().frameGeometry().center();
    auto near = [&](forms::Form& w) {
        w.Show();
        QApplication::processEvents();
        return (w.frameGeometry().center() - centre).manhattanLength() <= 2;
    };

    frmAbout about;
    EXPECT_TRUE(near(about));
    frm01WebBrows page;
    EXPECT_TRUE(near(page));
    EXPECT_TRUE(near(*AnalyzeForm()));
    ReleaseAnalyzeForm();

    // The information page closes with Esc.
    QTest::keyClick(page.WebBrowser1, Qt::Key_Escape);
    EXPECT_FALSE(page.IsLoaded());
}
