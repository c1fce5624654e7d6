// The preview as the probe shows it: the results report and the frame
// diagram print opened from the main menu, their pages, headers, footers and
// lines, and the PDF.
#include "common/DocumentText.h"
#include "common/FullDisk.h"
#include "common/Probe.h"
#include "common/ReportProject.h"
#include "common/TestEnv.h"
#include "platform/PdfPages.h"
#include "platform/preview/DocumentBuilder.h"
#include "platform/preview/PreviewFonts.h"
#include "platform/preview/Printing.h"
#include "report/PreviewSettingsFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using testenv::After;
using testenv::Matching;
using testenv::PageOutput;
using testenv::RunProbe;
using testenv::Value;

namespace {

const QString kHeader = QStringLiteral("工事名 : 高架橋||ZELKOVA(for 32bit Windows)");

TEST(ProbePreview, ResultsReportPagesAndItsPdf)
{
    const QString dir = testenv::MakeDir(QStringLiteral("results"));
    testenv::ReportProjectSetup setup;
    setup.name = QStringLiteral("  高架橋 ");
    setup.cases = 2;
    testenv::WriteReportProject(setup, dir);
    const QString pdf = dir + QStringLiteral("/report.pdf");
    const QStringList out = RunProbe(dir, {QStringLiteral("preview:10402"), QStringLiteral("pdf:") + pdf, QStringLiteral("dump")});
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty());
    EXPECT_EQ(Value(out, QStringLiteral("preview")), QStringLiteral("loaded"));
    EXPECT_EQ(Value(out, QStringLiteral("counts")), QStringLiteral("4|0"));
    ASSERT_EQ(Value(out, QStringLiteral("pages")), QStringLiteral("5"));
    EXPECT_EQ(Value(out, QStringLiteral("menu")), QStringLiteral("unloaded"));

    // The cover: no header, no footer, the title block.
    const QStringList cover = PageOutput(out, 1);
    ASSERT_GE(cover.size(), 3);
    EXPECT_EQ(cover.mid(0, 3), QStringList({"page=1|portrait", "header=||", "footer=||"}));
    EXPECT_TRUE(cover.contains(QStringLiteral("line=") + QString(36, u' ') + QStringLiteral("工事名 ：高架橋")));
    // Numbered pages with the project header.
    for (int page = 2; page <= 5; ++page) {
        const QStringList lines = PageOutput(out, page);
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines[0], QStringLiteral("page=%1|portrait").arg(page));
        EXPECT_EQ(lines[1], QStringLiteral("header=") + kHeader);
        EXPECT_EQ(lines[2], QStringLiteral("footer=|-   %1 -|").arg(page - 1));
    }
    EXPECT_EQ(PageOutput(out, 3).mid(3, 5), QStringList({"line=1.6 等価節点荷重表（荷重ケース毎に表示）", "line=", "line=",
                                                          "line=荷重ケース番号  1", "line="}));
    EXPECT_EQ(PageOutput(out, 5).mid(3, 3), QStringList({"line=", "line=", "line=荷重ケース番号  2"}));

    EXPECT_EQ(Value(out, QStringLiteral("pdf")), pdf);
    const auto pages = previewtest::ReadPdfPages(testenv::ReadFile(pdf));
    ASSERT_EQ(pages.size(), 5u);
    for (const auto& page : pages) {
        EXPECT_NEAR(page.mediaBox.width(), 595, 1);
        EXPECT_NEAR(page.mediaBox.height(), 842, 1);
    }
    EXPECT_TRUE(pages[0].text.contains(QStringLiteral("立体フレームの応力解析")));
    EXPECT_TRUE(pages[1].text.contains(QStringLiteral("工事名 : 高架橋")));
}

// The display contents come from "pif" as if "表示" were pressed.
TEST(ProbePreview, TakesTheStoredDisplayContents)
{
    const QString dir = testenv::MakeDir(QStringLiteral("pif"));
    testenv::ReportProjectSetup setup;
    setup.cases = 3;
    testenv::WriteReportProject(setup, dir);
    PreviewInfoRecord info = report::DefaultPreviewInfo(-1);
    info.PerNodeMember = -1;
    info.ByLoadCase = 0;
    ASSERT_TRUE(report::WritePreviewInfo(info, dir + QStringLiteral("/pif")));
    const QStringList out = RunProbe(dir, {QStringLiteral("preview:10402")});
    EXPECT_EQ(Value(out, QStringLiteral("pages")), QStringLiteral("4"));
    EXPECT_TRUE(out.contains(QStringLiteral("line=2. 応力解析結果（部材、節点毎に表示）")));
}

TEST(ProbePreview, FrameDiagramPrint)
{
    const QString dir = testenv::MakeDir(QStringLiteral("frame"));
    testenv::ReportProjectSetup setup;
    setup.name = QStringLiteral("高架橋");
    testenv::WriteReportProject(setup, dir);
    const QStringList out = RunProbe(dir, {QStringLiteral("preview:10401")});
    EXPECT_EQ(Value(out, QStringLiteral("counts")), QStringLiteral("1|1"));
    EXPECT_EQ(PageOutput(out, 1),
              QStringList({"page=1|portrait", QStringLiteral("header=") + kHeader, "footer=|-   1 -|",
                           QStringLiteral("line=ラーメン図")}));
}

// A PDF file that does not fit on the disk: the probe says why and not that
// it was written; the file of that name is as it was and nothing is beside it.
TEST(ProbePreview, PdfOnAFullDiskLeavesTheOldOne)
{
    testenv::SmallDisk disk(testenv::WorkDir() + QStringLiteral("/disk"), 4 << 20);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why().toStdString();
    const QString dir = testenv::MakeDir(QStringLiteral("project"));
    testenv::ReportProjectSetup setup;
    setup.cases = 2;
    testenv::WriteReportProject(setup, dir);
    const QString pdf = disk.Path() + QStringLiteral("/report.pdf");
    ASSERT_EQ(Value(RunProbe(dir, {QStringLiteral("preview:10402"), QStringLiteral("pdf:") + pdf}), QStringLiteral("pdf")), pdf);
    const QByteArray old = testenv::ReadFile(pdf);
    ASSERT_FALSE(old.isEmpty());
    ASSERT_TRUE(disk.FillLeaving(old.size() / 2));
    const QStringList out = RunProbe(dir, {QStringLiteral("preview:10402"), QStringLiteral("pdf:") + pdf});
    EXPECT_EQ(Value(out, QStringLiteral("error")), QStringLiteral("cannot write ") + pdf + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_TRUE(Matching(out, QStringLiteral("pdf=")).isEmpty());
    EXPECT_EQ(testenv::ReadFile(pdf), old);
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), QStringList({"filler", "report.pdf"}));
}

// The lines of a page in cells of the table font: a move of the print
// position becomes blanks, a double-byte character takes two cells.
TEST(ProbePreview, LinesCountCellsOfTheTableFont)
{
    preview::DocumentBuilder doc;
    doc.StartDocument();
    doc.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    doc.SetFontSize(8);
    doc.PrintParagraph(QStringLiteral("ab"));
    doc.PrintParagraph(QString());
    const double cell = preview::TextWidth(doc.Font(), QStringLiteral(" "));
    doc.PrintText(QStringLiteral("節点"));
    doc.SetCurrentX(doc.PageMargins() + 8 * cell);
    doc.PrintText(QStringLiteral("x  \r\n"));
    doc.EndDocument();
    EXPECT_EQ(testenv::PageLines(doc.CurrentDocument(), 0), QStringList({"ab", "", "節点    x  "}));
}

}  // namespace
