// Paging and zooming in the preview window: the page box, the page buttons,
// the menu items, the zoom steps and their limits.
#include "PreviewWindowSupport.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using reporttest::PreviewWindow;

namespace {

// The results report of four cases: the cover and 6 numbered pages.
struct ResultsPreview {
    ResultsPreview() : p(reporttest::ProjectOfCases(4), ScreenResultsPreview) { EXPECT_TRUE(p.Open()); }
    frmPreview* w() { return p.w(); }
    PreviewWindow p;
};

TEST(Navigation, PageBoxInTheResultsReport)
{
    ResultsPreview r;
    frmPreview* w = r.w();
    ASSERT_EQ(w->lblAP->text(), QStringLiteral("6"));
    ui::ScriptedServices& script = testenv::Script();
    struct Case {
        const char* typed;
        const char* rewritten;
        int page;          // document page shown afterwards
        const char* shown; // lblCP
        bool beep;
    };
    const Case cases[] = {
        {"3", "3", 4, "3", false},
        {"0", "0", 1, "0", false},          // the cover
        {"6", "6", 7, "6", false},          // the last number lblAP shows
        {"7", "7", 7, "6", true},           // one more
        {"  2", "2", 3, "2", false},
        {"", "", 3, "2", true},
        {"x", "x", 3, "2", true},
        {"99999", "99999", 3, "2", true},   // beyond any 16-bit page
    };
    for (const Case& c : cases) {
        const int beeps = script.beeps;
        w->txtinp->setText(QString::fromLatin1(c.typed));
        w->cmdP指定->click();
        EXPECT_EQ(w->txtinp->text(), QString::fromLatin1(c.rewritten)) << c.typed;
        EXPECT_EQ(w->vsp->PreviewPage(), c.page) << c.typed;
        EXPECT_EQ(w->lblCP->text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(script.beeps, beeps + (c.beep ? 1 : 0)) << c.typed;
    }
    // Only digits and blanks can be typed; Enter is taken without a sound.
    w->txtinp->clear();
    const int beeps = script.beeps;
    QTest::keyClicks(w->txtinp, QStringLiteral("1a -."));
    QTest::keyClick(w->txtinp, Qt::Key_Return);
    EXPECT_EQ(w->txtinp->text(), QStringLiteral("1 "));
    EXPECT_EQ(script.beeps, beeps + 3);
}

TEST(Navigation, PageButtonsMenusAndTheirEnds)
{
    ResultsPreview r;
    frmPreview* w = r.w();
    ui::ScriptedServices& script = testenv::Script();
    struct Step {
        std::function<void()> act;
        int page;
        bool beep;
    };
    const Step steps[] = {
        {[w] { w->cmdMP->click(); }, 1, true},    // before the first page
        {[w] { w->cmdMN->click(); }, 2, false},
        {[w] { w->mnuMN->trigger(); }, 3, false},
        {[w] { w->cmdML->click(); }, 7, false},
        {[w] { w->mnuMN->trigger(); }, 7, true},  // beyond the last
        {[w] { w->mnuMP->trigger(); }, 6, false},
        {[w] { w->mnuMF->trigger(); }, 1, false},
        {[w] { w->mnuML->trigger(); }, 7, false},
        {[w] { w->cmdMF->click(); }, 1, false},
    };
    for (const Step& s : steps) {
        const int beeps = script.beeps;
        s.act();
        EXPECT_EQ(w->vsp->PreviewPage(), s.page);
        EXPECT_EQ(w->lblCP->text(), QString::number(s.page - 1));
        EXPECT_EQ(script.beeps, beeps + (s.beep ? 1 : 0));
    }
    // A page changed by the control's own gestures shows in the label too.
    w->vsp->SetPreviewPage(5);
    EXPECT_EQ(w->lblCP->text(), QStringLiteral("4"));
}

// Zoomed in and scrolled to the foot of a page, every way to another page
// shows that page from its top, as far to the side as before.
TEST(Navigation, AnotherPageShowsFromItsTop)
{
    ResultsPreview r;
    frmPreview* w = r.w();
    w->resize(1000, 800);
    w->show();
    QApplication::processEvents();
    w->vsp->SetZoomPercent(200);
    ASSERT_GT(w->vsp->horizontalScrollBar()->maximum(), 0);
    ASSERT_GT(w->vsp->verticalScrollBar()->maximum(), 0);
    // One pixel of the view is 7.5 twips of the page at 200 %.
    constexpr double kPixel = 7.5;
    struct Step {
        const char* how;
        std::function<void()> act;
        int page;
    };
    const Step steps[] = {
        {"next page button", [w] { w->cmdMN->click(); }, 3},
        {"F7", [w] { QTest::keyClick(w, Qt::Key_F7); }, 4},
        {"previous page item", [w] { w->mnuMP->trigger(); }, 3},
        {"page box", [w] { w->txtinp->setText(QStringLiteral("5")); w->cmdP指定->click(); }, 6},
        {"Shift+click on the page", [w] { QTest::mouseClick(w->vsp->viewport(), Qt::LeftButton, Qt::ShiftModifier); }, 7},
        {"first page button", [w] { w->cmdMF->click(); }, 1},
    };
    w->GoToPage(2);
    w->activateWindow();
    QApplication::setActiveWindow(w);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.how);
        w->vsp->SetScrollTop(1e6);   // the foot of the page
        w->vsp->SetScrollLeft(2000);
        const double left = w->vsp->ScrollLeft();
        ASSERT_GT(w->vsp->ScrollTop(), 10000);
        s.act();
        EXPECT_EQ(w->vsp->PreviewPage(), s.page);
        EXPECT_EQ(w->vsp->ZoomPercent(), 200);
        EXPECT_EQ(w->vsp->ScrollTop(), 0);
        EXPECT_NEAR(w->vsp->ScrollLeft(), left, kPixel);
    }
}

TEST(Navigation, FrameDiagramPreviewCountsFromOne)
{
    PreviewWindow p({}, ScreenFramePreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    const int beeps = testenv::Script().beeps;
    w->txtinp->setText(QStringLiteral("0"));
    w->cmdP指定->click();
    EXPECT_EQ(testenv::Script().beeps, beeps + 1);
    EXPECT_EQ(w->lblCP->text(), QStringLiteral("1"));
    w->txtinp->setText(QStringLiteral("1"));
    w->cmdP指定->click();
    EXPECT_EQ(testenv::Script().beeps, beeps + 1);
    EXPECT_EQ(w->vsp->PreviewPage(), 1);
}

TEST(Navigation, ZoomStepsStopAtTheLimits)
{
    ResultsPreview r;
    frmPreview* w = r.w();
    ui::ScriptedServices& script = testenv::Script();
    struct Case {
        double before;
        std::function<void()> act;
        double after;
        bool beep;
    };
    const Case cases[] = {
        {100, [w] { w->cmd拡大[0]->click(); }, 115, false},
        {240, [w] { w->cmd拡大[0]->click(); }, 250, true},
        {250, [w] { w->mnu拡大->trigger(); }, 250, true},
        {45, [w] { w->cmd縮小[0]->click(); }, 37, true},
        {100, [w] { w->mnu縮小->trigger(); }, 85, false},
        {100, [w] { w->cmd拡大[1]->click(); }, 115, false},
        {100.4, [w] { w->cmd縮小[1]->click(); }, 85, false},
    };
    for (const Case& c : cases) {
        w->vsp->SetZoomPercent(c.before);
        const int beeps = script.beeps;
        c.act();
        EXPECT_EQ(w->vsp->ZoomPercent(), c.after) << c.before;
        EXPECT_EQ(script.beeps, beeps + (c.beep ? 1 : 0)) << c.before;
    }
    // Whole page and page width fix the fitted zoom as a whole percentage;
    // a step adds to it.
    w->resize(1000, 800);
    for (auto [act, mode] : {std::pair<std::function<void()>, int>{[w] { w->mnu全体->trigger(); }, preview::ZoomWholePage},
                             {[w] { w->cmd基準->click(); }, preview::ZoomPageWidth}}) {
        w->vsp->SetZoomMode(mode);
        const double fitted = std::round(w->vsp->ZoomPercent());
        w->vsp->SetZoomPercent(200);
        act();
        EXPECT_EQ(w->vsp->ZoomPercent(), fitted);
        EXPECT_EQ(w->vsp->ZoomMode(), preview::ZoomByPercent);
        w->cmd拡大[0]->click();
        EXPECT_EQ(w->vsp->ZoomPercent(), fitted + 15);
    }
}

TEST(Navigation, ControlPanelCanBeHidden)
{
    ResultsPreview r;
    frmPreview* w = r.w();
    w->resize(1000, 800);
    const int withPanel = w->vsp->height();
    w->mnuControl->trigger();
    EXPECT_FALSE(w->mnuControl->isChecked());
    EXPECT_TRUE(w->Picture2->isHidden());
    EXPECT_GT(w->vsp->height(), withPanel);
    w->mnuControl->trigger();
    EXPECT_FALSE(w->Picture2->isHidden());
    EXPECT_EQ(w->vsp->height(), withPanel);
}

}  // namespace
