// The format of the report's pages by section, the page numbering and the
// footer written on every new page.
//
// The results report ("ANALYZE") numbers its cover 0 and its first page of
// tables 1; the frame-diagram print ("RAMEN") starts at 1; the layout
// picture ("MENT") has no numbers. A print with a start page asks for the
// numbering by setting Program().PageCounter to -1 before the build: the
// page PrintRequest.FromPage then carries PrintRequest.StartPage.
#pragma once

#include <QString>
#include <cstdint>

namespace report {

struct ReportContext;

// Section formats.
inline const QString kSectionCover = QStringLiteral("FCOVER");
inline const QString kSectionTables = QStringLiteral("INPUTVAL");
inline const QString kSectionFrame = QStringLiteral("RAMEN");
inline const QString kSectionLayout = QStringLiteral("MENT");

// Build modes.
inline const QString kModeResults = QStringLiteral("ANALYZE");
inline const QString kModeFrame = QStringLiteral("RAMEN");
inline const QString kModeLayout = QStringLiteral("MENT");

// Orientation, fonts, header, footer, border and style of a section; any
// other name changes nothing.
void SetupPageFormat(ReportContext& ctx, const QString& section);

// The page header of the tables and diagrams: "工事名 : " and the project
// name without blanks around it, an empty centre part, and the program's
// name on the right.
QString ProjectHeaderText(const QString& projectName);

// The footer of a numbered page: "|-   7 -|" (an empty left and right part).
QString PageFooterText(int32_t number);

// Page numbering for a build of `mode`, before its first page: switches the
// numbers on or off and sets the number of the first page.
void SetPageNumberingMode(const QString& mode);

// The new-page handler: pen black, the footer with the next number when
// numbering is on, then the heading block of a running table.
void OnNewPage(ReportContext& ctx);

}  // namespace report
