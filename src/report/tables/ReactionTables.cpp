#include "report/tables/ReactionTables.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultTable.h"

namespace report {

namespace {

const ResultTableSource kReactions{QStringLiteral("支点反力"), QStringLiteral("節点座標1"), QStringLiteral("Analyze支点反力"),
                                 ReactionFields()};

const QStringList kTitle{QString(), QString(), QStringLiteral(" * 支点反力"), QString()};

// At least one of the six stored components is not 0 (before scaling: a
// moment of 0.0001 counts although it prints as 0.000).
bool HasNonZeroReaction(const ResultRows& rows, int row)
{
    for (const ValueColumn& c : ReactionColumns())
        if (rows.Single(row, c.value) != 0) return true;
    return false;
}

QString ValuesOf(const ResultRows& rows, int row)
{
    return StoredColumns(rows, row, ReactionColumns(), MomentScale::TimesHundredth);
}

}  // namespace

void PrintReactionsByNode(ReportContext& ctx)
{
    PrintResultTable(ctx, kReactions, kTitle, TableCodeReactionsByNode, std::nullopt,
                     [&](const std::vector<int16_t>& nodes, const ResultRows& rows) {
                         for (size_t k = 0; k < nodes.size(); ++k) {
                             bool printed = false;
                             for (int row : RequiredRowsByCase(rows, nodes[k])) {
                                 if (!HasNonZeroReaction(rows, row)) continue;
                                 // The node's first printed line carries its number, whichever case it is.
                                 const std::optional<int16_t> no = printed ? std::optional<int16_t>() : rows.Integer(row, ResultRows::kNo);
                                 ctx.doc.PrintParagraph(GroupedHead(no, 4, rows.Integer(row, ResultRows::kCase)) + Blanks(3)
                                                        + ValuesOf(rows, row));
                                 printed = true;
                             }
                             if (printed && k + 1 < nodes.size()) ctx.doc.PrintParagraph(QString());
                         }
                     });
}

void PrintReactionsForCase(ReportContext& ctx, int16_t caseNo)
{
    PrintResultTable(ctx, kReactions, kTitle, TableCodeReactionsForCase, caseNo,
                     [&](const std::vector<int16_t>& nodes, const ResultRows& rows) {
                         for (int16_t node : nodes) {
                             const int row = RequiredRow(rows, node);
                             if (HasNonZeroReaction(rows, row))
                                 ctx.doc.PrintParagraph(NumberHead(rows.Integer(row, ResultRows::kNo)) + Blanks(3) + ValuesOf(rows, row));
                         }
                     });
}

}  // namespace report
