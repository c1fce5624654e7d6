// The report diagrams on the largest model: the analysed building of 300
// nodes, 495 members and ten load cases (BuildingProject.h), seen in
// perspective from the preview's default view. Figures:
//  - the whole "ANALYZE" document with chapters 4 and 5 for every case,
//    without a window (target: under 3 s), with the chapter tables as built
//    now and with stand-in tables of their size;
//  - the frame-diagram print;
//  - the layout picture of the stress diagram of one case, built and, in
//    the preview window, built and repainted (target: under 200 ms).
// Run by hand: bench_diagrams [--gtest_filter=...]; prints one figure per line.
#include "bench/BenchTiming.h"
#include "common/BuildingProject.h"
#include "common/PreviewOpener.h"
#include "common/ReportSamples.h"
#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "database/WorkingFiles.h"
#include "diagram/ViewGeometry.h"
#include "platform/Database.h"
#include "platform/preview/PreviewWidget.h"
#include "report/PageFormat.h"
#include "report/PreviewEntry.h"
#include "report/ReportDriver.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

using bench::BestMs;
using bench::Report;

PreviewInfoRecord Contents()
{
    PreviewInfoRecord info;
    info.Confirmed = -1;
    info.ShowDisplacement = 1;
    info.DisplacementScale = 100;
    info.ShowStress = 1;
    info.StressScale = 1;
    return info;
}

report::ReportChapters StandInTables()
{
    report::ReportChapters c = report::StandardChapters();
    c.printMemberForcesForCase = [](report::ReportContext& ctx, int16_t k) { testenv::PrintSampleMemberForceTable(ctx, 500, k); };
    return c;
}

class Diagrams : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testenv::WriteAnalysedBuilding(testenv::LargestBuilding()));
        db = dao::Database::Open(kWorkingDatabase);
        const auto nodes = diagram::ReadNodeCoordinates(*db);
        ASSERT_TRUE(nodes);
        bounds = diagram::ComputeModelBounds(*nodes);
        base = diagram::ComputeFitScale(*nodes, 12000, 9000);
    }
    void TearDown() override { db->Close(); }
    void Prepare(report::ReportContext& ctx)
    {
        ctx.info = Contents();
        ctx.loadCaseCount = 10;
        ctx.bounds = bounds;
        ctx.zoomBaseUnit = base;
        ctx.screenCode = ScreenResultsPreview;
    }
    dao::DatabasePtr db;
    diagram::ModelBounds bounds;
    int32_t base = 0;
};

TEST_F(Diagrams, WholeReport)
{
    preview::DocumentBuilder doc;
    report::ReportContext ctx(doc, *db);
    Prepare(ctx);
    Report("ANALYZE with both diagram chapters for 10 cases, no window",
           BestMs(3, [&] { ASSERT_EQ(report::BuildReportDocument(ctx, report::kModeResults).outcome, report::BuildOutcome::Succeeded); }));
    std::printf("  (%d pages)\n", doc.PageCount());
    Report("the same with stand-in tables", BestMs(3, [&] { report::BuildReportDocument(ctx, report::kModeResults, nullptr, StandInTables()); }));
    std::printf("  (%d pages)\n", doc.PageCount());
    ctx.screenCode = ScreenFramePreview;
    Report("frame-diagram print", BestMs(5, [&] { report::BuildReportDocument(ctx, report::kModeFrame); }));
    std::printf("  (%d pages)\n", doc.PageCount());
}

TEST_F(Diagrams, LayoutPicture)
{
    preview::DocumentBuilder doc;
    report::ReportContext ctx(doc, *db);
    Prepare(ctx);
    ctx.SetBoxText(QStringLiteral("opnHeni"), QStringLiteral("0"));
    ctx.SetBoxText(QStringLiteral("opnOurk"), QStringLiteral("1"));
    Report("layout picture of the stress diagram of case 1, no window",
           BestMs(5, [&] { ASSERT_EQ(report::BuildReportDocument(ctx, report::kModeLayout).outcome, report::BuildOutcome::Succeeded); }));
    std::printf("  (%zu drawing operations)\n", doc.CurrentDocument().pages[0].ops.size());

    db->Close();
    testenv::PreviewOpener preview(ScreenResultsPreview, false);
    ASSERT_TRUE(preview.Open());
    frmPreview* w = preview.w();
    Program().PreviewInfo = Contents();
    w->resize(1400, 1000);
    w->show();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    w->cmdMentPreview_Click();
    w->opnOurk->setChecked(true);
    Report("layout picture redrawn in the window (built and repainted)", BestMs(5, [&] {
               w->MakePreviewDocument(report::kModeLayout);
               w->vsp->viewport()->repaint();
           }));
    db = dao::Database::Open(kWorkingDatabase);
}

}  // namespace
