// The combination chapter against the analysis itself: a continuous beam
// analysed with a member load case, a nodal load case and a case holding
// both; the combination of the first two must print the member forces of
// the third, mid-span moments included, although the nodal case stores no
// mid-span moment of its own.
#include "common/NewProject.h"
#include "common/Probe.h"
#include "common/TestEnv.h"
#include "common/Values.h"
#include "database/WorkingFiles.h"
#include "platform/Database.h"
#include "report/PreviewSettingsFile.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

// Nodes 1 (fixed), 2, 3 (fixed) at 0, 6 and 16 m along X; members 1 (1-2),
// 2 (2-3), of unequal spans so that the nodal load bends them unevenly.
// Case 1: 10 kN/m across member 1 in its y plane, 4 kN/m across member 2 in
// its z plane; case 2: a load on node 2 (Y −20 kN, Z 15 kN); case 3: both.
void WriteBeam(const QString& dir)
{
    const InFolder in(dir);
    dao::DatabasePtr db = NewProject({.name = QStringLiteral("連続梁"), .cases = 3, .e = 20000, .gamma = 8000});
    db->AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", "順"},
                   {{I(1), S(0), S(0), S(0), I(1)}, {I(2), S(6), S(0), S(0), I(2)}, {I(3), S(16), S(0), S(0), I(3)}});
    db->AppendRows(QStringLiteral("材料定数1"), {"No_", "E", "γ", "A", "Ixx", "Iyy", "Izz", "順"},
                   {{I(1), S(20000), S(8000), S(100), S(5000), S(10000), S(20000), I(1)}});
    db->AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", "材料番号", "順"},
                   {{I(1), I(1), I(2), I(1), I(1)}, {I(2), I(2), I(3), I(1), I(2)}});
    db->AppendRows(QStringLiteral("節点拘束形状"), {"No_", "u", "v", "w", "θx", "θy", "θz", "順"},
                   {{I(1), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), I(1)}});
    QStringList placeFields{"No_", "拘束形状"};
    placeFields << SlotFields(10) << "順";
    db->AppendRows(QStringLiteral("節点拘束配置"), placeFields,
                   {{I(1), I(1), I(1), I(3), I(0), I(0), I(0), I(0), I(0), I(0), I(0), I(0), I(1)}});
    QStringList shapeFields{"No_", "TYP", "Case", "座標系"};
    shapeFields << SlotFields(7) << "順";
    std::vector<std::vector<rt::Variant>> shapes, placements;
    QStringList loadFields{"No_", "荷重形状"};
    loadFields << SlotFields(10) << "順";
    int no = 0;
    auto add = [&](int type, int caseNo, const char* system, std::array<double, 7> p, int target) {
        ++no;
        std::vector<rt::Variant> s{I(no), I(type), I(caseNo), T(QString::fromUtf8(system))};
        for (double v : p) s.push_back(S(v));
        s.push_back(I(no));
        shapes.push_back(s);
        std::vector<rt::Variant> place{I(no), I(no), I(target)};
        for (int k = 1; k < 10; ++k) place.push_back(I(0));
        place.push_back(I(no));
        placements.push_back(place);
    };
    for (int caseNo : {1, 3}) {
        add(3, caseNo, "y 部材系", {-10, 0, 0, 0, 0, 0, 0}, 1);
        add(3, caseNo, "z 部材系", {-4, 0, 0, 0, 0, 0, 0}, 2);
    }
    for (int caseNo : {2, 3}) add(1, caseNo, "X 絶対系", {0, -20, 15, 0, 0, 0, 0}, 2);
    db->AppendRows(QStringLiteral("荷重形状"), shapeFields, shapes);
    db->AppendRows(QStringLiteral("荷重配置"), loadFields, placements);
    db->Close();
}

// The i-end lines of members 1 and 2 in the member-force table after the
// line `from` (a case caption of chapter 2 or the title of chapter 3).
QStringList MemberLines(const QStringList& out, const QString& from)
{
    const qsizetype chapter2 = out.indexOf(QStringLiteral("line=2. 応力解析結果（荷重ケース毎に表示）"));
    const qsizetype start = out.indexOf(QStringLiteral("line=") + from, chapter2);
    const QString forces = QStringLiteral("line= * 部材応力（* が付いている部材は圧縮材）");
    qsizetype at = out.indexOf(forces, start);
    if (start < 0 || at < 0) return {};
    at += 5;   // the blank line and the three lines of the heading block
    return {out.value(at).mid(5), out.value(at + 3).mid(5)};
}

TEST(ReportTables, CombinedMidSpanMomentIsThatOfTheCombinedLoading)
{
    const QString dir = MakeDir(QStringLiteral("beam"));
    WriteBeam(dir);
    PreviewInfoRecord info = report::DefaultPreviewInfo(-1);
    info.CombineCases = -1;
    info.CaseSelected = {-1, -1, 0, 0, 0, 0, 0, 0, 0, 0};
    info.CaseFactor = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    ASSERT_TRUE(report::WritePreviewInfo(info, dir + QStringLiteral("/pif")));
    const QStringList out = RunProbe(dir, {QStringLiteral("analyse"), QStringLiteral("preview:10402")});
    ASSERT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty()) << out.join(u'\n').toStdString();

    const QStringList nodal = MemberLines(out, QStringLiteral("荷重ケース番号  2"));
    const QStringList both = MemberLines(out, QStringLiteral("荷重ケース番号  3"));
    const QStringList combined = MemberLines(out, QStringLiteral("3.応力の組み合わせ"));
    ASSERT_EQ(nodal.size(), 2);
    ASSERT_EQ(both.size(), 2);
    ASSERT_EQ(combined.size(), 2);
    for (int m = 0; m < 2; ++m) {
        // The nodal case stores no mid-span moment: its moment lines are straight.
        EXPECT_EQ(nodal[m].mid(90), QStringLiteral("    0.000      0.000")) << m;
        // The values from iN to cMz, each nine characters.
        for (int k = 0; k < 8; ++k) {
            const int at = k < 6 ? 23 + 11 * k : 90 + 11 * (k - 6);
            const double expected = both[m].mid(at, 9).toDouble();
            EXPECT_NEAR(combined[m].mid(at, 9).toDouble(), expected, 0.0015) << "member " << m + 1 << ", column " << k;
        }
    }
    // Member 1 is loaded across its y plane (cMz), member 2 across its z plane (cMy).
    EXPECT_GT(std::abs(both[0].mid(101, 9).toDouble()), 1);
    EXPECT_GT(std::abs(both[1].mid(90, 9).toDouble()), 1);
}

}  // namespace
