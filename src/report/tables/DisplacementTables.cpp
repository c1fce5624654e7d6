#include "report/tables/DisplacementTables.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultTable.h"

namespace report {

namespace {

const ResultTableSource kDisplacements{QStringLiteral("節点変位"), QStringLiteral("節点座標1"), QStringLiteral("Analyze節点変位"),
                                     DisplacementFields()};

const QStringList kTitle{QString(), QStringLiteral(" * 節点変位"), QString()};

QString ValuesOf(const ResultRows& rows, int row)
{
    return StoredColumns(rows, row, DisplacementColumns(), MomentScale::PerHundred);
}

}  // namespace

void PrintDisplacementsByNode(ReportContext& ctx)
{
    PrintResultTable(ctx, kDisplacements, kTitle, TableCodeDisplacementsByNode, std::nullopt,
                     [&](const std::vector<int16_t>& nodes, const ResultRows& rows) {
                         PrintRowGroups(ctx, nodes, rows, [&](int row, std::optional<int16_t> no) {
                             ctx.doc.PrintParagraph(GroupedHead(no, 3, rows.Integer(row, ResultRows::kCase)) + Blanks(3)
                                                    + ValuesOf(rows, row));
                         });
                     });
}

void PrintDisplacementsForCase(ReportContext& ctx, int16_t caseNo)
{
    PrintResultTable(ctx, kDisplacements, kTitle, TableCodeDisplacementsForCase, caseNo,
                     [&](const std::vector<int16_t>& nodes, const ResultRows& rows) {
                         for (int16_t node : nodes) {
                             const int row = RequiredRow(rows, node);
                             ctx.doc.PrintParagraph(NumberHead(rows.Integer(row, ResultRows::kNo)) + Blanks(4) + ValuesOf(rows, row));
                         }
                     });
}

}  // namespace report
