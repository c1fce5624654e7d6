#include "report/tables/ReactionTables.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultColumns.h"
#include "report/tables/ResultRows.h"
#include "report/tables/TableText.h"

namespace report {

namespace {

const QString kTopic = QStringLiteral("支点反力");

void PrintReactionTitle(ReportContext& ctx)
{
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QStringLiteral(" * 支点反力"));
    ctx.doc.PrintParagraph(QString());
}

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
    QString text;
    AppendColumns(text, ReactionColumns(), [&](const ValueColumn& c) {
        return StoredValueText(c, rows.Single(row, c.value), MomentScale::TimesHundredth);
    });
    return text;
}

}  // namespace

void PrintReactionsByNode(ReportContext& ctx)
{
    PrintTableOrFail(kTopic, [&] {
        const std::vector<int16_t> nodes = NumbersInOrder(ctx.db, QStringLiteral("節点座標1"));
        const ResultRows rows(ctx.db, QStringLiteral("Analyze支点反力"), ReactionFields());
        PrintReactionTitle(ctx);
        RunningTable table(ctx, TableCodeReactionsByNode);
        for (size_t k = 0; k < nodes.size(); ++k) {
            const std::vector<int> caseRows = rows.RowsByCase(nodes[k]);
            if (caseRows.empty()) MissingRow();
            bool printed = false;
            for (int row : caseRows) {
                if (!HasNonZeroReaction(rows, row)) continue;
                const QString head = GroupedHead(printed ? std::optional<int16_t>() : rows.Integer(row, ResultRows::kNo), 4,
                                                 rows.Integer(row, ResultRows::kCase));
                ctx.doc.PrintParagraph(head + Blanks(3) + ValuesOf(rows, row));
                printed = true;
            }
            if (printed && k + 1 < nodes.size()) ctx.doc.PrintParagraph(QString());
        }
    });
}

void PrintReactionsForCase(ReportContext& ctx, int16_t caseNo)
{
    PrintTableOrFail(kTopic, [&] {
        RequireLoadCase(caseNo);
        const std::vector<int16_t> nodes = NumbersInOrder(ctx.db, QStringLiteral("節点座標1"));
        const ResultRows rows(ctx.db, QStringLiteral("Analyze支点反力"), ReactionFields(), caseNo);
        PrintReactionTitle(ctx);
        RunningTable table(ctx, TableCodeReactionsForCase);
        for (int16_t node : nodes) {
            const std::optional<int> row = rows.First(node);
            if (!row) MissingRow();
            if (HasNonZeroReaction(rows, *row))
                ctx.doc.PrintParagraph(NumberHead(rows.Integer(*row, ResultRows::kNo)) + Blanks(3) + ValuesOf(rows, *row));
        }
    });
}

}  // namespace report
