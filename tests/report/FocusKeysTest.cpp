// The focus keys in the preview window and its two dialogs, by real key
// events: Tab and Shift+Tab leave a numeric box as in the input screens (no
// key filter sees them), leaving a layout box by Tab redraws as Enter does
// while "同時処理" is on, Esc closes each dialog as its cancel button does,
// and the window's own numeric boxes refuse Esc with a beep.
#include "PreviewWindowSupport.h"

#include "platform/preview/Printing.h"
#include "report/WindowControls.h"
#include "report/diagrams/DiagramPlacement.h"
#include "report/frmPrintInfoSetUp.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using reporttest::PreviewWindow;

namespace {

QWidget* Focused() { return QApplication::focusWidget(); }

void Activate(QWidget* w)
{
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    QApplication::processEvents();
}

TEST(FocusKeys, TabAndShiftTabLeaveThePageBox)
{
    PreviewWindow p({}, ScreenResultsPreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    Activate(w);
    w->txtinp->setFocus();
    QTest::keyClicks(w->txtinp, QStringLiteral("2"));
    const int beeps = testenv::Script().beeps;
    QTest::keyClick(w->txtinp, Qt::Key_Tab);
    EXPECT_EQ(Focused(), w->cmdP指定);
    QTest::keyClick(w->cmdP指定, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), w->txtinp);
    QTest::keyClick(w->txtinp, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_NE(Focused(), w->txtinp);
    EXPECT_EQ(w->txtinp->text(), QStringLiteral("2"));
    EXPECT_EQ(testenv::Script().beeps, beeps);
}

// Esc is no key of the preview's numeric boxes: the page box and the
// filtered boxes of the layout panel refuse it with a beep, as any other key
// they do not take, and the window stays as it was.
TEST(FocusKeys, EscIsRefusedInThePreviewsNumericBoxes)
{
    PreviewWindow p({}, ScreenFramePreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    Activate(w);
    auto escIn = [w](QLineEdit* box, const QString& text) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->setFocus();
        box->setText(text);
        const int beeps = testenv::Script().beeps;
        QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_EQ(testenv::Script().beeps, beeps + 1);
        EXPECT_EQ(box->text(), text);
        EXPECT_EQ(Focused(), box);
        EXPECT_TRUE(w->IsLoaded());
    };
    escIn(w->txtinp, QStringLiteral("2"));
    w->cmdMentPreview->click();
    w->chkSyncPreview->setChecked(false);   // leaving a box redraws nothing
    Activate(w);
    for (QLineEdit* box : {w->txtX, w->txtzoom, w->txtrf, w->txtθa}) escIn(box, QStringLiteral("10"));
}

// With "同時処理" on, a box left by Tab or Shift+Tab is checked and the
// placement stored and drawn, as when it is left by Enter; the focus goes on.
TEST(FocusKeys, TabLeavesALayoutBoxAsEnterDoes)
{
    PreviewWindow p({}, ScreenFramePreview);
    ASSERT_TRUE(p.Open());
    frmPreview* w = p.w();
    w->cmdMentPreview->click();
    Activate(w);
    ASSERT_TRUE(w->chkSyncPreview->isChecked());
    auto storedX = [] {
        report::PlacementTable t(*Program().SharedDatabase);
        return t.Find(report::kFramePlacement)->xx;
    };
    struct Case {
        const char* box;
        int key;
        const char* typed;
        const char* after;   // the range check
        float x;             // typed into txtX before, stored by the redraw
    };
    const Case cases[] = {
        {"txtθf", Qt::Key_Tab, "200", "180", 31},
        {"txtφa", Qt::Key_Backtab, "400", "360", 32},
        {"txtzoom", Qt::Key_Tab, "0", "1", 33},
        {"txtrf", Qt::Key_Return, "9", "9", 34},   // Enter, for comparison
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        auto* box = report::Control<QLineEdit>(w, QString::fromUtf8(c.box));
        w->txtX->setText(QString::number(c.x));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::fromUtf8(c.typed));
        const int beeps = testenv::Script().beeps;
        QTest::keyClick(box, static_cast<Qt::Key>(c.key), c.key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.after));
        EXPECT_EQ(testenv::Script().beeps - beeps, qstrcmp(c.typed, c.after) != 0 ? 1 : 0);
        EXPECT_FLOAT_EQ(storedX(), c.x);
        EXPECT_EQ(w->DocumentMode(), QStringLiteral("MENT"));
        EXPECT_NE(Focused(), box);
        EXPECT_TRUE(w->isEnabled());
    }
    // The axis boxes, which have no key filter, let Tab move on too.
    w->txtCoordX->setFocus();
    QTest::keyClick(w->txtCoordX, Qt::Key_Tab);
    EXPECT_NE(Focused(), w->txtCoordX);
}

// The results report of two cases, printed nowhere: each dialog is run by
// hand and Esc is pressed in its boxes, buttons and lists.
struct Dialogs {
    Dialogs() : p(reporttest::ProjectOfCases(2), ScreenResultsPreview) { EXPECT_TRUE(p.Open()); }
    PreviewWindow p;
};

TEST(FocusKeys, EscCancelsThePrintDialog)
{
    Dialogs d;
    class NoPrinter : public preview::PrintTarget {
    public:
        QStringList PrinterNames() override { return {QStringLiteral("Office")}; }
        QString DefaultPrinterName() override { return QStringLiteral("Office"); }
        bool Print(const preview::Document&, int, int, const QString&) override
        {
            ++jobs;
            return true;
        }
        int jobs = 0;
    };
    auto target = std::make_shared<NoPrinter>();
    preview::SetPrintTarget(target);
    for (const char* where : {"txtCopy", "cboPrinter", "opnAllPage", "cmdOK"}) {
        SCOPED_TRACE(where);
        bool closedByEsc = false;
        SetPrintDialogRunner([&](frmPrintInfoSetUp& dialog) {
            Activate(&dialog);
            auto* control = report::Control<QWidget>(&dialog, QString::fromUtf8(where));
            control->setFocus();
            const int beeps = testenv::Script().beeps;
            QTest::keyClick(control, Qt::Key_Escape);
            closedByEsc = !dialog.IsLoaded();
            EXPECT_EQ(testenv::Script().beeps, beeps);
        });
        d.p.w()->cmdPrint->click();
        EXPECT_TRUE(closedByEsc);
        EXPECT_EQ(Program().PrintRequest.Confirmed, 0);
    }
    EXPECT_EQ(target->jobs, 0);
    preview::SetPrintTarget(nullptr);
}

TEST(FocusKeys, EscCancelsTheDisplayContentsDialog)
{
    Dialogs d;
    for (const char* where : {"txtHnzZoom", "txtZoomVal", "lstCaseZoom", "chkHnz", "cmdOK"}) {
        SCOPED_TRACE(where);
        bool closedByEsc = false;
        SetPreviewInfoDialogRunner([&](frmPreviewInfoSetUp& dialog) {
            Activate(&dialog);
            // A change that OK would store.
            dialog.chkHnz->setChecked(!dialog.chkHnz->isChecked());
            auto* control = report::Control<QWidget>(&dialog, QString::fromUtf8(where));
            control->setEnabled(true);
            control->setFocus();
            const int beeps = testenv::Script().beeps;
            QTest::keyClick(control, Qt::Key_Escape);
            closedByEsc = !dialog.IsLoaded();
            EXPECT_EQ(testenv::Script().beeps, beeps);
        });
        const PreviewInfoRecord before = Program().PreviewInfo;
        d.p.w()->cmdPreviewInfoSetUp->click();
        EXPECT_TRUE(closedByEsc);
        EXPECT_EQ(Program().PreviewInfo.Confirmed, 0);
        EXPECT_EQ(Program().PreviewInfo.ShowDisplacement, before.ShowDisplacement);
    }
}

}  // namespace
