// The failures of the report's tables on a damaged fixture project: each
// table's own message, the rows printed before it, the load-combination
// chapter that ends and lets the build go on, and the real program's
// second message, dropped document and cleared combination.
#include "TableRun.h"

#include "common/Probe.h"
#include "common/TestEnv.h"
#include "common/Values.h"
#include "report/PreviewSettingsFile.h"
#include "report/tables/DisplacementTables.h"
#include "report/tables/EquivalentLoadTables.h"
#include "report/tables/InputDataChapter.h"
#include "report/tables/LoadCombinationChapter.h"
#include "report/tables/MemberForceTables.h"
#include "report/tables/ReactionTables.h"

#include <gtest/gtest.h>

using reporttest::NonEmpty;
using reporttest::TableRun;
using testenv::I;
using testenv::S;
using testenv::T;

namespace {

using Procedure = std::function<void(report::ReportContext&)>;
using Damage = std::function<void(dao::Database&)>;

QString Printing(const QString& topic)
{
    return topic + QStringLiteral("に関するデータをプリント中にエラーが発生しました。\r\n"
                                  "現在のデータに対して解析処理を実行してから、もう一度プレビュー処理を実行して下さい。");
}

QString MissingRestraint(int placement)
{
    return QStringLiteral("「節点拘束配置」で入力した拘束条件　%1\r\n"
                          "入力した拘束条件が「節点拘束条件」に登録されていないのでドキュメントの作成処理を終了します")
        .arg(placement);
}

QString MissingEnd(int placement)
{
    return QStringLiteral("「部材端部配置」で入力したｉ端またはｊ端の端部条件　%1\r\n"
                          "入力した端部条件が「部材端部条件」に登録されていないのでドキュメントの作成処理を終了します")
        .arg(placement);
}

void Exec(dao::Database& db, const QString& sql, const std::vector<rt::Variant>& params = {}) { db.Execute(sql, params); }

Damage Sql(const QString& sql, const std::vector<rt::Variant>& params = {})
{
    return [sql, params](dao::Database& db) { Exec(db, sql, params); };
}

Damage Rename(const QString& table, const QString& field)
{
    return Sql(QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3")
                   .arg(dao::QuoteIdent(table), dao::QuoteIdent(field), dao::QuoteIdent(field + QStringLiteral("_old"))));
}

// Deletes the rows of number `no` (of case `caseNo` when not 0).
Damage DeleteRows(const QString& table, int no, int caseNo = 0)
{
    return caseNo == 0 ? Sql(QStringLiteral("DELETE FROM %1 WHERE \"No_\" = ?").arg(dao::QuoteIdent(table)), {I(no)})
                       : Sql(QStringLiteral("DELETE FROM %1 WHERE \"No_\" = ? AND \"Case\" = ?").arg(dao::QuoteIdent(table)),
                             {I(no), I(caseNo)});
}

Damage SetField(const QString& table, const QString& field, const rt::Variant& value, int no, int caseNo = 0)
{
    return [=](dao::Database& db) { reporttest::SetValues(db, table, no, caseNo, {{field, value}}); };
}

// The input-data chapter stops at the first node or member whose placement
// names a type that is not there, with its message and nothing of that
// node or member printed; other faults stop it without a message of its own.
TEST(ReportTableFailures, InputDataChapterStops)
{
    struct Case {
        Damage damage;
        QString message;       // empty: no message of the chapter's own
        QString lastLine;      // the last line printed, empty when none is checked
    };
    const QString free = QStringLiteral("      -");
    const Case cases[] = {
        // Node 2's placement (row 5) is fine; node 7's (row 3) names type 9.
        {SetField(QStringLiteral("節点拘束配置"), QStringLiteral("拘束形状"), I(9), 3), MissingRestraint(3),
         QStringLiteral("          4      0.000      3.500     -2.250   ") + free + QString(5, u' ') + free + QString(5, u' ') + free
             + QString(5, u' ') + free + QString(5, u' ') + free + QString(5, u' ') + free},
        // Member 9 (row 2) has a j-end type that is not there: members 2 and 5 print.
        {SetField(QStringLiteral("要素端部配置"), QStringLiteral("j端部形状"), I(7), 2), MissingEnd(2), QString()},
        {SetField(QStringLiteral("要素端部配置"), QStringLiteral("i端部形状"), I(8), 1), MissingEnd(1), QString()},
        {SetField(QStringLiteral("節点拘束形状"), QStringLiteral("θz"), T(QStringLiteral("abc")), 2), QString(), QString()},
        {SetField(QStringLiteral("要素端部形状"), QStringLiteral("yMWR"), rt::Variant(), 2), QString(), QString()},
        {SetField(QStringLiteral("節点座標1"), QStringLiteral("X"), rt::Variant(), 10), QString(), QString()},
        {Sql(QStringLiteral("DROP TABLE \"荷重配置\"")), QString(), QString()},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        TableRun run;
        cases[k].damage(run.db());
        const QStringList lines = run.Print([](report::ReportContext& ctx) { report::PrintInputDataChapter(ctx); });
        ASSERT_TRUE(run.failure) << k;
        EXPECT_EQ(*run.failure, cases[k].message) << k;
        EXPECT_EQ(run.codeAfter, 0) << k;
        if (!cases[k].lastLine.isEmpty()) {
            EXPECT_EQ(lines.value(lines.size() - 2), cases[k].lastLine) << k;
        }
    }
    // The end-type stop of member 9: members 2 and 5 printed, nothing of 9.
    TableRun run;
    cases[1].damage(run.db());
    const QStringList lines = run.Print([](report::ReportContext& ctx) { report::PrintInputDataChapter(ctx); });
    EXPECT_EQ(lines.mid(lines.size() - 3),
              QStringList({QString(26, u' ') + QStringLiteral("    2") + QString(5, u' ') + free + QString(5, u' ')
                               + QStringLiteral("   ピン   ") + QStringLiteral("  ") + QStringLiteral("   ピン   "),
                           QString(), QStringLiteral("END")}));
}

// Each result table: a database error, a value that cannot be read, a node
// or member without its row, or a load case outside 1 to 10 ends it with
// its own message; the rows before stay, the row not found is not printed.
TEST(ReportTableFailures, ResultTablesFailWithTheirMessage)
{
    const QString eq = QStringLiteral("Analyze等価節点荷重"), disp = QStringLiteral("Analyze節点変位"),
                  force = QStringLiteral("Analyze部材応力"), reaction = QStringLiteral("Analyze支点反力");
    auto forCase = [](void (*print)(report::ReportContext&, int16_t), int16_t c) {
        return Procedure([print, c](report::ReportContext& ctx) { print(ctx, c); });
    };
    struct Case {
        Damage damage;
        Procedure print;
        int16_t code;
        QString topic;
        int rowsPrinted;   // lines with text after the heading block
    };
    const Case cases[] = {
        {Rename(eq, "cMz"), report::PrintEquivalentNodalLoadsByMember, 161, "等価節点荷重", 0},
        {SetField(eq, "iQy", rt::Variant(), 9, 1), forCase(report::PrintEquivalentNodalLoadsForCase, 1), 162, "等価節点荷重", 2},
        {Rename(disp, "⊿θz"), report::PrintDisplacementsByNode, 211, "節点変位", 0},
        {DeleteRows(disp, 4), report::PrintDisplacementsByNode, 211, "節点変位", 2},
        {DeleteRows(disp, 4, 2), forCase(report::PrintDisplacementsForCase, 2), 212, "節点変位", 1},
        {SetField(disp, "⊿Y", rt::Variant(), 10, 1), forCase(report::PrintDisplacementsForCase, 1), 212, "節点変位", 3},
        {DeleteRows(force, 9), report::PrintMemberForcesByMember, 221, "部材応力", 8},
        {DeleteRows(force, 9, 1), forCase(report::PrintMemberForcesForCase, 1), 222, "部材応力", 4},
        {SetField(force, "jMz", rt::Variant(), 5, 2), forCase(report::PrintMemberForcesForCase, 2), 222, "部材応力", 2},
        {DeleteRows(reaction, 10), report::PrintReactionsByNode, 231, "支点反力", 3},
        {DeleteRows(reaction, 10, 2), forCase(report::PrintReactionsForCase, 2), 232, "支点反力", 2},
        {Rename(reaction, "MZ"), forCase(report::PrintReactionsForCase, 1), 232, "支点反力", 0},
        {[](dao::Database&) {}, forCase(report::PrintEquivalentNodalLoadsForCase, 11), 162, "等価節点荷重", 0},
        {[](dao::Database&) {}, forCase(report::PrintDisplacementsForCase, 11), 212, "節点変位", 0},
        {[](dao::Database&) {}, forCase(report::PrintMemberForcesForCase, 0), 222, "部材応力", 0},
        {[](dao::Database&) {}, forCase(report::PrintReactionsForCase, 11), 232, "支点反力", 0},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        TableRun run;
        const Case& c = cases[k];
        c.damage(run.db());
        const QStringList rows = run.Rows(c.print, c.code);
        ASSERT_TRUE(run.failure) << k;
        EXPECT_EQ(*run.failure, Printing(c.topic)) << k;
        EXPECT_EQ(NonEmpty(rows).size(), c.rowsPrinted) << k;
        EXPECT_EQ(run.codeAfter, 0) << k;
    }
}

// The load-combination chapter shows the message of the section it is in,
// ends there and returns: the lines printed stay, nothing of the row that
// was not found, no heading code left behind.
TEST(ReportTableFailures, CombinationChapterEndsAndReturns)
{
    const QString b6 = QString(6, u' '), b15 = QString(15, u' ');
    struct Case {
        Damage damage;
        int16_t cases;
        QString topic;
        QStringList tail;   // the last lines before "END"
    };
    const Case cases[] = {
        {[](dao::Database&) {}, 11, "応力の組み合わせのデータ", report::TableHeadingLines(31, true)},
        {Rename(QStringLiteral("Analyze節点変位"), "⊿X"), 2, "節点変位の組み合わせ", report::TableHeadingLines(212, true)},
        {SetField(QStringLiteral("要素情報"), "iTan", rt::Variant(), 9), 2, "部材応力の組み合わせ", report::TableHeadingLines(222, true)},
        // Member 5's case 2 cannot be read: member 2 stays, 5 is not printed.
        {SetField(QStringLiteral("Analyze部材応力"), "cMy", rt::Variant(), 5, 2), 2, "部材応力の組み合わせ",
         {b15 + "   10   " + "   -6.250     -4.500     -1.000      0.000     -1.500      0.250", QString()}},
        // Node 7 has no reaction row for case 2: node 2 stays.
        {DeleteRows(QStringLiteral("Analyze支点反力"), 7, 2), 2, "支点反力の組み合わせ",
         {b6 + "    2   " + "    6.250      1.500      0.000      0.000      0.000      0.000"}},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        TableRun run;
        const Case& c = cases[k];
        c.damage(run.db());
        run.ctx().loadCaseCount = c.cases;
        const QStringList lines = run.Print([](report::ReportContext& ctx) { report::PrintLoadCombinationResults(ctx); });
        EXPECT_FALSE(run.failure) << k;
        EXPECT_EQ(run.notified, QStringList{Printing(c.topic)}) << k;
        EXPECT_EQ(run.codeAfter, 0) << k;
        EXPECT_EQ(lines.mid(lines.size() - 1 - c.tail.size()), c.tail + QStringList{QStringLiteral("END")}) << k;
    }
}

// A combined value that a Single cannot hold (largest 3.4028235E+38) ends
// the whole build with the message of its section, as an unreadable stored
// value ends a result table; nothing of its node or member is printed. A
// sum that still fits prints.
TEST(ReportTableFailures, CombinedValueBeyondASingleEndsTheBuild)
{
    const QString b6 = QString(6, u' ');
    struct Case {
        Damage damage;
        QString topic;   // empty: no failure
        QStringList tail;   // the last lines before "END"
    };
    const Case cases[] = {
        // Node 2, first in order: 1.5 × 3E+38 + 0.5 × 3E+38 = 6E+38.
        {SetField(QStringLiteral("Analyze節点変位"), "⊿X", S(3e38), 2), "節点変位の組み合わせ", report::TableHeadingLines(212, true)},
        // Member 2, first in order: its i-end axial force likewise.
        {SetField(QStringLiteral("Analyze部材応力"), "iN", S(3e38), 2), "部材応力の組み合わせ", report::TableHeadingLines(222, true)},
        // Node 2's reaction PX likewise: the displacements and member forces print whole.
        {SetField(QStringLiteral("Analyze支点反力"), "PX", S(3e38), 2), "支点反力の組み合わせ", report::TableHeadingLines(232, true)},
        // Case 1 only, 1.5 × 2E+38 = 3E+38 still fits; case 2 adds 0.5 × 0.
        {SetField(QStringLiteral("Analyze支点反力"), "PX", S(2e38), 2, 1), QString(),
         {b6 + "    2" + "   " + "3.000E+38" + "      1.500      0.000      0.000      0.000      0.000",
          b6 + "    7" + "   " + "   -6.250      0.000     15.000      0.000      1.250     -7.500"}},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        TableRun run;
        const Case& c = cases[k];
        c.damage(run.db());
        const QStringList lines = run.Print([](report::ReportContext& ctx) { report::PrintLoadCombinationResults(ctx); });
        if (c.topic.isEmpty()) {
            EXPECT_FALSE(run.failure) << k;
        } else {
            ASSERT_TRUE(run.failure) << k;
            EXPECT_EQ(*run.failure, Printing(c.topic)) << k;
        }
        EXPECT_TRUE(run.notified.isEmpty()) << k;
        EXPECT_EQ(run.codeAfter, 0) << k;
        EXPECT_EQ(lines.mid(lines.size() - 1 - c.tail.size()), c.tail + QStringList{QStringLiteral("END")}) << k;
    }
}

// A chapter 3 that ends early leaves no heading code: the diagram pages
// after it carry no table heading, and the build succeeds.
TEST(ReportTableFailures, NoHeadingOverThePagesAfterAFailedCombination)
{
    TableRun run;
    run.ctx().loadCaseCount = 11;   // damaged: the combination cannot be read
    run.ctx().info.ShowDisplacement = 1;
    report::ReportChapters chapters = report::StandardChapters();
    chapters.prepareDiagramGeometry = [](report::ReportContext&) {};
    chapters.printDisplacementDiagram = [](report::ReportContext& ctx, int16_t, report::DiagramExtents) {
        ctx.doc.PrintParagraph(QStringLiteral("4.変位図"));
    };
    ASSERT_EQ(run.Build(chapters).outcome, report::BuildOutcome::Succeeded);
    EXPECT_EQ(run.notified, QStringList{Printing(QStringLiteral("応力の組み合わせのデータ"))});
    EXPECT_EQ(run.Lines(run.Pages() - 1).mid(0, 3),
              QStringList({QStringLiteral("3.応力の組み合わせ"), QString()}) + QStringList{report::TableHeadingLines(31, true).first()});
    EXPECT_EQ(run.Lines(run.Pages()), QStringList{QStringLiteral("4.変位図")});
    EXPECT_EQ(run.ctx().currentTableCode, 0);
}

// The real program: a table's own message, then the general one; the
// document is dropped and the combination cleared in "pif". A failure
// without a message of its own shows the general one only; the
// combination chapter's message lets the report be built.
TEST(ReportTableFailures, TheProgramShowsBothMessagesAndDropsTheDocument)
{
    const QString general = QStringLiteral(
        "message=information|ドキュメントを作成中にエラーが発生したのでプレビューの作成を中止します。\\n"
        "入力したデータを確認してみて下さい。また、変位図や応力図の表示倍率などが\\n大き過ぎないかどうか確認して下さい。");
    auto shown = [](const QString& text) {
        return QStringLiteral("message=information|") + QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    };
    struct Case {
        Damage damage;
        bool perNodeMember;
        QString own;   // empty: none
        bool fails;
    };
    const Case cases[] = {
        {SetField(QStringLiteral("節点拘束配置"), QStringLiteral("拘束形状"), I(9), 3), false, MissingRestraint(3), true},
        {SetField(QStringLiteral("要素端部配置"), QStringLiteral("j端部形状"), I(7), 2), true, MissingEnd(2), true},
        {DeleteRows(QStringLiteral("Analyze部材応力"), 9), true, Printing(QStringLiteral("部材応力")), true},
        {Rename(QStringLiteral("Analyze等価節点荷重"), "cMz"), false, Printing(QStringLiteral("等価節点荷重")), true},
        {Rename(QStringLiteral("Analyze節点変位"), "⊿θz"), false, Printing(QStringLiteral("節点変位")), true},
        {Rename(QStringLiteral("Analyze支点反力"), "MZ"), true, Printing(QStringLiteral("支点反力")), true},
        {SetField(QStringLiteral("材料定数0"), "A", rt::Variant(), 3), true, QString(), true},
        {Sql(QStringLiteral("UPDATE \"基本データ\" SET \"Case\" = 11")), true, Printing(QStringLiteral("応力の組み合わせのデータ")), false},
        // Chapter 2 prints 3E+38; its combination, 6E+38, is beyond a Single.
        {SetField(QStringLiteral("Analyze部材応力"), "iN", S(3e38), 5), false, Printing(QStringLiteral("部材応力の組み合わせ")), true},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        const QString dir = testenv::MakeDir(QStringLiteral("failure%1").arg(k));
        testenv::WriteTableFixture(true, dir);
        {
            dao::DatabasePtr db = dao::Database::Open(dir + QStringLiteral("/Zelkova.mdb"));
            c.damage(*db);
            db->Close();
        }
        const PreviewInfoRecord stored = testenv::CombinationContents(c.perNodeMember);
        const QString pif = dir + QStringLiteral("/pif");
        ASSERT_TRUE(report::WritePreviewInfo(stored, pif));
        const QStringList out = testenv::RunProbe(dir, {QStringLiteral("preview:10402")});
        QStringList expected;
        if (!c.own.isEmpty()) expected << shown(c.own);
        if (c.fails) expected << general;
        EXPECT_EQ(testenv::Matching(out, QStringLiteral("message=")), expected) << k;
        PreviewInfoRecord after;
        report::LoadPreviewInfo(after, pif);
        if (c.fails) {
            EXPECT_EQ(testenv::Value(out, QStringLiteral("pages")), QStringLiteral("0")) << k;
            PreviewInfoRecord cleared = stored;
            cleared.CombineCases = 0;
            cleared.CaseSelected.fill(0);
            cleared.CaseFactor.fill(1);
            EXPECT_EQ(after, cleared) << k;
        } else {
            EXPECT_EQ(testenv::Value(out, QStringLiteral("pages")), QStringLiteral("5")) << k;
            EXPECT_EQ(after, stored) << k;
        }
    }
}

}  // namespace
