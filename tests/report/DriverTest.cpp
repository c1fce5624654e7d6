// The document driver without a window: section order, captions, page
// breaks, progress, failures; the page formats and numbering; the cover.
#include "ReportTestSupport.h"

#include "common/TestEnv.h"
#include "core/ProgramState.h"
#include "platform/PdfPages.h"
#include "platform/preview/Printing.h"
#include "report/FrontCover.h"
#include "report/PageFormat.h"
#include "report/TableHeadings.h"

#include <gtest/gtest.h>

using report::BuildOutcome;
using reporttest::HeadlessBuild;
using reporttest::RecordedProgress;

namespace {

const QString kHeader = QStringLiteral("工事名 : 試験構造||ZELKOVA(for 32bit Windows)");

QStringList Caption(int caseNo)
{
    return {QString(), QString(), QStringLiteral("荷重ケース番号 %1").arg(caseNo, 2)};
}

// Every procedure the driver calls, recorded as it is called; one of them
// may be made to fail.
struct CallLog {
    QStringList calls;
    report::ReportChapters Chapters()
    {
        report::ReportChapters c = report::StandardChapters();
        auto plain = [this](const char* name) {
            return [this, name](report::ReportContext&) { calls << QString::fromLatin1(name); };
        };
        auto byCase = [this](const char* name) {
            return [this, name](report::ReportContext&, int16_t k) { calls << QStringLiteral("%1(%2)").arg(name).arg(k); };
        };
        c.printFrontCover = plain("cover");
        c.printInputDataChapter = plain("input");
        c.printEquivalentNodalLoadsByMember = plain("equivalent");
        c.printEquivalentNodalLoadsForCase = byCase("equivalent");
        c.printDisplacementsByNode = plain("displacements");
        c.printMemberForcesByMember = plain("forces");
        c.printReactionsByNode = plain("reactions");
        c.printDisplacementsForCase = byCase("displacements");
        c.printMemberForcesForCase = byCase("forces");
        c.printReactionsForCase = byCase("reactions");
        c.printLoadCombinationResults = plain("combination");
        c.prepareDiagramGeometry = [this](report::ReportContext& ctx) {
            calls << QStringLiteral("geometry");
            ctx.geometry.extents = {4, 3, 2, 1};
        };
        c.printDisplacementDiagram = [this](report::ReportContext&, int16_t k, report::DiagramExtents e) {
            calls << QStringLiteral("displacement diagram(%1) %2").arg(k).arg(e.maxX);
        };
        c.printStressDiagram = [this](report::ReportContext&, int16_t k, report::DiagramExtents e) {
            calls << QStringLiteral("stress diagram(%1) %2").arg(k).arg(e.minY);
        };
        c.printFrameDiagram = [this](report::ReportContext&, report::DiagramExtents e) {
            calls << QStringLiteral("frame diagram %1").arg(e.maxY);
        };
        c.drawFrameLayoutView = [this](report::ReportContext&, report::DiagramExtents) { calls << QStringLiteral("frame layout"); };
        auto layout = [this](const char* name) {
            return [this, name](report::ReportContext&, int16_t k, report::DiagramExtents) {
                calls << QStringLiteral("%1(%2)").arg(name).arg(k);
            };
        };
        c.showDisplacementDiagramLayout = layout("displacement layout");
        c.showStressDiagramLayout = layout("stress layout");
        return c;
    }
};

TEST(Driver, ResultsReportPerLoadCaseInTheOrderOfItsSections)
{
    testenv::ReportProjectSetup setup;
    setup.cases = 3;
    HeadlessBuild b(setup);
    b.ctx().info.CombineCases = -1;
    ASSERT_EQ(b.Run(report::kModeResults, nullptr, reporttest::WithoutTables()).outcome, BuildOutcome::Succeeded);
    // Cover, input data, 1.6, one page per case of chapter 2, chapter 3.
    ASSERT_EQ(b.Pages(), 7);
    EXPECT_TRUE(b.Lines(2).isEmpty());
    EXPECT_EQ(b.Lines(3), QStringList{QStringLiteral("1.6 等価節点荷重表（荷重ケース毎に表示）")} + Caption(1) + QStringList{QString()}
                              + Caption(2) + QStringList{QString()} + Caption(3));
    EXPECT_EQ(b.Lines(4), QStringList{QStringLiteral("2. 応力解析結果（荷重ケース毎に表示）")} + Caption(1));
    EXPECT_EQ(b.Lines(5), Caption(2));
    EXPECT_EQ(b.Lines(6), Caption(3));
    EXPECT_EQ(b.Lines(7), QStringList{QStringLiteral("3.応力の組み合わせ")});
    for (int page = 2; page <= 7; ++page) {
        EXPECT_EQ(b.Header(page), kHeader);
        EXPECT_EQ(b.Footer(page), QStringLiteral("|-   %1 -|").arg(page - 1));
        EXPECT_EQ(b.Settings(page).orientation, preview::Portrait);
        EXPECT_EQ(b.Settings(page).border, 3);
    }
    EXPECT_TRUE(b.Header(1).isEmpty());
    EXPECT_TRUE(b.Footer(1).isEmpty());
    EXPECT_EQ(b.Settings(1).border, 0);
}

TEST(Driver, PerNodeAndMemberAndWithoutEquivalentLoads)
{
    testenv::ReportProjectSetup setup;
    setup.cases = 2;
    setup.equivalentLoads = false;
    HeadlessBuild b(setup);
    b.ctx().info.PerNodeMember = -1;
    ASSERT_EQ(b.Run(report::kModeResults, nullptr, reporttest::WithoutTables()).outcome, BuildOutcome::Succeeded);
    // 1.6 is left out with its page break; chapter 2 is one section.
    ASSERT_EQ(b.Pages(), 3);
    EXPECT_EQ(b.Lines(3), QStringList{QStringLiteral("2. 応力解析結果（部材、節点毎に表示）")});

    HeadlessBuild withLoads;
    withLoads.ctx().info.PerNodeMember = -1;
    ASSERT_EQ(withLoads.Run(report::kModeResults, nullptr, reporttest::WithoutTables()).outcome, BuildOutcome::Succeeded);
    ASSERT_EQ(withLoads.Pages(), 4);
    EXPECT_EQ(withLoads.Lines(3), QStringList{QStringLiteral("1.6 等価節点荷重表（部材、節点毎に表示）")});
}

// The procedures, their cases and the box they get; the progress runs to
// 14 after displacement diagrams, to 13 without them.
TEST(Driver, CallsEveryChapterWithItsCaseAndReportsProgress)
{
    struct Case {
        int16_t combine, perNodeMember, displacement, stress;
        QStringList calls;
        int lastProgress;
    };
    const QStringList head{"cover", "input"};
    const Case cases[] = {
        {0, 0, 1, 1,
         head + QStringList{"equivalent(1)", "equivalent(2)", "displacements(1)", "forces(1)", "reactions(1)", "displacements(2)",
                            "forces(2)", "reactions(2)", "geometry", "displacement diagram(1) 4", "displacement diagram(2) 4",
                            "stress diagram(1) 1", "stress diagram(2) 1"},
         14},
        {-1, -1, 0, 1,
         head + QStringList{"equivalent", "displacements", "forces", "reactions", "combination", "geometry",
                            "stress diagram(0) 1"},
         13},
        {-1, 0, 1, 0,
         head + QStringList{"equivalent(1)", "equivalent(2)", "displacements(1)", "forces(1)", "reactions(1)", "displacements(2)",
                            "forces(2)", "reactions(2)", "combination", "geometry", "displacement diagram(0) 4"},
         14},
        {0, 0, 0, 0,
         head + QStringList{"equivalent(1)", "equivalent(2)", "displacements(1)", "forces(1)", "reactions(1)", "displacements(2)",
                            "forces(2)", "reactions(2)", "geometry"},
         13},
    };
    for (const Case& c : cases) {
        testenv::ReportProjectSetup setup;
        setup.cases = 2;
        HeadlessBuild b(setup);
        b.ctx().info.CombineCases = c.combine;
        b.ctx().info.PerNodeMember = c.perNodeMember;
        b.ctx().info.ShowDisplacement = c.displacement;
        b.ctx().info.ShowStress = c.stress;
        CallLog log;
        RecordedProgress progress;
        ASSERT_EQ(b.Run(report::kModeResults, &progress, log.Chapters()).outcome, BuildOutcome::Succeeded);
        EXPECT_EQ(log.calls, c.calls);
        std::vector<int> expected{-14};
        for (int v = 1; v <= c.lastProgress; ++v) expected.push_back(v);
        EXPECT_EQ(progress.events, expected);
        EXPECT_TRUE(progress.ended);
        // One page per diagram group, each begun by the driver.
        const int groups = (c.displacement ? (c.combine ? 1 : 2) : 0) + (c.stress ? (c.combine ? 1 : 2) : 0);
        const int tablePages = 2 + 1 + (c.perNodeMember ? 1 : 2) + (c.combine ? 1 : 0);
        EXPECT_EQ(b.Pages(), tablePages + groups);
    }
}

TEST(Driver, FailuresEndTheBuildWithTheirOwnMessage)
{
    struct Case {
        std::function<void(report::ReportContext&)> fail;
        BuildOutcome outcome;
        QString message;
    };
    const Case cases[] = {
        {[](report::ReportContext&) { report::Fail({QStringLiteral("表の作成に失敗しました。"), ui::Icon::Exclamation, true}); },
         BuildOutcome::Failed, QStringLiteral("表の作成に失敗しました。")},
        {[](report::ReportContext& ctx) { ctx.db.OpenRecordset(QStringLiteral("no such table")); }, BuildOutcome::Failed, QString()},
        {[](report::ReportContext&) { report::Cancel(); }, BuildOutcome::Cancelled, QString()},
    };
    for (const Case& c : cases) {
        HeadlessBuild b;
        CallLog log;
        report::ReportChapters chapters = log.Chapters();
        chapters.printMemberForcesForCase = [&c](report::ReportContext& ctx, int16_t) {
            report::RunningTable table(ctx, report::TableCodeMemberForcesForCase);
            c.fail(ctx);
        };
        RecordedProgress progress;
        const report::BuildResult result = b.Run(report::kModeResults, &progress, chapters);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.message.text, c.message);
        // Nothing after the failure ran; the progress window was closed.
        EXPECT_EQ(log.calls.last(), QStringLiteral("displacements(1)"));
        EXPECT_TRUE(progress.ended);
        EXPECT_EQ(progress.events.back(), 6);
        EXPECT_EQ(b.ctx().currentTableCode, 0);
    }
}

TEST(Driver, FramePrintLayoutPictureAndOtherModes)
{
    HeadlessBuild b;
    CallLog log;
    ASSERT_EQ(b.Run(report::kModeFrame, nullptr, log.Chapters()).outcome, BuildOutcome::Succeeded);
    EXPECT_EQ(log.calls, QStringList({"geometry", "frame diagram 3"}));
    ASSERT_EQ(b.Pages(), 1);
    EXPECT_EQ(b.Footer(1), QStringLiteral("|-   1 -|"));
    EXPECT_EQ(b.Header(1), kHeader);

    struct Case {
        int16_t screen;
        QString txtCase, heni;
        int16_t combine;
        QString call;
        BuildOutcome outcome;
    };
    const Case layouts[] = {
        {10401, "", "1", 0, "frame layout", BuildOutcome::Succeeded},
        {10402, " 2", "1", 0, "displacement layout(2)", BuildOutcome::Succeeded},
        {10402, " 2", "0", 0, "stress layout(2)", BuildOutcome::Succeeded},
        {10402, "x", "0", -1, "stress layout(0)", BuildOutcome::Succeeded},
        {10402, "x", "1", 0, "geometry", BuildOutcome::Failed},   // a case that is not a number
        {10301, " 1", "1", 0, "geometry", BuildOutcome::Succeeded},
    };
    for (const Case& c : layouts) {
        log.calls.clear();
        b.ctx().screenCode = c.screen;
        b.ctx().info.CombineCases = c.combine;
        b.ctx().SetBoxText(QStringLiteral("txtCase"), c.txtCase);
        b.ctx().SetBoxText(QStringLiteral("opnHeni"), c.heni);
        EXPECT_EQ(b.Run(report::kModeLayout, nullptr, log.Chapters()).outcome, c.outcome) << c.call.toStdString();
        EXPECT_EQ(log.calls.last(), c.call);
        if (c.outcome != BuildOutcome::Succeeded) continue;
        ASSERT_EQ(b.Pages(), 1);
        EXPECT_EQ(b.Settings(1).orientation, preview::Landscape);
        EXPECT_TRUE(b.Header(1).isEmpty());
        EXPECT_TRUE(b.Footer(1).isEmpty());
        EXPECT_EQ(b.Settings(1).style, 1);
    }

    // The layout page leaves as a landscape page of a PDF file.
    const QString pdf = testenv::WorkDir() + QStringLiteral("/layout.pdf");
    ASSERT_TRUE(preview::ExportPdf(b.doc().CurrentDocument(), pdf));
    const auto pages = previewtest::ReadPdfPages(testenv::ReadFile(pdf));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].mediaBox.width(), 842, 1);
    EXPECT_NEAR(pages[0].mediaBox.height(), 595, 1);

    log.calls.clear();
    ASSERT_EQ(b.Run(QStringLiteral("OTHER"), nullptr, log.Chapters()).outcome, BuildOutcome::Succeeded);
    EXPECT_TRUE(log.calls.isEmpty());
    EXPECT_EQ(b.Pages(), 1);
    EXPECT_TRUE(b.doc().CurrentDocument().pages[0].ops.empty());
}

TEST(PageNumbering, ModesAndTheRenumberedPrint)
{
    struct Case {
        QString mode;
        int32_t counterBefore;
        int16_t from, start;
        bool on;
        int32_t counter;
    };
    const Case cases[] = {
        {report::kModeResults, 5, 3, 9, true, 0},      {report::kModeFrame, 0, 0, 0, true, 1},
        {report::kModeLayout, 7, 0, 0, false, 0},      {report::kModeResults, -1, 2, 10, true, 8},
        {report::kModeFrame, -1, 1, 5, true, 5},       {report::kModeLayout, -1, 2, 10, false, 0},
        {QStringLiteral("OTHER"), 7, 2, 10, false, 7},
    };
    for (const Case& c : cases) {
        Program().PageNumberingOn = false;
        Program().PageCounter = c.counterBefore;
        Program().PrintRequest.FromPage = c.from;
        Program().PrintRequest.StartPage = c.start;
        report::SetPageNumberingMode(c.mode);
        EXPECT_EQ(Program().PageNumberingOn, c.on) << c.mode.toStdString();
        EXPECT_EQ(Program().PageCounter, c.counter) << c.mode.toStdString() << " " << c.counterBefore;
    }
}

// Printed from page 2 with the start page 10: the cover would carry 8, the
// first input page 9, page 2 the number 10. Near the top of the numbers,
// pages go on past 32767.
TEST(PageNumbering, RenumberedResultsReport)
{
    struct Case {
        int16_t from, start;
        QStringList footers;
    };
    const Case cases[] = {
        {2, 10, {"", "|-   9 -|", "|-   10 -|", "|-   11 -|"}},
        {0, 32767, {"", "|-   32768 -|", "|-   32769 -|", "|-   32770 -|"}},
    };
    for (const Case& c : cases) {
        HeadlessBuild b;
        Program().PageCounter = -1;
        Program().PrintRequest.FromPage = c.from;
        Program().PrintRequest.StartPage = c.start;
        ASSERT_EQ(b.Run(report::kModeResults).outcome, BuildOutcome::Succeeded);
        QStringList footers;
        for (int page = 1; page <= b.Pages(); ++page) footers << b.Footer(page);
        EXPECT_EQ(footers, c.footers);
    }
}

TEST(PageFormat, SectionsSetTheirFormatAndOthersChangeNothing)
{
    HeadlessBuild b;
    report::ReportContext& ctx = b.ctx();
    ctx.header.ProjectName = QStringLiteral("  橋 A  ").leftJustified(50);
    ctx.doc.StartDocument();
    report::SetupPageFormat(ctx, report::kSectionLayout);
    EXPECT_EQ(ctx.doc.BrushColor(), 0xFFFF00u);
    EXPECT_EQ(ctx.doc.Orientation(), preview::Landscape);
    EXPECT_EQ(ctx.doc.FontName(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(ctx.doc.FontSize(), 8);
    report::SetupPageFormat(ctx, report::kSectionCover);
    EXPECT_EQ(ctx.doc.BrushColor(), 0xFFFFFFu);
    EXPECT_EQ(ctx.doc.Orientation(), preview::Portrait);
    EXPECT_EQ(ctx.doc.FontName(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(ctx.doc.FontSize(), 11);
    EXPECT_EQ(ctx.doc.PageStyle(), 0);
    ctx.doc.SetPenColor(0xFF);
    report::SetupPageFormat(ctx, report::kSectionFrame);
    EXPECT_EQ(ctx.doc.HeaderText(), QStringLiteral("工事名 : 橋 A||ZELKOVA(for 32bit Windows)"));
    EXPECT_EQ(ctx.doc.PageBorder(), 3);
    EXPECT_EQ(ctx.doc.PenColor(), 0u);
    ctx.doc.SetFooterText(QStringLiteral("|x|"));
    report::SetupPageFormat(ctx, QStringLiteral("OTHER"));
    EXPECT_EQ(ctx.doc.FontSize(), 8);
    EXPECT_EQ(ctx.doc.FooterText(), QStringLiteral("|x|"));
    EXPECT_EQ(report::ProjectHeaderText(QStringLiteral("\u3000A ")), QStringLiteral("工事名 : \u3000A||ZELKOVA(for 32bit Windows)"));
}

QStringList CoverLines(const QString& name, const QString& designer, const QString& remarks)
{
    testenv::ReportProjectSetup setup;
    setup.name = name;
    setup.designer = designer;
    setup.remarks = remarks;
    HeadlessBuild b(setup);
    EXPECT_EQ(b.Run(report::kModeResults).outcome, BuildOutcome::Succeeded);
    return b.Lines(1);
}

TEST(FrontCover, TitleNamesAndFrame)
{
    const QString frame = QStringLiteral("                      *----*----*----*----*----*----*----*----*----*----*----*----*");
    const QString title = QString(32, u' ') + QStringLiteral("立体フレームの応力解析    (STIFFNEES MATRIX METHOD)");
    const QString program = QString(31, u' ') + QStringLiteral("ZELKOVA （for 32bit Windows）");
    const QString label = QString(36, u' ');
    QStringList top;
    for (int i = 0; i < 17; ++i) top << QString();
    top << frame << QString() << QString() << title << QString() << QString();

    const QStringList full = CoverLines(QStringLiteral("  本館 "), QStringLiteral(" 山田 "), QStringLiteral("第2案"));
    const QStringList fullExpected = top + QStringList{label + QStringLiteral("工事名 ：本館"), QString(),
                                                       label + QStringLiteral("設\u3000計 ：山田"), QString(),
                                                       label + QStringLiteral("備\u3000考 ：第2案"), QString(), QString(), program,
                                                       QString(), QString(), QString(), frame};
    EXPECT_EQ(full, fullExpected);
    // Without designer and remarks nothing is left blank in their place.
    const QStringList bare = CoverLines(QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("  "));
    const QStringList bareExpected =
        top + QStringList{label + QStringLiteral("工事名 ："), QString(), QString(), program, QString(), QString(), QString(), frame};
    EXPECT_EQ(bare, bareExpected);
}

// The colons of the designer and remarks lines stand exactly under the
// colon of the project line.
TEST(FrontCover, ColonsLineUp)
{
    testenv::ReportProjectSetup setup;
    setup.designer = QStringLiteral("設計者");
    HeadlessBuild b(setup);
    b.doc().StartDocument();
    report::SetupPageFormat(b.ctx(), report::kSectionCover);
    report::PrintFrontCover(b.ctx());
    QList<double> colonX;
    for (const preview::DrawOp& op : b.doc().CurrentDocument().pages[0].ops)
        if (op.kind == preview::OpKind::Text && op.text.startsWith(QStringLiteral(" ："))) colonX << op.x1;
    ASSERT_EQ(colonX.size(), 2);
    EXPECT_DOUBLE_EQ(colonX[0], colonX[1]);
}

}  // namespace
