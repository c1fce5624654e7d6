// The results report on the largest model: 300 nodes, 500 members, ten load
// cases, a combination, diagrams off. Figures:
//  - building the whole "ANALYZE" document with its tables, by member and
//    by case, without a window and in the preview window (target: under 1 s);
//  - each chapter of tables on its own;
//  - a page change in the preview, repainted (target: under 30 ms);
//  - writing the whole report as a PDF file (target: under 5 s);
//  - printing copies of the whole report to "PDF ファイル" through the print
//    dialog: the time of 1 and of 10 copies, with the size of each file.
//    ZELKOVA_BENCH_COPIES=N prints N copies only, so that the program's
//    peak memory for N copies can be read (GNU time -v);
//    ZELKOVA_BENCH_PDF=FILE writes FILE (default: in the work folder).
// Run by hand: bench_report [--gtest_filter=...]; prints one figure per line.
#include "common/PreviewOpener.h"
#include "common/ReportProject.h"
#include "common/TableFixture.h"
#include "bench/BenchTiming.h"
#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "database/WorkingFiles.h"
#include "platform/Database.h"
#include "platform/preview/PreviewWidget.h"
#include "platform/preview/Printing.h"
#include "report/PreviewEntry.h"
#include "report/PreviewSettingsFile.h"
#include "report/ReportDriver.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"
#include "report/frmPrintInfoSetUp.h"
#include "report/PageFormat.h"
#include "report/tables/DisplacementTables.h"
#include "report/tables/EquivalentLoadTables.h"
#include "report/tables/InputDataChapter.h"
#include "report/tables/LoadCombinationChapter.h"
#include "report/tables/MemberForceTables.h"
#include "report/tables/ReactionTables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using bench::BestMs;
using bench::Report;

testenv::ReportProjectSetup LargestModel()
{
    testenv::ReportProjectSetup setup;
    setup.name = QStringLiteral("ベンチマーク");
    setup.cases = 10;
    setup.nodes = 300;
    setup.members = 500;
    return setup;
}

TEST(BenchReport, WholeDocument)
{
    testenv::WriteReportProject(LargestModel());
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    for (bool perNodeMember : {true, false}) {
        preview::DocumentBuilder doc;
        report::ReportContext ctx(doc, *db);
        ctx.loadCaseCount = 10;
        ctx.info = testenv::CombinationContents(perNodeMember);
        const double ms = BestMs(5, [&] {
            ASSERT_EQ(report::BuildReportDocument(ctx, QStringLiteral("ANALYZE")).outcome, report::BuildOutcome::Succeeded);
        });
        Report(perNodeMember ? "ANALYZE by member, no window" : "ANALYZE by case, no window", ms);
        std::printf("  (%d pages)\n", doc.PageCount());
    }
    db->Close();
}

// Each chapter of tables printed on its own into an open document.
TEST(BenchReport, Chapters)
{
    testenv::WriteReportProject(LargestModel());
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    preview::DocumentBuilder doc;
    report::ReportContext ctx(doc, *db);
    ctx.loadCaseCount = 10;
    ctx.info = testenv::CombinationContents(true);
    doc.SetNewPageHandler([&ctx] { report::OnNewPage(ctx); });
    const std::pair<const char*, std::function<void()>> chapters[] = {
        {"input data", [&] { report::PrintInputDataChapter(ctx); }},
        {"equivalent nodal loads by member", [&] { report::PrintEquivalentNodalLoadsByMember(ctx); }},
        {"displacements by node", [&] { report::PrintDisplacementsByNode(ctx); }},
        {"member forces by member", [&] { report::PrintMemberForcesByMember(ctx); }},
        {"reactions by node", [&] { report::PrintReactionsByNode(ctx); }},
        {"displacements, 10 cases", [&] { for (int16_t c = 1; c <= 10; ++c) report::PrintDisplacementsForCase(ctx, c); }},
        {"member forces, 10 cases", [&] { for (int16_t c = 1; c <= 10; ++c) report::PrintMemberForcesForCase(ctx, c); }},
        {"reactions, 10 cases", [&] { for (int16_t c = 1; c <= 10; ++c) report::PrintReactionsForCase(ctx, c); }},
        {"load combination", [&] { report::PrintLoadCombinationResults(ctx); }},
    };
    for (const auto& [name, print] : chapters) {
        const double ms = BestMs(3, [&] {
            doc.StartDocument();
            report::SetupPageFormat(ctx, report::kSectionTables);
            print();
            doc.EndDocument();
        });
        Report(name, ms);
    }
    doc.SetNewPageHandler(nullptr);
    db->Close();
}

// The results report of the largest model in an open preview window.
void OpenLargestReport(testenv::PreviewOpener& preview)
{
    testenv::WriteReportProject(LargestModel());
    Program().PreviewInfo = testenv::CombinationContents(false);
    ASSERT_TRUE(report::WritePreviewInfo(Program().PreviewInfo));
    ASSERT_TRUE(preview.Open());
}

TEST(BenchReport, PreviewWindow)
{
    testenv::PreviewOpener preview(ScreenResultsPreview);
    ASSERT_NO_FATAL_FAILURE(OpenLargestReport(preview));
    frmPreview* w = preview.w();
    w->resize(1400, 1000);
    w->show();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();

    Report("ANALYZE by case in the window, with the combination (progress window included)",
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

TEST(BenchReport, PdfCopies)
{
    testenv::PreviewOpener preview(ScreenResultsPreview);
    ASSERT_NO_FATAL_FAILURE(OpenLargestReport(preview));
    frmPreview* w = preview.w();
    std::printf("  (%d pages)\n", w->vsp->PageCount());

    const QString chosenFile = qEnvironmentVariable("ZELKOVA_BENCH_PDF");
    const QString pdf = chosenFile.isEmpty() ? testenv::WorkDir() + QStringLiteral("/copies.pdf") : chosenFile;
    const QString chosenCopies = qEnvironmentVariable("ZELKOVA_BENCH_COPIES");
    const std::vector<int> counts = chosenCopies.isEmpty() ? std::vector<int>{1, 10} : std::vector<int>{chosenCopies.toInt()};
    for (const int copies : counts) {
        SetPrintDialogRunner([copies](frmPrintInfoSetUp& d) {
            d.cboPrinter->setCurrentIndex(d.cboPrinter->findText(frmPrintInfoSetUp::PdfDestination()));
            d.txtCopy->setText(QString::number(copies));
            d.cmdOK->click();
        });
        testenv::ResetScript();
        std::printf("export begins\n");
        std::fflush(stdout);
        const double ms = BestMs(1, [&] {
            testenv::Script().saveFiles.push_back(pdf);
            w->cmdPrint_Click();
        });
        const QString what = QStringLiteral("%1 copies of the report to \"PDF ファイル\"").arg(copies);
        Report(what.toUtf8().constData(), ms);
        std::printf("  (%lld bytes)\n", static_cast<long long>(QFileInfo(pdf).size()));
        for (const QString& message : testenv::Script().messages) std::printf("  %s\n", message.toUtf8().constData());
        std::fflush(stdout);
    }
}

}  // namespace
