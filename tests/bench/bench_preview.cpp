// Repaint times of the preview widget: a page of 60 lines of table text, a
// diagram page of 2000 drawn lines, and page and zoom changes in a document of
// 2000 table lines; also building, saving and loading a long document.
// Target: a zoom or page change repaints in under 30 ms.
// Run by hand: bench_preview [--gtest_filter=...]; prints one figure per line.
#include "bench/BenchTiming.h"
#include "common/TestEnv.h"
#include "platform/preview/PreviewWidget.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

using bench::BestMs;
using bench::Report;

const QString Heading[] = {
    QStringLiteral("     部材NO. ケース  節点NO.  　  N          Qy         Qz        Mx         My         Mz         cMy        cMz"),
    QStringLiteral("     　　    　　　 　　          kN         kN         kN       kN･m　     kN･m　     kN･m        kN･m       kN･m"),
    QStringLiteral("      +---+  +---+    +---+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+  +----.--+   +----.--+  +----.--+"),
};

// A member-force table of `rows` lines with its heading on every page.
void BuildTable(preview::DocumentBuilder& b, int rows)
{
    b.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    b.SetFontSize(8);
    b.SetHeaderText(QStringLiteral("工事名 : ベンチマーク||ZELKOVA(for 32bit Windows)"));
    b.SetPageBorder(3);
    int page = 0;
    bool running = false;
    b.SetNewPageHandler([&] {
        b.SetFooterText(QStringLiteral("|-   %1 -|").arg(++page));
        if (running)
            for (const QString& h : Heading) b.PrintParagraph(h);
    });
    b.StartDocument();
    running = true;
    for (const QString& h : Heading) b.PrintParagraph(h);
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> v(-999.0, 999.0);
    for (int r = 0; r < rows; ++r) {
        QString line = QStringLiteral("      %1  %2    %3  ").arg(r / 2 + 1, 5).arg(r % 10 + 1, 5).arg(r + 1, 5);
        for (int k = 0; k < 8; ++k) line += QStringLiteral("%1  ").arg(v(gen), 9, 'f', 2);
        b.PrintParagraph(line);
    }
    running = false;
    b.EndDocument();
    b.SetNewPageHandler(nullptr);
}

// A diagram page: `lines` members, half of them heavy with end dots, and a
// label box on every tenth.
void BuildDiagram(preview::DocumentBuilder& b, int lines)
{
    b.StartDocument();
    b.SetOrientation(preview::Landscape);
    b.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    b.SetFontSize(8);
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> x(1000, b.PageWidth() - 1000), y(2000, b.PageHeight() - 2000);
    for (int i = 0; i < lines; ++i) {
        const double x1 = x(gen), y1 = y(gen), x2 = x1 + (x(gen) - x1) * 0.1, y2 = y1 + (y(gen) - y1) * 0.1;
        const bool heavy = i % 2 == 0;
        b.SetPenWidth(heavy ? 30 : 0);
        b.SetBrushColor(0);
        b.DrawLine(x1, y1, x2, y2);
        if (heavy) {
            b.DrawCircle(x1, y1, 25);
            b.DrawCircle(x2, y2, 25);
        }
        if (i % 10 == 0) {
            b.SetBrushColor(0xFFFFFF);
            b.SetPenColor(0xFFFFFF);
            b.MeasureText(QString::number(i));
            b.DrawTextBox(QString::number(i), (x1 + x2) / 2, (y1 + y2) / 2, b.MeasuredTextWidth(), b.MeasuredTextHeight());
            b.SetPenColor(0);
        }
    }
    b.EndDocument();
}

double RepaintMs(preview::PreviewWidget& w, int runs = 10)
{
    return BestMs(runs, [&] { w.viewport()->repaint(); });
}

std::unique_ptr<preview::PreviewWidget> Shown()
{
    auto w = std::make_unique<preview::PreviewWidget>();
    w->resize(1200, 900);
    w->show();
    QCoreApplication::processEvents();
    return w;
}

TEST(PreviewBench, RepaintOfOnePage)
{
    auto w = Shown();
    BuildTable(*w, 57);   // 60 lines with the heading
    for (double zoom : {100.0, 250.0}) {
        w->SetZoomPercent(zoom);
        const QByteArray what = QStringLiteral("repaint, 60 table lines at %1 %").arg(zoom).toUtf8();
        Report(what.constData(), RepaintMs(*w));
    }
    BuildDiagram(*w, 2000);
    for (double zoom : {100.0, 250.0}) {
        w->SetZoomPercent(zoom);
        const QByteArray what = QStringLiteral("repaint, diagram of 2000 lines at %1 %").arg(zoom).toUtf8();
        Report(what.constData(), RepaintMs(*w));
    }
}

TEST(PreviewBench, PageAndZoomChangesInA2000LineTable)
{
    auto w = Shown();
    QElapsedTimer t;
    t.start();
    BuildTable(*w, 2000);
    Report("build, 2000 table lines", t.nsecsElapsed() / 1e6);
    std::printf("pages: %d\n", w->PageCount());
    w->SetZoomPercent(100);
    int page = 1;
    Report("page change + repaint at 100 %", BestMs(10, [&] {
               page = page % w->PageCount() + 1;
               w->SetPreviewPage(page);
               w->viewport()->repaint();
           }));
    double zoom = 37;
    Report("zoom change + repaint (37..250 %)", BestMs(10, [&] {
               zoom = zoom >= 235 ? 37 : zoom + 15;
               w->SetZoomPercent(zoom);
               w->viewport()->repaint();
           }));
    Report("whole page + repaint", BestMs(5, [&] {
               w->SetZoomPercent(200);
               w->SetZoomMode(preview::ZoomWholePage);
               w->viewport()->repaint();
           }));
}

TEST(PreviewBench, BuildSaveAndLoadALongDocument)
{
    preview::DocumentBuilder b;
    QElapsedTimer t;
    t.start();
    BuildTable(b, 25000);
    Report("build, 25000 table lines", t.nsecsElapsed() / 1e6);
    std::printf("pages: %d\n", b.PageCount());
    const QString path = testenv::WorkDir() + "/DocFile";
    Report("SaveDocument", BestMs(3, [&] { ASSERT_TRUE(b.SaveDocument(path)); }));
    std::printf("file: %lld bytes\n", static_cast<long long>(QFileInfo(path).size()));
    preview::DocumentBuilder loaded;
    Report("LoadDocument (checked)", BestMs(3, [&] { ASSERT_TRUE(loaded.LoadDocument(path)); }));
}

}  // namespace
