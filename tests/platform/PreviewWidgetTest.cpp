// The preview widget (zoom, zoom modes, pages, mouse gestures), printing
// through a print target, PDF export, and pictures of a sample page.
#include "platform/preview/PageRenderer.h"
#include "platform/preview/PreviewWidget.h"
#include "platform/preview/Printing.h"

#include "PdfPages.h"
#include "PreviewSamples.h"
#include "common/FullDisk.h"
#include "common/Hooks.h"
#include "common/Screenshot.h"
#include "common/TestEnv.h"
#include "platform/SafeFileFaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <optional>
#include <tuple>

using preview::PreviewWidget;

namespace {

// A widget of a given size holding the sample document (portrait page 1,
// landscape page 2), shown so that its view has its size.
std::unique_ptr<PreviewWidget> ShownPreview(int width, int height)
{
    auto w = std::make_unique<PreviewWidget>();
    w->resize(width, height);
    previewtest::BuildSampleDocument(*w);
    w->show();
    QCoreApplication::processEvents();
    return w;
}

double PagePixels(const PreviewWidget& w, double twips) { return twips * w.ZoomPercent() / 100 / 15; }

class RecordingTarget : public preview::PrintTarget {
public:
    struct Job {
        QString printer;
        std::vector<int> orientations;   // of each page printed
        QStringList firstTexts;          // the first text of each page printed
    };
    QStringList PrinterNames() override { return {"Office", "Plotter"}; }
    QString DefaultPrinterName() override { return "Office"; }
    bool Print(const preview::Document& doc, int first, int last, const QString& printer) override
    {
        Job job{printer, {}, {}};
        for (int p = first; p <= last; ++p) {
            job.orientations.push_back(doc.pages[p - 1].settings.orientation);
            QString text;
            for (const preview::DrawOp& op : doc.pages[p - 1].ops)
                if (op.kind == preview::OpKind::Text) {
                    text = op.text;
                    break;
                }
            job.firstTexts << text;
        }
        jobs.push_back(job);
        return true;
    }
    std::vector<Job> jobs;
};

}  // namespace

// ---- zoom ----------------------------------------------------------------------

TEST(PreviewWidget, ZoomStaysWithinItsLimits)
{
    PreviewWidget w;
    EXPECT_EQ(w.ZoomMaximum(), 250);
    EXPECT_EQ(w.ZoomMinimum(), 37);
    EXPECT_EQ(w.ZoomStep(), 15);
    const std::pair<double, double> cases[] = {{300, 250}, {250, 250}, {249.5, 249.5}, {10, 37}, {37, 37}, {95, 95}};
    for (const auto& [set, got] : cases) {
        w.SetZoomPercent(set);
        EXPECT_EQ(w.ZoomPercent(), got) << set;
    }
    w.SetZoomPercent(200);
    w.SetZoomMaximum(150);
    EXPECT_EQ(w.ZoomPercent(), 150);
}

TEST(PreviewWidget, ZoomModesFitThePageAndReadTheirPercentAtOnce)
{
    auto w = ShownPreview(900, 700);
    QSignalSpy zoomed(w.get(), &PreviewWidget::ZoomChanged);
    const QSize area = w->maximumViewportSize();

    w->SetZoomMode(preview::ZoomWholePage);
    const double whole = w->ZoomPercent();
    EXPECT_EQ(w->ZoomMode(), preview::ZoomWholePage);
    EXPECT_GE(zoomed.count(), 1);
    // The portrait page's height fills the view, less the grey border.
    EXPECT_LE(PagePixels(*w, preview::A4LongSide), area.height());
    EXPECT_GT(PagePixels(*w, preview::A4LongSide), area.height() - 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(w->horizontalScrollBar()->maximum(), 0);

    // The landscape page is fitted anew when it is shown.
    ASSERT_TRUE(w->SetPreviewPage(2));
    EXPECT_GT(w->ZoomPercent(), whole);
    EXPECT_LE(PagePixels(*w, preview::A4LongSide), area.width());
    ASSERT_TRUE(w->SetPreviewPage(1));

    w->SetZoomMode(preview::ZoomPageWidth);
    QCoreApplication::processEvents();
    EXPECT_GT(w->ZoomPercent(), whole);
    EXPECT_EQ(w->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(w->verticalScrollBar()->maximum(), 0);
    EXPECT_GT(PagePixels(*w, preview::A4ShortSide), w->viewport()->width() - 30);

    // A zoom set by percent leaves the fitting mode.
    w->SetZoomPercent(100);
    EXPECT_EQ(w->ZoomMode(), preview::ZoomByPercent);
    w->SetZoomMode(2);   // not a mode
    EXPECT_EQ(w->ZoomMode(), preview::ZoomByPercent);

    // A view too small for the whole page stops at the lowest zoom.
    auto small = ShownPreview(200, 150);
    small->SetZoomMode(preview::ZoomWholePage);
    EXPECT_EQ(small->ZoomPercent(), 37);
}

TEST(PreviewWidget, AnA4PageIsAbout794PixelsWideAt100Percent)
{
    auto w = ShownPreview(1000, 700);
    w->SetZoomPercent(100);
    QCoreApplication::processEvents();
    const QImage shot = w->viewport()->grab().toImage();
    // The white paper across a row where the sample page is blank (4000
    // twips down, the page starting 12 pixels from the top).
    int white = 0;
    const int row = 12 + 4000 / 15;
    for (int x = 0; x < shot.width(); ++x)
        if (shot.pixelColor(x, row) == QColor(Qt::white)) ++white;
    EXPECT_NEAR(white, 11906 / 15.0, 1);
}

// ---- pages and gestures --------------------------------------------------------

TEST(PreviewWidget, PagesChangeByNumberAndByShiftClicksAndAreSignalled)
{
    auto w = ShownPreview(800, 600);
    ui::ScriptedServices& script = testenv::ResetScript();
    QSignalSpy pages(w.get(), &PreviewWidget::PreviewPageChanged);
    QWidget* view = w->viewport();
    const QPoint mid = view->rect().center();

    EXPECT_FALSE(w->SetPreviewPage(3));
    EXPECT_FALSE(w->SetPreviewPage(0));
    EXPECT_EQ(pages.count(), 0);

    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, mid);
    EXPECT_EQ(w->PreviewPage(), 2);
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, mid);   // the last page
    EXPECT_EQ(w->PreviewPage(), 2);
    EXPECT_EQ(script.beeps, 1);
    QTest::mouseClick(view, Qt::RightButton, Qt::ShiftModifier, mid);
    EXPECT_EQ(w->PreviewPage(), 1);
    ASSERT_EQ(pages.count(), 2);
    EXPECT_EQ(pages[0][0].toInt(), 2);
    EXPECT_EQ(pages[1][0].toInt(), 1);

    // Dropping the document shows page 1 of nothing; a new one is signalled.
    w->SetPreviewPage(2);
    QSignalSpy changed(w.get(), &PreviewWidget::DocumentChanged);
    w->DiscardDocument();
    EXPECT_EQ(w->PreviewPage(), 1);
    EXPECT_EQ(w->PageCount(), 0);
    previewtest::BuildSampleDocument(*w);
    EXPECT_GE(changed.count(), 2);
    EXPECT_EQ(w->PageCount(), 2);
}

TEST(PreviewWidget, DoubleClicksZoomByTheStepAndDraggingPans)
{
    auto w = ShownPreview(800, 600);
    ui::ScriptedServices& script = testenv::ResetScript();
    QSignalSpy zoomed(w.get(), &PreviewWidget::ZoomChanged);
    QWidget* view = w->viewport();
    const QPoint mid = view->rect().center();

    w->SetZoomPercent(100);
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, mid);
    EXPECT_EQ(w->ZoomPercent(), 115);
    QTest::mouseDClick(view, Qt::RightButton, Qt::NoModifier, mid);
    QTest::mouseDClick(view, Qt::RightButton, Qt::NoModifier, mid);
    EXPECT_EQ(w->ZoomPercent(), 85);
    w->SetZoomPercent(240);
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, mid);
    EXPECT_EQ(w->ZoomPercent(), 250);
    EXPECT_EQ(script.beeps, 0);
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, mid);
    EXPECT_EQ(w->ZoomPercent(), 250);
    EXPECT_EQ(script.beeps, 1);
    EXPECT_EQ(zoomed.count(), 5);

    // At 150 %, 100 pixels of drag are 1000 twips of page.
    w->SetZoomPercent(150);
    w->SetScrollLeft(3000);
    w->SetScrollTop(3000);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(400, 400));
    QTest::mouseMove(view, QPoint(300, 350));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(300, 350));
    EXPECT_NEAR(w->ScrollLeft(), 4000, 10);
    EXPECT_NEAR(w->ScrollTop(), 3500, 10);
}

// ---- printing and PDF ----------------------------------------------------------

// Three pages: "one", "two" in landscape, "three".
void BuildThreePages(preview::DocumentBuilder& b)
{
    b.StartDocument();
    b.PrintParagraph("one");
    b.NewPage();
    b.SetOrientation(preview::Landscape);
    b.PrintParagraph("two");
    b.NewPage();
    b.SetOrientation(preview::Portrait);
    b.PrintParagraph("three");
    b.EndDocument();
}

TEST(PreviewPrint, PagesGoToTheChosenPrinterInOneJob)
{
    auto target = std::make_shared<RecordingTarget>();
    testenv::HookFor<std::shared_ptr<preview::PrintTarget>> printTarget(preview::SetPrintTarget, target);
    preview::DocumentBuilder b;
    BuildThreePages(b);

    EXPECT_EQ(b.PrinterDevice(), "Office");
    b.SetPrintOption(1);
    b.SetPrinterDevice("Plotter");
    EXPECT_TRUE(b.PrintPages(2, 3));
    EXPECT_TRUE(b.PrintPages(1, 1));
    for (auto [first, last] : {std::pair{0, 1}, {2, 1}, {3, 4}}) EXPECT_FALSE(b.PrintPages(first, last)) << first;
    ASSERT_EQ(target->jobs.size(), 2u);
    EXPECT_EQ(target->jobs[0].printer, "Plotter");
    EXPECT_EQ(target->jobs[0].orientations, std::vector<int>({preview::Landscape, preview::Portrait}));
    EXPECT_EQ(target->jobs[0].firstTexts, QStringList({"two", "three"}));
    EXPECT_EQ(target->jobs[1].firstTexts, QStringList({"one"}));

    // What a system printer gets, caught as the PDF that Qt's printing
    // makes: the pages of the range, each in its own orientation.
    const QString file = testenv::MakeDir("print") + "/job.pdf";
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        ASSERT_TRUE(preview::PrintOn(printer, b.CurrentDocument(), 2, 3));
    }
    const auto printed = previewtest::ReadPdfPages(testenv::ReadFile(file));
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].mediaBox, QSizeF(842, 595));
    EXPECT_EQ(printed[1].mediaBox, QSizeF(595, 842));
    EXPECT_EQ(printed[0].text, "two");
    EXPECT_EQ(printed[1].text, "three");

    // The system's printers: a printer that does not exist fails, quietly.
    printTarget.Replace(nullptr);
    b.SetPrinterDevice("no such printer 9f3a");
    EXPECT_FALSE(b.PrintPages(1, 1));
}

TEST(PreviewPdf, ExportHasA4PagesInTheirOrientationWithTheirText)
{
    preview::DocumentBuilder b;
    previewtest::BuildSampleDocument(b);
    const QString path = testenv::MakeDir("pdf") + "/report.pdf";
    QString error;
    ASSERT_TRUE(preview::ExportPdf(b.CurrentDocument(), path, &error)) << error.toStdString();

    const auto pages = previewtest::ReadPdfPages(testenv::ReadFile(path));
    ASSERT_EQ(pages.size(), 2u);
    // A4 in points, rounded as the PDF writer gives it.
    EXPECT_EQ(pages[0].mediaBox, QSizeF(595, 842));
    EXPECT_EQ(pages[1].mediaBox, QSizeF(842, 595));
    const QStringList page1 = {"1.3 部材と接合状態", "工事名 : 試験棟 A", "ZELKOVA(for 32bit Windows)", "|-   1 -|",
                               "     部材NO.   形状NO.   節点NO.      x軸回り      y軸回り     z軸回り", "  1250.000",
                               "[1001]"};
    for (const QString& t : page1)
        EXPECT_TRUE(pages[0].text.contains(t.contains(u'|') ? t.mid(1, t.size() - 2) : t)) << t.toStdString();
    EXPECT_TRUE(pages[1].text.contains("配置 layout page"));
    EXPECT_FALSE(pages[1].text.contains("工事名"));

    // Where poppler's tools are installed, they read the same.
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    if (pdfinfo.isEmpty()) return;
    QProcess p;
    p.start(pdfinfo, {"-f", "1", "-l", "2", path});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(info.contains(QRegularExpression("Page\\s+1 size:\\s+595(\\.\\d+)? x 842")));
    EXPECT_TRUE(info.contains(QRegularExpression("Page\\s+2 size:\\s+842(\\.\\d+)? x 595")));
}

// Files in a folder, hidden ones included, by name.
using testenv::FilesIn;

// A range printed more than once follows itself in one file, each page in
// its orientation; a range or a count that prints nothing writes no file.
TEST(PreviewPdf, ExportOfARangeAndItsCopies)
{
    preview::DocumentBuilder b;
    BuildThreePages(b);
    const QString dir = testenv::MakeDir("pdf");
    const QString path = dir + "/copies.pdf";
    QString error;
    ASSERT_TRUE(preview::ExportPdf(b.CurrentDocument(), 2, 3, 3, path, &error)) << error.toStdString();
    const auto pages = previewtest::ReadPdfPages(testenv::ReadFile(path));
    ASSERT_EQ(pages.size(), 6u);
    for (size_t k = 0; k < pages.size(); ++k) {
        EXPECT_EQ(pages[k].text, k % 2 == 0 ? "two" : "three") << k;
        EXPECT_EQ(pages[k].mediaBox, k % 2 == 0 ? QSizeF(842, 595) : QSizeF(595, 842)) << k;
    }
    QFile::remove(path);
    for (auto [first, last, copies] : {std::tuple{1, 1, 0}, {1, 1, -1}, {2, 1, 1}, {0, 1, 1}, {1, 4, 1}}) {
        error.clear();
        EXPECT_FALSE(preview::ExportPdf(b.CurrentDocument(), first, last, copies, path, &error)) << first << last << copies;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_TRUE(FilesIn(dir).isEmpty());
}

// An export that fails at any step, a write, the sync or the rename, or on a
// disk that fills up (at once, halfway, one byte short), leaves the file of
// that name as it was, or no file where there was none, and nothing beside.
TEST(PreviewPdf, AFailedExportLeavesTheFileItWouldReplace)
{
    preview::DocumentBuilder b;
    previewtest::BuildSampleDocument(b);
    const preview::Document& doc = b.CurrentDocument();
    const QString dir = testenv::MakeDir("pdf");
    const QString path = dir + "/report.pdf";
    ASSERT_TRUE(preview::ExportPdf(doc, path));
    const qint64 size = QFileInfo(path).size();
    const QByteArray old("%PDF-1.4\nthe file before\n");

    struct Case {
        std::optional<files::FailingStep> step;   // a fault at this step
        qint64 room;                              // or a file size limit of this many bytes
        int reason;                               // the system's, kept in the error
    };
    const Case cases[] = {{files::FailingStep::Write, -1, ENOSPC}, {files::FailingStep::Sync, -1, EIO},
                          {files::FailingStep::Rename, -1, EACCES}, {std::nullopt, 0, EFBIG},
                          {std::nullopt, size / 2, EFBIG},          {std::nullopt, size - 1, EFBIG}};
    for (const Case& c : cases) {
        for (const bool before : {true, false}) {
            SCOPED_TRACE(testing::Message() << (c.step ? static_cast<int>(*c.step) : -1) << " " << c.room << " " << before);
            QFile::remove(path);
            if (before) {
                ASSERT_TRUE(testenv::WriteFile(path, old));
            }
            QString error;
            bool written = false;
            {
                std::optional<files::InjectedWriteFailure> fault;
                if (c.step) fault.emplace(*c.step, 0, path);
                std::optional<testenv::FileSizeLimit> full;
                if (c.room >= 0) full.emplace(c.room);
                written = preview::ExportPdf(doc, path, &error);
            }
            EXPECT_FALSE(written);
            EXPECT_EQ(error, "cannot write " + path + ": " + QString::fromLocal8Bit(std::strerror(c.reason)));
            EXPECT_EQ(FilesIn(dir), before ? QStringList{"report.pdf"} : QStringList{});
            if (before) {
                EXPECT_EQ(testenv::ReadFile(path), old);
            }
        }
    }
    // The same export with nothing in its way replaces the file.
    ASSERT_TRUE(preview::ExportPdf(doc, path));
    EXPECT_EQ(QFileInfo(path).size(), size);
    EXPECT_EQ(previewtest::ReadPdfPages(testenv::ReadFile(path)).size(), 2u);
    EXPECT_EQ(FilesIn(dir), QStringList{"report.pdf"});
}

// ---- pictures ------------------------------------------------------------------

// For a person to look at: the report page at 100 % and 200 %, the layout
// page, and the widget.
TEST(PreviewPictures, SamplePagesAndPreview)
{
    preview::DocumentBuilder b;
    previewtest::BuildSampleDocument(b);
    const QString dir = qEnvironmentVariable("ZELKOVA_SCREENSHOTS");
    const QString out = dir.isEmpty() ? testenv::WorkDir() : dir;
    const std::pair<int, double> shots[] = {{0, 100}, {0, 200}, {1, 100}};
    for (const auto& [page, zoom] : shots) {
        const QImage image = preview::RenderPageImage(b.CurrentDocument(), page, zoom / 100 / 15);
        EXPECT_EQ(image.width(), static_cast<int>(std::ceil(b.CurrentDocument().pages[page].settings.Width() * zoom / 100 / 15)));
        EXPECT_TRUE(image.save(out + QStringLiteral("/preview_page%1_%2.png").arg(page + 1).arg(zoom)));
    }
    auto w = ShownPreview(900, 700);
    w->SetZoomPercent(150);
    w->SetScrollLeft(0);
    w->SetScrollTop(0);
    testenv::SaveScreenshot(w.get(), "preview_widget.png");
}
