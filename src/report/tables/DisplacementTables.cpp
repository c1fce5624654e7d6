#include "report/tables/DisplacementTables.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultColumns.h"
#include "report/tables/ResultRows.h"
#include "report/tables/TableText.h"

namespace report {

namespace {

const QString kTopic = QStringLiteral("節点変位");

void PrintDisplacementTitle(ReportContext& ctx)
{
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QStringLiteral(" * 節点変位"));
    ctx.doc.PrintParagraph(QString());
}

QString ValuesOf(const ResultRows& rows, int row)
{
    QString text;
    AppendColumns(text, DisplacementColumns(), [&](const ValueColumn& c) {
        return StoredValueText(c, rows.Single(row, c.value), MomentScale::PerHundred);
    });
    return text;
}

}  // namespace

void PrintDisplacementsByNode(ReportContext& ctx)
{
    PrintTableOrFail(kTopic, [&] {
        const std::vector<int16_t> nodes = NumbersInOrder(ctx.db, QStringLiteral("節点座標1"));
        const ResultRows rows(ctx.db, QStringLiteral("Analyze節点変位"), DisplacementFields());
        PrintDisplacementTitle(ctx);
        RunningTable table(ctx, TableCodeDisplacementsByNode);
        for (size_t k = 0; k < nodes.size(); ++k) {
            if (k > 0) ctx.doc.PrintParagraph(QString());
            const std::vector<int> caseRows = rows.RowsByCase(nodes[k]);
            if (caseRows.empty()) MissingRow();
            for (size_t r = 0; r < caseRows.size(); ++r) {
                const int row = caseRows[r];
                ctx.doc.PrintParagraph(GroupedHead(r == 0 ? rows.Integer(row, ResultRows::kNo) : std::optional<int16_t>(), 3,
                                                   rows.Integer(row, ResultRows::kCase))
                                       + Blanks(3) + ValuesOf(rows, row));
            }
        }
    });
}

void PrintDisplacementsForCase(ReportContext& ctx, int16_t caseNo)
{
    PrintTableOrFail(kTopic, [&] {
        RequireLoadCase(caseNo);
        const std::vector<int16_t> nodes = NumbersInOrder(ctx.db, QStringLiteral("節点座標1"));
        const ResultRows rows(ctx.db, QStringLiteral("Analyze節点変位"), DisplacementFields(), caseNo);
        PrintDisplacementTitle(ctx);
        RunningTable table(ctx, TableCodeDisplacementsForCase);
        for (int16_t node : nodes) {
            const std::optional<int> row = rows.First(node);
            if (!row) MissingRow();
            ctx.doc.PrintParagraph(NumberHead(rows.Integer(*row, ResultRows::kNo)) + Blanks(4) + ValuesOf(rows, *row));
        }
    });
}

}  // namespace report
