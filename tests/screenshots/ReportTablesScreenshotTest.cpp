// Pictures of the report's tables in the preview window at 95 %, written
// where ZELKOVA_SCREENSHOTS points (run under a real X server to look at
// them): the input data, the equivalent nodal loads, the results and the
// load combination of the fixture project, by member and by load case.
#include "common/PreviewOpener.h"
#include "common/Screenshot.h"
#include "common/TableFixture.h"
#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "platform/preview/PreviewWidget.h"
#include "report/PreviewEntry.h"
#include "report/PreviewSettingsFile.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// Opens the report of the fixture and saves each page named in `pages`
// (the page numbers the user sees) at 95 %, with the top of the page shown.
void ShootPages(bool perNodeMember, const std::vector<std::pair<int, QString>>& pages)
{
    testenv::WriteTableFixture(true);
    ASSERT_TRUE(report::WritePreviewInfo(testenv::CombinationContents(perNodeMember)));
    testenv::PreviewOpener preview(ScreenResultsPreview);
    Program().ReportHeader = {QStringLiteral("試験架構").leftJustified(50), QStringLiteral("設計 一郎").leftJustified(50),
                              QString(50, u' ')};
    ASSERT_TRUE(preview.Open());
    frmPreview* w = preview.w();
    w->resize(1500, 1180);
    w->show();
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    for (const auto& [page, file] : pages) {
        w->txtinp->setText(QString::number(page));
        w->cmdP指定_Click();
        w->vsp->SetZoomPercent(95);
        w->vsp->SetScrollTop(0);
        testenv::SaveScreenshot(w, file);
        // The upper and the lower half of the page's text at full resolution.
        QString base = testenv::ScreenshotPath(file);
        base.chop(4);
        const int left = (w->vsp->viewport()->width() - 754) / 2 + 50;
        w->vsp->viewport()->grab(QRect(left, 30, 720, 520)).save(base + QStringLiteral("-top.png"));
        w->vsp->viewport()->grab(QRect(left, 540, 720, 520)).save(base + QStringLiteral("-bottom.png"));
    }
    w->close();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

TEST(Screenshots, ReportTablesByMember)
{
    ShootPages(true, {{1, QStringLiteral("tables-input-data.png")},
                      {2, QStringLiteral("tables-equivalent-loads-by-member.png")},
                      {3, QStringLiteral("tables-results-by-member.png")},
                      {4, QStringLiteral("tables-combination.png")}});
}

TEST(Screenshots, ReportTablesByLoadCase)
{
    ShootPages(false, {{2, QStringLiteral("tables-equivalent-loads-by-case.png")},
                       {3, QStringLiteral("tables-results-case-1.png")}});
}

}  // namespace
