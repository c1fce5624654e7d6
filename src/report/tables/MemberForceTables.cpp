#include "report/tables/MemberForceTables.h"

#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/TableHeadings.h"
#include "report/tables/ResultTable.h"

namespace report {

namespace {

const ResultTableSource kMemberForces{QStringLiteral("部材応力"), QStringLiteral("要素情報"), QStringLiteral("Analyze部材応力"),
                                    MemberEndFields()};

const QStringList kTitle{QString(), QString(), QStringLiteral(" * 部材応力（* が付いている部材は圧縮材）"), QString()};

// A positive i-end axial force, as stored, marks a compression member.
bool InCompression(const ResultRows& rows, int row) { return rows.Single(row, FieldIN) > 0; }

}  // namespace

void PrintMemberForcesByMember(ReportContext& ctx)
{
    PrintResultTable(ctx, kMemberForces, kTitle, TableCodeMemberForcesByMember, std::nullopt,
                     [&](const std::vector<int16_t>& members, const ResultRows& rows) {
                         PrintRowGroups(ctx, members, rows, [&](int row, std::optional<int16_t> no) {
                             const QString head = GroupedHead(no, 2, rows.Integer(row, ResultRows::kCase))
                                                  + (InCompression(rows, row) ? QStringLiteral("*") : Blanks(1)) + Blanks(2);
                             PrintStoredMemberEnds(ctx, head, rows, row, MomentScale::PerHundred);
                         });
                     });
}

void PrintMemberForcesForCase(ReportContext& ctx, int16_t caseNo)
{
    PrintResultTable(ctx, kMemberForces, kTitle, TableCodeMemberForcesForCase, caseNo,
                     [&](const std::vector<int16_t>& members, const ResultRows& rows) {
                         for (int16_t member : members) {
                             const int row = RequiredRow(rows, member);
                             const QString head = CompressionHead(rows.Integer(row, ResultRows::kNo), InCompression(rows, row));
                             PrintStoredMemberEnds(ctx, head, rows, row, MomentScale::PerHundred);
                             ctx.doc.PrintParagraph(QString());
                         }
                     });
}

}  // namespace report
