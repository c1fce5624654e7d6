// The preview window's life: its load for both commands, the model
// question, a load that fails, the close paths, a failed build.
#include "PreviewWindowSupport.h"

#include "diagram/ViewParameterFile.h"
#include "platform/SafeFileFaults.h"
#include "platform/Settings.h"
#include "core/frmAnalyze.h"
#include "report/PreviewSettingsFile.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include <optional>

using reporttest::PreviewWindow;

namespace {

const QString kModelQuestion = QStringLiteral(
    "message=question|節点データ、または部材データが登録されていません。このままラーメン図のプレビューの作成を続けると\r\n"
    "予期せぬエラーが発生してアプリケーションが終了することもあります。プレビューの作成を終了しますか？");
const QString kBuildFailed = QStringLiteral(
    "message=information|ドキュメントを作成中にエラーが発生したのでプレビューの作成を中止します。\r\n"
    "入力したデータを確認してみて下さい。また、変位図や応力図の表示倍率などが\r\n大き過ぎないかどうか確認して下さい。");

QStringList MenuTexts(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text() + (a->shortcut().isEmpty() ? QString() : u' ' + a->shortcut().toString()));
    return out;
}

TEST(PreviewWindow, ResultsReportOpensAfterTheDisplayContents)
{
    testenv::ReportProjectSetup setup;
    setup.cases = 2;
    PreviewWindow p(setup, ScreenResultsPreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ZELKOVA  ver 1.41　印刷プレビュー　解析結果"));
    EXPECT_EQ(w->DocumentMode(), QStringLiteral("ANALYZE"));
    EXPECT_EQ(p.Pages(), 5);
    EXPECT_EQ(w->lblAP->text(), QStringLiteral("4"));
    EXPECT_EQ(w->lblCP->text(), QStringLiteral("0"));
    EXPECT_EQ(w->vsp->ZoomPercent(), 95);
    EXPECT_TRUE(w->Picture1->isHidden());
    EXPECT_EQ(w->txtCase->text(), QStringLiteral(" 1"));
    EXPECT_TRUE(w->opnHeni->isChecked());
    EXPECT_TRUE(w->cmdPreviewInfoSetUp->isEnabled());
    EXPECT_TRUE(Program().SharedDatabase);
    EXPECT_EQ(Program().LoadCaseCount, 2);
    // The progress window went with the build.
    EXPECT_EQ(forms::FindLoadedForm(QStringLiteral("frmAnalyze")), nullptr);
    EXPECT_EQ(MenuTexts(w->mnuFile), QStringList({"表示内容指定", "表示位置調整", "印刷", "-", "閉じる"}));
    EXPECT_EQ(MenuTexts(w->mnuEdit), QStringList({"コントロールパネルを表示する", "-", "最初のページへ... F5", "前のページへ... F6",
                                                   "次のページへ F7", "最後のページへ... F8", "-", "全体表示 F1", "基準表示 F2",
                                                   "拡大 F3", "縮小 F4"}));
    EXPECT_TRUE(w->mnuControl->isChecked());
    EXPECT_EQ(w->cmdMN->toolTip(), QStringLiteral("プレビューするページを、現在のページより1つ後のページに変更します。"
                                                  "画面上で直接、[Shift] + [左クリック]でも同様の処理ができます。"));
}

TEST(PreviewWindow, ResultsReportWithTheDialogCancelledOpensEmpty)
{
    PreviewWindow p({}, ScreenResultsPreview, false);
    ASSERT_TRUE(p.Open());
    EXPECT_EQ(p.Pages(), 0);
    EXPECT_TRUE(p.w()->lblAP->text().isEmpty());
    EXPECT_TRUE(p.w()->DocumentMode().isEmpty());
}

TEST(PreviewWindow, FrameDiagramPrintIsBuiltDuringTheLoad)
{
    PreviewWindow p({}, ScreenFramePreview);
    int dialogs = 0;
    SetPreviewInfoDialogRunner([&dialogs](frmPreviewInfoSetUp&) { ++dialogs; });
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ZELKOVA  ver 1.41　印刷プレビュー　フレーム図"));
    EXPECT_EQ(w->DocumentMode(), QStringLiteral("RAMEN"));
    EXPECT_EQ(p.Pages(), 1);
    EXPECT_EQ(w->lblAP->text(), QStringLiteral("1"));
    EXPECT_EQ(w->lblCP->text(), QStringLiteral("1"));
    EXPECT_TRUE(w->txtCase->text().isEmpty());
    for (QWidget* c : std::initializer_list<QWidget*>{w->txtCase, w->lblchkCase, w->cmdCase指定, w->chkDrawEleOnly,
                                                      w->opnHeni, w->opnOurk, w->cmdPreviewInfoSetUp})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(w->mnuPreviewInfoSetUp->isEnabled());
    // The draw button is usable exactly while the switch "同時処理" is off.
    EXPECT_EQ(w->cmdDRAW->isEnabled(), !w->chkSyncPreview->isChecked());
}

// An empty node or member table: Yes stops the load — the connection closes,
// nothing is saved or compacted and the main menu is left as it is; No goes
// on, and the build never fails for want of nodes.
// A test's preview puts back every hook it replaced when it ends, those the
// test set while it was open included: none of them can reach into an object
// that is gone, as the main menu's return did when a later window closed.
TEST(PreviewWindow, ItsHooksGoBackWhenItEnds)
{
    int shownBefore = 0;
    const testenv::HookFor menu(SetShowMainMenuHandler, [&shownBefore] { ++shownBefore; });
    const preview::PrintTarget* target = &preview::CurrentPrintTarget();
    {
        PreviewWindow p({}, ScreenFramePreview);
        ASSERT_TRUE(p.Open());
        int printDialogs = 0;
        SetPrintDialogRunner([&printDialogs](frmPrintInfoSetUp&) { ++printDialogs; });
        preview::SetPrintTarget(nullptr);
        p.w()->cmdClose_Click();
        EXPECT_EQ(p.menuShown, 1);
        EXPECT_EQ(shownBefore, 0);
    }
    ShowMainMenuAgain();
    EXPECT_EQ(shownBefore, 1);
    EXPECT_EQ(&preview::CurrentPrintTarget(), target);
    EXPECT_FALSE(SetPrintDialogRunner(nullptr));
    EXPECT_FALSE(SetPreviewInfoDialogRunner(nullptr));
    const PreviewServices services = SetPreviewServices({});
    EXPECT_FALSE(services.compactDatabase);
    EXPECT_FALSE(services.archiveFolder);
}

TEST(PreviewWindow, ModelQuestionWhenNodesOrMembersAreMissing)
{
    for (int answer : {ui::Answer::Yes, ui::Answer::No}) {
        for (int16_t code : {ScreenFramePreview, ScreenResultsPreview}) {
            testenv::ResetScript().answers.push_back(answer);
            testenv::ReportProjectSetup setup;
            setup.members = 0;
            PreviewWindow p(setup, code);
            const bool opened = p.Open();
            EXPECT_EQ(testenv::Script().messages.value(0), kModelQuestion);
            EXPECT_EQ(Program().MsgResult, answer);
            if (answer == ui::Answer::Yes) {
                EXPECT_FALSE(opened);
                EXPECT_EQ(p.w(), nullptr);
                EXPECT_FALSE(Program().SharedDatabase);
                EXPECT_EQ(p.compactions, 0);
                EXPECT_EQ(p.menuShown, 0);
                EXPECT_FALSE(reg::HasSetting(QStringLiteral("Preview"), QStringLiteral("PreviewLeft")));
                EXPECT_FALSE(QFile::exists(diagram::kViewParameterFile));
            } else {
                EXPECT_TRUE(opened);
                ASSERT_TRUE(p.w());
                EXPECT_GE(p.Pages(), 1);
                EXPECT_EQ(testenv::Script().messages.size(), 1);
                p.w()->cmdClose_Click();
            }
            QFile::remove(diagram::kViewParameterFile);
        }
    }
}

// The first opening takes the screen's size where the design-sized window
// would be centred, and a placement stored on a larger screen is kept: both
// are brought within the screen, frame and all.
TEST(PreviewWindow, PlacementStaysWithinTheScreen)
{
    struct Case {
        const char* what;
        QRect screen;
        QStringList stored;   // left, top, width, height in twips; none when empty
    };
    const Case cases[] = {
        {"first opening, 1600 x 1000", {0, 0, 1600, 1000}, {}},
        {"first opening, 1024 x 768", {0, 0, 1024, 768}, {}},
        {"stored on a larger screen", {0, 0, 1024, 768}, {"25500", "13500", "27000", "16500"}},
    };
    const QStringList keys = {"PreviewLeft", "PreviewTop", "PreviewWidth", "PreviewHeight"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        forms::SetAvailableScreenArea(c.screen);
        testenv::StorePlacement(QStringLiteral("Preview"), keys, c.stored);
        // The main menu, shown while the preview opens.
        forms::Form menu(QStringLiteral("frmMainmenu"));
        menu.show();
        PreviewWindow p({}, ScreenFramePreview);
        ASSERT_TRUE(p.Open());
        EXPECT_EQ(p.w()->frameGeometry(), c.screen);
        p.w()->cmdClose_Click();
    }
}

TEST(PreviewWindow, StoredSettingsThatAreNotNumbersReadAsMissing)
{
    for (const char* key : {"PreviewLeft", "PreviewTop", "PreviewWidth", "PreviewHeight", "VSPrinterZoom"})
        reg::SaveSetting(QStringLiteral("Preview"), QString::fromLatin1(key), QStringLiteral("12ab"));
    PreviewWindow p({}, ScreenFramePreview);
    ASSERT_TRUE(p.Open());
    EXPECT_EQ(p.w()->vsp->ZoomPercent(), 95);
    EXPECT_GT(p.w()->width(), 200);
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
}

TEST(PreviewWindow, LoadThatFailsClosesEverythingAndSaysSo)
{
    PreviewWindow p({}, ScreenResultsPreview);
    {
        dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
        db->Execute(QStringLiteral("DROP TABLE \"要素情報\""));
        db->Close();
    }
    EXPECT_FALSE(p.Open());
    EXPECT_EQ(p.w(), nullptr);
    EXPECT_FALSE(Program().SharedDatabase);
    EXPECT_EQ(testenv::Script().messages, QStringList{QStringLiteral("message=exclamation|プレビューを開けませんでした。")});
    EXPECT_EQ(testenv::Script().beeps, 1);
    EXPECT_EQ(p.compactions, 0);
    EXPECT_EQ(p.menuShown, 0);
    EXPECT_TRUE(forms::LoadedForms().empty());
}

// The close box and the close button both close the connection, compact
// once, save the placement, the zoom and the view record, and bring the
// main menu back once.
TEST(PreviewWindow, ClosePathsCompactOnceAndBringTheMenuBack)
{
    for (bool closeBox : {true, false}) {
        PreviewWindow p({}, ScreenResultsPreview);
        ASSERT_TRUE(p.Open());
        frmPreview* w = p.w();
        w->vsp->SetZoomPercent(130);
        w->findChild<QLineEdit*>(QStringLiteral("txtrf"))->setText(QStringLiteral("2500"));
        w->findChild<QCheckBox*>(QStringLiteral("chkDrawMat"))->setChecked(false);
        w->resize(900, 700);
        if (closeBox) w->close();
        else w->cmdClose->click();
        EXPECT_EQ(CurrentPreviewWindow(), nullptr);
        EXPECT_FALSE(Program().SharedDatabase);
        EXPECT_EQ(p.compactions, 1);
        EXPECT_EQ(p.menuShown, 1);
        EXPECT_EQ(reg::GetSetting(QStringLiteral("Preview"), QStringLiteral("VSPrinterZoom")), QStringLiteral("130"));
        EXPECT_EQ(reg::GetSetting(QStringLiteral("Preview"), QStringLiteral("PreviewWidth")), QStringLiteral("13500"));
        EXPECT_EQ(reg::GetSetting(QStringLiteral("Preview"), QStringLiteral("PreviewHeight")), QStringLiteral("10500"));
        const diagram::ViewParameters view = diagram::LoadViewParameters(diagram::kPreviewRecord);
        EXPECT_EQ(view.rf, 2500);
        EXPECT_EQ(view.drawMat, 0);
        QFile::remove(diagram::kViewParameterFile);
        reg::DeleteSetting(QStringLiteral("Preview"), QStringLiteral("VSPrinterZoom"));
    }
}

// The window refuses to close while it builds.
TEST(PreviewWindow, NoCloseWhileABuildRuns)
{
    report::ReportChapters chapters = report::StandardChapters();
    bool stillLoaded = false;
    chapters.printInputDataChapter = [&stillLoaded](report::ReportContext&) {
        if (frmPreview* w = CurrentPreviewWindow()) {
            w->close();
            stillLoaded = w->IsLoaded();
        }
    };
    PreviewWindow p({}, ScreenResultsPreview, true, chapters);
    ASSERT_TRUE(p.Open());
    EXPECT_TRUE(stillLoaded);
    EXPECT_EQ(p.compactions, 0);
    EXPECT_EQ(p.Pages(), 4);
}

// A progress window that never paints holds the build about two seconds at
// most.
TEST(PreviewWindow, BuildGoesOnWhenTheProgressWindowNeverPaints)
{
    class NoPaint : public QObject {
    protected:
        bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest; }
    } noPaint;
    AnalyzeForm()->installEventFilter(&noPaint);
    PreviewWindow p({}, ScreenResultsPreview);
    QElapsedTimer waited;
    waited.start();
    ASSERT_TRUE(p.Open());
    EXPECT_GE(waited.elapsed(), 1500);
    EXPECT_FALSE(Program().StartAck);
    EXPECT_EQ(p.Pages(), 4);
}

// A failed build: the procedure's own message, then the general one; the
// document is dropped, the progress window closed and the combination
// cleared, while the other display settings stay.
TEST(PreviewWindow, FailedBuildDropsTheDocumentAndTheCombination)
{
    PreviewInfoRecord stored = report::DefaultPreviewInfo(-1);
    stored.CombineCases = -1;
    stored.CaseSelected[0] = -1;
    stored.CaseFactor[0] = 2;
    stored.PerNodeMember = -1;
    stored.ByLoadCase = 0;
    stored.ShowDisplacement = 1;
    stored.DisplacementScale = 30;
    report::ReportChapters chapters = report::StandardChapters();
    chapters.printLoadCombinationResults = [](report::ReportContext&) {
        report::Fail({QStringLiteral("応力の組み合わせのデータに関するデータをプリント中にエラーが発生しました。"), ui::Icon::Exclamation, true});
    };
    PreviewWindow p({}, ScreenResultsPreview, true, chapters);
    ASSERT_TRUE(report::WritePreviewInfo(stored));
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    EXPECT_EQ(testenv::Script().messages,
              QStringList({QStringLiteral("message=exclamation|応力の組み合わせのデータに関するデータをプリント中にエラーが発生しました。"),
                           kBuildFailed}));
    EXPECT_EQ(testenv::Script().beeps, 2);
    EXPECT_EQ(p.Pages(), 0);
    // The page count of no document; the dialog's rebuild then restores the
    // view, page 1, shown as the cover's number.
    EXPECT_EQ(w->lblAP->text(), QStringLiteral("0"));
    EXPECT_EQ(w->lblCP->text(), QStringLiteral("0"));
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(forms::FindLoadedForm(QStringLiteral("frmAnalyze")), nullptr);
    PreviewInfoRecord expected = stored;
    expected.CombineCases = 0;
    expected.CaseSelected.fill(0);
    expected.CaseFactor.fill(1);
    EXPECT_EQ(Program().PreviewInfo, expected);
    EXPECT_EQ(testenv::ReadFile(report::kPreviewInfoFile), report::EncodePreviewInfo(expected));
}

// A failed build whose cleared combination cannot be written to "pif": after
// the general message the user learns that the file, and so the next
// opening of the dialog, keeps the combination.
TEST(PreviewWindow, FailedBuildTellsWhenTheCombinationCannotBeCleared)
{
    std::optional<files::InjectedWriteFailure> diskFull;
    report::ReportChapters chapters = report::StandardChapters();
    chapters.printLoadCombinationResults = [&diskFull](report::ReportContext&) {
        diskFull.emplace(files::FailingStep::Write, 0, report::kPreviewInfoFile);
        report::Fail();
    };
    PreviewWindow p({}, ScreenResultsPreview, true, chapters);
    PreviewInfoRecord stored = report::DefaultPreviewInfo(-1);
    stored.CombineCases = -1;
    stored.CaseSelected[0] = -1;
    ASSERT_TRUE(report::WritePreviewInfo(stored));
    ASSERT_TRUE(p.Open());
    const QByteArray kept = testenv::ReadFile(report::kPreviewInfoFile);
    diskFull.reset();
    EXPECT_EQ(testenv::Script().messages,
              QStringList({kBuildFailed, QStringLiteral("message=exclamation|表示内容をファイルに保存できませんでした。\r\n"
                                                        "次回の表示内容指定には、今回の荷重ケースの組み合わせが残ります。")}));
    EXPECT_EQ(testenv::Script().beeps, 2);
    EXPECT_EQ(report::DecodePreviewInfo(kept, {}).CaseSelected[0], -1);
    EXPECT_EQ(Program().PreviewInfo.CombineCases, 0);
}

// Confirming the dialog rebuilds the document and keeps the page and zoom
// shown; cancelling leaves both and the file alone.
TEST(PreviewWindow, DisplayContentsRebuildKeepsTheView)
{
    testenv::ReportProjectSetup setup;
    setup.cases = 3;
    PreviewWindow p(setup, ScreenResultsPreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    ASSERT_EQ(p.Pages(), 6);
    w->cmdMN_Click();
    w->cmdMN_Click();
    w->vsp->SetZoomPercent(120);
    SetPreviewInfoDialogRunner([](frmPreviewInfoSetUp& d) {
        d.opnPerSeBu->setChecked(true);
        d.cmdOK->click();
    });
    w->cmdPreviewInfoSetUp_Click();
    EXPECT_EQ(p.Pages(), 4);
    EXPECT_EQ(w->vsp->PreviewPage(), 3);
    EXPECT_EQ(w->lblCP->text(), QStringLiteral("2"));
    EXPECT_EQ(w->vsp->ZoomPercent(), 120);

    const QString before = testenv::FileHash(report::kPreviewInfoFile);
    SetPreviewInfoDialogRunner([](frmPreviewInfoSetUp& d) {
        d.OpnPerKajyu->setChecked(true);
        d.cmdCancel->click();
    });
    w->mnuPreviewInfoSetUp->trigger();
    EXPECT_EQ(p.Pages(), 4);
    EXPECT_EQ(testenv::FileHash(report::kPreviewInfoFile), before);
}

}  // namespace
