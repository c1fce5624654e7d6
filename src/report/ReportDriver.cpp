#include "report/ReportDriver.h"

#include "platform/Database.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/FrontCover.h"
#include "report/PageFormat.h"
#include "report/diagrams/FrameDiagramPages.h"
#include "report/diagrams/LayoutPictures.h"
#include "report/diagrams/ResultDiagramPages.h"
#include "report/tables/DisplacementTables.h"
#include "report/tables/EquivalentLoadTables.h"
#include "report/tables/InputDataChapter.h"
#include "report/tables/LoadCombinationChapter.h"
#include "report/tables/MemberForceTables.h"
#include "report/tables/ReactionTables.h"

#include <exception>

namespace report {

namespace {

constexpr int kProgressSteps = 14;

// The new-page handler of one build, removed when the build ends, however it
// ends. A failure inside the handler cannot pass through the document
// builder; it is kept and raised by the build's next check.
class NewPageHandlerScope {
public:
    explicit NewPageHandlerScope(ReportContext& ctx) : doc_(ctx.doc)
    {
        doc_.SetNewPageHandler([this, &ctx] {
            try {
                OnNewPage(ctx);
            } catch (...) {
                if (!pending_) pending_ = std::current_exception();
            }
        });
    }
    ~NewPageHandlerScope() { doc_.SetNewPageHandler(nullptr); }
    void RaisePending() const
    {
        if (pending_) std::rethrow_exception(pending_);
    }

private:
    preview::DocumentBuilder& doc_;
    std::exception_ptr pending_;
};

void Progress(BuildProgress* progress, int value)
{
    if (progress) progress->Set(value);
}

// The diagram chapters: one page group for the combination, or one per case.
template <typename Print>
void PrintDiagramChapter(ReportContext& ctx, Print print)
{
    if (ctx.CombinesCases()) {
        ctx.doc.NewPage();
        print(int16_t(0));
        return;
    }
    for (int16_t c = 1; c <= ctx.loadCaseCount; ++c) {
        ctx.doc.NewPage();
        print(c);
    }
}

void BuildResultsReport(ReportContext& ctx, BuildProgress* progress, const ReportChapters& ch)
{
    preview::DocumentBuilder& doc = ctx.doc;
    const bool perNodeMember = ctx.ListsPerNodeMember();

    SetupPageFormat(ctx, kSectionCover);
    Progress(progress, 1);
    ch.printFrontCover(ctx);

    Progress(progress, 2);
    doc.NewPage();
    SetupPageFormat(ctx, kSectionTables);
    Progress(progress, 3);
    ch.printInputDataChapter(ctx);
    Progress(progress, 4);

    if (HasEquivalentLoadRows(ctx)) {
        doc.NewPage();
        if (perNodeMember) {
            doc.PrintParagraph(QStringLiteral("1.6 等価節点荷重表（部材、節点毎に表示）"));
            doc.PrintParagraph(QString());
            ch.printEquivalentNodalLoadsByMember(ctx);
        } else {
            doc.PrintParagraph(QStringLiteral("1.6 等価節点荷重表（荷重ケース毎に表示）"));
            for (int16_t c = 1; c <= ctx.loadCaseCount; ++c) {
                PrintLoadCaseCaption(ctx, c);
                ch.printEquivalentNodalLoadsForCase(ctx, c);
            }
        }
    }

    Progress(progress, 5);
    Progress(progress, 6);
    doc.NewPage();
    if (perNodeMember) {
        doc.PrintParagraph(QStringLiteral("2. 応力解析結果（部材、節点毎に表示）"));
        ch.printDisplacementsByNode(ctx);
        ch.printMemberForcesByMember(ctx);
        ch.printReactionsByNode(ctx);
    } else {
        doc.PrintParagraph(QStringLiteral("2. 応力解析結果（荷重ケース毎に表示）"));
        for (int16_t c = 1; c <= ctx.loadCaseCount; ++c) {
            PrintLoadCaseCaption(ctx, c);
            ch.printDisplacementsForCase(ctx, c);
            ch.printMemberForcesForCase(ctx, c);
            ch.printReactionsForCase(ctx, c);
            if (c != ctx.loadCaseCount) doc.NewPage();
        }
    }

    for (int step = 7; step <= 10; ++step) Progress(progress, step);
    if (ctx.CombinesCases()) {
        doc.NewPage();
        doc.PrintParagraph(QStringLiteral("3.応力の組み合わせ"));
        doc.PrintParagraph(QString());
        ch.printLoadCombinationResults(ctx);
    }

    Progress(progress, 11);
    ch.prepareDiagramGeometry(ctx);
    Progress(progress, 12);

    int last = 12;
    if (ctx.info.ShowDisplacement != 0) {
        PrintDiagramChapter(ctx, [&](int16_t c) { ch.printDisplacementDiagram(ctx, c, ctx.geometry.extents); });
        last = 13;
        Progress(progress, last);
    }
    if (ctx.info.ShowStress != 0) {
        PrintDiagramChapter(ctx, [&](int16_t c) { ch.printStressDiagram(ctx, c, ctx.geometry.extents); });
    }
    Progress(progress, last + 1);
}

void BuildFramePrint(ReportContext& ctx, const ReportChapters& ch)
{
    SetupPageFormat(ctx, kSectionFrame);
    ch.prepareDiagramGeometry(ctx);
    ch.printFrameDiagram(ctx, ctx.geometry.extents);
}

void BuildLayoutPicture(ReportContext& ctx, const ReportChapters& ch)
{
    SetupPageFormat(ctx, kSectionLayout);
    ch.prepareDiagramGeometry(ctx);
    const DiagramExtents extents = ctx.geometry.extents;
    if (ctx.screenCode == 10401) {
        ch.drawFrameLayoutView(ctx, extents);
    } else if (ctx.screenCode == 10402) {
        const int16_t caseNo =
            ctx.CombinesCases() ? int16_t(0) : rt::Variant::Text(ctx.BoxText(QStringLiteral("txtCase"))).toInteger();
        if (ctx.BoxText(QStringLiteral("opnHeni")) == QLatin1String("1"))
            ch.showDisplacementDiagramLayout(ctx, caseNo, extents);
        else
            ch.showStressDiagramLayout(ctx, caseNo, extents);
    }
}

}  // namespace

const ReportChapters& StandardChapters()
{
    static const ReportChapters chapters{
        PrintFrontCover,
        PrintInputDataChapter,
        PrintEquivalentNodalLoadsByMember,
        PrintEquivalentNodalLoadsForCase,
        PrintDisplacementsByNode,
        PrintMemberForcesByMember,
        PrintReactionsByNode,
        PrintDisplacementsForCase,
        PrintMemberForcesForCase,
        PrintReactionsForCase,
        PrintLoadCombinationResults,
        PrepareDiagramGeometry,
        PrintDisplacementDiagram,
        PrintStressDiagram,
        PrintFrameDiagram,
        DrawFrameLayoutView,
        ShowDisplacementDiagramLayout,
        ShowStressDiagramLayout,
    };
    return chapters;
}

QString BuildFailedMessage()
{
    return QStringLiteral("ドキュメントを作成中にエラーが発生したのでプレビューの作成を中止します。\r\n"
                          "入力したデータを確認してみて下さい。また、変位図や応力図の表示倍率などが\r\n"
                          "大き過ぎないかどうか確認して下さい。");
}

BuildResult BuildReportDocument(ReportContext& ctx, const QString& mode, BuildProgress* progress,
                                const ReportChapters& chapters)
{
    BuildResult result;
    const bool results = mode == kModeResults;
    bool progressShown = false;
    try {
        NewPageHandlerScope handler(ctx);
        ctx.currentTableCode = 0;
        SetPageNumberingMode(mode);
        ctx.doc.StartDocument();
        if (results) {
            if (progress) {
                progress->Begin(kProgressSteps);
                progressShown = true;
            }
            BuildResultsReport(ctx, progress, chapters);
        } else if (mode == kModeFrame) {
            BuildFramePrint(ctx, chapters);
        } else if (mode == kModeLayout) {
            BuildLayoutPicture(ctx, chapters);
        }
        handler.RaisePending();
        ctx.doc.EndDocument();
    } catch (const ReportCancelled&) {
        result.outcome = BuildOutcome::Cancelled;
    } catch (const ReportFailure& failure) {
        result.outcome = BuildOutcome::Failed;
        result.message = failure.message;
    } catch (const std::exception&) {
        result.outcome = BuildOutcome::Failed;
    }
    ctx.currentTableCode = 0;
    if (progressShown) progress->End();
    return result;
}

void PrepareDiagramGeometry(ReportContext& ctx)
{
    const auto points = diagram::ReadViewPoints(ctx.boxes);
    if (!points) Fail();
    const auto view = diagram::BuildViewMatrix(*points);
    if (!view) Fail();
    ctx.geometry.view = *view;
    LoadAndProjectNodes(ctx);
    LoadMemberTable(ctx);
    ComputeDiagramExtents(ctx.geometry, ctx.geometry.extents);
    ProjectCoordinateAxes(ctx);
}

void PrintLoadCaseCaption(ReportContext& ctx, int16_t caseNo)
{
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(LoadCaseCaptionText(caseNo));
    ctx.doc.PrintParagraph(QString());
}

bool HasEquivalentLoadRows(ReportContext& ctx)
{
    dao::RecordsetPtr rs = ctx.db.OpenRecordset(QStringLiteral("Analyze等価節点荷重"));
    const bool rows = !(rs->BOF() && rs->EOF_());
    rs->Close();
    return rows;
}

}  // namespace report
