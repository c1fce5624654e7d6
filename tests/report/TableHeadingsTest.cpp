// Table heading blocks, fixed-width number columns and the sort of a
// table's rows.
#include "ReportTestSupport.h"

#include "common/ReportSamples.h"
#include "common/TestEnv.h"
#include "common/Values.h"
#include "platform/Runtime.h"
#include "report/PageFormat.h"
#include "report/TableHeadings.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <cmath>

using report::FormatFixedWidth;
using report::TableHeadingLines;
using reporttest::HeadlessBuild;

namespace {

TEST(FormatFixedWidth, RightAlignsRoundsAndKeepsEveryValueReadable)
{
    struct Case {
        double value;
        int16_t width, decimals;
        const char* expected;
    };
    const Case cases[] = {
        {7, 5, 0, "    7"},
        {12.3456, 5, 3, "   12.346"},
        {-2.5, 2, 1, "-2.5"},               // exactly the four characters of the column
        {0.0005, 5, 3, "    0.001"},        // a half rounds away from zero
        {-0.0004, 5, 3, "   -0.000"},       // a negative value that rounds to zero keeps its sign
        {-0.0, 5, 3, "    0.000"},          // zero has none, -0 included
        {-0.4, 5, 0, "   -0"},
        {-0.0, 5, 0, "    0"},
        {-123456.7, 5, 3, "-1.23E+05"},     // too wide: the exponent form fills the column
        {123456.7, 5, 3, "1.235E+05"},
        {99999.9996, 5, 3, "1.000E+05"},    // rounding makes the fixed text too wide
        {123456, 5, 0, "1E+05"},
        {-12.5, 2, 1, "-12.5"},             // not even "-1E+01" fits: the whole text, wider
        {-32768, 5, 0, "-32768"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixedWidth(c.value, c.width, c.decimals), QString::fromLatin1(c.expected))
            << c.value << " " << c.width << " " << c.decimals;
    // A stored Single is taken at its seven digits: 1.0005f reads 1.000500.
    EXPECT_EQ(FormatFixedWidth(1.0005f, 1, 3), QStringLiteral("1.001"));
    EXPECT_EQ(FormatFixedWidth(static_cast<double>(1.0005f), 1, 3), QStringLiteral("1.000"));
    EXPECT_EQ(FormatFixedWidth(42, 5, 0), QStringLiteral("   42"));
    EXPECT_EQ(FormatFixedWidth(-0.0004f, 5, 3), QStringLiteral("   -0.000"));
    EXPECT_EQ(FormatFixedWidth(-0.0f, 5, 3), QStringLiteral("    0.000"));
    // The report's columns only: the conversion the entry boxes use drops the sign.
    EXPECT_EQ(rt::Format(-0.0004, QStringLiteral("0.000")), QStringLiteral("0.000"));
}

// Whatever the value, the text fills its column and reads back as the value
// rounded to the digits it shows; the sign is never dropped.
TEST(FormatFixedWidth, NeverPrintsANumberThatIsNotTheValue)
{
    const double magnitudes[] = {0, 0.00049, 0.7, 3.14159, 12.5, 999.9995, 12345.678, 99999.5, 123456.7,
                                 9.87654e7, 1.5e12, 3.3e25};
    const std::pair<int16_t, int16_t> columns[] = {{5, 3}, {5, 0}, {2, 1}, {3, 2}, {1, 8}, {9, 0}};
    static const QRegularExpression form(QStringLiteral("^ *(-?)(\\d+)(?:\\.(\\d+))?(?:E([+-]\\d+))?$"));
    for (double magnitude : magnitudes) {
        for (double value : {magnitude, -magnitude}) {
            for (auto [w, d] : columns) {
                const QString text = FormatFixedWidth(value, w, d);
                const int column = w + d + (d > 0 ? 1 : 0);
                const auto m = form.match(text);
                ASSERT_TRUE(m.hasMatch()) << text.toStdString();
                const bool exponent = !m.captured(4).isEmpty();
                const int shown = m.captured(3).size();
                const int exp10 = exponent ? m.captured(4).toInt() : 0;
                const double unit = std::pow(10.0, exp10 - shown);
                EXPECT_LE(std::fabs(text.trimmed().toDouble() - value), unit / 2 * (1 + 1e-9)) << text.toStdString();
                // The sign of every negative value, also one that rounds to zero; none for zero.
                EXPECT_EQ(m.captured(1), value < 0 ? QStringLiteral("-") : QString()) << text.toStdString();
                // Wider than its column only when even the shortest exponent form is.
                if (text.size() > column) {
                    EXPECT_FALSE(exponent);
                    const int exponentDigits = std::max(2, int(std::to_string(int(std::log10(std::fabs(value)))).size()));
                    const int shortest = (value < 0 ? 1 : 0) + 1 + 2 + exponentDigits;   // "-1E+05"
                    EXPECT_GT(shortest, column) << text.toStdString();
                } else {
                    EXPECT_EQ(text.size(), column) << text.toStdString();
                }
            }
        }
    }
}

TEST(TableHeadings, BlocksByCodeAndUnitSystem)
{
    const std::pair<int, int> lineCounts[] = {{11, 4}, {12, 3}, {13, 4}, {14, 2}, {15, 3}, {31, 2}, {161, 3}, {162, 3},
                                              {211, 3}, {212, 3}, {221, 3}, {222, 3}, {231, 3}, {232, 3}};
    // Gravitational units change the unit lines, and the spacing of the
    // column names of these codes.
    const QList<int> namesDiffer = {161, 162, 221, 222, 231};
    for (auto [code, count] : lineCounts) {
        const QStringList si = TableHeadingLines(int16_t(code), true);
        const QStringList grav = TableHeadingLines(int16_t(code), false);
        ASSERT_EQ(si.size(), count) << code;
        ASSERT_EQ(grav.size(), count) << code;
        EXPECT_EQ(si.last(), grav.last()) << code;
        for (int i = 0; i < count; ++i) {
            const bool unitLine = si[i].contains(QStringLiteral("kN"));
            const bool nameLine = i == 0 && namesDiffer.contains(code);
            if (!unitLine && !nameLine) {
                EXPECT_EQ(si[i], grav[i]) << code << " line " << i;
            }
            if (unitLine) {
                EXPECT_FALSE(grav[i].contains(QStringLiteral("kN"))) << code;
            }
        }
    }
    EXPECT_TRUE(TableHeadingLines(0, true).isEmpty());
    EXPECT_TRUE(TableHeadingLines(99, true).isEmpty());

    EXPECT_EQ(TableHeadingLines(31, true),
              QStringList({QStringLiteral("      荷重ケース番号     倍率"),
                           QStringLiteral("      \u3000\u3000\u3000\u3000\u3000+-+   +----.--+")}));
    EXPECT_EQ(TableHeadingLines(232, false)[1],
              QStringLiteral("     \u3000\u3000          t          t          t         t･m        t･m        t･m"));
    EXPECT_EQ(TableHeadingLines(11, true)[0].size(), 111);
    EXPECT_EQ(TableHeadingLines(11, false)[2].size(), 117);
    EXPECT_EQ(TableHeadingLines(161, false)[0].size(), 108);
    EXPECT_EQ(TableHeadingLines(221, true)[2].size(), 116);
}

// Every segment of every column template is exactly as wide as the column
// that FormatFixedWidth makes for it.
TEST(TableHeadings, TemplatesMatchTheNumberColumns)
{
    static const QRegularExpression segment(QStringLiteral("\\+[-.]*\\+"));
    for (int code : {11, 12, 13, 14, 15, 31, 161, 162, 211, 212, 221, 222, 231, 232}) {
        const QString tmpl = TableHeadingLines(int16_t(code), true).last();
        ASSERT_FALSE(tmpl.contains(QRegularExpression(QStringLiteral("[^ +\\-.\u3000]")))) << code;
        for (auto it = segment.globalMatch(tmpl); it.hasNext();) {
            const QString s = it.next().captured(0);
            const int point = s.indexOf(u'.');
            const int16_t w = int16_t(point < 0 ? s.size() : point);
            const int16_t d = int16_t(point < 0 ? 0 : s.size() - point - 1);
            EXPECT_EQ(FormatFixedWidth(-1.5, w, d).size(), s.size()) << code << " " << s.toStdString();
        }
    }
}

TEST(TableHeadings, PrintTableHeaderPrintsTheRunningBlockOnly)
{
    HeadlessBuild b;
    b.doc().StartDocument();
    report::ReportContext& ctx = b.ctx();
    ctx.currentTableCode = 0;
    report::PrintTableHeader(ctx);
    ctx.currentTableCode = 99;   // a code without a block
    report::PrintTableHeader(ctx);
    EXPECT_EQ(ctx.currentTableCode, 99);
    EXPECT_TRUE(b.Lines(1).isEmpty());
    {
        report::RunningTable table(ctx, report::TableCodeReactionsForCase);
        EXPECT_EQ(ctx.currentTableCode, 232);
    }
    EXPECT_EQ(ctx.currentTableCode, 0);
    EXPECT_EQ(b.Lines(1), TableHeadingLines(232, true));
}

// A long table: every page it reaches starts with the complete heading
// block, right below the page header, and the footers count on.
TEST(TableHeadings, LongTableRepeatsItsHeadingAfterEveryBreak)
{
    HeadlessBuild b;
    report::ReportChapters chapters = reporttest::WithoutTables();
    chapters.printDisplacementsForCase = [](report::ReportContext& ctx, int16_t c) {
        testenv::PrintSampleMemberForceTable(ctx, 150, c);
    };
    ASSERT_EQ(b.Run(report::kModeResults, nullptr, chapters).outcome, report::BuildOutcome::Succeeded);
    // Cover, input data, 1.6, then the table over several pages.
    ASSERT_GE(b.Pages(), 7);
    const QStringList heading = TableHeadingLines(222, true);
    const QStringList first = b.Lines(4);
    EXPECT_EQ(first.mid(0, 5), QStringList({QStringLiteral("2. 応力解析結果（荷重ケース毎に表示）"), QString(), QString(),
                                             QStringLiteral("荷重ケース番号  1"), QString()}));
    EXPECT_EQ(first.mid(5, 3), QStringList({QString(), QStringLiteral(" * 部材応力"), QString()}));
    EXPECT_EQ(first.mid(8, 3), heading);
    int rowsSeen = 0;
    for (int page = 4; page <= b.Pages(); ++page) {
        const QStringList lines = b.Lines(page);
        if (page > 4) {
            EXPECT_EQ(lines.mid(0, 3), heading) << page;
        }
        rowsSeen += lines.size() - (page == 4 ? 11 : 3);
        EXPECT_EQ(b.Footer(page), QStringLiteral("|-   %1 -|").arg(page - 1));
    }
    EXPECT_EQ(rowsSeen, 300);
    EXPECT_EQ(b.ctx().currentTableCode, 0);
}

// A break inside the heading block continues the block on the new page
// without starting it again.
TEST(TableHeadings, BreakInsideTheBlockDoesNotRepeatIt)
{
    HeadlessBuild b;
    report::ReportContext& ctx = b.ctx();
    ctx.doc.SetNewPageHandler([&ctx] { report::OnNewPage(ctx); });
    report::SetPageNumberingMode(report::kModeResults);
    ctx.doc.StartDocument();
    report::SetupPageFormat(ctx, report::kSectionTables);
    int perPage = 0;
    while (ctx.doc.PageCount() == 1) {
        ctx.doc.PrintParagraph(QStringLiteral("x"));
        ++perPage;
    }
    --perPage;   // the last one began page 2
    ctx.doc.StartDocument();
    report::SetupPageFormat(ctx, report::kSectionTables);
    for (int i = 0; i < perPage - 1; ++i) ctx.doc.PrintParagraph(QStringLiteral("x"));
    {
        report::RunningTable table(ctx, report::TableCodeDisplacementsForCase);
        ctx.doc.PrintParagraph(QStringLiteral("row 1"));
    }
    const QStringList heading = TableHeadingLines(212, true);
    EXPECT_EQ(b.Lines(1).last(), heading[0]);
    EXPECT_EQ(b.Lines(2), QStringList({heading[1], heading[2], QStringLiteral("row 1")}));
    ctx.doc.SetNewPageHandler(nullptr);
}

TEST(SortRecordset, AscendingFromTheFirstRowAndEmptyStaysAsItWas)
{
    HeadlessBuild b;
    b.db().Execute(QStringLiteral("DELETE FROM \"節点座標1\""));
    b.db().AppendRows(QStringLiteral("節点座標1"), {"No_"},
                      {{testenv::I(30)}, {testenv::I(4)}, {testenv::I(17)}, {testenv::I(-2)}});
    dao::RecordsetPtr rs = b.db().OpenRecordset(QStringLiteral("節点座標1"));
    report::SortRecordset(rs, QStringLiteral("no_"));
    QList<int> order;
    for (; !rs->EOF_(); rs->MoveNext()) order << rs->Field(QStringLiteral("No_")).toInteger();
    EXPECT_EQ(order, QList<int>({-2, 4, 17, 30}));

    dao::RecordsetPtr empty = b.db().OpenRecordset(QStringLiteral("PreviewMentPoint"));
    const dao::RecordsetPtr before = empty;
    report::SortRecordset(empty, QStringLiteral("Case"));
    EXPECT_EQ(empty, before);
}

}  // namespace
