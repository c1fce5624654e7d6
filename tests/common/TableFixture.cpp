#include "common/TableFixture.h"

#include "common/NewProject.h"
#include "common/ResultFields.h"
#include "common/TestEnv.h"
#include "common/Values.h"
#include "database/WorkingFiles.h"
#include "platform/Settings.h"

namespace testenv {

namespace {

using Rows = std::vector<std::vector<rt::Variant>>;

// A row of member end values: case, member, i node, the six i-end values,
// j node, the six j-end values, cMy, cMz (moments in force × cm).
std::vector<rt::Variant> MemberEnd(int caseNo, int member, int iNode, std::array<double, 6> i, int jNode,
                                   std::array<double, 6> j, double cMy, double cMz)
{
    std::vector<rt::Variant> row{I(caseNo), I(member), I(iNode)};
    for (double v : i) row.push_back(S(v));
    row.push_back(I(jNode));
    for (double v : j) row.push_back(S(v));
    row.push_back(S(cMy));
    row.push_back(S(cMz));
    return row;
}

std::vector<rt::Variant> Six(int caseNo, int no, std::array<double, 6> v)
{
    std::vector<rt::Variant> row{I(caseNo), I(no)};
    for (double x : v) row.push_back(S(x));
    return row;
}

// Ten slots of a placement row from the numbers given, then zeros.
std::vector<rt::Variant> Slots(std::initializer_list<int> targets)
{
    std::vector<rt::Variant> out;
    for (int t : targets) out.push_back(I(t));
    while (out.size() < 10) out.push_back(I(0));
    return out;
}

std::vector<rt::Variant> Join(std::vector<rt::Variant> a, const std::vector<rt::Variant>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

void ReplaceRows(dao::Database& db, const QString& table, const QStringList& fields, const Rows& rows)
{
    db.ClearTable(table);
    if (!rows.empty()) db.AppendRows(table, fields, rows);
}

void WriteTableFixture(bool si, const QString& dir)
{
    const InFolder in(dir);
    dao::DatabasePtr db = NewProject({.name = QStringLiteral("試験架構"), .designer = QStringLiteral("設計 一郎"), .si = si, .cases = 2});
    db->AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", "順"},
                   {{I(7), S(0), S(0), S(0), I(1)},
                    {I(2), S(5), S(0), S(0), I(2)},
                    {I(10), S(5), S(3.5), S(0), I(3)},
                    {I(4), S(0), S(3.5), S(-2.25), I(4)}});
    db->AppendRows(QStringLiteral("節点拘束形状"), {"No_", "u", "v", "w", "θx", "θy", "θz", "順"},
                   {{I(1), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), I(1)},
                    {I(2), T("自由"), T("拘束"), T("1000"), T("自由"), T("自由"), T("250.5"), I(2)}});
    // Node 2 is named by both rows; the row shown second (stored first) applies.
    QStringList placeFields{"No_", "拘束形状"};
    placeFields << SlotFields(10) << "順";
    db->AppendRows(QStringLiteral("節点拘束配置"), placeFields,
                   {Join(Join({I(5), I(2)}, Slots({0, 2})), {I(2)}), Join(Join({I(3), I(1)}, Slots({2, 7})), {I(1)})});
    db->AppendRows(QStringLiteral("材料定数0"), {"No_", "A", "Ixx", "Iyy", "Izz", "E", "γ"},
                   {{I(1001), S(120.5), S(3500.2), S(25000), S(8000.5), S(20500), S(7900)},
                    {I(3), S(64.2), S(125.7), S(1234.5), S(567.8), S(2100), S(810.4)}});
    db->AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", "材料番号", "順"},
                   {{I(5), I(7), I(2), I(3), I(1)}, {I(2), I(2), I(10), I(1001), I(2)}, {I(9), I(10), I(4), I(3), I(3)}});
    db->AppendRows(QStringLiteral("要素端部形状"), {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", "順"},
                   {{I(1), T("剛"), T("剛"), T("剛"), T("剛"), T("剛"), T("剛"), I(1)},
                    {I(2), T("剛"), T("剛"), T("剛"), T("剛"), T("ピン"), T("ピン"), I(2)},
                    {I(3), T("剛"), T("剛"), T("剛"), T("ピン"), T("500"), T("剛"), I(3)}});
    // Member 9 is named by both rows; the row shown second (stored first) applies.
    QStringList endFields{"No_", "i端部形状", "j端部形状"};
    endFields << SlotFields(10) << "順";
    db->AppendRows(QStringLiteral("要素端部配置"), endFields,
                   {Join(Join({I(2), I(3), I(1)}, Slots({0, 9})), {I(2)}), Join(Join({I(1), I(1), I(2)}, Slots({9, 5})), {I(1)})});
    QStringList shapeFields{"No_", "TYP", "Case", "座標系"};
    shapeFields << SlotFields(7) << "順";
    db->AppendRows(QStringLiteral("荷重形状"), shapeFields,
                   {{I(2), I(1), I(2), T("X 絶対系"), S(0), S(-20), S(0), S(0), S(0), S(15.5), S(0), I(1)},
                    {I(1), I(3), I(1), T("z 部材系"), S(0), S(1.5), S(0), S(0), S(0), S(0), S(0), I(2)}});
    QStringList loadPlaceFields{"No_", "荷重形状"};
    loadPlaceFields << SlotFields(10) << "順";
    db->AppendRows(QStringLiteral("荷重配置"), loadPlaceFields,
                   {Join(Join({I(1), I(2)}, Slots({2, 0, 4})), {I(1)}), Join(Join({I(2), I(1)}, Slots({5, 9})), {I(2)})});

    db->AppendRows(QStringLiteral("Analyze等価節点荷重"), kMemberEndFields,
                   {MemberEnd(2, 5, 7, {0, 12.5, 0, 0, 0, 1500}, 2, {0, 12.5, 0, 0, 0, -1500}, 0, 750),
                    MemberEnd(1, 5, 7, {-2.5, 0, 4, 0, -250, 0}, 2, {-2.5, 0, 4, 0, 250, 0}, 125, 0),
                    MemberEnd(1, 9, 10, {0, 6, 0, 0, 0, 300}, 4, {0, 6, 0, 0, 0, -300}, 0, 450)});
    db->AppendRows(QStringLiteral("Analyze節点変位"), kDisplacementFields,
                   {Six(1, 7, {0, 0, 0, 0, 0, 0}), Six(2, 7, {0, 0, 0, 0, 0, 0}),
                    Six(2, 2, {1.5, 0, -12.25, 0, 0, -0.0001}), Six(1, 2, {0.00123456, -0.00123456, 0, 1e-10, -2.5e-5, 0.5}),
                    Six(1, 10, {0.25, 0, 0, 0, 0, 0}), Six(2, 10, {0.125, 0, 0, 0, 0, 0}),
                    Six(1, 4, {0, 0, -0.0625, 0, 0, 0}), Six(2, 4, {0, 0, 0.5, 0, 0, 0})});
    db->AppendRows(QStringLiteral("Analyze部材応力"), kMemberEndFields,
                   {MemberEnd(2, 5, 7, {-5, 12.5, 0, 0, 0, 1500}, 2, {5, -12.5, 0, 0, 0, 2000}, 0, 3000),
                    MemberEnd(1, 5, 7, {0.0004, 1.25, -0.5, 10, -250, 1200}, 2, {-0.0004, -1.25, 0.5, -10, 150, -800}, 0, 0),
                    MemberEnd(1, 2, 2, {0, 3, 0, 0, 400, 0}, 10, {0, -3, 0, 0, -200, 0}, 500, 0),
                    MemberEnd(2, 2, 2, {12.5, 0, 2, 0, 100, -50}, 10, {-12.5, 0, -2, 0, 300, 50}, 0, 0),
                    MemberEnd(1, 9, 10, {20, -6, 0, 0, 0, -600}, 4, {-20, 6, 0, 0, 0, 1200}, 0, -750),
                    MemberEnd(2, 9, 10, {-1, 0, 0, 0, -80, 0}, 4, {1, 0, 0, 0, 40, 0}, 0, 0)});
    db->AppendRows(QStringLiteral("Analyze支点反力"), kReactionFields,
                   {Six(1, 7, {0, 0, 0, 0, 0, 0}), Six(2, 7, {-12.5, 0, 30, 0, 250, -1500}),
                    Six(1, 2, {0, 0, 0, 0, 0, 0.0001}), Six(2, 2, {12.5, 3, 0, 0, 0, 0}),
                    Six(1, 10, {0, 0, 0, 0, 0, 0}), Six(2, 10, {0, 0, 0, 0, 0, 0}),
                    Six(1, 4, {0, 0, 0, 0, 0, 0}), Six(2, 4, {0, 0, 0, 0, 0, 0})});
    db->Close();
    reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("True"));
    reg::Sync();
}

PreviewInfoRecord CombinationContents(bool perNodeMember)
{
    PreviewInfoRecord info;
    info.Confirmed = -1;
    info.PerNodeMember = perNodeMember ? -1 : 0;
    info.ByLoadCase = perNodeMember ? 0 : -1;
    info.CombineCases = -1;
    info.CaseSelected = {-1, -1, 0, 0, 0, 0, 0, 0, 0, 0};
    info.CaseFactor = {1.5f, 0.5f, 1, 1, 1, 1, 1, 1, 1, 1};
    return info;
}

}  // namespace testenv
