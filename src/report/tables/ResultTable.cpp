#include "report/tables/ResultTable.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"

namespace report {

void PrintResultTable(ReportContext& ctx, const ResultTableSource& source, const QStringList& title, int16_t code,
                      std::optional<int16_t> caseNo,
                      const std::function<void(const std::vector<int16_t>& numbers, const ResultRows& rows)>& body)
{
    // Any failure inside (a database error, a value that cannot be read, a
    // missing row) ends the build with the table's message.
    try {
        if (caseNo) RequireLoadCase(*caseNo);
        const std::vector<int16_t> numbers = NumbersInOrder(ctx.db, source.list);
        const ResultRows rows(ctx.db, source.table, source.fields, caseNo);
        for (const QString& line : title) ctx.doc.PrintParagraph(line);
        RunningTable table(ctx, code);
        body(numbers, rows);
    } catch (const ReportCancelled&) {
        throw;
    } catch (...) {
        Fail(ReportMessage{PrintingErrorText(source.topic)});
    }
}

std::vector<int> RequiredRowsByCase(const ResultRows& rows, int16_t no)
{
    std::vector<int> found = rows.RowsByCase(no);
    if (found.empty()) MissingRow();
    return found;
}

int RequiredRow(const ResultRows& rows, int16_t no)
{
    const std::optional<int> row = rows.First(no);
    if (!row) MissingRow();
    return *row;
}

void PrintRowGroups(ReportContext& ctx, const std::vector<int16_t>& numbers, const ResultRows& rows,
                    const std::function<void(int row, std::optional<int16_t> no)>& print)
{
    for (size_t k = 0; k < numbers.size(); ++k) {
        if (k > 0) ctx.doc.PrintParagraph(QString());
        const std::vector<int> caseRows = RequiredRowsByCase(rows, numbers[k]);
        for (size_t r = 0; r < caseRows.size(); ++r)
            print(caseRows[r], r == 0 ? rows.Integer(caseRows[r], ResultRows::kNo) : std::optional<int16_t>());
    }
}

QString StoredColumns(const ResultRows& rows, int row, std::span<const ValueColumn> columns, MomentScale scale)
{
    QString text;
    AppendColumns(text, columns, [&](const ValueColumn& c) { return StoredValueText(c, rows.Single(row, c.value), scale); });
    return text;
}

void PrintStoredMemberEnds(ReportContext& ctx, const QString& head, const ResultRows& rows, int row, MomentScale scale)
{
    const auto [i, j] = MemberEndLines(head, rows.Integer(row, FieldITan), rows.Integer(row, FieldJTan),
                                       [&](const ValueColumn& c) { return StoredValueText(c, rows.Single(row, c.value), scale); });
    ctx.doc.PrintParagraph(i);
    ctx.doc.PrintParagraph(j);
}

}  // namespace report
