#include "report/tables/MemberForceTables.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultColumns.h"
#include "report/tables/ResultRows.h"
#include "report/tables/TableText.h"

namespace report {

namespace {

const QString kTopic = QStringLiteral("部材応力");

void PrintMemberForceTitle(ReportContext& ctx)
{
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QString());
    ctx.doc.PrintParagraph(QStringLiteral(" * 部材応力（* が付いている部材は圧縮材）"));
    ctx.doc.PrintParagraph(QString());
}

// A positive i-end axial force, as stored, marks a compression member.
bool InCompression(const ResultRows& rows, int row) { return rows.Single(row, FieldIN) > 0; }

// Prints the i-end and j-end lines of a row after `head`.
void PrintRow(ReportContext& ctx, const ResultRows& rows, int row, const QString& head)
{
    const auto [i, j] = MemberEndLines(head, rows.Integer(row, FieldITan), rows.Integer(row, FieldJTan), [&](const ValueColumn& c) {
        return StoredValueText(c, rows.Single(row, c.value), MomentScale::PerHundred);
    });
    ctx.doc.PrintParagraph(i);
    ctx.doc.PrintParagraph(j);
}

}  // namespace

void PrintMemberForcesByMember(ReportContext& ctx)
{
    PrintTableOrFail(kTopic, [&] {
        const std::vector<int16_t> members = NumbersInOrder(ctx.db, QStringLiteral("要素情報"));
        const ResultRows rows(ctx.db, QStringLiteral("Analyze部材応力"), MemberEndFields());
        PrintMemberForceTitle(ctx);
        RunningTable table(ctx, TableCodeMemberForcesByMember);
        for (size_t k = 0; k < members.size(); ++k) {
            if (k > 0) ctx.doc.PrintParagraph(QString());
            const std::vector<int> caseRows = rows.RowsByCase(members[k]);
            if (caseRows.empty()) MissingRow();
            for (size_t r = 0; r < caseRows.size(); ++r) {
                const int row = caseRows[r];
                const QString head = GroupedHead(r == 0 ? rows.Integer(row, ResultRows::kNo) : std::optional<int16_t>(), 2,
                                                 rows.Integer(row, ResultRows::kCase))
                                     + (InCompression(rows, row) ? QStringLiteral("*") : Blanks(1)) + Blanks(2);
                PrintRow(ctx, rows, row, head);
            }
        }
    });
}

void PrintMemberForcesForCase(ReportContext& ctx, int16_t caseNo)
{
    PrintTableOrFail(kTopic, [&] {
        RequireLoadCase(caseNo);
        const std::vector<int16_t> members = NumbersInOrder(ctx.db, QStringLiteral("要素情報"));
        const ResultRows rows(ctx.db, QStringLiteral("Analyze部材応力"), MemberEndFields(), caseNo);
        PrintMemberForceTitle(ctx);
        RunningTable table(ctx, TableCodeMemberForcesForCase);
        for (int16_t member : members) {
            const std::optional<int> row = rows.First(member);
            if (!row) MissingRow();
            PrintRow(ctx, rows, *row, CompressionHead(rows.Integer(*row, ResultRows::kNo), InCompression(rows, *row)));
            ctx.doc.PrintParagraph(QString());
        }
    });
}

}  // namespace report
