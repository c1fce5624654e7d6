// The cell rules of the report's tables, one procedure at a time on the
// fixture project (common/TableFixture.h) with rows changed for each case: the
// exponent field, the compression mark, signs, moment scaling, reactions
// left out, load parameters, texts in cells; empty tables and counts.
#include "ReportTestSupport.h"
#include "TableRun.h"

#include "common/ResultFields.h"
#include "common/Values.h"
#include "report/PageFormat.h"
#include "report/TableHeadings.h"
#include "report/tables/DisplacementTables.h"
#include "report/tables/EquivalentLoadTables.h"
#include "report/tables/InputDataChapter.h"
#include "report/tables/LoadCombinationChapter.h"
#include "report/tables/MemberForceTables.h"
#include "report/tables/ReactionTables.h"

#include <gtest/gtest.h>

using namespace testenv;
using reporttest::SetValues;
using reporttest::TableRun;

namespace {

QString B(int n) { return QString(n, u' '); }

// The exponent field: a blank or a minus sign, one digit, four decimals, the
// exponent with its sign and two digits.
TEST(ReportTableCells, DisplacementExponentField)
{
    struct Case {
        double value;
        const char* field;
    };
    const Case cases[] = {
        {0, " 0.0000E+00"},       {1e-10, " 1.0000E-10"},   {-1e-10, "-1.0000E-10"},     {0.00123456, " 1.2346E-03"},
        {-0.00123456, "-1.2346E-03"}, {-12345.678, "-1.2346E+04"}, {99999.5, " 1.0000E+05"}, {-0.5, "-5.0000E-01"},
    };
    TableRun run;
    for (const Case& c : cases) {
        testenv::ReplaceRows(run.db(), QStringLiteral("Analyze節点変位"), kDisplacementFields,
                                {{I(1), I(2), S(c.value), S(0), S(0), S(0), S(0), S(c.value)},
                                 {I(1), I(4), S(0), S(0), S(0), S(0), S(0), S(0)},
                                 {I(1), I(7), S(0), S(0), S(0), S(0), S(0), S(0)},
                                 {I(1), I(10), S(0), S(0), S(0), S(0), S(0), S(0)}});
        const QStringList rows = run.Rows([](report::ReportContext& ctx) { report::PrintDisplacementsForCase(ctx, 1); },
                                          report::TableCodeDisplacementsForCase);
        ASSERT_EQ(rows.size(), 4) << c.value;
        // ⊿X at 16-26, ⊿θz at 81-91.
        EXPECT_EQ(rows[0], B(6) + "    2" + B(4) + c.field + QStringLiteral("   0.0000E+00").repeated(4) + B(2) + c.field) << c.value;
    }
}

// The mark follows the stored i-end axial force: "*" only above 0, also
// when the column shows 0.000; a negative value that rounds to 0 keeps its
// sign; a value too wide for its column is still its value. Moments print
// per metre.
TEST(ReportTableCells, CompressionMarkSignsAndScaling)
{
    struct Case {
        double iN;
        bool mark;
        const char* column;
    };
    const Case cases[] = {
        {0, false, "    0.000"},    {0.0004, true, "    0.000"},   {-5, false, "   -5.000"},      {-0.0004, false, "   -0.000"},
        {123.4, true, "  123.400"}, {-9999.5, false, "-9999.500"}, {-12345.5, false, "-1.23E+04"}, {123456.7, true, "1.235E+05"},
    };
    TableRun run;
    for (const Case& c : cases) {
        SetValues(run.db(), QStringLiteral("Analyze部材応力"), 5, 1, {{"iN", S(c.iN)}, {"iMy", S(123.4)}, {"jMx", S(-0.04)}});
        const QString mark = c.mark ? QStringLiteral("*") : QStringLiteral(" ");
        // Per case: member 2's two lines and blank, then member 5.
        const QStringList perCase = run.Rows([](report::ReportContext& ctx) { report::PrintMemberForcesForCase(ctx, 1); },
                                             report::TableCodeMemberForcesForCase);
        ASSERT_GE(perCase.size(), 5) << c.iN;
        EXPECT_EQ(perCase[3].mid(11, 4), mark + B(3)) << c.iN;
        EXPECT_EQ(perCase[3].mid(23, 9), QString::fromUtf8(c.column)) << c.iN;
        EXPECT_EQ(perCase[3].mid(67, 9), QStringLiteral("    1.234")) << c.iN;
        EXPECT_EQ(perCase[4].mid(56, 9), QStringLiteral("   -0.000")) << c.iN;   // jMx −0.0004 per metre
        // By member: member 2's two cases and the blank, then member 5's first case.
        const QStringList byMember = run.Rows([](report::ReportContext& ctx) { report::PrintMemberForcesByMember(ctx); },
                                              report::TableCodeMemberForcesByMember);
        ASSERT_GE(byMember.size(), 6) << c.iN;
        EXPECT_EQ(byMember[5].left(21), B(6) + "    5" + B(2) + "    1" + mark + B(2)) << c.iN;
        EXPECT_EQ(byMember[5].mid(29, 9), QString::fromUtf8(c.column)) << c.iN;
    }
}

// Reactions: a row is printed when any stored component is not 0, also
// one that prints as 0.000; a node's first printed line carries its number
// whichever case it is; a node that prints nothing adds no blank line.
TEST(ReportTableCells, ReactionRowsLeftOut)
{
    const QString zeros = QStringLiteral("    0.000").repeated(1) + QStringLiteral("      0.000").repeated(5);
    // MZ −0.0001 per centimetre is −0.000001 per metre: it keeps its sign.
    const QString negativeMZ =
        QStringLiteral("    0.000") + QStringLiteral("      0.000").repeated(4) + QStringLiteral("     -0.000");
    struct Case {
        double case1MZ, case2PX;
        QStringList byNode;   // node 2's lines
        QStringList case1;    // the per-case table of case 1, node 2
    };
    const Case cases[] = {
        {0.0001, 0, {B(6) + "    2" + B(4) + "    1" + B(3) + zeros}, {B(6) + "    2" + B(3) + zeros}},
        {0, 1, {B(6) + "    2" + B(4) + "    2" + B(3) + "    1.000" + QStringLiteral("      0.000").repeated(5)}, {}},
        {-0.0001, 1,
         {B(6) + "    2" + B(4) + "    1" + B(3) + negativeMZ, B(15) + "    2" + B(3) + "    1.000" + QStringLiteral("      0.000").repeated(5)},
         {B(6) + "    2" + B(3) + negativeMZ}},
        {0, 0, {}, {}},
    };
    TableRun run;
    for (const Case& c : cases) {
        testenv::ReplaceRows(run.db(), QStringLiteral("Analyze支点反力"), kReactionFields,
                                {{I(1), I(2), S(0), S(0), S(0), S(0), S(0), S(c.case1MZ)},
                                 {I(2), I(2), S(c.case2PX), S(0), S(0), S(0), S(0), S(0)},
                                 {I(1), I(4), S(0), S(0), S(0), S(0), S(0), S(0)},
                                 {I(2), I(4), S(0), S(0), S(0), S(0), S(0), S(0)},
                                 {I(2), I(7), S(0), S(0), S(0), S(250), S(0), S(0)},
                                 {I(1), I(7), S(0), S(0), S(0), S(0), S(0), S(0)},
                                 {I(1), I(10), S(0), S(0), S(0), S(0), S(0), S(0)},
                                 {I(2), I(10), S(0), S(0), S(0), S(0), S(0), S(0)}});
        // Node 7 follows (case 2 only, MX 250 as 2.500); node 10 prints
        // nothing, but the blank after node 7 stays.
        const QString node7 = B(6) + "    7" + B(4) + "    2" + B(3) + "    0.000      0.000      0.000      2.500      0.000      0.000";
        QStringList byNode = c.byNode;
        if (!byNode.isEmpty()) byNode << QString();
        byNode << node7 << QString();
        EXPECT_EQ(run.Rows([](report::ReportContext& ctx) { report::PrintReactionsByNode(ctx); }, report::TableCodeReactionsByNode),
                  byNode)
            << c.case1MZ << " " << c.case2PX;
        EXPECT_EQ(run.Rows([](report::ReportContext& ctx) { report::PrintReactionsForCase(ctx, 1); }, report::TableCodeReactionsForCase),
                  c.case1)
            << c.case1MZ << " " << c.case2PX;
    }
}

// A zero parameter prints 0.000 where the load type uses it and a hyphen
// where it does not; a parameter that is not zero always prints. The
// coordinate system is right-aligned in its eight cells.
TEST(ReportTableCells, LoadShapeParametersAndCoordinateSystem)
{
    const QString unused = QStringLiteral("     -   ");
    const QString zero = QStringLiteral("    0.000");
    struct Case {
        int type;
        std::array<double, 7> p;
        QString system;
        QString systemCells;
        QStringList parameters;
    };
    const Case cases[] = {
        {3, {0, 0, 0, 0, 0, 0, 0}, QStringLiteral("z 部材系"), QStringLiteral("z 部材系"), {zero, unused, unused, unused, unused, unused, unused}},
        {8, {0, 0, 2.5, 0, 0, 0, 0}, QStringLiteral("Y"), B(7) + "Y", {zero, zero, "    2.500", unused, unused, unused, unused}},
        {18, {0, 0, 0, 0, 0, 0, -1}, QStringLiteral("座標系の長い名前"), QStringLiteral("長い名前"), {zero, zero, unused, unused, unused, unused, "   -1.000"}},
        {2, {0, 0, 0, 0, 0, 0, 0}, QStringLiteral("ｙ部材"), B(2) + "ｙ部材", {zero, zero, zero, zero, zero, zero, zero}},
        {14, {0, 0, 0, 0, 0, 0, 0}, QStringLiteral("X"), B(7) + "X", {zero, zero, zero, zero, unused, unused, unused}},
        {10, {0, 0, 0, 0, 0, 0, 0}, QStringLiteral("X"), B(7) + "X", {zero, zero, zero, zero, zero, zero, zero}},
        {99, {0, 0, 0, 0, 0, 0, 0}, QStringLiteral("X"), B(7) + "X", {unused, unused, unused, unused, unused, unused, unused}},
    };
    QStringList shapeFields{"No_", "TYP", "Case", "座標系"};
    shapeFields << SlotFields(7) << "順";
    TableRun run;
    for (const Case& c : cases) {
        std::vector<rt::Variant> row{I(1), I(c.type), I(1), T(c.system)};
        for (double v : c.p) row.push_back(S(v));
        row.push_back(I(1));
        testenv::ReplaceRows(run.db(), QStringLiteral("荷重形状"), shapeFields, {row});
        const QStringList lines = run.Print([](report::ReportContext& ctx) { report::PrintInputDataChapter(ctx); });
        const qsizetype at = lines.indexOf(report::TableHeadingLines(report::TableCodeLoadShapes, true).last());
        ASSERT_GE(at, 0);
        EXPECT_EQ(lines.value(at + 1), B(6) + "    1" + B(3) + QStringLiteral("%1").arg(c.type, 5) + B(2) + "    1" + B(2) + c.systemCells
                                           + B(3) + c.parameters.join(B(2)))
            << c.type;
    }
}

// Empty tables print their title, heading and nothing else, and leave the
// heading code at 0; the counts of chapter 1 are the numbers of rows.
TEST(ReportTableCells, EmptyTablesAndCounts)
{
    TableRun run;
    run.db().ClearTable(QStringLiteral("節点座標1"));
    run.db().ClearTable(QStringLiteral("要素情報"));
    const std::pair<std::function<void(report::ReportContext&)>, QStringList> tables[] = {
        {[](report::ReportContext& ctx) { report::PrintDisplacementsByNode(ctx); },
         QStringList{QString(), QStringLiteral(" * 節点変位"), QString()} + report::TableHeadingLines(211, true)},
        {[](report::ReportContext& ctx) { report::PrintMemberForcesForCase(ctx, 2); },
         QStringList{QString(), QString(), QStringLiteral(" * 部材応力（* が付いている部材は圧縮材）"), QString()}
             + report::TableHeadingLines(222, true)},
        {[](report::ReportContext& ctx) { report::PrintReactionsByNode(ctx); },
         QStringList{QString(), QString(), QStringLiteral(" * 支点反力"), QString()} + report::TableHeadingLines(231, true)},
        {[](report::ReportContext& ctx) { report::PrintEquivalentNodalLoadsByMember(ctx); },
         QStringList{QString(), QStringLiteral(" * 等価節点荷重"), QString()} + report::TableHeadingLines(161, true)},
    };
    for (const auto& [print, lines] : tables) {
        EXPECT_EQ(run.Print(print), lines + QStringList{QStringLiteral("END")});
        EXPECT_FALSE(run.failure);
        EXPECT_EQ(run.codeAfter, 0);
    }
    const QStringList chapter = run.Print([](report::ReportContext& ctx) { report::PrintInputDataChapter(ctx); });
    EXPECT_TRUE(chapter.contains(QStringLiteral("     　　　節点数　　0")));
    EXPECT_TRUE(chapter.contains(QStringLiteral("     　　　部材数　　0")));
    const qsizetype nodes = chapter.indexOf(QStringLiteral("1.1 節点座標および拘束状態"));
    const QStringList emptyNodeTable =
        report::TableHeadingLines(11, true) + QStringList{QString(), QString(), QStringLiteral("1.2 部材形状")};
    EXPECT_EQ(chapter.mid(nodes + 1, 7), emptyNodeTable);
    EXPECT_EQ(run.codeAfter, 0);
}

// A case without equivalent loads prints the line of hyphens; a member
// without equivalent loads adds nothing, by case and by member.
TEST(ReportTableCells, EquivalentLoadsOfACaseWithout)
{
    TableRun run;
    const QStringList rows = run.Rows([](report::ReportContext& ctx) { report::PrintEquivalentNodalLoadsForCase(ctx, 3); },
                                      report::TableCodeEquivalentLoadsForCase);
    const QString dash = QStringLiteral("     -   ");
    EXPECT_EQ(rows, QStringList{B(6) + "    -" + B(5) + "    -" + B(3) + QStringList(6, dash).join(B(2)) + B(3) + dash + B(2) + dash});
    EXPECT_EQ(rows.value(0).size(), 111);
    // Member 9 last with its loads: one blank after its pair, by case.
    const QStringList case1 = run.Rows([](report::ReportContext& ctx) { report::PrintEquivalentNodalLoadsForCase(ctx, 1); },
                                       report::TableCodeEquivalentLoadsForCase);
    EXPECT_EQ(case1.size(), 6);
    EXPECT_EQ(case1.last(), QString());
}

}  // namespace
