// The widget-free document builder: fonts and metrics, the text flow with
// its page breaks and new-page handler, page settings, drawing, and the
// document file.
#include "platform/preview/DocumentBuilder.h"
#include "platform/preview/DocumentFile.h"
#include "platform/preview/PageRenderer.h"
#include "platform/preview/PreviewFonts.h"
#include "platform/preview/PreviewWidget.h"

#include "PreviewSamples.h"
#include "common/TestEnv.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFontInfo>
#include <QtEndian>
#include <gtest/gtest.h>

#include <functional>

using preview::DocumentBuilder;
using previewtest::TableFont;

namespace {

preview::PrintFont FontOf(const QString& name, double size)
{
    preview::PrintFont f;
    f.name = name;
    f.size = size;
    return f;
}

std::vector<const preview::DrawOp*> TextOps(const preview::Page& page)
{
    std::vector<const preview::DrawOp*> out;
    for (const preview::DrawOp& op : page.ops)
        if (op.kind == preview::OpKind::Text) out.push_back(&op);
    return out;
}

QStringList Texts(const preview::Page& page)
{
    QStringList out;
    for (const preview::DrawOp* op : TextOps(page)) out << op->text;
    return out;
}

QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const QStringList Heading = {QStringLiteral("HEAD-1 見出し"), QStringLiteral("HEAD-2"), QStringLiteral("HEAD-3 +---+")};

}  // namespace

// ---- fonts ---------------------------------------------------------------------

TEST(PreviewFonts, TableFontIsFixedPitchWithDoubleByteCharactersTwoCellsWide)
{
    ASSERT_EQ(QFontInfo(preview::FontFor(FontOf(TableFont, 8))).family(), "IPAGothic");
    ASSERT_EQ(QFontInfo(preview::FontFor(FontOf(previewtest::CoverFont, 11))).family(), "IPAPGothic");
    struct Case {
        QString text;
        int cells;
    };
    const Case cases[] = {{"A", 1}, {" ", 1}, {"･", 1}, {"あ", 2}, {"θ", 2}, {QString(QChar(0x3000)), 2},
                          {"kN･m/rad", 8}, {"ｷｬﾝｾﾙ", 5}, {"節点NO.", 7}};
    for (double size : {8.0, 11.0}) {
        const preview::PrintFont f = FontOf(TableFont, size);
        // A half-width cell is half an em: 10 twips per point.
        const double cell = size * 10;
        for (const Case& c : cases) EXPECT_EQ(preview::TextWidth(f, c.text), c.cells * cell) << c.text.toStdString();
        EXPECT_EQ(preview::TextWidth(f, "あ"), 2 * preview::TextWidth(f, "A"));
        EXPECT_EQ(preview::TextWidth(f, "θ"), 2 * preview::TextWidth(f, " "));
        EXPECT_EQ(preview::TextWidth(f, QString(QChar(0x3000))), 2 * preview::TextWidth(f, "･"));
    }
    // The proportional face is not fixed-pitch.
    const preview::PrintFont p = FontOf(previewtest::CoverFont, 11);
    EXPECT_NE(preview::TextWidth(p, "A"), preview::TextWidth(p, " "));
}

TEST(PreviewFonts, HeadingLinesMeasureTheirCellsAndBlanksCount)
{
    DocumentBuilder b;
    b.SetFontName(TableFont);
    b.SetFontSize(8);
    const double cell = 80;
    // Cells counted by hand: double-byte characters count two.
    const int cells[] = {71, 70, 70, 70};
    for (int i = 0; i < 4; ++i) {
        b.MeasureText(previewtest::MemberHeading[i]);
        EXPECT_EQ(b.MeasuredTextWidth(), cells[i] * cell) << i;
    }
    b.MeasureText("  a  ");
    EXPECT_EQ(b.MeasuredTextWidth(), 5 * cell);
    const double line = b.MeasuredTextHeight();
    EXPECT_EQ(line, preview::LineHeight(b.Font()));
    EXPECT_GT(line, 160);   // at least the em of 8 points
    b.MeasureText("a\r\nbbb ");
    EXPECT_EQ(b.MeasuredTextWidth(), 4 * cell);
    EXPECT_EQ(b.MeasuredTextHeight(), 2 * line);
}

// ---- text flow -----------------------------------------------------------------

TEST(PreviewText, NewPageHandlerRepeatsTheHeadingOnEveryPageOfALongTable)
{
    DocumentBuilder b;
    previewtest::SetReportPageFormat(b, QString());
    bool tableRunning = false;
    int pages = 0;
    b.SetNewPageHandler([&] {
        ++pages;
        b.SetFooterText(QStringLiteral("|- %1 -|").arg(pages));
        if (tableRunning)
            for (const QString& h : Heading) b.PrintParagraph(h);
    });
    b.StartDocument();
    b.PrintParagraph("1.1 caption");
    tableRunning = true;
    for (const QString& h : Heading) b.PrintParagraph(h);
    for (int i = 1; i <= 300; ++i) b.PrintParagraph(QStringLiteral("row %1").arg(i, 3, 10, QChar('0')));
    tableRunning = false;
    b.EndDocument();

    const preview::Document& doc = b.CurrentDocument();
    const double m = 1000, h = preview::A4LongSide, line = preview::LineHeight(b.Font());
    const int perPage = static_cast<int>((h - 2 * m) / line);
    const int expectedPages = 1 + (300 - (perPage - 4) + (perPage - 3) - 1) / (perPage - 3);
    ASSERT_EQ(b.PageCount(), expectedPages);
    EXPECT_EQ(pages, expectedPages);

    QStringList rows;
    for (int p = 0; p < b.PageCount(); ++p) {
        SCOPED_TRACE(p + 1);
        const preview::Page& page = doc.pages[p];
        const auto ops = TextOps(page);
        const int head = p == 0 ? 1 : 0;
        ASSERT_GE(ops.size(), size_t(head + 3));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(ops[head + i]->text, Heading[i]);
            EXPECT_EQ(ops[head + i]->x1, m);
            EXPECT_DOUBLE_EQ(ops[head + i]->y1, m + (head + i) * line);
        }
        for (size_t i = head + 3; i < ops.size(); ++i) rows << ops[i]->text;
        for (const preview::DrawOp* op : ops) EXPECT_LE(op->y1 + line, h - m + 1e-6);
        // Full pages: the next line would not have fitted.
        if (p + 1 < b.PageCount()) {
            EXPECT_GT(ops.back()->y1 + 2 * line, h - m);
        }
        EXPECT_EQ(page.settings.footerText, QStringLiteral("|- %1 -|").arg(p + 1));
    }
    ASSERT_EQ(rows.size(), 300);
    for (int i = 0; i < 300; ++i) EXPECT_EQ(rows[i], QStringLiteral("row %1").arg(i + 1, 3, 10, QChar('0')));
}

TEST(PreviewText, NewPageHandlerRunsBeforeAnythingIsPutOnThePage)
{
    struct Case {
        const char* name;
        std::function<void(DocumentBuilder&)> act;
        int page;       // the page the act ends on
        double x;       // where its own text stands on that page
    };
    auto nearBottom = [](DocumentBuilder& b) {
        b.PrintParagraph("filler");
        b.SetCurrentY(b.PageHeight() - b.PageMargins() - 10);
    };
    const Case cases[] = {
        {"first page", [](DocumentBuilder& b) { b.PrintParagraph("text"); }, 1, 1000},
        {"NewPage", [](DocumentBuilder& b) { b.PrintParagraph("filler"); b.NewPage(); b.PrintParagraph("text"); }, 2, 1000},
        {"break by PrintParagraph", [&](DocumentBuilder& b) { nearBottom(b); b.PrintParagraph("text"); }, 2, 1000},
        {"break by PrintText at a column",
         [&](DocumentBuilder& b) { nearBottom(b); b.SetCurrentX(4000); b.PrintText("text"); }, 2, 4000},
        {"break by a line begun after CR LF",
         [&](DocumentBuilder& b) {
             b.PrintParagraph("filler");
             b.SetCurrentY(b.PageHeight() - b.PageMargins() - preview::LineHeight(b.Font()) - 10);
             b.PrintText("last\r\ntext");
         },
         2, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentBuilder b;
        std::vector<size_t> opsWhenCalled;
        b.SetNewPageHandler([&] {
            opsWhenCalled.push_back(b.CurrentDocument().pages.back().ops.size());
            b.PrintParagraph("HEAD");
        });
        b.StartDocument();
        c.act(b);
        b.EndDocument();
        ASSERT_EQ(b.PageCount(), c.page);
        EXPECT_EQ(opsWhenCalled, std::vector<size_t>(c.page, 0));
        const auto ops = TextOps(b.CurrentDocument().pages[c.page - 1]);
        ASSERT_GE(ops.size(), 2u);
        EXPECT_EQ(ops[0]->text, "HEAD");
        EXPECT_EQ(ops.back()->text, "text");
        EXPECT_EQ(ops.back()->x1, c.x);
        EXPECT_GT(ops.back()->y1, ops[0]->y1);
    }
}

TEST(PreviewText, CurrentXFollowsPrintedTextAndMovesTheNextText)
{
    DocumentBuilder b;
    b.SetFontName(TableFont);
    b.SetFontSize(8);
    b.StartDocument();
    b.PrintText("工事名");
    EXPECT_EQ(b.CurrentX(), 1000 + 6 * 80);
    EXPECT_EQ(b.CurrentY(), 1000);
    b.SetCurrentX(3000);
    b.PrintText(" ：A");
    EXPECT_EQ(b.CurrentX(), 3000 + 4 * 80);
    b.PrintText("\r\n");
    const double line = preview::LineHeight(b.Font());
    EXPECT_EQ(b.CurrentX(), 1000);
    EXPECT_EQ(b.CurrentY(), 1000 + line);
    // A line left open is ended before a paragraph.
    b.PrintText("open");
    b.PrintParagraph("para");
    EXPECT_EQ(b.CurrentY(), 1000 + 3 * line);
    b.EndDocument();

    const auto ops = TextOps(b.CurrentDocument().pages[0]);
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[1]->x1, 3000);
    EXPECT_EQ(ops[1]->y1, ops[0]->y1);
    EXPECT_EQ(ops[2]->y1, 1000 + line);
    EXPECT_EQ(ops[3]->x1, 1000);
    EXPECT_EQ(ops[3]->y1, 1000 + 2 * line);
}

TEST(PreviewText, SettingsOnAnEmptyPageApplyToItAndLaterOnesToTheNext)
{
    struct Case {
        const char* name;
        std::function<void(DocumentBuilder&, int)> set;   // value 0 or 1
        std::function<bool(const preview::PageSettings&, int)> has;
    };
    const Case cases[] = {
        {"orientation", [](DocumentBuilder& b, int v) { b.SetOrientation(v ? preview::Landscape : preview::Portrait); },
         [](const preview::PageSettings& s, int v) { return s.orientation == (v ? preview::Landscape : preview::Portrait); }},
        {"header", [](DocumentBuilder& b, int v) { b.SetHeaderText(QString::number(v)); },
         [](const preview::PageSettings& s, int v) { return s.headerText == QString::number(v); }},
        {"footer", [](DocumentBuilder& b, int v) { b.SetFooterText(QString::number(v)); },
         [](const preview::PageSettings& s, int v) { return s.footerText == QString::number(v); }},
        {"header font", [](DocumentBuilder& b, int v) { b.SetHeaderFontSize(10 + v); },
         [](const preview::PageSettings& s, int v) { return s.headerFont.size == 10 + v; }},
        {"margins", [](DocumentBuilder& b, int v) { b.SetPageMargins(1000 + 440 * v); },
         [](const preview::PageSettings& s, int v) { return s.margin == 1000 + 440 * v; }},
        {"border", [](DocumentBuilder& b, int v) { b.SetPageBorder(3 * v); },
         [](const preview::PageSettings& s, int v) { return s.border == 3 * v; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentBuilder b;
        c.set(b, 0);
        b.StartDocument();
        c.set(b, 1);   // page 1 still empty
        b.PrintParagraph("x");
        c.set(b, 0);   // page 1 holds text: for page 2
        b.NewPage();
        b.EndDocument();
        EXPECT_TRUE(c.has(b.CurrentDocument().pages[0].settings, 1));
        EXPECT_TRUE(c.has(b.CurrentDocument().pages[1].settings, 0));
    }
    // A landscape page set while empty is measured as landscape at once.
    DocumentBuilder b;
    b.StartDocument();
    b.SetOrientation(preview::Landscape);
    EXPECT_EQ(b.PageWidth(), preview::A4LongSide);
    EXPECT_EQ(b.PageHeight(), preview::A4ShortSide);
}

TEST(PreviewText, APageThatHoldsNothingNeverBreaks)
{
    DocumentBuilder b;
    int calls = 0;
    b.SetNewPageHandler([&] { ++calls; });
    b.StartDocument();
    b.SetCurrentY(b.PageHeight());
    b.PrintParagraph("below the body");
    EXPECT_EQ(b.PageCount(), 1);
    // Now the page holds a line, and the next one breaks.
    b.PrintText("and on");
    b.EndDocument();
    EXPECT_EQ(b.PageCount(), 2);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(Texts(b.CurrentDocument().pages[0]), QStringList({"below the body"}));
    EXPECT_EQ(Texts(b.CurrentDocument().pages[1]), QStringList({"and on"}));
}

// ---- drawing -------------------------------------------------------------------

TEST(PreviewDrawing, ShapesTakeThePenAndBrushAndOverlaysDrawOnTop)
{
    DocumentBuilder b;
    b.StartDocument();
    b.SetPenColor(0xFF0000);    // blue
    b.SetPenWidth(120);
    b.SetBrushColor(0xFF);      // red
    b.SetShapeX1(1500);
    b.SetShapeY1(1500);
    b.SetShapeX2(4500);
    b.SetShapeY2(4500);
    b.DrawShape(2);
    b.SetPenWidth(0);
    b.SetPenColor(0xFF00);      // green
    b.SetShapeY1(6007.5);   // the middle of a pixel row at 100 %
    b.SetShapeY2(6007.5);
    b.DrawShape(1);
    b.DrawShape(7);             // not a shape: nothing
    b.EndDocument();
    ASSERT_EQ(b.CurrentDocument().pages[0].ops.size(), 2u);

    EXPECT_FALSE(b.BeginPageOverlay(2));
    ASSERT_TRUE(b.BeginPageOverlay(1));
    b.SetPenColor(0xFFFF);
    b.SetBrushColor(0xFFFF);    // yellow
    b.DrawCircle(3500, 3500, 300);
    b.EndPageOverlay();
    ASSERT_EQ(b.CurrentDocument().pages[0].ops.size(), 3u);

    const double k = 1.0 / 15;
    const QImage image = preview::RenderPageImage(b.CurrentDocument(), 0, k);
    auto at = [&](double x, double y) { return image.pixelColor(int(x * k), int(y * k)); };
    EXPECT_EQ(at(2500, 2500), QColor(255, 0, 0));
    EXPECT_EQ(at(1500, 3000), QColor(0, 0, 255));
    EXPECT_EQ(at(3500, 3500), QColor(255, 255, 0));
    EXPECT_EQ(at(3000, 6007.5), QColor(0, 255, 0));
    EXPECT_EQ(at(8000, 8000), QColor(Qt::white));
}

// ---- document file -------------------------------------------------------------

TEST(PreviewFile, ASavedAndLoadedDocumentRendersTheSame)
{
    DocumentBuilder built;
    previewtest::BuildSampleDocument(built);
    const QString path = testenv::MakeDir("doc") + "/DocFile";
    QString error;
    ASSERT_TRUE(built.SaveDocument(path, &error)) << error.toStdString();

    DocumentBuilder loaded;
    ASSERT_TRUE(loaded.LoadDocument(path, &error)) << error.toStdString();
    ASSERT_EQ(loaded.PageCount(), 2);
    EXPECT_TRUE(loaded.CurrentDocument() == built.CurrentDocument());
    for (int p = 0; p < 2; ++p)
        EXPECT_EQ(Png(preview::RenderPageImage(loaded.CurrentDocument(), p, 0.1)),
                  Png(preview::RenderPageImage(built.CurrentDocument(), p, 0.1)))
            << p;
}

TEST(PreviewFile, DamagedFilesAreRefusedAndTheDocumentKept)
{
    // A document of one page with one line and no fonts: the page count is
    // at byte 12, the header text's length at byte 25.
    DocumentBuilder source;
    source.StartDocument();
    source.DrawLine(0, 0, 100, 100);
    source.EndDocument();
    const QByteArray good = preview::EncodeDocument(source.CurrentDocument());

    auto seal = [](QByteArray body) {   // a correct digest over a changed body
        return body + QCryptographicHash::hash(body, QCryptographicHash::Sha256);
    };
    auto withU32 = [&](int offset, uint32_t value) {
        QByteArray body = good.left(good.size() - 32);
        qToBigEndian(value, body.data() + offset);
        return seal(body);
    };
    QByteArray flipped = good;
    flipped[40] = static_cast<char>(flipped[40] ^ 0x10);
    QByteArray newer = withU32(4, 2);
    QByteArray badKind = good.left(good.size() - 32);
    badKind[good.size() - 32 - 45] = 9;   // the line's kind byte: 45 bytes from the end

    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"not ours", QByteArray("%PDF-1.4 something else entirely, long enough to pass the size test")},
        {"truncated", good.left(good.size() / 2)},
        {"truncated and resealed", seal(good.left(good.size() / 2))},
        {"flipped bit", flipped},
        {"newer version", newer},
        {"huge page count", withU32(12, 0xFFFFFFF0u)},
        {"huge text length", withU32(25, 0x7FFFFFFFu)},
        {"unknown operation", seal(badKind)},
        {"trailing bytes", seal(good.left(good.size() - 32) + "xx")},
    };

    preview::PreviewWidget shown;
    previewtest::BuildSampleDocument(shown);
    shown.SetPreviewPage(2);
    const preview::Document before = shown.CurrentDocument();
    const QString dir = testenv::MakeDir("damaged");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir + "/" + c.name;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        QString error;
        EXPECT_FALSE(shown.LoadDocument(path, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(shown.CurrentDocument() == before);
        EXPECT_EQ(shown.PreviewPage(), 2);
    }
    QString error;
    EXPECT_FALSE(shown.LoadDocument(dir + "/missing", &error));
    EXPECT_TRUE(shown.CurrentDocument() == before);
    // The untouched bytes read.
    preview::Document doc;
    EXPECT_TRUE(preview::DecodeDocument(good, doc, &error)) << error.toStdString();
}
