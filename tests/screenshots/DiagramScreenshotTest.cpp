// Pictures of the report diagrams for a person to look at, on the analysed
// building of 300 nodes (BuildingProject.h): the frame-diagram print, a page
// of the displacement and of the stress diagram, and the layout pictures,
// each as the window shows it and, for the printed pages, the page alone at
// twice the screen's resolution. Written where ZELKOVA_SCREENSHOTS points
// (run under a real X server), otherwise into the test's folder.
#include "common/BuildingProject.h"
#include "common/PreviewOpener.h"
#include "common/Screenshot.h"
#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "diagram/ViewParameterFile.h"
#include "platform/preview/PageRenderer.h"
#include "platform/Runtime.h"
#include "platform/preview/PreviewWidget.h"
#include "report/PreviewEntry.h"
#include "report/PreviewSettingsFile.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

// The page at 2 pixels per 15 twips.
void SavePage(frmPreview* w, int page, const QString& fileName)
{
    const QImage image = preview::RenderPageImage(w->vsp->CurrentDocument(), page - 1, 2.0 / 15);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(testenv::ScreenshotPath(fileName)));
}

// A part of a page (twips) at 4 pixels per 15 twips, to read its labels.
void SaveDetail(frmPreview* w, int page, const QRectF& twips, const QString& fileName)
{
    const double scale = 4.0 / 15;
    const QImage image = preview::RenderPageImage(w->vsp->CurrentDocument(), page - 1, scale);
    const QRect part(int(twips.left() * scale), int(twips.top() * scale), int(twips.width() * scale), int(twips.height() * scale));
    EXPECT_TRUE(image.copy(part).save(testenv::ScreenshotPath(fileName)));
}

// The first page that prints `title`.
int PageWith(frmPreview* w, const QString& title)
{
    const auto& pages = w->vsp->CurrentDocument().pages;
    for (size_t k = 0; k < pages.size(); ++k)
        for (const preview::DrawOp& op : pages[k].ops)
            if (op.kind == preview::OpKind::Text && op.text == title) return int(k) + 1;
    return 0;
}

frmPreview* Open(testenv::PreviewOpener& preview)
{
    EXPECT_TRUE(preview.Open());
    frmPreview* w = preview.w();
    w->showMaximized();
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    return w;
}

void Start(const testenv::BuildingSetup& setup)
{
    ASSERT_TRUE(testenv::WriteAnalysedBuilding(setup));
    Program().ReportHeader = {setup.name.leftJustified(50), QString(50, u' '), QString(50, u' ')};
}

// The results seen from the front (the frames in X one behind the other),
// with the labels the view record asks for, and both diagram chapters.
void ShowResultsFromTheFront(float eye, bool labels, float stressScale)
{
    diagram::ViewParameters front = diagram::LoadViewParameters(diagram::kPreviewRecord);
    front.thetaF = 90;
    front.phiF = 270;
    front.rf = eye;
    front.drawJnt = front.drawEle = front.drawMat = labels ? 1 : 0;
    ASSERT_TRUE(diagram::SaveViewParameters(diagram::kPreviewRecord, front));
    PreviewInfoRecord info = report::DefaultPreviewInfo(-1);
    info.ShowDisplacement = 1;
    info.DisplacementScale = 100;
    info.ShowStress = 1;
    info.StressScale = stressScale;
    ASSERT_TRUE(report::WritePreviewInfo(info));
}

TEST(DiagramScreenshots, BuildingDiagrams)
{
    testenv::BuildingSetup setup = testenv::LargestBuilding();
    setup.cases = 2;
    Start(setup);
    testenv::PreviewOpener framePrint(ScreenFramePreview);
    frmPreview* w = Open(framePrint);
    testenv::SaveScreenshot(w, QStringLiteral("diagram-frame-print.png"));
    SavePage(w, 1, QStringLiteral("diagram-frame-print-page.png"));
    SaveDetail(w, 1, QRectF(2000, 9500, 4000, 2500), QStringLiteral("diagram-frame-print-detail.png"));
    // The layout at two and a half times the fitted zoom, centred.
    w->cmdMentPreview_Click();
    w->txtzoom->setText(QString::number(rt::Val(w->txtzoom->text()) * 2.5));
    w->cmdDRAW_Click();
    w->cmdMCenter_Click();
    testenv::SaveScreenshot(w, QStringLiteral("diagram-frame-layout.png"));
    w->cmdClose_Click();
    w->cmdClose_Click();

    ShowResultsFromTheFront(300, false, 1);
    testenv::PreviewOpener results(ScreenResultsPreview);
    w = Open(results);
    const int displacement = PageWith(w, QStringLiteral("4.変位図"));
    const int stress = PageWith(w, QStringLiteral("5.応力図"));
    ASSERT_GT(displacement, 0);
    ASSERT_GT(stress, 0);
    w->GoToPage(displacement + 1);   // case 2, the frames pushed along X
    w->cmd全体_Click(0);
    testenv::SaveScreenshot(w, QStringLiteral("diagram-displacement-page.png"));
    SavePage(w, displacement + 1, QStringLiteral("diagram-displacement-page-full.png"));
    w->GoToPage(stress);             // case 1, the beams under their load
    testenv::SaveScreenshot(w, QStringLiteral("diagram-stress-page.png"));
    SavePage(w, stress, QStringLiteral("diagram-stress-page-full.png"));
    SavePage(w, stress + 1, QStringLiteral("diagram-stress-page-case2-full.png"));
    w->cmdMentPreview_Click();
    w->opnOurk->click();
    testenv::SaveScreenshot(w, QStringLiteral("diagram-stress-layout.png"));
}

// One frame line of the building: the curves and labels of each member
// can be told apart.
TEST(DiagramScreenshots, PlaneFrameDiagrams)
{
    testenv::BuildingSetup setup;
    setup.name = QStringLiteral("鉄骨造 平面架構");
    setup.columnsX = 4;
    setup.columnsY = 1;
    setup.levels = 4;
    Start(setup);
    ShowResultsFromTheFront(100, true, 2);
    testenv::PreviewOpener results(ScreenResultsPreview);
    frmPreview* w = Open(results);
    const int displacement = PageWith(w, QStringLiteral("4.変位図"));
    const int stress = PageWith(w, QStringLiteral("5.応力図"));
    ASSERT_GT(displacement, 0);
    ASSERT_GT(stress, 0);
    SavePage(w, displacement + 1, QStringLiteral("diagram-plane-displacement-case2.png"));
    SavePage(w, stress, QStringLiteral("diagram-plane-stress-case1.png"));
    SavePage(w, stress + 1, QStringLiteral("diagram-plane-stress-case2.png"));
    SaveDetail(w, stress, QRectF(1000, 3000, 5000, 4000), QStringLiteral("diagram-plane-stress-case1-detail.png"));
    w->GoToPage(stress);
    w->cmdMentPreview_Click();
    w->opnOurk->click();
    testenv::SaveScreenshot(w, QStringLiteral("diagram-plane-stress-layout.png"));
}

}  // namespace
