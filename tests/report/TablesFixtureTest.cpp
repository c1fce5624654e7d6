// The report's tables on the fixture project (common/TableFixture.h), page by page,
// by member and by load case, in SI and gravitational units. Every line is
// written out here column by column from the values of the fixture.
#include "TableRun.h"

#include "common/Probe.h"
#include "common/TestEnv.h"
#include "report/PageFormat.h"
#include "report/PreviewSettingsFile.h"
#include "report/TableHeadings.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

using reporttest::NonEmpty;
using testenv::CombinationContents;
using testenv::WriteTableFixture;

namespace {

QString B(int n) { return QString(n, u' '); }

// Values joined by two blanks, as the value columns of every result table.
QString J2(std::initializer_list<const char*> values)
{
    QStringList parts;
    for (const char* v : values) parts << QString::fromUtf8(v);
    return parts.join(QStringLiteral("  "));
}

QStringList H(int code, bool si) { return report::TableHeadingLines(static_cast<int16_t>(code), si); }

const char* const Z = "    0.000";
const char* const E0 = " 0.0000E+00";
const QString kFree = QStringLiteral("      -");
const QString kFixed = QStringLiteral("   拘束");
const QString kPin = QStringLiteral("   ピン   ");

QStringList Caption(int caseNo) { return {QString(), QString(), QStringLiteral("荷重ケース番号  %1").arg(caseNo), QString()}; }

QStringList InputDataChapter(bool si)
{
    QStringList l{QStringLiteral("1. 入力データ"), QString(), QStringLiteral("     　　　工事名　　試験架構"), QString(),
                  QStringLiteral("     　　　　設計　　設計 一郎"), QString(), QStringLiteral("     　　　節点数　　4"), QString(),
                  QStringLiteral("     　　　部材数　　3"), QString(), QStringLiteral("     荷重ケース数　　2"), QString(), QString()};
    l << QStringLiteral("1.1 節点座標および拘束状態") << H(11, si);
    // Node 2 has type 2 (the placement row shown last), node 7 type 1, nodes 4 and 10 none.
    l << B(6) + "    2" + B(2) + "    5.000" + B(2) + Z + B(2) + Z + B(3) + kFree + B(5) + kFixed + B(5) + "  1000.000" + B(2) + kFree
             + B(5) + kFree + B(5) + "   250.500";
    l << B(6) + "    4" + B(2) + Z + B(2) + "    3.500" + B(2) + "   -2.250" + B(3) + kFree + B(5) + kFree + B(5) + kFree + B(5) + kFree
             + B(5) + kFree + B(5) + kFree;
    l << B(6) + "    7" + B(2) + Z + B(2) + Z + B(2) + Z + B(3) + kFixed + B(5) + kFixed + B(5) + kFixed + B(5) + kFixed + B(5) + kFixed
             + B(5) + kFixed;
    l << B(6) + "   10" + B(2) + "    5.000" + B(2) + "    3.500" + B(2) + Z + B(3) + kFree + B(5) + kFree + B(5) + kFree + B(5) + kFree
             + B(5) + kFree + B(5) + kFree;
    l << QString() << QString() << QStringLiteral("1.2 部材形状") << H(12, si);
    l << B(6) + "    3" + B(3) + "   64.2" + B(3) + "     125.7" + B(3) + "    1234.5" + B(3) + "     567.8" + B(3) + "    2100" + B(3)
             + "   810";
    l << B(6) + " 1001" + B(3) + "  120.5" + B(3) + "    3500.2" + B(3) + "   25000.0" + B(3) + "    8000.5" + B(3) + "   20500" + B(3)
             + "  7900";
    l << QString() << QString() << QStringLiteral("1.3 部材配置") << H(13, si);
    // Member 2 without a placement; member 5 rigid at i, pinned about y and z
    // at j; member 9 from the placement row shown last.
    l << B(6) + "    2" + B(5) + " 1001" + B(5) + "    2" + B(5) + kFree + B(5) + kFree + B(5) + kFree;
    l << B(26) + "   10" + B(5) + kFree + B(5) + kFree + B(5) + kFree << QString();
    l << B(6) + "    5" + B(5) + "    3" + B(5) + "    7" + B(5) + kFree + B(5) + kFree + B(5) + kFree;
    l << B(26) + "    2" + B(5) + kFree + B(5) + kPin + B(2) + kPin << QString();
    l << B(6) + "    9" + B(5) + "    3" + B(5) + "   10" + B(5) + kPin + B(2) + "   500.000" + B(2) + kFree;
    l << B(26) + "    4" + B(5) + kFree + B(5) + kFree + B(5) + kFree << QString();
    l << QString() << QString() << QStringLiteral("1.4 荷重形状") << H(14, si);
    const QString unused = QStringLiteral("     -   ");
    l << B(6) + "    1" + B(3) + "    3" + B(2) + "    1" + B(2) + "z 部材系" + B(3) + Z + B(2) + "    1.500" + B(2) + unused + B(2) + unused
             + B(2) + unused + B(2) + unused + B(2) + unused;
    l << B(6) + "    2" + B(3) + "    1" + B(2) + "    2" + B(2) + "X 絶対系" + B(3) + Z + B(2) + "  -20.000" + B(2) + Z + B(2) + Z + B(2) + Z
             + B(2) + "   15.500" + B(2) + unused;
    l << QString() << QString() << QStringLiteral("1.5 荷重形状配置") << H(15, si);
    const QString empty = QStringLiteral("    -  ");
    l << B(6) + "    1" + B(3) + "    5  " + "    9  " + empty.repeated(8);
    l << B(6) + "    2" + B(3) + "    2  " + empty + "    4  " + empty.repeated(7);
    return l;
}

QStringList EquivalentLoadsByMember(bool si)
{
    QStringList l{QStringLiteral("1.6 等価節点荷重表（部材、節点毎に表示）"), QString(), QString(), QStringLiteral(" * 等価節点荷重"), QString()};
    l << H(161, si);
    l << B(6) + "    5" + B(3) + "    1" + B(3) + "    7" + B(3) + J2({"   -2.500", Z, "    4.000", Z, "   -2.500", Z}) + B(3) + "    1.250"
             + B(2) + Z;
    l << B(22) + "    2" + B(3) + J2({"   -2.500", Z, "    4.000", Z, "    2.500", Z}) << QString();
    l << B(14) + "    2" + B(3) + "    7" + B(3) + J2({Z, "   12.500", Z, Z, Z, "   15.000"}) + B(3) + Z + B(2) + "    7.500";
    l << B(22) + "    2" + B(3) + J2({Z, "   12.500", Z, Z, Z, "  -15.000"}) << QString() << QString();
    l << B(6) + "    9" + B(3) + "    1" + B(3) + "   10" + B(3) + J2({Z, "    6.000", Z, Z, Z, "    3.000"}) + B(3) + Z + B(2) + "    4.500";
    l << B(22) + "    4" + B(3) + J2({Z, "    6.000", Z, Z, Z, "   -3.000"});
    return l;
}

QStringList EquivalentLoadsByCase(bool si)
{
    QStringList l{QStringLiteral("1.6 等価節点荷重表（荷重ケース毎に表示）")};
    l << Caption(1) << H(162, si);
    l << B(6) + "    5" + B(5) + "    7" + B(3) + J2({"   -2.500", Z, "    4.000", Z, "   -2.500", Z}) + B(3) + "    1.250" + B(2) + Z;
    l << B(16) + "    2" + B(3) + J2({"   -2.500", Z, "    4.000", Z, "    2.500", Z}) << QString();
    l << B(6) + "    9" + B(5) + "   10" + B(3) + J2({Z, "    6.000", Z, Z, Z, "    3.000"}) + B(3) + Z + B(2) + "    4.500";
    l << B(16) + "    4" + B(3) + J2({Z, "    6.000", Z, Z, Z, "   -3.000"}) << QString();
    l << Caption(2) << H(162, si);
    l << B(6) + "    5" + B(5) + "    7" + B(3) + J2({Z, "   12.500", Z, Z, Z, "   15.000"}) + B(3) + Z + B(2) + "    7.500";
    l << B(16) + "    2" + B(3) + J2({Z, "   12.500", Z, Z, Z, "  -15.000"}) << QString();
    return l;
}

// The displacement values of node 2, 4, 7 and 10 in case 1 and 2.
const std::map<std::pair<int, int>, QString> kDisplacements = {
    {{2, 1}, J2({" 1.2346E-03", "-1.2346E-03", E0, " 1.0000E-10", "-2.5000E-05", " 5.0000E-01"})},
    {{2, 2}, J2({" 1.5000E+00", E0, "-1.2250E+01", E0, E0, "-1.0000E-04"})},
    {{4, 1}, J2({E0, E0, "-6.2500E-02", E0, E0, E0})},
    {{4, 2}, J2({E0, E0, " 5.0000E-01", E0, E0, E0})},
    {{7, 1}, J2({E0, E0, E0, E0, E0, E0})},
    {{7, 2}, J2({E0, E0, E0, E0, E0, E0})},
    {{10, 1}, J2({" 2.5000E-01", E0, E0, E0, E0, E0})},
    {{10, 2}, J2({" 1.2500E-01", E0, E0, E0, E0, E0})},
};

// Member force lines of member m in case c: the i-end values with the
// mid-span moments, and the j-end values.
struct ForceValues {
    QString iEnd, mid, jEnd;
    bool compression;
};
const std::map<std::pair<int, int>, ForceValues> kForces = {
    {{2, 1}, {J2({Z, "    3.000", Z, Z, "    4.000", Z}), QStringLiteral("    5.000  ") + Z, J2({Z, "   -3.000", Z, Z, "   -2.000", Z}), false}},
    {{2, 2},
     {J2({"   12.500", Z, "    2.000", Z, "    1.000", "   -0.500"}), QString(Z) + B(2) + Z,
      J2({"  -12.500", Z, "   -2.000", Z, "    3.000", "    0.500"}), true}},
    // iN 0.0004 prints 0.000, jN -0.0004 keeps its sign: -0.000.
    {{5, 1},
     {J2({Z, "    1.250", "   -0.500", "    0.100", "   -2.500", "   12.000"}), QString(Z) + B(2) + Z,
      J2({"   -0.000", "   -1.250", "    0.500", "   -0.100", "    1.500", "   -8.000"}), true}},
    {{5, 2},
     {J2({"   -5.000", "   12.500", Z, Z, Z, "   15.000"}), QString(Z) + B(2) + "   30.000", J2({"    5.000", "  -12.500", Z, Z, Z, "   20.000"}),
      false}},
    {{9, 1},
     {J2({"   20.000", "   -6.000", Z, Z, Z, "   -6.000"}), QString(Z) + B(2) + "   -7.500", J2({"  -20.000", "    6.000", Z, Z, Z, "   12.000"}),
      true}},
    {{9, 2}, {J2({"   -1.000", Z, Z, Z, "   -0.800", Z}), QString(Z) + B(2) + Z, J2({"    1.000", Z, Z, Z, "    0.400", Z}), false}},
};
// Member: number text, i-end node, j-end node.
const std::tuple<int, const char*, const char*, const char*> kMembers[] = {
    {2, "    2", "    2", "   10"}, {5, "    5", "    7", "    2"}, {9, "    9", "   10", "    4"}};
const std::pair<int, const char*> kNodes[] = {{2, "    2"}, {4, "    4"}, {7, "    7"}, {10, "   10"}};

QStringList ResultsByMember(bool si)
{
    QStringList l{QStringLiteral("2. 応力解析結果（部材、節点毎に表示）"), QString(), QStringLiteral(" * 節点変位"), QString()};
    l << H(211, si);
    for (const auto& [node, text] : kNodes) {
        if (node != 2) l << QString();
        l << B(6) + text + B(3) + "    1" + B(3) + kDisplacements.at({node, 1});
        l << B(14) + "    2" + B(3) + kDisplacements.at({node, 2});
    }
    l << QString() << QString() << QStringLiteral(" * 部材応力（* が付いている部材は圧縮材）") << QString() << H(221, si);
    for (const auto& [member, no, iNode, jNode] : kMembers) {
        if (member != 2) l << QString();
        for (int c = 1; c <= 2; ++c) {
            const ForceValues& f = kForces.at({member, c});
            const QString head = (c == 1 ? B(6) + no : B(11)) + B(2) + QStringLiteral("    %1").arg(c) + (f.compression ? "*" : " ") + B(2);
            l << head + iNode + B(3) + f.iEnd + B(3) + f.mid;
            l << B(21) + jNode + B(3) + f.jEnd;
        }
    }
    l << QString() << QString() << QStringLiteral(" * 支点反力") << QString() << H(231, si);
    // Node 2: case 1 holds only MZ 0.0001; node 7: its first case holds nothing.
    l << B(6) + "    2" + B(4) + "    1" + B(3) + J2({Z, Z, Z, Z, Z, Z});
    l << B(15) + "    2" + B(3) + J2({"   12.500", "    3.000", Z, Z, Z, Z}) << QString();
    l << B(6) + "    7" + B(4) + "    2" + B(3) + J2({"  -12.500", Z, "   30.000", Z, "    2.500", "  -15.000"}) << QString();
    return l;
}

QStringList ResultsOfCase(bool si, int c)
{
    QStringList l;
    if (c == 1) l << QStringLiteral("2. 応力解析結果（荷重ケース毎に表示）");
    l << Caption(c) << QString() << QStringLiteral(" * 節点変位") << QString() << H(212, si);
    for (const auto& [node, text] : kNodes) l << B(6) + text + B(4) + kDisplacements.at({node, c});
    l << QString() << QString() << QStringLiteral(" * 部材応力（* が付いている部材は圧縮材）") << QString() << H(222, si);
    for (const auto& [member, no, iNode, jNode] : kMembers) {
        const ForceValues& f = kForces.at({member, c});
        l << B(6) + no + (f.compression ? "*   " : "    ") + iNode + B(3) + f.iEnd + B(3) + f.mid;
        l << B(15) + jNode + B(3) + f.jEnd << QString();
    }
    l << QString() << QString() << QStringLiteral(" * 支点反力") << QString() << H(232, si);
    if (c == 1) {
        l << B(6) + "    2" + B(3) + J2({Z, Z, Z, Z, Z, Z});
    } else {
        l << B(6) + "    2" + B(3) + J2({"   12.500", "    3.000", Z, Z, Z, Z});
        l << B(6) + "    7" + B(3) + J2({"  -12.500", Z, "   30.000", Z, "    2.500", "  -15.000"});
    }
    return l;
}

// Case 1 × 1.5 + case 2 × 0.5. Member 2's cMy: 1.5 × 5 from case 1 and, as
// case 2 has no load in that plane, 0.5 × (jMy − iMy)/2 = 0.5 × 1; its cMz
// stays 0 (no weighted case loaded in that plane). Member 5's cMz: 1.5 ×
// (iMz − jMz)/2 = 1.5 × 10 and 0.5 × 30.
QStringList CombinationChapter(bool si)
{
    QStringList l{QStringLiteral("3.応力の組み合わせ"), QString()};
    l << H(31, si);
    l << QStringLiteral("      　　 　　　 1   ") + "    1.500";
    l << QStringLiteral("      　　 　　　 2   ") + "    0.500";
    l << QStringLiteral(" ") << QStringLiteral(" * 節点変位") << QStringLiteral(" ") << H(212, si);
    l << B(6) + "    2" + B(4) + J2({" 7.5185E-01", "-1.8518E-03", "-6.1250E+00", " 1.5000E-10", "-3.7500E-05", " 7.4995E-01"});
    l << B(6) + "    4" + B(4) + J2({E0, E0, " 1.5625E-01", E0, E0, E0});
    l << B(6) + "    7" + B(4) + J2({E0, E0, E0, E0, E0, E0});
    l << B(6) + "   10" + B(4) + J2({" 4.3750E-01", E0, E0, E0, E0, E0});
    l << QString() << QString() << QStringLiteral(" * 部材応力（* が付いている部材は圧縮材）") << QStringLiteral(" ") << H(222, si);
    l << B(6) + "    2" + "*   " + "    2" + B(3) + J2({"    6.250", "    4.500", "    1.000", Z, "    6.500", "   -0.250"}) + B(3) + "    8.000"
             + B(2) + Z;
    l << B(15) + "   10" + B(3) + J2({"   -6.250", "   -4.500", "   -1.000", Z, "   -1.500", "    0.250"}) << QString();
    l << B(6) + "    5" + "    " + "    7" + B(3) + J2({"   -2.499", "    8.125", "   -0.750", "    0.150", "   -3.750", "   25.500"}) + B(3) + Z
             + B(2) + "   30.000";
    l << B(15) + "    2" + B(3) + J2({"    2.499", "   -8.125", "    0.750", "   -0.150", "    2.250", "   -2.000"}) << QString();
    l << B(6) + "    9" + "*   " + "   10" + B(3) + J2({"   29.500", "   -9.000", Z, Z, "   -0.400", "   -9.000"}) + B(3) + Z + B(2) + "  -11.250";
    l << B(15) + "    4" + B(3) + J2({"  -29.500", "    9.000", Z, Z, "    0.200", "   18.000"}) << QString();
    l << QString() << QString() << QStringLiteral(" * 支点反力") << QString() << H(232, si);
    l << B(6) + "    2" + B(3) + J2({"    6.250", "    1.500", Z, Z, Z, Z});
    l << B(6) + "    7" + B(3) + J2({"   -6.250", Z, "   15.000", Z, "    1.250", "   -7.500"});
    return l;
}

// The build as the program starts it from the screen of results.
void AsFromTheProgram(reporttest::TableRun& run, bool perNodeMember)
{
    run.ctx().header = {QStringLiteral("試験架構").leftJustified(50), QStringLiteral("設計 一郎").leftJustified(50), B(50)};
    run.ctx().screenCode = 10402;
    run.ctx().info = CombinationContents(perNodeMember);
}

// The lines of a page as a reader sees them: empty lines after the last
// printed one leave no trace.
QStringList Seen(QStringList lines)
{
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// Compares line by line, so that a failure names the first line that differs.
void ExpectLines(const QStringList& actual, const QStringList& expected, const QString& what)
{
    for (qsizetype i = 0; i < std::max(actual.size(), expected.size()); ++i)
        ASSERT_EQ(actual.value(i, QStringLiteral("<none>")), expected.value(i, QStringLiteral("<none>")))
            << what.toStdString() << ", line " << i + 1;
}

// Every page of tables, by member and by load case, in both unit systems.
TEST(ReportTables, PagesByMemberAndByLoadCase)
{
    for (bool perNodeMember : {true, false}) {
        for (bool si : {true, false}) {
            reporttest::TableRun b(si);
            AsFromTheProgram(b, perNodeMember);
            ASSERT_EQ(b.Build().outcome, report::BuildOutcome::Succeeded);
            const QList<QStringList> pages =
                perNodeMember ? QList<QStringList>{InputDataChapter(si), EquivalentLoadsByMember(si), ResultsByMember(si),
                                                   CombinationChapter(si)}
                              : QList<QStringList>{InputDataChapter(si), EquivalentLoadsByCase(si), ResultsOfCase(si, 1),
                                                   ResultsOfCase(si, 2), CombinationChapter(si)};
            ASSERT_EQ(b.Pages(), pages.size() + 1);
            for (int k = 0; k < pages.size(); ++k)
                ExpectLines(b.Lines(k + 2), Seen(pages[k]),
                            QStringLiteral("%1, %2, page %3")
                                .arg(perNodeMember ? "by member" : "by case", si ? "SI" : "gravitational")
                                .arg(k + 2));
            EXPECT_EQ(b.ctx().currentTableCode, 0);
        }
    }
}

// Short pages: every page that begins while a table runs starts with its
// footer and the table's whole heading block; nothing else is repeated, and
// every table leaves the heading code at 0.
TEST(ReportTables, PageBreaksRepeatTheHeadingBlock)
{
    std::set<int16_t> brokenTables;   // tables that ran over a page
    // Margins that make pages break inside the tables of nodes, sections,
    // members, load shapes and placements, member forces and reactions.
    for (const auto& [perNodeMember, margin] : {std::pair{true, 3200.0}, {true, 3900.0}, {true, 4050.0}, {true, 4500.0}, {true, 4900.0},
                                                 {true, 5100.0}, {true, 5700.0}, {true, 5850.0}, {false, 5900.0}}) {
        reporttest::TableRun b(true);
        AsFromTheProgram(b, perNodeMember);
        std::map<int, int16_t> codeAtPage;   // the heading code when each page began
        std::vector<int16_t> codesAfter;
        report::ReportChapters ch = report::StandardChapters();
        auto cover = ch.printFrontCover;
        ch.printFrontCover = [&, cover](report::ReportContext& ctx) {
            ctx.doc.SetNewPageHandler([&ctx, &codeAtPage] {
                codeAtPage[ctx.doc.PageCount()] = ctx.currentTableCode;
                report::OnNewPage(ctx);
            });
            cover(ctx);
        };
        auto watch = [&codesAfter](auto& procedure) {
            procedure = [&codesAfter, inner = procedure](report::ReportContext& ctx, auto... caseNo) {
                inner(ctx, caseNo...);
                codesAfter.push_back(ctx.currentTableCode);
            };
        };
        watch(ch.printInputDataChapter);
        // Short pages from the first page of tables on.
        auto input = ch.printInputDataChapter;
        ch.printInputDataChapter = [input, margin](report::ReportContext& ctx) {
            ctx.doc.SetPageMargins(margin);
            input(ctx);
        };
        watch(ch.printEquivalentNodalLoadsByMember);
        watch(ch.printDisplacementsByNode);
        watch(ch.printMemberForcesByMember);
        watch(ch.printReactionsByNode);
        watch(ch.printLoadCombinationResults);
        watch(ch.printEquivalentNodalLoadsForCase);
        watch(ch.printDisplacementsForCase);
        watch(ch.printMemberForcesForCase);
        watch(ch.printReactionsForCase);
        ASSERT_EQ(b.Build(ch).outcome, report::BuildOutcome::Succeeded);

        const QList<QStringList> chapters =
            perNodeMember ? QList<QStringList>{InputDataChapter(true), EquivalentLoadsByMember(true), ResultsByMember(true),
                                               CombinationChapter(true)}
                          : QList<QStringList>{InputDataChapter(true), EquivalentLoadsByCase(true), ResultsOfCase(true, 1),
                                               ResultsOfCase(true, 2), CombinationChapter(true)};
        QStringList expected;
        for (const QStringList& c : chapters) expected << NonEmpty(c);
        QStringList printed;
        for (int page = 2; page <= b.Pages(); ++page) {
            EXPECT_EQ(b.Footer(page), QStringLiteral("|-   %1 -|").arg(page - 1));
            QStringList lines = b.Lines(page);
            const int16_t code = codeAtPage.at(page);
            if (code != 0) {
                const QStringList heading = H(code, true);
                EXPECT_EQ(lines.mid(0, heading.size()), heading) << "page " << page;
                lines = lines.mid(heading.size());
                brokenTables.insert(code);
            }
            printed << NonEmpty(lines);
        }
        ExpectLines(printed, expected, QStringLiteral("short pages"));
        EXPECT_EQ(codesAfter.size(), perNodeMember ? 6u : 10u);
        EXPECT_TRUE(std::all_of(codesAfter.begin(), codesAfter.end(), [](int16_t c) { return c == 0; }));
    }
    EXPECT_EQ(brokenTables, (std::set<int16_t>{12, 13, 14, 15, 221, 222, 231, 232}));
}

// The real program, opened from the main menu: the same lines.
TEST(ReportTables, ThroughTheProgram)
{
    const QString dir = testenv::MakeDir(QStringLiteral("fixture"));
    WriteTableFixture(false, dir);
    ASSERT_TRUE(report::WritePreviewInfo(CombinationContents(false), dir + QStringLiteral("/pif")));
    const QStringList out = testenv::RunProbe(dir, {QStringLiteral("preview:10402")});
    EXPECT_TRUE(testenv::Matching(out, QStringLiteral("message=")).isEmpty());
    ASSERT_EQ(testenv::Value(out, QStringLiteral("pages")), QStringLiteral("6"));
    QStringList expected;
    for (const QStringList& page : {InputDataChapter(false), EquivalentLoadsByCase(false), ResultsOfCase(false, 1),
                                    ResultsOfCase(false, 2), CombinationChapter(false)})
        for (const QString& line : Seen(page)) expected << QStringLiteral("line=") + line;
    QStringList printed;
    for (int page = 2; page <= 6; ++page) printed << testenv::Matching(testenv::PageOutput(out, page), QStringLiteral("line="));
    ExpectLines(printed, expected, QStringLiteral("probe"));
}

}  // namespace
