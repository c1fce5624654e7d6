// Windows on a desktop of two screens, as Qt's offscreen platform lays them
// out from data/two-screens.json (the first by name is the primary): the
// primary "1-main", 1920 x 1080 at 1366,0, and "2-laptop", 1366 x 768 at
// 0,312 left of it, their bottom edges in line.
// A window stored on either screen opens there and stays; one stored on
// neither opens whole on the nearer; one with no place of its own opens
// centred on the screen of the window that opens it (the main menu's, which
// the primary holds unless the menu is stored elsewhere), or on the window it
// belongs to.
#include "app/AboutBox.h"
#include "app/Main.h"
#include "app/MainMenuCommands.h"
#include "app/frmMainmenu.h"
#include "core/WindowHelpers.h"
#include "diagram/FrameDiagramSupport.h"
#include "input/InputRecordOps.h"
#include "input/InputStart.h"
#include "loads/LoadCombinationWindow.h"
#include "platform/Settings.h"
#include "report/PreviewWindowSupport.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {

// The platform is chosen when the application starts: this program always
// runs on the two screens.
const bool kOnTwoScreens = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZELKOVA_TWO_SCREENS);
    return true;
}();

const QRect kMain(1366, 0, 1920, 1080);
const QRect kLaptop(0, 312, 1366, 768);

using testenv::kCentred;
using testenv::kFarEdge;

// The name of the screen a window is on, as the platform sees it.
QString ScreenOf(const QWidget& w) { return w.screen() ? w.screen()->name() : QString(); }

QString ScreenName(const QRect& area) { return area == kMain ? QStringLiteral("1-main") : QStringLiteral("2-laptop"); }

class TwoScreens : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kOnTwoScreens);
        ASSERT_EQ(QGuiApplication::screens().size(), 2);
        ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), kMain);
    }

    // Where the window lies once shown, and again once the events of its
    // showing have passed: it does not move.
    static void ExpectStaysAt(const testenv::StoredPlace& c, QWidget& w)
    {
        testenv::ExpectFrameAt(c, w.frameGeometry());
        const QRect shown = w.frameGeometry();
        QApplication::processEvents();
        EXPECT_EQ(w.frameGeometry(), shown);
        EXPECT_EQ(ScreenOf(w), ScreenName(c.screen));
    }
};

// Places of a window no larger than 800 x 580, in twips. (One reaching over
// both screens but lying more on the laptop is left to the rule's own test:
// where it lies more depends on its size.)
const testenv::StoredPlace kPlaces[] = {
    {"none stored: centred on the primary", kMain, nullptr, nullptr, kCentred, kCentred},
    {"on the laptop", kLaptop, "1500", "6000", 100, 400},
    {"on the main screen", kMain, "31500", "750", 2100, 50},
    {"straddling, more on the main screen", kMain, "19500", "7500", 1366, 500},
    {"reaching above the laptop", kLaptop, "1500", "1500", 100, 312},
    {"on neither, left of the laptop", kLaptop, "-30000", "6000", 0, 400},
    {"on neither, below the laptop", kLaptop, "1500", "18000", 100, kFarEdge},
    {"on neither, far right of the main screen", kMain, "75000", "30000", kFarEdge, kFarEdge},
};

TEST_F(TwoScreens, TheMainMenuOpensOnTheScreenItWasStoredOn)
{
    forms::SetEndProgramHandler([] {});
    ASSERT_TRUE(Main());
    frmMainmenu& menu = MainMenuForm();
    for (const testenv::StoredPlace& c : kPlaces) {
        SCOPED_TRACE(c.what);
        // The menu loads afresh, as it does when another window hands back to it.
        Program().MainMenuSwitching = true;
        ASSERT_TRUE(menu.Unload());
        testenv::StorePlacement("Mainmenu", {"MainMenuLeft", "MainMenuTop"}, testenv::StoredValues(c));
        menu.Show();
        ExpectStaysAt(c, menu);
    }
}

TEST_F(TwoScreens, AnInputScreenOpensOnTheScreenItWasStoredOn)
{
    const auto mainMenu = screentest::PrepareScreenTest();
    // The main menu, shown while an input screen opens.
    forms::Form menu(QStringLiteral("frmMainmenu"));
    menu.show();
    for (const testenv::StoredPlace& c : kPlaces) {
        SCOPED_TRACE(c.what);
        testenv::StorePlacement("Input", {"InputLeft", "InputTop"}, testenv::StoredValues(c));
        Program().ScreenCode = ScreenNodeCoordinates;
        ASSERT_TRUE(StartInputForm());
        forms::Form* screen = Program().CurrentInputForm.data();
        ExpectStaysAt(c, *screen);

        // A lookup window, larger than the input screen, centred over it on
        // its screen as far as that screen's edges let it be.
        forms::Form lookup(QStringLiteral("frm節点座標参照"));
        lookup.SetClientSizeTw(12000, 6750);
        int width = 0, height = 0;
        CenterOnInputForm(&lookup, width, height);
        lookup.show();
        QApplication::processEvents();
        const QRect over = screen->frameGeometry(), frame = lookup.frameGeometry();
        QRect centred(frame);
        centred.moveCenter(over.center());
        EXPECT_TRUE(c.screen.contains(frame)) << frame.x() << "," << frame.y();
        EXPECT_EQ(ScreenOf(lookup), ScreenName(c.screen));
        if (c.screen.contains(centred)) {
            EXPECT_LE((frame.center() - over.center()).manhattanLength(), 2);
        }
        lookup.close();
        EndInputForm(true);
    }
}

// With the main menu on the laptop, the windows that have no place of their
// own open there too: the input screen and the load-combination window
// centred, the frame diagram (from the input screen) and the preview filling
// it, and the first display-contents dialog centred on the preview's screen.
TEST_F(TwoScreens, WindowsWithNoPlaceOfTheirOwnOpenOnTheMainMenusScreen)
{
    const testenv::StoredPlace centred = {"centred on the laptop", kLaptop, nullptr, nullptr, kCentred, kCentred};
    const auto mainMenu = screentest::PrepareScreenTest();
    frametest::AddPortalFrame();
    inputtest::AppendRows("基本データ", {"工事名", "Case"}, {{rt::Variant::Text("Tower"), rt::Variant::Integer(1)}});
    forms::Form menu(QStringLiteral("frmMainmenu"));
    menu.resize(749, 498);
    menu.move(300, 400);
    menu.Show();
    QApplication::processEvents();
    ASSERT_EQ(ScreenOf(menu), QStringLiteral("2-laptop"));

    Program().ScreenCode = ScreenNodeCoordinates;
    ASSERT_TRUE(StartInputForm());
    ExpectStaysAt(centred, *Program().CurrentInputForm);
    Program().CurrentInputForm->findChild<QAbstractButton*>(QStringLiteral("cmdReferRAMEN"))->click();
    auto* diagram = forms::FindLoadedForm(QStringLiteral("frmラーメン図"));
    ASSERT_NE(diagram, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(diagram->frameGeometry(), kLaptop);
    EndInputForm(true);

    Program().ScreenCode = ScreenDesignLoadCombinations;
    ASSERT_TRUE(StartInputForm());
    auto* combinations = dynamic_cast<frm01荷重組合せ*>(Program().CurrentInputForm.data());
    ASSERT_NE(combinations, nullptr);
    ExpectStaysAt(centred, *combinations);
    combinations->Cmd中止->click();

    // The dialog as the user gets it, shown modally while the preview loads.
    reporttest::PreviewWindow preview({}, ScreenResultsPreview);
    SetPreviewInfoDialogRunner(nullptr);
    QRect dialog;
    QTimer::singleShot(0, [&dialog] {
        if (auto* d = qobject_cast<frmPreviewInfoSetUp*>(QApplication::activeModalWidget())) {
            QApplication::processEvents();
            dialog = d->frameGeometry();
            d->cmdOK->click();
        }
    });
    ASSERT_TRUE(preview.Open());
    ASSERT_FALSE(dialog.isEmpty());
    testenv::ExpectFrameAt(centred, dialog);
    QApplication::processEvents();
    EXPECT_EQ(preview.w()->frameGeometry(), kLaptop);
    preview.w()->cmdClose_Click();
}

// The frame diagram and the preview take their size from the screen that
// holds them: one stored whole on a screen keeps its size and place, even
// where the other screen is too small for it; one that lies on neither is cut
// to the screen it lies on most.
TEST_F(TwoScreens, SizedWindowsAreLimitedByTheScreenThatHoldsThem)
{
    struct Case {
        const char* what;
        QStringList stored;   // left, top, width, height in twips
        QPoint corner;        // where the frame's top-left then lies
        QSize client;         // and the window's size; none: its frame fills the laptop
    };
    const Case cases[] = {
        {"on the laptop", {"750", "5250", "18000", "10500"}, {50, 350}, {1200, 700}},
        {"on the main screen, too large for the laptop", {"21750", "750", "27000", "15000"}, {1450, 50}, {1800, 1000}},
        {"straddling, more on the laptop", {"-4500", "4500", "27000", "15000"}, {0, 312}, {}},
        {"straddling, more on the main screen", {"15000", "-1500", "27000", "15000"}, {1366, 0}, {1800, 1000}},
    };
    auto expectPlaced = [](const Case& c, const QWidget& w) {
        if (c.client.isEmpty()) {
            EXPECT_EQ(w.frameGeometry(), kLaptop);
        } else {
            EXPECT_EQ(w.frameGeometry().topLeft(), c.corner);
            EXPECT_EQ(w.size(), c.client);
        }
    };
    const auto mainMenu = screentest::PrepareScreenTest();
    frametest::AddPortalFrame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testenv::StorePlacement(QStringLiteral("Input\\Ramen"), {"RamenLeft", "RamenTop", "RamenWidth", "RamenHeight"},
                                c.stored);
        Program().ScreenCode = ScreenNodeCoordinates;
        ASSERT_TRUE(StartInputForm());
        Program().CurrentInputForm->findChild<QAbstractButton*>(QStringLiteral("cmdReferRAMEN"))->click();
        auto* diagram = forms::FindLoadedForm(QStringLiteral("frmラーメン図"));
        ASSERT_NE(diagram, nullptr);
        expectPlaced(c, *diagram);
        EndInputForm(true);

        testenv::StorePlacement(QStringLiteral("Preview"), {"PreviewLeft", "PreviewTop", "PreviewWidth", "PreviewHeight"},
                                c.stored);
        forms::Form menu(QStringLiteral("frmMainmenu"));
        menu.show();
        reporttest::PreviewWindow preview({}, ScreenFramePreview);
        ASSERT_TRUE(preview.Open());
        expectPlaced(c, *preview.w());
        preview.w()->cmdClose_Click();
    }
}

// The version box and the information page open centred on the main menu,
// on whichever screen it is; the page, larger than the menu, stays whole on
// the menu's screen when the menu sits in the screen's corner. (A frame here
// is 2 pixels wider than its window on every side: the menu's is 753 x 502,
// the page's 788 x 555.)
TEST_F(TwoScreens, WindowsCentredOnTheMainMenuOpenOnItsScreen)
{
    forms::SetEndProgramHandler([] {});
    ASSERT_TRUE(Main());
    frmMainmenu& menu = MainMenuForm();
    struct Case {
        const char* what;
        const char* left;
        const char* top;
        QRect screen;
        QPoint page;   // where the page's frame lies
    };
    const Case cases[] = {
        {"menu on the laptop", "3000", "7500", kLaptop, {183, 473}},
        // The menu itself is kept whole at 613,578; the page, centred at
        // 596,551, would reach past the laptop's right and bottom edges.
        {"menu in the laptop's bottom-right corner", "9255", "8730", kLaptop, {578, 525}},
        {"menu on the main screen", "37500", "4500", kMain, {2483, 273}},
        // Centred at 1349,551 the page would reach over onto the laptop.
        {"menu in the main screen's bottom-left corner", "20490", "8730", kMain, {1366, 525}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program().MainMenuSwitching = true;
        ASSERT_TRUE(menu.Unload());
        testenv::StorePlacement("Mainmenu", {"MainMenuLeft", "MainMenuTop"}, {c.left, c.top});
        menu.Show();
        const QRect over = menu.frameGeometry();
        ASSERT_TRUE(c.screen.contains(over));

        frmAbout about;
        about.Show();
        QApplication::processEvents();
        EXPECT_LE((about.frameGeometry().center() - over.center()).manhattanLength(), 2);
        EXPECT_EQ(ScreenOf(about), ScreenName(c.screen));

        frm01WebBrows page;
        page.Show();
        QApplication::processEvents();
        EXPECT_EQ(page.frameGeometry(), QRect(c.page, QSize(788, 555)));
        EXPECT_EQ(ScreenOf(page), ScreenName(c.screen));
    }
}

// Centred over a window near the laptop's top-right corner, a wide window
// would lie more on the main screen than on the laptop; it is kept on the
// laptop, the screen of the window it belongs to.
TEST_F(TwoScreens, AWindowCentredOverAnotherStaysOnThatWindowsScreen)
{
    QWidget over;
    over.move(1166, 320);
    over.resize(196, 96);   // a frame of 200 x 100
    over.show();
    QApplication::processEvents();
    ASSERT_EQ(over.frameGeometry(), QRect(1166, 320, 200, 100));

    // Centred, its frame of 1000 x 600 would lie at 766,70.
    QWidget window;
    window.resize(996, 596);
    CentreOver(&window, &over);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.frameGeometry(), QRect(366, 312, 1000, 600));
    EXPECT_EQ(ScreenOf(window), QStringLiteral("2-laptop"));
}

}  // namespace
