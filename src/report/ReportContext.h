// What a report build hands to the procedures that print its chapters.
//
// The driver (ReportDriver.h) builds the document section by section and
// calls one procedure per table or diagram (report/tables, report/diagrams).
// These procedures run without a shown window: they print into `doc`, read
// the project through `db`, and take everything else they need from the
// context. They never show a failure themselves:
//
//  - A procedure that must stop the build throws ReportFailure (Fail()),
//    with its own message when it has one. The window above shows that
//    message first, then drops the document and shows the driver's general
//    message. Any other exception (a database error, rt::Error) ends the
//    build the same way, with the general message only.
//  - A procedure that shows a message and lets the build go on, or asks the
//    user a question, goes through Notify() and Ask(): the window above
//    answers them (message boxes by default).
//  - A procedure that stops because the user asked to end the preview
//    throws ReportCancelled (Cancel()): the document is dropped without a
//    message.
//
// Tables. A table sets its heading code and prints its heading block with
// RunningTable (TableHeadings.h); while the code is set, every new page,
// automatic breaks included, starts with the footer and the heading block
// again. The table then prints its rows, one PrintParagraph (or a run of
// PrintText ending in CR LF) per line, in the table font that the page
// format set; numbers come from FormatFixedWidth. When RunningTable goes out
// of scope the code is 0 again.
//
// Diagrams. `boxes` holds the preview window's view, placement and label
// controls by control name ("txtra", "chkDrawJnt", "txtCase", "opnHeni",
// ...), as diagram::ViewBoxes; a layout picture writes the placement it used
// back into "txtX", "txtY" and "txtzoom", and the window shows it after the
// build. `geometry` is filled by the driver's geometry step.
//
// The procedures, each taking the context first:
//   tables/InputDataChapter.h        PrintInputDataChapter
//   tables/EquivalentLoadTables.h    PrintEquivalentNodalLoadsByMember, ...ForCase(caseNo)
//   tables/DisplacementTables.h      PrintDisplacementsByNode, ...ForCase(caseNo)
//   tables/MemberForceTables.h       PrintMemberForcesByMember, ...ForCase(caseNo)
//   tables/ReactionTables.h          PrintReactionsByNode, ...ForCase(caseNo)
//   tables/LoadCombinationChapter.h  PrintLoadCombinationResults
//   diagrams/DiagramGeometry.h       LoadAndProjectNodes, LoadMemberTable,
//                                    ComputeDiagramExtents, ProjectCoordinateAxes
//   diagrams/FrameDiagramPages.h     PrintFrameDiagram(extents)
//   diagrams/ResultDiagramPages.h    PrintDisplacementDiagram(caseNo, extents),
//                                    PrintStressDiagram(caseNo, extents)
//   diagrams/LayoutPictures.h        DrawFrameLayoutView, Show...DiagramLayout(caseNo, extents)
// The driver calls them through ReportChapters (ReportDriver.h), so a test
// can put a procedure of its own in the place of any of them.
#pragma once

#include "core/ProgramState.h"
#include "diagram/ViewGeometry.h"
#include "diagram/ViewParameterFile.h"
#include "platform/Ui.h"
#include "report/diagrams/DiagramGeometry.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace dao { class Database; }
namespace preview { class DocumentBuilder; }

namespace report {

// A message for the user: its text and its message-box style (icon and
// buttons, ui::Icon | ui::Buttons), preceded by a beep when `beep`.
struct ReportMessage {
    QString text;
    int style = ui::Icon::Information | ui::Buttons::OK;
    bool beep = true;
};

// Ends a build that failed. `message` is shown before the driver's general
// message when its text is not empty.
class ReportFailure : public std::runtime_error {
public:
    explicit ReportFailure(ReportMessage message = {});
    ReportMessage message;
};

// Ends a build that the user asked to stop.
class ReportCancelled : public std::runtime_error {
public:
    ReportCancelled();
};

// The text without the single-byte blanks (U+0020) around it; ideographic
// spaces stay.
QString TrimBlanks(const QString& text);

// The caption line of a load case: "荷重ケース番号 " and the number right-aligned
// in two characters.
QString LoadCaseCaptionText(int16_t caseNo);

// Shows a message box for `message` (its beep first when asked), keeps the
// answer in MsgResult and returns it.
int ShowReportMessage(const ReportMessage& message);

[[noreturn]] void Fail(const ReportMessage& message = {});
[[noreturn]] void Cancel();

struct ReportContext {
    ReportContext(preview::DocumentBuilder& document, dao::Database& database);

    preview::DocumentBuilder& doc;
    dao::Database& db;

    PreviewInfoRecord info;          // the display contents
    ReportHeaderRecord header;       // project name, designer, remarks (50 characters each)
    bool unitIsSI = true;            // SI unit texts; gravitational units otherwise
    int16_t loadCaseCount = 1;
    int16_t screenCode = 0;          // 10401 frame-diagram print, 10402 results report

    // The running table's heading code (TableHeadings.h); 0 none.
    int16_t currentTableCode = 0;

    // The window's diagram controls by name; those of a window just opened
    // until the caller sets them.
    diagram::ViewBoxes boxes;
    diagram::ModelBounds bounds;     // of the nodes, read when the window opened
    int32_t zoomBaseUnit = 0;
    DiagramGeometry geometry;        // filled by the driver's geometry step

    // Answers messages and questions during the build; the default shows a
    // message box (with its beep) and keeps the answer in MsgResult.
    std::function<int(const ReportMessage&)> answer;

    // A message that lets the build go on.
    void Notify(const ReportMessage& message);
    // A Yes/No question (question icon); true for Yes.
    bool Ask(const QString& question);

    // The display contents combine the load cases (chapter 3, the combined
    // diagrams).
    bool CombinesCases() const;
    // Chapters 1.6 and 2 list per node and member, not per load case.
    bool ListsPerNodeMember() const;
    // The weight of load case `caseNo` (1 to 10) in the combination: its
    // factor when the case is checked, 0 otherwise.
    float CaseWeight(int caseNo) const;

    // The text of a box of `boxes`, or an empty text.
    QString BoxText(const QString& control) const;
    void SetBoxText(const QString& control, const QString& text);
};

}  // namespace report
