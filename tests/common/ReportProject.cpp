#include "common/ReportProject.h"

#include "common/NewProject.h"
#include "common/ResultFields.h"
#include "common/TestEnv.h"
#include "common/Values.h"
#include "database/WorkingFiles.h"
#include "platform/Database.h"
#include "platform/Settings.h"

namespace testenv {

namespace {

using Rows = std::vector<std::vector<rt::Variant>>;

// A value that changes with the row and the case, so tables are told apart.
double Value(int row, int caseNo, int field) { return (row * 7 + caseNo * 3 + field) % 97 * 0.125 - 5.0; }

Rows MemberForceRows(int members, int cases)
{
    Rows rows;
    for (int c = 1; c <= cases; ++c) {
        for (int m = 1; m <= members; ++m) {
            std::vector<rt::Variant> row{I(c), I(m), I(m)};
            for (int f = 0; f < 6; ++f) row.push_back(S(Value(m, c, f)));
            row.push_back(I(m + 1));
            for (int f = 6; f < 14; ++f) row.push_back(S(Value(m, c, f)));
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace

void WriteReportProject(const ReportProjectSetup& setup, const QString& dir)
{
    const InFolder in(dir);
    dao::DatabasePtr db = NewProject(
        {.name = setup.name, .designer = setup.designer, .note = setup.remarks, .si = setup.si, .cases = setup.cases});
    Rows nodes, members, displacements, reactions;
    for (int n = 1; n <= setup.nodes; ++n) {
        nodes.push_back({I(n), S((n - 1) % 20 * 5.0), S((n - 1) / 20 % 5 * 6.0), S((n - 1) / 100 * 4.0), I(n)});
        for (int c = 1; c <= setup.cases; ++c) {
            displacements.push_back({I(c), I(n), S(Value(n, c, 0) / 100), S(Value(n, c, 1) / 100), S(Value(n, c, 2) / 100),
                                     S(Value(n, c, 3) / 1e4), S(Value(n, c, 4) / 1e4), S(Value(n, c, 5) / 1e4)});
            const bool support = n <= 20;
            reactions.push_back({I(c), I(n), S(support ? Value(n, c, 0) : 0), S(support ? Value(n, c, 1) : 0),
                                 S(support ? Value(n, c, 2) : 0), S(0), S(0), S(0)});
        }
    }
    for (int m = 1; m <= setup.members; ++m)
        members.push_back({I(m), I((m - 1) % setup.nodes + 1), I(m % setup.nodes + 1), I(1), I(m)});
    db->AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", QStringLiteral("順")}, nodes);
    db->AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", QStringLiteral("材料番号"), QStringLiteral("順")}, members);
    db->AppendRows(QStringLiteral("Analyze節点変位"), kDisplacementFields, displacements);
    db->AppendRows(QStringLiteral("Analyze支点反力"), kReactionFields, reactions);
    db->AppendRows(QStringLiteral("Analyze部材応力"), kMemberEndFields, MemberForceRows(setup.members, setup.cases));
    if (setup.equivalentLoads)
        db->AppendRows(QStringLiteral("Analyze等価節点荷重"), kMemberEndFields,
                       MemberForceRows(std::min(setup.members, 5), setup.cases));
    db->Close();
    reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("True"));
    reg::Sync();
}

}  // namespace testenv
