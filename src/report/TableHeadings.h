// The heading blocks of the report tables, the fixed-width number columns
// and the sort of a table's rows.
//
// Every report table is printed as lines of fixed-width text in the table
// font. Above its rows stands its heading block: column names, units and, as
// its last line, the column template, where each column is one segment as
// wide as the column: "+" at its first and last character, "-" between and
// "." at the decimal point. A segment with w characters before its "." and d
// after it is the column of FormatFixedWidth(value, w, d); one without "."
// of length w is a whole number (FormatFixedWidth(value, w, 0)) or a text.
#pragma once

#include "diagram/ViewGeometry.h"
#include "platform/Database.h"

#include <QString>
#include <QStringList>
#include <concepts>
#include <cstdint>

namespace report {

struct ReportContext;

// Heading codes of the report tables (ReportContext::currentTableCode).
enum TableCode : int16_t {
    TableCodeNone = 0,
    TableCodeNodes = 11,                      // 1.1 nodes and restraints
    TableCodeSections = 12,                   // 1.2 section properties
    TableCodeMembers = 13,                    // 1.3 members and member-end conditions
    TableCodeLoadShapes = 14,                 // 1.4 load shapes
    TableCodeLoadPlacement = 15,              // 1.5 load placement
    TableCodeCombinationFactors = 31,         // factors of the load combination
    TableCodeEquivalentLoadsByMember = 161,   // equivalent nodal loads, all cases
    TableCodeEquivalentLoadsForCase = 162,    // of one case
    TableCodeDisplacementsByNode = 211,
    TableCodeDisplacementsForCase = 212,      // one case or the combination
    TableCodeMemberForcesByMember = 221,
    TableCodeMemberForcesForCase = 222,
    TableCodeReactionsByNode = 231,
    TableCodeReactionsForCase = 232,
};

// The lines of the heading block of `code` in the unit system (SI when
// `si`); empty for a code without a block.
QStringList TableHeadingLines(int16_t code, bool si);

// Prints the heading block of ctx.currentTableCode, one PrintParagraph per
// line; nothing for 0 or a code without a block. A page break inside the
// block continues it on the new page without starting it again.
void PrintTableHeader(ReportContext& ctx);

// A table while it prints: sets the heading code and prints the block; the
// code goes back to 0 when the table ends, also when it ends by an exception.
class RunningTable {
public:
    RunningTable(ReportContext& ctx, int16_t code);
    ~RunningTable();
    RunningTable(const RunningTable&) = delete;
    RunningTable& operator=(const RunningTable&) = delete;

private:
    ReportContext& ctx_;
};

// The text of one column: the value in fixed point with `decimals` places,
// right-aligned in `width` + `decimals` (+ 1 for the point when decimals >
// 0) characters. A value whose fixed-point text is wider than the column is
// written in the exponent form with the most mantissa digits that fit
// ("-1.23E+05"); only when even "-1E+05" cannot fit is the whole fixed-point
// text returned, wider than the column. A printed number is always the
// value. Halves round away from zero. A negative value keeps its sign also
// when it rounds to zero ("-0.000"); zero, -0 included, prints without one.
// The Single overload takes the value at its 7 significant digits, as a
// stored field holds it.
QString FormatFixedWidth(double value, int16_t width, int16_t decimals);
QString FormatFixedWidth(float value, int16_t width, int16_t decimals);
template <std::integral T>
QString FormatFixedWidth(T value, int16_t width, int16_t decimals)
{
    return FormatFixedWidth(static_cast<double>(value), width, decimals);
}

// Replaces `rs` by a recordset of its rows in ascending order of `field`,
// standing on the first row (ViewGeometry.h, where the frame's reads use it).
using diagram::SortRecordset;

}  // namespace report
