// Pieces shared by the report's tables: blanks, the exponent field of the
// displacements, texts fitted to cells of the table font, runs of value
// columns laid out as data, and the failure texts of a table.
//
// Lines are composed in cells of the fixed-pitch table font: a single-byte
// character (half-width katakana included) is one cell, any other character
// two, so a line's columns stand under the column template of its heading
// block (TableHeadings.h).
#pragma once

#include "report/ReportContext.h"

#include <QString>
#include <cstdint>
#include <span>

namespace report {

inline QString Blanks(int n) { return QString(n, u' '); }

// Cells of a text in the table font.
int TextCells(const QString& text);

// The rightmost characters of `text` that fill at most `cells` cells,
// right-aligned in exactly `cells` cells.
QString RightCells(const QString& text, int cells);

// A displacement in exponent form, 11 characters: a blank or a minus sign,
// one digit, the point, four decimals, "E", the exponent's sign and two
// digits (" 1.2346E-03", "-1.2346E-03").
QString ExponentField(float value);

// What a number of a value column prints.
enum class ValueKind {
    Force,        // as stored, three decimals
    Moment,       // stored per centimetre, printed per metre, three decimals
    Exponent,     // a displacement in exponent form
};

// One value column of a table line: which value, how it prints, and the
// blanks before it.
struct ValueColumn {
    int value;    // index of the value (a field of the row, or of a sum)
    ValueKind kind;
    int gap;
};

// How a stored moment becomes one per metre: multiplied by 0.01 or divided
// by 100, in double precision (the two differ in the last bit at times).
enum class MomentScale { TimesHundredth, PerHundred };

double MomentPerMetre(float stored, MomentScale scale);

// Appends the columns: each one's gap, then the text `cell(column)`.
template <typename Cell>
void AppendColumns(QString& line, std::span<const ValueColumn> columns, Cell&& cell)
{
    for (const ValueColumn& c : columns) {
        line += Blanks(c.gap);
        line += cell(c);
    }
}

// The text of a value column for a stored value (moments scaled).
QString StoredValueText(const ValueColumn& column, float stored, MomentScale scale);
// The text of a value column for a value already per metre (a combined sum).
QString CombinedValueText(const ValueColumn& column, float value);

// The message of a table that could not be printed: "<topic>に関するデータを
// プリント中にエラーが発生しました。" and the request to analyse again.
QString PrintingErrorText(const QString& topic);

// A failure of a table's own making (a row that is not there).
[[noreturn]] void MissingRow();

// A load case number a table can print: 1 to 10.
void RequireLoadCase(int caseNo);

}  // namespace report
