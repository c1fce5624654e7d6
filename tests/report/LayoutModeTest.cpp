// The layout mode of the preview window: entering and leaving it, the
// diagram shown, and the rows of PreviewMentPoint after each command.
#include "PreviewWindowSupport.h"

#include "common/Values.h"
#include "platform/Database.h"
#include "report/PreviewSettingsFile.h"
#include "diagram/UpDownControl.h"
#include "report/WindowControls.h"
#include "report/diagrams/DiagramPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

using reporttest::PreviewWindow;
using report::PlacementKey;
using report::PlacementRow;

namespace {

const QString kDatabaseMessage = QStringLiteral(
    "message=exclamation|データベースにアクセスできません。\r\n"
    "もしデータベースをオープンしている場合はデータベースを閉じて、もう一度処理を実行して下さい。\r\n"
    "それでもエラーが発生する場合はメインメニューで[クリア]を実行して下さい。");

testenv::ReportProjectSetup TwoCases()
{
    testenv::ReportProjectSetup setup;
    setup.cases = 2;
    return setup;
}

std::optional<PlacementRow> Row(PlacementKey key)
{
    report::PlacementTable t(*Program().SharedDatabase);
    return t.Find(key);
}

int RowCount()
{
    dao::RecordsetPtr rs = Program().SharedDatabase->OpenRecordset(QStringLiteral("PreviewMentPoint"));
    const int n = rs->RecordCount();
    rs->Close();
    return n;
}

void Store(const PlacementRow& row)
{
    report::PlacementTable t(*Program().SharedDatabase);
    if (!t.Update(row)) t.Add(row);
}

TEST(LayoutMode, EnteringAndLeavingKeepsPageZoomScrollAndPageLabel)
{
    PreviewWindow p(TwoCases(), ScreenResultsPreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    w->resize(1366, 740);
    w->show();
    QApplication::processEvents();
    const int frameTop = w->Frame[0]->y();
    w->GoToPage(3);
    w->vsp->SetZoomPercent(200);
    w->vsp->SetScrollLeft(2000);
    w->vsp->SetScrollTop(5000);
    const double left = w->vsp->ScrollLeft(), top = w->vsp->ScrollTop();
    ASSERT_GT(left, 1900);
    ASSERT_GT(top, 4900);

    w->cmdMentPreview->click();
    EXPECT_EQ(w->DocumentMode(), QStringLiteral("MENT"));
    ASSERT_EQ(p.Pages(), 1);
    EXPECT_EQ(w->vsp->CurrentDocument().pages[0].settings.orientation, preview::Landscape);
    EXPECT_TRUE(w->InLayoutMode());
    EXPECT_EQ(w->cmdClose->text(), QStringLiteral("戻る"));
    EXPECT_EQ(w->cmdClose->toolTip(), QStringLiteral("通常の画面に戻ります"));
    EXPECT_FALSE(w->Picture1->isHidden());
    for (QWidget* c : std::initializer_list<QWidget*>{w->cmdPrint, w->cmdPreviewInfoSetUp, w->cmdMentPreview})
        EXPECT_TRUE(c->isHidden());
    EXPECT_FALSE(w->mnuFile->menuAction()->isEnabled());
    EXPECT_FALSE(w->mnu全体->isEnabled());   // its key F1 with it
    EXPECT_EQ(w->Frame[1]->y(), frameTop);
    EXPECT_TRUE(w->txtCase->isEnabled());
    EXPECT_EQ(w->lblCP->text(), QStringLiteral("2"));   // the labels keep their text
    // The displacement diagram of case 1 got its row, centred.
    const auto row = Row({true, 1});
    ASSERT_TRUE(row);
    EXPECT_NE(row->xx, -1);
    EXPECT_EQ(w->txtX->text(), rt::Format(row->xx, QStringLiteral("0")));

    w->cmdClose->click();
    EXPECT_EQ(w->DocumentMode(), QStringLiteral("ANALYZE"));
    EXPECT_EQ(w->vsp->PreviewPage(), 3);
    EXPECT_EQ(w->vsp->ZoomPercent(), 200);
    // The layout page showed whole, without scroll bars; they are back in
    // time for the position.
    EXPECT_EQ(w->vsp->ScrollLeft(), left);
    EXPECT_EQ(w->vsp->ScrollTop(), top);
    EXPECT_EQ(w->lblCP->text(), QStringLiteral("2"));
    EXPECT_EQ(w->cmdClose->text(), QStringLiteral("閉じる"));
    EXPECT_EQ(w->cmdClose->toolTip(), QStringLiteral("メインメニューに戻ります"));
    EXPECT_TRUE(w->Picture1->isHidden());
    EXPECT_FALSE(w->cmdPrint->isHidden());
    EXPECT_TRUE(w->mnuFile->menuAction()->isEnabled());
    EXPECT_TRUE(w->mnu全体->isEnabled());
    EXPECT_EQ(w->Frame[0]->y(), frameTop);
    EXPECT_EQ(p.menuShown, 0);   // "戻る" did not close the window
}

// The report became shorter in the layout mode (its displacement diagram
// now fits one page): leaving shows the last page, not the cover.
TEST(LayoutMode, LeavingAShorterReportShowsItsLastPage)
{
    PreviewWindow p(TwoCases(), ScreenResultsPreview);
    PreviewInfoRecord info = report::DefaultPreviewInfo(-1);
    info.ShowDisplacement = 1;
    ASSERT_TRUE(report::WritePreviewInfo(info));
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    Store({{true, 1}, -1, -1, 20000});   // a poster of several pages
    w->MakePreviewDocument(QStringLiteral("ANALYZE"));
    const int pages = p.Pages();
    w->cmdML->click();

    w->cmdMentPreview->click();
    w->chkSyncPreview->setChecked(false);
    w->UpdateDrawButton();
    w->txtzoom->setText(QStringLiteral("-1"));
    w->cmdDRAW->click();
    w->cmdClose->click();
    ASSERT_LT(p.Pages(), pages);
    EXPECT_EQ(w->vsp->PreviewPage(), p.Pages());
    EXPECT_EQ(w->lblCP->text(), QString::number(p.Pages() - 1));
    EXPECT_EQ(w->lblAP->text(), QString::number(p.Pages() - 1));
}

// The frame-diagram preview works on the frame's row; the File menu's
// item brings the control panel back first.
TEST(LayoutMode, FrameDiagramFromTheFileMenu)
{
    PreviewWindow p({}, ScreenFramePreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    w->mnuControl->trigger();
    ASSERT_TRUE(w->Picture2->isHidden());
    w->mnuMentPreview->trigger();
    EXPECT_FALSE(w->Picture2->isHidden());
    EXPECT_TRUE(w->mnuControl->isChecked());
    EXPECT_TRUE(w->InLayoutMode());
    EXPECT_TRUE(Row(report::kFramePlacement));
    EXPECT_EQ(RowCount(), 1);
    w->cmdClose->click();
    EXPECT_EQ(w->DocumentMode(), QStringLiteral("RAMEN"));
    EXPECT_EQ(w->lblCP->text(), QStringLiteral("1"));
}

TEST(LayoutMode, RowsAfterEachCommand)
{
    PreviewWindow p(TwoCases(), ScreenResultsPreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    w->cmdMentPreview->click();
    w->chkSyncPreview->click();   // off: "再描画" stores
    ASSERT_TRUE(w->cmdDRAW->isEnabled());

    // A typed -1 is an ordinary offset.
    w->txtX->setText(QStringLiteral("-1"));
    w->txtY->setText(QStringLiteral("30"));
    w->txtzoom->setText(QStringLiteral("5"));
    w->cmdDRAW->click();
    auto row = Row({true, 1});
    ASSERT_TRUE(row);
    EXPECT_FLOAT_EQ(row->xx, -1.001f);
    EXPECT_FLOAT_EQ(row->yy, 30);
    EXPECT_FLOAT_EQ(row->zoom, 5);
    EXPECT_EQ(w->txtX->text(), QStringLiteral("-1"));

    // Centre everything: existing rows keep their zoom, the others are added
    // to be fitted; the shown diagram is centred again at once.
    w->cmdMCenter->click();
    EXPECT_EQ(RowCount(), 7);
    for (const PlacementKey& key : {PlacementKey{false, -1}, PlacementKey{false, 0}, PlacementKey{true, 0},
                                    PlacementKey{false, 1}, PlacementKey{false, 2}, PlacementKey{true, 2}}) {
        row = Row(key);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->xx, -1);
        EXPECT_EQ(row->yy, -1);
        EXPECT_EQ(row->zoom, -1);
    }
    row = Row({true, 1});
    EXPECT_NE(row->xx, -1);
    EXPECT_FLOAT_EQ(row->zoom, 5);

    // Case 2 shown: its centring marker reads "-1.002" and is kept, so the
    // picture centres it and stores the centred offsets.
    const int beeps = testenv::Script().beeps;
    w->upnCase->UpButton()->click();
    EXPECT_EQ(w->txtCase->text(), QStringLiteral(" 2"));
    w->upnCase->UpButton()->click();
    EXPECT_EQ(w->txtCase->text(), QStringLiteral(" 2"));
    EXPECT_EQ(testenv::Script().beeps, beeps);
    w->cmdCase指定->click();
    row = Row({true, 2});
    EXPECT_NE(row->xx, -1);
    EXPECT_NE(row->xx, -1.002f);
    EXPECT_EQ(row->zoom, -1);
    EXPECT_EQ(w->txtX->text(), rt::Format(row->xx, QStringLiteral("0")));

    // The boxes into every row, the marker as the marker; the picture stays.
    w->txtX->setText(QStringLiteral("-1.002"));
    w->txtY->setText(QStringLiteral("15"));
    w->txtzoom->setText(QStringLiteral("3"));
    w->cmdConstZoom->click();
    EXPECT_EQ(RowCount(), 7);
    for (const PlacementKey& key : {PlacementKey{false, -1}, PlacementKey{true, 1}, PlacementKey{true, 2}}) {
        row = Row(key);
        EXPECT_EQ(row->xx, -1);
        EXPECT_FLOAT_EQ(row->yy, 15);
        EXPECT_FLOAT_EQ(row->zoom, 3);
    }
    EXPECT_EQ(w->txtX->text(), QStringLiteral("-1.002"));

    // A box without a number refuses the command.
    w->txtzoom->setText(QString());
    w->cmdConstZoom->click();
    EXPECT_EQ(testenv::Script().beeps, beeps + 1);
    EXPECT_FLOAT_EQ(Row({false, 0})->zoom, 3);

    // "表示" on a case without a row shows the defaults of a missing row.
    w->upnCase->DownButton()->click();
    w->upnCase->DownButton()->click();
    EXPECT_EQ(w->txtCase->text(), QStringLiteral(" 1"));
    w->opnOurk->click();   // its picture adds its row; take it away again
    Program().SharedDatabase->Execute(QStringLiteral("DELETE FROM \"PreviewMentPoint\" WHERE \"bln種類\" = 0 AND \"Case\" = 1"));
    ASSERT_FALSE(Row({false, 1}));
    w->cmdCase指定->click();
    row = Row({false, 1});
    ASSERT_TRUE(row);
    EXPECT_FLOAT_EQ(row->xx, 20);
    EXPECT_FLOAT_EQ(row->yy, 20);
    EXPECT_EQ(row->zoom, -1);
}

// Rows of some cases only: "現在の倍率に合す" fills the others, centred.
TEST(LayoutMode, SameZoomForEveryDiagram)
{
    PreviewWindow p(TwoCases(), ScreenFramePreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    Store({{false, 1}, 5, 6, 7});
    w->cmdMentPreview->click();
    w->txtX->setText(QStringLiteral("-1"));
    w->txtY->setText(QStringLiteral("12"));
    w->txtzoom->setText(QStringLiteral("4"));
    w->cmdConstZoom->click();
    EXPECT_EQ(RowCount(), 7);
    auto row = Row({false, 1});
    EXPECT_FLOAT_EQ(row->xx, -1.001f);
    EXPECT_FLOAT_EQ(row->yy, 12);
    EXPECT_FLOAT_EQ(row->zoom, 4);
    row = Row({true, 2});
    EXPECT_EQ(row->xx, -1);
    EXPECT_EQ(row->yy, -1);
    EXPECT_FLOAT_EQ(row->zoom, 4);
}

// With a combination the case cannot be chosen; the picture and "再描画"
// work on case 0.
TEST(LayoutMode, CombinationShowsCaseZero)
{
    PreviewWindow p(TwoCases(), ScreenResultsPreview);
    PreviewInfoRecord info = report::DefaultPreviewInfo(-1);
    info.CombineCases = -1;
    info.CaseSelected = {-1, -1};
    ASSERT_TRUE(report::WritePreviewInfo(info));
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    ASSERT_EQ(Program().PreviewInfo.CombineCases, -1);
    w->cmdMentPreview->click();
    for (QWidget* c : std::initializer_list<QWidget*>{w->txtCase, w->lblchkCase, w->cmdCase指定, w->upnCase})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(Row({true, 0}));
    EXPECT_FALSE(Row({true, 1}));
    w->chkSyncPreview->click();
    w->txtX->setText(QStringLiteral("12"));
    w->cmdDRAW->click();
    EXPECT_FLOAT_EQ(Row({true, 0})->xx, 12);
    w->opnOurk->click();
    EXPECT_TRUE(Row({false, 0}));
}

TEST(LayoutMode, SyncSwitchAndRedrawButton)
{
    PreviewWindow p({}, ScreenFramePreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    w->chkSyncPreview->setChecked(true);
    w->UpdateDrawButton();
    EXPECT_FALSE(w->cmdDRAW->isEnabled());
    w->chkSyncPreview->click();
    EXPECT_TRUE(w->cmdDRAW->isEnabled());
    w->chkSyncPreview->click();
    EXPECT_FALSE(w->cmdDRAW->isEnabled());
    // Two states only.
    for (QCheckBox* c : w->findChildren<QCheckBox*>()) EXPECT_FALSE(c->isTristate()) << c->objectName().toStdString();
}

// A database error while the rows are read or written: a beep and the
// database-access message; the window stays usable.
TEST(LayoutMode, DatabaseErrorsLeaveTheWindowUsable)
{
    PreviewWindow p({}, ScreenResultsPreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    w->cmdMentPreview->click();
    w->chkSyncPreview->setChecked(false);
    w->UpdateDrawButton();
    Program().SharedDatabase->Execute(QStringLiteral("DROP TABLE \"PreviewMentPoint\""));
    for (QAbstractButton* command :
         std::initializer_list<QAbstractButton*>{w->cmdDRAW, w->cmdCase指定, w->cmdMCenter, w->cmdConstZoom}) {
        testenv::ResetScript();
        command->click();
        EXPECT_EQ(testenv::Script().messages, QStringList{kDatabaseMessage}) << command->objectName().toStdString();
        EXPECT_EQ(testenv::Script().beeps, 1);
        EXPECT_TRUE(w->isEnabled());
        EXPECT_TRUE(w->InLayoutMode());
    }
}

// "プレビューの作成を終了しますか？" answered Yes: the build ends without a
// message of its own and the combination of the display contents stays.
TEST(LayoutMode, StoppingAtAMemberWithoutItsNodeIsQuiet)
{
    PreviewWindow p(TwoCases(), ScreenResultsPreview);
    PreviewInfoRecord info = report::DefaultPreviewInfo(-1);
    info.CombineCases = -1;
    info.CaseSelected = {-1, 0};
    info.CaseFactor = {1.5f, 1};
    ASSERT_TRUE(report::WritePreviewInfo(info));
    {
        dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
        db->AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", QStringLiteral("材料番号"), QStringLiteral("順")},
                       {{testenv::I(9), testenv::I(1), testenv::I(99), testenv::I(1), testenv::I(9)}});
        // The member has its force rows, so the tables print and the build
        // reaches the diagram, which meets the missing node.
        db->Execute(QStringLiteral("CREATE TEMP TABLE Member9 AS SELECT * FROM \"Analyze部材応力\" WHERE \"No_\" = 1"));
        db->Execute(QStringLiteral("UPDATE Member9 SET \"No_\" = 9"));
        db->Execute(QStringLiteral("INSERT INTO \"Analyze部材応力\" SELECT * FROM Member9"));
        db->Close();
    }
    testenv::ResetScript().answers.push_back(ui::Answer::Yes);
    ASSERT_TRUE(p.Open());
    ASSERT_EQ(testenv::Script().messages.size(), 1) << testenv::Script().messages.join("\n").toStdString();
    EXPECT_TRUE(testenv::Script().messages[0].startsWith(QStringLiteral("message=question|部材番号 : 9")));
    EXPECT_EQ(p.Pages(), 0);
    EXPECT_TRUE(p.w()->isEnabled());
    PreviewInfoRecord stored = report::DefaultPreviewInfo(0);
    report::LoadPreviewInfo(stored);
    EXPECT_EQ(stored.CombineCases, -1);
    EXPECT_EQ(stored.CaseSelected[0], -1);
    EXPECT_FLOAT_EQ(stored.CaseFactor[0], 1.5f);
}

}  // namespace
