// The common frame of the result tables (equivalent nodal loads,
// displacements, member forces, reactions): what each reads, its title and
// heading, the rows it requires, and its failure.
#pragma once

#include "report/tables/ResultColumns.h"
#include "report/tables/ResultRows.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace report {

struct ReportContext;

// What one result table reads.
struct ResultTableSource {
    QString topic;              // named in its failure message
    QString list;               // the list of numbers: 節点座標1 or 要素情報
    QString table;              // the result table
    const QStringList& fields;  // read from it, "Case" and "No_" first
};

// Reads the numbers of the list (ascending) and the result rows (of load
// case `caseNo` only, 1 to 10, when one is given), prints `title` and the
// heading block of `code`, then `body`. Any failure inside ends the build
// with the table's message; the heading code is 0 again afterwards.
void PrintResultTable(ReportContext& ctx, const ResultTableSource& source, const QStringList& title, int16_t code,
                      std::optional<int16_t> caseNo,
                      const std::function<void(const std::vector<int16_t>& numbers, const ResultRows& rows)>& body);

// The rows of `no` in case order; a number without rows fails.
std::vector<int> RequiredRowsByCase(const ResultRows& rows, int16_t no);
// The row of `no` in the rows of one case; a number without one fails.
int RequiredRow(const ResultRows& rows, int16_t no);

// The rows of each number in case order, a number without rows failing,
// and one empty line between numbers: `print(row, no)` gets the number only
// for the first row of its number.
void PrintRowGroups(ReportContext& ctx, const std::vector<int16_t>& numbers, const ResultRows& rows,
                    const std::function<void(int row, std::optional<int16_t> no)>& print);

// The value columns of a stored row.
QString StoredColumns(const ResultRows& rows, int row, std::span<const ValueColumn> columns, MomentScale scale);
// Prints the i-end and j-end lines of a stored row of member end values.
void PrintStoredMemberEnds(ReportContext& ctx, const QString& head, const ResultRows& rows, int row, MomentScale scale);

}  // namespace report
