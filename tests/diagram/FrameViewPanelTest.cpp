// The view tab of the frame diagram window: keys, focus moves, the clamp on
// leaving a box, the spin steps and when the drawing is rebuilt.
#include "diagram/FrameDiagramSupport.h"
#include "common/ViewBoxRing.h"

#include "diagram/UpDownControl.h"
#include "platform/Settings.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace frametest;
using screentest::SendKey;
using screentest::Type;

namespace {

class ViewPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainMenu = screentest::PrepareScreenTest();
        AddPortalFrame();
        w = OpenDiagram();
        ASSERT_TRUE(w->IsLoaded());
        w->activateWindow();
        QApplication::setActiveWindow(w);
        testenv::ResetScript();
    }
    QLineEdit* Box(const char* name) { return w->ViewBox(QString::fromUtf8(name)); }
    ui::ScriptedServices& script() { return testenv::Script(); }
    frmラーメン図* w = nullptr;
    screentest::MainMenuHook mainMenu;
};

TEST_F(ViewPanel, LeavingABoxClampsToItsSpinRangeAndRedraws)
{
    struct Case {
        const char* box;
        const char* typed;
        const char* shown;
        bool beep;
    };
    const Case cases[] = {
        {"txtθf", "200", "180", true},    {"txtCoordX", "-5", "0", true},   {"txtX", "-40000", "-32767", true},
        {"txtX", "40000", "32767", true}, {"txtzoom", "50000", "32767", true}, {"txtφa", "090", "090", false},
        {"txtra", "", "", false},         {"txtY", "-32767", "-32767", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        SCOPED_TRACE(c.typed);
        QLineEdit* box = Box(c.box);
        box->setFocus();
        box->selectAll();
        SendKey(box, Qt::Key_Backspace);
        Type(box, QString::fromUtf8(c.typed));
        const int beeps = script().beeps, drawings = w->DrawingCount();
        box->clearFocus();
        EXPECT_EQ(box->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(script().beeps - beeps, c.beep ? 1 : 0);
        EXPECT_EQ(w->DrawingCount() - drawings, 1);   // "同時処理" is on
    }
}

TEST_F(ViewPanel, SpinStepsStayInsideTheRangeOrAreRefusedWhole)
{
    struct Case {
        const char* box;
        const char* spin;
        bool up;
        const char* before;
        const char* after;   // the same text: refused
    };
    const Case cases[] = {
        {"txtCoordSize", "UpDownCoordSize", true, "1", "1.1"},
        {"txtCoordSize", "UpDownCoordSize", false, "1", "0.9"},
        {"txtCoordSize", "UpDownCoordSize", false, "0.2", "0.1"},
        {"txtCoordSize", "UpDownCoordSize", false, "0.1", "0.1"},
        {"txtθa", "UpDownθa", true, "175", "175"},
        {"txtθa", "UpDownθa", true, "170", "180"},
        {"txtY", "UpDownY", true, "0", "-10"},
        {"txtCoordY", "UpDownCoordY", true, "0", "0"},
        {"txtCoordY", "UpDownCoordY", false, "0", "10"},
        {"txtθf", "UpDownθf", true, "70", "60"},
        {"txtrf", "UpDownrf", true, "5000", "5100"},
        {"txtX", "UpDownX", false, "-32750", "-32760"},
        {"txtX", "UpDownX", false, "-32760", "-32760"},
        {"txtzoom", "UpDownzoom", false, "0", "0"},
        {"txtφf", "UpDownφf", true, "22.5", "32.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spin);
        SCOPED_TRACE(c.before);
        Box(c.box)->setText(QString::fromUtf8(c.before));
        diagram::UpDownControl* spin = w->Spin(QString::fromUtf8(c.spin));
        ASSERT_NE(spin, nullptr);
        const int beeps = script().beeps, drawings = w->DrawingCount();
        (c.up ? spin->UpButton() : spin->DownButton())->click();
        EXPECT_EQ(Box(c.box)->text(), QString::fromUtf8(c.after));
        const bool stepped = qstrcmp(c.before, c.after) != 0;
        EXPECT_EQ(w->DrawingCount() - drawings, stepped ? 1 : 0);
        EXPECT_EQ(script().beeps, beeps);
    }
}

TEST_F(ViewPanel, KeysPassByTheBoxesRules)
{
    w->chkSyncPreview->setChecked(false);   // boxes are left empty between the cases
    struct Case {
        const char* box;
        const char* key;
        bool passes;
    };
    const Case cases[] = {
        {"txtra", "-", false},    {"txtra", ".", false},      {"txtθf", "-", false},  {"txtzoom", "-", false},
        {"txtzoom", ".", false},  {"txtX", "-", true},        {"txtCoordY", "-", true}, {"txtCoordSize", ".", true},
        {"txtCoordSize", "-", false}, {"txtY", "a", false},   {"txtφa", "7", true},   {"txtrf", " ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        SCOPED_TRACE(c.key);
        QLineEdit* box = Box(c.box);
        box->clear();
        box->setFocus();
        const int beeps = script().beeps;
        Type(box, QString::fromUtf8(c.key));
        EXPECT_EQ(box->text(), c.passes ? QString::fromUtf8(c.key) : QString());
        EXPECT_EQ(script().beeps - beeps, c.passes ? 0 : 1);
    }
    // Enter in a look-at box: swallowed without a sound, the focus stays.
    QLineEdit* ra = Box("txtra");
    ra->setFocus();
    const int beeps = script().beeps;
    SendKey(ra, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(script().beeps, beeps);
    EXPECT_EQ(QApplication::focusWidget(), ra);
    // Esc, a key no filtered box takes: a beep, the text as it was.
    for (const char* name : {"txtra", "txtX", "txt節点番号", "txtxt1"}) {
        SCOPED_TRACE(name);
        auto* box = w->findChild<QLineEdit*>(QString::fromUtf8(name));
        ASSERT_NE(box, nullptr);
        box->setText(QStringLiteral("5"));
        const int before = script().beeps;
        SendKey(box, Qt::Key_Escape, QStringLiteral("\x1b"));
        EXPECT_EQ(script().beeps, before + 1);
        EXPECT_EQ(box->text(), QStringLiteral("5"));
    }
    EXPECT_TRUE(w->IsLoaded());
}

TEST_F(ViewPanel, ArrowsAndEnterWalkTheRingOfTheNineBoxes)
{
    w->chkSyncPreview->setChecked(false);   // no drawing between the moves
    testenv::WalkViewBoxRing([this](const char* name) { return Box(name); });
}

TEST_F(ViewPanel, WithoutTheSyncSwitchOnlyTheRedrawButtonDraws)
{
    EXPECT_FALSE(w->cmdDRAW->isEnabled());
    w->chkSyncPreview->click();
    EXPECT_TRUE(w->cmdDRAW->isEnabled());
    const int drawings = w->DrawingCount();
    QLineEdit* box = Box("txtθf");
    box->setFocus();
    box->clearFocus();
    w->Spin(QStringLiteral("UpDownφf"))->UpButton()->click();
    w->chkDrawJnt->click();
    EXPECT_EQ(w->DrawingCount(), drawings);
    w->cmdDRAW->click();
    EXPECT_EQ(w->DrawingCount(), drawings + 1);
    // Turning the switch on only greys the button out.
    w->chkSyncPreview->click();
    EXPECT_FALSE(w->cmdDRAW->isEnabled());
    EXPECT_EQ(w->DrawingCount(), drawings + 1);
    w->chkDrawEle->click();
    EXPECT_EQ(w->DrawingCount(), drawings + 2);
}

TEST_F(ViewPanel, TabbingThroughTheRingRedrawsOncePerBoxLeft)
{
    const int drawings = w->DrawingCount();
    Box("txtrf")->setFocus();
    for (int k = 0; k < 9; ++k) SendKey(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), Box("txtrf"));
    EXPECT_EQ(w->DrawingCount(), drawings + 9);
}

// Real key events: Tab and Shift+Tab pass every box's key filter and move
// on; leaving a view box by them checks it and, with "同時処理" on, redraws
// as leaving it by Enter does.
TEST_F(ViewPanel, TabAndShiftTabLeaveABoxAsEnterDoes)
{
    struct Case {
        const char* box;
        int key;
        const char* typed;
        const char* after;
        int drawings;
    };
    const Case cases[] = {
        {"txtθf", Qt::Key_Tab, "200", "180", 1},
        {"txtφa", Qt::Key_Backtab, "400", "360", 1},
        {"txtCoordSize", Qt::Key_Tab, "1.5", "1.5", 1},
        {"txtrf", Qt::Key_Return, "9", "9", 1},   // Enter, for comparison
        {"txt節点番号", Qt::Key_Tab, "7", "7", 0},   // the search panel's boxes draw nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        QLineEdit* box = w->findChild<QLineEdit*>(QString::fromUtf8(c.box));
        ASSERT_NE(box, nullptr);
        if (!box->isVisible()) w->SSTab1->setCurrentIndex(1);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::fromUtf8(c.typed));
        const int beeps = script().beeps, drawings = w->DrawingCount();
        QTest::keyClick(box, static_cast<Qt::Key>(c.key), c.key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_NE(QApplication::focusWidget(), box);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.after));
        EXPECT_EQ(script().beeps - beeps, qstrcmp(c.typed, c.after) != 0 ? 1 : 0);
        EXPECT_EQ(w->DrawingCount() - drawings, c.drawings);
    }
}

TEST_F(ViewPanel, ToolTipsFollowTheOption)
{
    EXPECT_EQ(w->Spin(QStringLiteral("UpDownθf"))->toolTip(), QStringLiteral("左のLookFromのθ値を10ずつ変化させます"));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblθf"))->toolTip(), Box("txtθf")->toolTip());
    EXPECT_EQ(w->vsp->toolTip(), QStringLiteral("ダブルクリックでプレビューの拡大、縮小、、またドラッグで表示範囲を変更できます"));
    w->Unload();
    reg::SaveBool(QStringLiteral("Public"), QStringLiteral("ChkToolTipText"), false);
    w = OpenDiagram();
    for (QWidget* c : w->findChildren<QWidget*>()) EXPECT_TRUE(c->toolTip().isEmpty()) << c->objectName().toStdString();
}

}  // namespace
