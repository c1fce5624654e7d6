// The layout of the result lines, as data: the fields each table reads, the
// value columns of its lines, and the heads before them. Every arrangement
// of a table (by node or member, per load case, combined) uses the same
// columns; only the head differs.
#pragma once

#include "report/TableHeadings.h"
#include "report/tables/TableText.h"

#include <QStringList>
#include <optional>
#include <span>
#include <utility>

namespace report {

// Fields of Analyze節点変位 in the order ResultRows reads them.
const QStringList& DisplacementFields();
// ⊿X, ⊿Y, ⊿Z, ⊿θx, ⊿θy, ⊿θz in exponent form, two blanks apart.
std::span<const ValueColumn> DisplacementColumns();

// Fields of Analyze支点反力.
const QStringList& ReactionFields();
// PX, PY, PZ, MX, MY, MZ, two blanks apart.
std::span<const ValueColumn> ReactionColumns();

// Fields of Analyze部材応力 and Analyze等価節点荷重.
const QStringList& MemberEndFields();
enum MemberEndField {
    FieldITan = 2, FieldIN = 3, FieldIMy = 7, FieldIMz = 8,
    FieldJTan = 9, FieldJMy = 14, FieldJMz = 15,
    FieldCMy = 16, FieldCMz = 17,
};
// After the i-end node: iN, iQy, iQz, iMx, iMy, iMz, then the mid-span
// moments cMy and cMz.
std::span<const ValueColumn> IEndColumns();
// After the j-end node: jN, jQy, jQz, jMx, jMy, jMz, under their i-end
// counterparts.
std::span<const ValueColumn> JEndColumns();

// Six blanks and the number in five characters.
QString NumberHead(int16_t no);
// The head of a line of a node's or member's group: six blanks and its
// number (five blanks on the later lines of the group), `gap` blanks, and
// the load case in five characters.
QString GroupedHead(std::optional<int16_t> no, int gap, int16_t caseNo);

// The head of a member's i-end line in one case or the combination: its
// number and "*   " when it is in compression, four blanks otherwise.
QString CompressionHead(int16_t no, bool compression);

// The two lines of a member's end values: `head` and the i-end node with the
// i-end columns; as many blanks as the head and the j-end node with the
// j-end columns. `value(column)` gives a column's text.
template <typename Value>
std::pair<QString, QString> MemberEndLines(const QString& head, int16_t iNode, int16_t jNode, Value&& value)
{
    QString i = head + FormatFixedWidth(iNode, 5, 0);
    AppendColumns(i, IEndColumns(), value);
    QString j = Blanks(TextCells(head)) + FormatFixedWidth(jNode, 5, 0);
    AppendColumns(j, JEndColumns(), value);
    return {i, j};
}

}  // namespace report
