// The report document driver: builds the whole document of a preview, from
// an empty document to its last page, in one of three modes (PageFormat.h):
// "ANALYZE" the results report, "RAMEN" the frame-diagram print, "MENT" the
// one-page layout picture; any other mode builds an empty document.
//
// The build runs without a window. It numbers the pages, writes the footers
// and repeats the heading of a running table on every new page (PageFormat.h,
// TableHeadings.h), prints the section captions and page breaks itself and
// calls the chapter procedures in order. A failure ends the build at once:
// the result says so, with the failing procedure's own message, and the
// caller drops the document and shows its messages.
#pragma once

#include "report/ReportContext.h"

#include <QString>
#include <functional>

namespace report {

// The procedures that print the sections. StandardChapters() holds the
// report's own; a caller may put others in their place.
struct ReportChapters {
    std::function<void(ReportContext&)> printFrontCover;
    std::function<void(ReportContext&)> printInputDataChapter;
    std::function<void(ReportContext&)> printEquivalentNodalLoadsByMember;
    std::function<void(ReportContext&, int16_t)> printEquivalentNodalLoadsForCase;
    std::function<void(ReportContext&)> printDisplacementsByNode;
    std::function<void(ReportContext&)> printMemberForcesByMember;
    std::function<void(ReportContext&)> printReactionsByNode;
    std::function<void(ReportContext&, int16_t)> printDisplacementsForCase;
    std::function<void(ReportContext&, int16_t)> printMemberForcesForCase;
    std::function<void(ReportContext&, int16_t)> printReactionsForCase;
    std::function<void(ReportContext&)> printLoadCombinationResults;
    std::function<void(ReportContext&)> prepareDiagramGeometry;
    std::function<void(ReportContext&, int16_t, DiagramExtents)> printDisplacementDiagram;
    std::function<void(ReportContext&, int16_t, DiagramExtents)> printStressDiagram;
    std::function<void(ReportContext&, DiagramExtents)> printFrameDiagram;
    std::function<void(ReportContext&, DiagramExtents)> drawFrameLayoutView;
    std::function<void(ReportContext&, int16_t, DiagramExtents)> showDisplacementDiagramLayout;
    std::function<void(ReportContext&, int16_t, DiagramExtents)> showStressDiagramLayout;
};

const ReportChapters& StandardChapters();

// The progress of a results report (0 to 14), shown by the window that runs
// the build. End() comes after the last step and after a failure.
class BuildProgress {
public:
    virtual ~BuildProgress() = default;
    virtual void Begin(int maximum) = 0;
    virtual void Set(int value) = 0;
    virtual void End() = 0;
};

enum class BuildOutcome { Succeeded, Failed, Cancelled };

struct BuildResult {
    BuildOutcome outcome = BuildOutcome::Succeeded;
    ReportMessage message;   // a failing procedure's own message; empty text when none
};

// The message shown after every failed build.
QString BuildFailedMessage();

// Builds the document of `mode` into ctx.doc. On success the document is
// ended; after a failure or a cancel it is left as far as it got.
BuildResult BuildReportDocument(ReportContext& ctx, const QString& mode, BuildProgress* progress = nullptr,
                                const ReportChapters& chapters = StandardChapters());

// The geometry step of every build with diagrams: the view from the
// window's boxes, the projected nodes and members, their box, the axis symbol.
void PrepareDiagramGeometry(ReportContext& ctx);

// Two empty lines, "荷重ケース番号 " with the case right-aligned in two
// characters, one empty line.
void PrintLoadCaseCaption(ReportContext& ctx, int16_t caseNo);

// True when table Analyze等価節点荷重 holds a row.
bool HasEquivalentLoadRows(ReportContext& ctx);

}  // namespace report
