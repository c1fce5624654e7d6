// The results report on the largest model: 300 nodes, 500 members, ten load
// cases, a combination, diagrams off. Figures:
//  - building the whole "ANALYZE" document, per member and per case, without
//    a window and in the preview window (target: under 1 s);
//  - the same with the chapter tables stood in for by member-force tables of
//    500 members per case, about the size the real tables will have;
//  - a page change in the preview, repainted (target: under 30 ms);
//  - writing the whole report as a PDF file (target: under 5 s).
// Run by hand: bench_report [--gtest_filter=...]; prints one figure per line.
#include "common/ReportProject.h"
#include "common/ReportSamples.h"
#include "bench/BenchTiming.h"
#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "database/WorkingFiles.h"
#include "platform/Database.h"
#include "platform/preview/PreviewWidget.h"
#include "platform/preview/Printing.h"
#include "report/PreviewEntry.h"
#include "report/ReportDriver.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using bench::BestMs;
using bench::Report;

testenv::ReportProjectSpec LargestModel()
{
    testenv::ReportProjectSpec spec;
    spec.name = QStringLiteral("ベンチマーク");
    spec.cases = 10;
    spec.nodes = 300;
    spec.members = 500;
    return spec;
}

PreviewInfoRecord Contents(bool perNodeMember)
{
    PreviewInfoRecord info;
    info.Confirmed = -1;
    info.PerNodeMember = perNodeMember ? -1 : 0;
    info.ByLoadCase = perNodeMember ? 0 : -1;
    info.CombineCases = -1;
    info.CaseSelected = {-1, -1, 0, 0, 0, 0, 0, 0, 0, 0};
    return info;
}

// The chapter tables stood in for by a member-force table of every member.
report::ReportChapters StandInTables()
{
    report::ReportChapters c = report::StandardChapters();
    c.printMemberForcesForCase = [](report::ReportContext& ctx, int16_t k) { testenv::PrintSampleMemberForceTable(ctx, 500, k); };
    c.printMemberForcesByMember = [](report::ReportContext& ctx) {
        for (int16_t k = 1; k <= ctx.loadCaseCount; ++k) testenv::PrintSampleMemberForceTable(ctx, 500, k);
    };
    return c;
}

TEST(BenchReport, WholeDocument)
{
    testenv::WriteReportProject(LargestModel());
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    for (bool perNodeMember : {true, false}) {
        preview::DocumentBuilder doc;
        report::ReportContext ctx(doc, *db);
        ctx.loadCaseCount = 10;
        ctx.info = Contents(perNodeMember);
        const double skeleton = BestMs(5, [&] {
            ASSERT_EQ(report::BuildReportDocument(ctx, QStringLiteral("ANALYZE")).outcome, report::BuildOutcome::Succeeded);
        });
        Report(perNodeMember ? "ANALYZE per member, no window (as built now)" : "ANALYZE per case, no window (as built now)",
               skeleton);
        const double full = BestMs(3, [&] {
            report::BuildReportDocument(ctx, QStringLiteral("ANALYZE"), nullptr, StandInTables());
        });
        std::printf("  (%d pages with stand-in tables)\n", doc.PageCount());
        Report(perNodeMember ? "ANALYZE per member, stand-in tables, no window" : "ANALYZE per case, stand-in tables, no window",
               full);
    }
    db->Close();
}

TEST(BenchReport, PreviewWindow)
{
    testenv::WriteReportProject(LargestModel());
    Program().ProgramVersion = QStringLiteral("1.41");
    Program().ScreenCode = ScreenResultsPreview;
    SetShowMainMenuHandler([] {});
    Program().PreviewInfo = Contents(false);
    SetPreviewInfoDialogRunner([](frmPreviewInfoSetUp& d) { d.cmdOK->click(); });
    ASSERT_TRUE(ShowPreviewWindow());
    frmPreview* w = CurrentPreviewWindow();
    w->resize(1400, 1000);
    w->show();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();

    Report("ANALYZE per case in the window (progress window included)",
           BestMs(3, [&] { w->MakePreviewDocument(QStringLiteral("ANALYZE")); }));

    PreviewServices services;
    services.chapters = StandInTables();
    SetPreviewServices(services);
    Report("ANALYZE per case, stand-in tables, in the window",
           BestMs(3, [&] { w->MakePreviewDocument(QStringLiteral("ANALYZE")); }));
    const int pages = w->vsp->PageCount();
    std::printf("  (%d pages)\n", pages);

    int page = 2;
    Report("page change, repainted", BestMs(20, [&] {
               w->GoToPage(page);
               w->vsp->viewport()->repaint();
               page = page % (pages - 1) + 2;
           }));

    const QString pdf = testenv::WorkDir() + QStringLiteral("/report.pdf");
    Report("whole report written as PDF", BestMs(2, [&] { ASSERT_TRUE(preview::ExportPdf(w->vsp->CurrentDocument(), pdf)); }));
    std::printf("  (%lld bytes)\n", static_cast<long long>(QFileInfo(pdf).size()));
}

}  // namespace
