// The entry boxes of the layout panel: the arrows' steps and limits, the
// range check when a box is left, the keys each box takes, the focus ring,
// and what "同時処理" redraws.
#include "PreviewWindowSupport.h"
#include "common/ViewBoxRing.h"
#include "common/WidgetEvents.h"

#include "diagram/UpDownControl.h"
#include "diagram/ViewParameterFile.h"
#include "report/WindowControls.h"
#include "report/diagrams/DiagramPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using reporttest::PreviewWindow;
using screentest::SendKey;

namespace {

class EntryBoxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.Open());
        w = p.w();
        w->cmdMentPreview->click();
        w->chkSyncPreview->setChecked(false);
        w->UpdateDrawButton();
        w->activateWindow();
        QApplication::processEvents();
    }
    QLineEdit* Box(const char* name) const { return report::Control<QLineEdit>(w, QString::fromUtf8(name)); }
    diagram::UpDownControl* Spin(const char* name) const { return report::Control<diagram::UpDownControl>(w, QString::fromUtf8(name)); }
    int Beeps() const { return testenv::Script().beeps; }

    PreviewWindow p{testenv::ReportProjectSetup{}, ScreenFramePreview};
    frmPreview* w = nullptr;
};

TEST_F(EntryBoxes, ArrowsStepInsideTheRangeOrNotAtAll)
{
    struct Case {
        const char* box;
        const char* spin;
        const char* start;
        bool up;
        const char* after;
    };
    const Case cases[] = {
        {"txtzoom", "UpDownzoom", "32700", true, "32700"},   // 32800 is beyond 32767
        {"txtzoom", "UpDownzoom", "32600", true, "32700"},
        {"txtzoom", "UpDownzoom", "1", false, "1"},
        {"txtY", "UpDownY", "0", true, "-10"},              // up moves the diagram up
        {"txtY", "UpDownY", "0", false, "10"},
        {"txtX", "UpDownX", "-1.002", true, "8.998"},
        {"txtX", "UpDownX", "32760", true, "32760"},
        {"txtθf", "UpDownθf", "90", true, "80"},            // up raises the eye
        {"txtθf", "UpDownθf", "0", true, "0"},
        {"txtφf", "UpDownφf", "360", true, "360"},
        {"txtrf", "UpDownrf", "1000", true, "1100"},
        {"txtra", "UpDownra", "0", false, "0"},
        {"txtCoordY", "UpDownCoordY", "100", true, "90"},
        {"txtCoordY", "UpDownCoordY", "5", true, "5"},
        {"txtCoordSize", "UpDownCoordSize", "1.0", true, "1.1"},
        {"txtCoordSize", "UpDownCoordSize", "1.0", false, "0.9"},
        {"txtCoordSize", "UpDownCoordSize", "0.2", false, "0.1"},
        {"txtCoordSize", "UpDownCoordSize", "0.1", false, "0.1"},   // the step is a little more than 0.1
        {"txtCoordSize", "UpDownCoordSize", "0.0", false, "0.0"},
    };
    const int beeps = Beeps();
    for (const Case& c : cases) {
        Box(c.box)->setText(QString::fromUtf8(c.start));
        (c.up ? Spin(c.spin)->UpButton() : Spin(c.spin)->DownButton())->click();
        EXPECT_EQ(Box(c.box)->text(), QString::fromUtf8(c.after)) << c.box << " " << c.start << (c.up ? " up" : " down");
    }
    EXPECT_EQ(Beeps(), beeps);
    // Nothing was stored: "同時処理" is off.
    report::PlacementTable t(*Program().SharedDatabase);
    EXPECT_NE(t.Find(report::kFramePlacement)->zoom, 32700);
}

TEST_F(EntryBoxes, LeavingABoxBringsItIntoItsRange)
{
    struct Case {
        const char* box;
        const char* typed;
        const char* after;
        bool beep;
    };
    const Case cases[] = {
        {"txtφa", "400", "360", true}, {"txtzoom", "0", "1", true},      {"txtzoom", "", "1", true},
        {"txtX", "40000", "32767", true}, {"txtθf", "180", "180", false}, {"txtrf", "-5", "0", true},
        {"txtCoordX", "99999", "99999", false},   // no range check
    };
    for (const Case& c : cases) {
        QLineEdit* box = Box(c.box);
        box->setFocus();
        box->setText(QString::fromUtf8(c.typed));
        const int beeps = Beeps();
        box->clearFocus();
        EXPECT_EQ(box->text(), QString::fromUtf8(c.after)) << c.box << " " << c.typed;
        EXPECT_EQ(Beeps() - beeps, c.beep ? 1 : 0) << c.box << " " << c.typed;
    }
}

// With "同時処理" on, leaving a box and a placement arrow store the boxes
// and redraw; a view arrow only redraws.
TEST_F(EntryBoxes, SyncStoresAndRedraws)
{
    w->chkSyncPreview->click();
    ASSERT_TRUE(w->chkSyncPreview->isChecked());
    auto stored = [] {
        report::PlacementTable t(*Program().SharedDatabase);
        return *t.Find(report::kFramePlacement);
    };
    w->txtX->setText(QStringLiteral("33"));
    QLineEdit* box = Box("txtφa");
    box->setFocus();
    box->setText(QStringLiteral("400"));
    box->clearFocus();
    EXPECT_FLOAT_EQ(stored().xx, 33);
    EXPECT_EQ(w->DocumentMode(), QStringLiteral("MENT"));

    Spin("UpDownY")->DownButton()->click();
    EXPECT_EQ(w->txtY->text(), rt::Format(stored().yy, QStringLiteral("0")));

    w->txtX->setText(QStringLiteral("44"));
    Spin("UpDownrf")->UpButton()->click();
    EXPECT_FLOAT_EQ(stored().xx, 33);
    EXPECT_EQ(w->txtX->text(), QStringLiteral("33"));   // the picture shows what is stored
}

TEST_F(EntryBoxes, KeysEachBoxTakes)
{
    struct Case {
        const char* box;
        const char* key;
        bool taken;
    };
    const Case cases[] = {
        {"txtX", "-", true},  {"txtY", "-", true},  {"txtzoom", "-", false}, {"txtrf", "-", false}, {"txtφa", "-", false},
        {"txtX", ".", false}, {"txtrf", ".", false}, {"txtθa", ".", false},   {"txtzoom", "7", true}, {"txtθf", " ", true},
        {"txtφf", "a", false}, {"txtCoordX", "a", true}, {"txtCoordSize", ".", true},
    };
    for (const Case& c : cases) {
        QLineEdit* box = Box(c.box);
        box->setFocus();
        box->clear();
        const int beeps = Beeps();
        SendKey(box, QChar::fromLatin1(c.key[0]).unicode(), QString::fromUtf8(c.key));
        EXPECT_EQ(box->text(), c.taken ? QString::fromUtf8(c.key) : QString()) << c.box << " " << c.key;
        EXPECT_EQ(Beeps() - beeps, c.taken ? 0 : 1) << c.box << " " << c.key;
    }
    // Enter in a look-at box: swallowed without a sound, the focus stays.
    QLineEdit* ra = Box("txtra");
    ra->setFocus();
    const int beeps = Beeps();
    SendKey(ra, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Beeps(), beeps);
    EXPECT_EQ(QApplication::focusWidget(), ra);
}

// The axis boxes take any text; closing the window still saves the whole
// view, the axis boxes by their leading number.
TEST_F(EntryBoxes, AnyTextInTheAxisBoxesKeepsTheSavedView)
{
    const std::pair<const char*, const char*> typed[] = {
        {"txtrf", "2000"}, {"txtφf", "45"}, {"txtCoordX", "12mm"}, {"txtCoordY", "?"}, {"txtCoordSize", "big"}};
    for (const auto& [name, text] : typed) {
        QLineEdit* box = Box(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::fromUtf8(text));
        ASSERT_EQ(box->text(), QString::fromUtf8(text));
    }
    w->chkDrawJnt->setChecked(false);
    w->cmdClose->click();   // back to the preview
    w->cmdClose->click();   // and closed
    ASSERT_EQ(p.menuShown, 1);
    const diagram::ViewParameters saved = diagram::LoadViewParameters(diagram::kPreviewRecord);
    EXPECT_EQ(saved.rf, 2000);
    EXPECT_EQ(saved.phiF, 45);
    EXPECT_EQ(saved.drawJnt, 0);
    EXPECT_EQ(saved.coordX, 12);
    EXPECT_EQ(saved.coordY, 0);
    EXPECT_EQ(saved.coordSize, 0);
}

TEST_F(EntryBoxes, ArrowsAndEnterWalkTheRing)
{
    testenv::WalkViewBoxRing([this](const char* name) { return Box(name); }, &testenv::Script().beeps);
}

}  // namespace
