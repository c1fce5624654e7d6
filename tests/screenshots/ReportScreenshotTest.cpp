// Pictures of the report window and its two dialogs, written where
// ZELKOVA_SCREENSHOTS points (run under a real X server to look at them):
// the cover, a page of a table at 95 % and as a whole page, the
// display-contents dialog (as it opens, with a scale refused and with a
// factor refused), the print dialog, the file dialog of a print to
// "PDF ファイル" and the print dialog after it.
#include "common/PreviewOpener.h"
#include "common/ReportProject.h"
#include "common/ReportSamples.h"
#include "common/Screenshot.h"
#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "platform/preview/PreviewWidget.h"
#include "report/PreviewEntry.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"
#include "report/frmPrintInfoSetUp.h"

#include <QApplication>
#include <QComboBox>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(Screenshots, ReportPreviewAndDialogs)
{
    testenv::ReportProjectSetup setup;
    setup.name = QStringLiteral("〇〇橋 補強設計");
    setup.designer = QStringLiteral("山田 太郎");
    setup.remarks = QStringLiteral("第2案");
    setup.cases = 3;
    testenv::WriteReportProject(setup);
    report::ReportChapters chapters = report::StandardChapters();
    chapters.printDisplacementsForCase = [](report::ReportContext& ctx, int16_t c) {
        testenv::PrintSampleMemberForceTable(ctx, 60, c);
    };
    testenv::PreviewOpener preview(ScreenResultsPreview, true, chapters);
    Program().ReportHeader = {setup.name.leftJustified(50), setup.designer.leftJustified(50), setup.remarks.leftJustified(50)};
    ASSERT_TRUE(preview.Open());
    frmPreview* w = preview.w();
    w->showMaximized();
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    testenv::SaveScreenshot(w, QStringLiteral("preview-cover.png"));

    w->txtinp->setText(QStringLiteral("4"));
    w->cmdP指定_Click();
    w->vsp->SetZoomPercent(95);
    w->vsp->SetScrollTop(0);
    testenv::SaveScreenshot(w, QStringLiteral("preview-table-95.png"));
    // The heading and first rows at full resolution.
    w->vsp->viewport()->grab(QRect(450, 30, 720, 300)).save(testenv::ScreenshotPath(QStringLiteral("preview-table-detail.png")));
    w->cmd全体_Click(0);
    testenv::SaveScreenshot(w, QStringLiteral("preview-table-whole.png"));

    SetPreviewInfoDialogRunner(nullptr);
    frmPreviewInfoSetUp info(w);
    info.Load();
    testenv::SaveScreenshot(&info, QStringLiteral("display-contents-dialog.png"));
    // An emptied scale is refused: the dialog stays, the focus in the box.
    info.chkOuz->setChecked(true);
    info.txtOuzZoom->clear();
    info.cmdOK->click();
    EXPECT_TRUE(info.IsLoaded());
    testenv::SaveScreenshot(&info, QStringLiteral("display-contents-refused.png"));
    // A factor too wide for its line, typed and "表示" clicked: refused, the
    // text typed still in the box, selected.
    info.txtOuzZoom->setText(QStringLiteral("1.000"));
    info.lstCaseZoom->setCurrentRow(1);
    QTest::mouseClick(info.txtZoomVal, Qt::LeftButton);
    QTest::keyClicks(info.txtZoomVal, QStringLiteral("12345678901"));
    QTest::mouseClick(info.cmdOK, Qt::LeftButton);
    EXPECT_TRUE(info.IsLoaded());
    testenv::SaveScreenshot(&info, QStringLiteral("display-contents-factor-refused.png"));
    info.cmdCancel_Click();

    w->InitPrintRequest();
    frmPrintInfoSetUp print(w);
    print.Load();
    testenv::SaveScreenshot(&print, QStringLiteral("print-dialog.png"));
    print.cmdCancel_Click();

    // A print to "PDF ファイル" with the real file dialog, cancelled once seen.
    ui::SetCurrent(std::make_shared<ui::RealServices>());
    SetPrintDialogRunner([](frmPrintInfoSetUp& d) {
        d.cboPrinter->setCurrentIndex(d.cboPrinter->findText(frmPrintInfoSetUp::PdfDestination()));
        d.cmdOK->click();
    });
    bool fileDialogSeen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&fileDialogSeen] {
        if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            testenv::SaveScreenshot(files, QStringLiteral("print-pdf-file-dialog.png"));
            fileDialogSeen = true;
            files->reject();
        }
    });
    poll.start(200);
    w->cmdPrint_Click();
    poll.stop();
    testenv::ResetScript();
    EXPECT_TRUE(fileDialogSeen);
    SetPrintDialogRunner(nullptr);
    w->InitPrintRequest();
    frmPrintInfoSetUp again(w);
    again.Load();
    testenv::SaveScreenshot(&again, QStringLiteral("print-dialog-after-pdf.png"));
    again.cmdCancel_Click();
}

}  // namespace
