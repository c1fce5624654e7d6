#include "report/tables/EquivalentLoadTables.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultTable.h"

namespace report {

namespace {

const ResultTableSource kEquivalentLoads{QStringLiteral("等価節点荷重"), QStringLiteral("要素情報"),
                                       QStringLiteral("Analyze等価節点荷重"), MemberEndFields()};

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

// A member without equivalent loads prints nothing.
void PrintEquivalentNodalLoadsByMember(ReportContext& ctx)
{
    const QStringList title{QString(), QStringLiteral(" * 等価節点荷重"), QString()};
    PrintResultTable(ctx, kEquivalentLoads, title, TableCodeEquivalentLoadsByMember, std::nullopt,
                     [&](const std::vector<int16_t>& members, const ResultRows& rows) {
                         for (size_t k = 0; k < members.size(); ++k) {
                             const std::vector<int> caseRows = rows.RowsByCase(members[k]);
                             for (size_t r = 0; r < caseRows.size(); ++r) {
                                 const int row = caseRows[r];
                                 if (r > 0) ctx.doc.PrintParagraph(QString());
                                 const std::optional<int16_t> no = r == 0 ? rows.Integer(row, ResultRows::kNo) : std::optional<int16_t>();
                                 const QString head = GroupedHead(no, 3, rows.Integer(row, ResultRows::kCase)) + Blanks(3);
                                 PrintStoredMemberEnds(ctx, head, rows, row, MomentScale::TimesHundredth);
                             }
                             if (!caseRows.empty() && k + 1 < members.size()) {
                                 ctx.doc.PrintParagraph(QString());
                                 ctx.doc.PrintParagraph(QString());
                             }
                         }
                     });
}

// The first row of each member in the case; a case without any row prints
// the line of hyphens.
void PrintEquivalentNodalLoadsForCase(ReportContext& ctx, int16_t caseNo)
{
    PrintResultTable(ctx, kEquivalentLoads, {}, TableCodeEquivalentLoadsForCase, caseNo,
                     [&](const std::vector<int16_t>& members, const ResultRows& rows) {
                         if (rows.Empty()) {
                             ctx.doc.PrintParagraph(NoLoadLine());
                             return;
                         }
                         for (int16_t member : members) {
                             const std::optional<int> row = rows.First(member);
                             if (!row) continue;
                             const QString head = NumberHead(rows.Integer(*row, ResultRows::kNo)) + Blanks(5);
                             PrintStoredMemberEnds(ctx, head, rows, *row, MomentScale::TimesHundredth);
                             ctx.doc.PrintParagraph(QString());
                         }
                     });
}

}  // namespace report
