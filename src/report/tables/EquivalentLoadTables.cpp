#include "report/tables/EquivalentLoadTables.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultColumns.h"
#include "report/tables/ResultRows.h"
#include "report/tables/TableText.h"

namespace report {

namespace {

const QString kTopic = QStringLiteral("等価節点荷重");

void PrintEquivalentLoadTitle(ReportContext& ctx)
{
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QStringLiteral(" * 等価節点荷重"));
    ctx.doc.PrintParagraph(QString());
}

void PrintRow(ReportContext& ctx, const ResultRows& rows, int row, const QString& head)
{
    const auto [i, j] = MemberEndLines(head, rows.Integer(row, FieldITan), rows.Integer(row, FieldJTan), [&](const ValueColumn& c) {
        return StoredValueText(c, rows.Single(row, c.value), MomentScale::TimesHundredth);
    });
    ctx.doc.PrintParagraph(i);
    ctx.doc.PrintParagraph(j);
}

// The line of a case without equivalent loads: the i-end line with a hyphen
// in place of every value.
QString NoLoadLine()
{
    const QString number = Blanks(4) + QStringLiteral("-");
    QString line = Blanks(6) + number + Blanks(5) + number;
    AppendColumns(line, IEndColumns(), [](const ValueColumn&) { return Blanks(5) + QStringLiteral("-") + Blanks(3); });
    return line;
}

}  // namespace

void PrintEquivalentNodalLoadsByMember(ReportContext& ctx)
{
    PrintTableOrFail(kTopic, [&] {
        const std::vector<int16_t> members = NumbersInOrder(ctx.db, QStringLiteral("要素情報"));
        const ResultRows rows(ctx.db, QStringLiteral("Analyze等価節点荷重"), MemberEndFields());
        PrintEquivalentLoadTitle(ctx);
        RunningTable table(ctx, TableCodeEquivalentLoadsByMember);
        for (size_t k = 0; k < members.size(); ++k) {
            const std::vector<int> caseRows = rows.RowsByCase(members[k]);
            for (size_t r = 0; r < caseRows.size(); ++r) {
                const int row = caseRows[r];
                if (r > 0) ctx.doc.PrintParagraph(QString());
                const QString head = GroupedHead(r == 0 ? rows.Integer(row, ResultRows::kNo) : std::optional<int16_t>(), 3,
                                                 rows.Integer(row, ResultRows::kCase))
                                     + Blanks(3);
                PrintRow(ctx, rows, row, head);
            }
            if (!caseRows.empty() && k + 1 < members.size()) {
                ctx.doc.PrintParagraph(QString());
                ctx.doc.PrintParagraph(QString());
            }
        }
    });
}

void PrintEquivalentNodalLoadsForCase(ReportContext& ctx, int16_t caseNo)
{
    PrintTableOrFail(kTopic, [&] {
        RequireLoadCase(caseNo);
        const std::vector<int16_t> members = NumbersInOrder(ctx.db, QStringLiteral("要素情報"));
        const ResultRows rows(ctx.db, QStringLiteral("Analyze等価節点荷重"), MemberEndFields(), caseNo);
        RunningTable table(ctx, TableCodeEquivalentLoadsForCase);
        if (rows.Empty()) {
            ctx.doc.PrintParagraph(NoLoadLine());
            return;
        }
        for (int16_t member : members) {
            const std::optional<int> row = rows.First(member);
            if (!row) continue;
            PrintRow(ctx, rows, *row, NumberHead(rows.Integer(*row, ResultRows::kNo)) + Blanks(5));
            ctx.doc.PrintParagraph(QString());
        }
    });
}

}  // namespace report
