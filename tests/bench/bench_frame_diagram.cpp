// Times of the frame diagram window on the largest model the input allows
// (300 nodes, 500 members, every label shown): a drawing from the database
// to the shown page, and the repaints of a zoom or a scroll of that page.
// Targets: a drawing under 100 ms; a zoom or page change repaints in under 30 ms.
// Run by hand: bench_frame_diagram; prints one figure per line (median and best of the runs).
#include "bench/BenchTiming.h"
#include "diagram/FrameDiagramSupport.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QScrollBar>

#include <cstdio>
#include <functional>

using namespace frametest;

namespace {

void Measure(const char* what, int runs, const std::function<void(int)>& fn)
{
    int run = 0;
    const std::vector<double> ms = bench::Times(runs, [&] { fn(run++); });
    std::printf("%-52s median %8.2f ms   best %8.2f ms\n", what, ms[ms.size() / 2], ms.front());
}

TEST(FrameDiagramBench, LargestModel)
{
    const auto mainMenu = screentest::PrepareScreenTest();
    AddBuilding();
    frmラーメン図* w = OpenDiagram();
    ASSERT_TRUE(w->IsLoaded());
    w->resize(1600, 1000);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    ASSERT_EQ(OpsOf(w, preview::OpKind::Line).size(), 503u);

    Measure("drawing: database to shown page, fitted", 20, [&](int) {
        SetBox(w, "txtzoom", "-1");
        w->cmdDRAW_Click();
        w->vsp->viewport()->repaint();
    });
    Measure("drawing: database to shown page, by the zoom box", 20, [&](int) {
        w->cmdDRAW_Click();
        w->vsp->viewport()->repaint();
    });
    Measure("zoom change and repaint (37..250 %)", 20, [&](int i) {
        w->vsp->SetZoomPercent(i % 2 ? 250 : 37 + 10 * i);
        w->vsp->viewport()->repaint();
    });
    w->vsp->SetZoomPercent(175);
    Measure("scroll of the page and repaint at 175 %", 20, [&](int i) {
        w->vsp->horizontalScrollBar()->setValue(i % 2 ? 0 : w->vsp->horizontalScrollBar()->maximum());
        w->vsp->viewport()->repaint();
    });
    w->vsp->SetZoomPercent(100);
    Measure("node shown and marked, repaint", 20, [&](int i) {
        w->txt節点番号->setText(QString::number(1 + 7 * i));
        w->cmd節点_Click();
        w->vsp->viewport()->repaint();
    });
}

}  // namespace
