// The frame diagram window's life: opened beside the list input screens and
// closed with them, its placement, canvas zoom and view kept for the next
// opening, and a closing that never fails.
#include "diagram/FrameDiagramSupport.h"

#include "diagram/ViewParameterFile.h"
#include "input/InputStart.h"
#include "platform/Settings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTabWidget>

using namespace frametest;

namespace {

const QString kSection = QStringLiteral("Input\\Ramen");

class DiagramWindow : public ::testing::Test {
protected:
    void SetUp() override { mainMenu = screentest::PrepareScreenTest(); }
    ui::ScriptedServices& script() { return testenv::Script(); }
    static QString Setting(const char* key)
    {
        return reg::GetSetting(kSection, QString::fromUtf8(key), QStringLiteral("<absent>"));
    }
    screentest::MainMenuHook mainMenu;
};

TEST_F(DiagramWindow, EveryListScreenOpensItBesideItAndClosesItWithItself)
{
    AddPortalFrame();
    for (int16_t code = ScreenNodeCoordinates; code <= ScreenLoadPlacement; ++code) {
        SCOPED_TRACE(code);
        Program().ScreenCode = code;
        ASSERT_TRUE(StartInputForm());
        forms::Form* screen = Program().CurrentInputForm.data();
        auto* button = screen->findChild<QAbstractButton*>(QStringLiteral("cmdReferRAMEN"));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QStringLiteral("フレーム図"));
        testenv::ResetScript();
        button->click();
        auto* w = dynamic_cast<frmラーメン図*>(forms::FindLoadedForm(QStringLiteral("frmラーメン図")));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join("\n").toStdString();
        EXPECT_EQ(w->windowTitle(), QStringLiteral("ZELKOVA  ver 1.41　フレーム図"));
        EXPECT_EQ(w->SSTab1->currentIndex(), 0);
        EXPECT_EQ(w->SSTab1->tabText(1), QStringLiteral("節点情報"));
        // A second click brings the one window to the front without loading it again.
        const int drawings = w->DrawingCount();
        button->click();
        EXPECT_EQ(w->DrawingCount(), drawings);
        EXPECT_EQ(ScreenInstance(QStringLiteral("frmラーメン図")), w);
        // The screen keeps working beside it; closing the screen closes it.
        EXPECT_TRUE(screen->isEnabled());
        EndInputForm(true);
        EXPECT_FALSE(w->IsLoaded());
    }
    EXPECT_TRUE(QFile::exists(diagram::kViewParameterFile));
}

TEST_F(DiagramWindow, PlacementCanvasZoomAndViewComeBackNextTime)
{
    AddPortalFrame();
    frmラーメン図* w = OpenDiagram();
    // The canvas takes the window less the panel and the strip below.
    EXPECT_EQ(w->vsp->width(), forms::Px(w->WidthTw() - 3150));
    EXPECT_EQ(w->vsp->height(), forms::Px(w->HeightTw() - 770));

    w->move(40, 30);
    w->resize(700, 500);
    w->vsp->SetZoomPercent(145);
    SetBox(w, "txtθf", "40");
    w->chkDrawCoord->setChecked(false);
    w->Unload();
    EXPECT_EQ(Setting("VSPrinterZoom"), QStringLiteral("145"));
    EXPECT_EQ(Setting("RamenLeft"), QStringLiteral("600"));
    EXPECT_EQ(Setting("RamenTop"), QStringLiteral("450"));
    EXPECT_EQ(Setting("RamenWidth"), QStringLiteral("10500"));
    EXPECT_EQ(Setting("RamenHeight"), QStringLiteral("7500"));

    w = OpenDiagram();
    EXPECT_EQ(w->pos(), QPoint(40, 30));
    EXPECT_EQ(w->size(), QSize(700, 500));
    EXPECT_EQ(w->vsp->ZoomPercent(), 145);
    EXPECT_EQ(BoxText(w, "txtθf"), QStringLiteral("40"));
    EXPECT_FALSE(w->chkDrawCoord->isChecked());

    // A window too small for a canvas leaves the canvas as it was.
    const QSize canvas = w->vsp->size();
    w->resize(150, 40);
    EXPECT_EQ(w->vsp->size(), canvas);

    // Minimised, only the zoom is kept.
    w->resize(700, 500);
    w->showMinimized();
    w->vsp->SetZoomPercent(60);
    w->Unload();
    EXPECT_EQ(Setting("VSPrinterZoom"), QStringLiteral("60"));
    EXPECT_EQ(Setting("RamenWidth"), QStringLiteral("10500"));
}

// The first opening takes the screen's size where the design-sized window
// would be centred, and a placement stored on a larger screen is kept: both
// are brought within the screen, frame and all.
TEST_F(DiagramWindow, PlacementStaysWithinTheScreen)
{
    AddPortalFrame();
    struct Case {
        const char* what;
        QRect screen;
        QStringList stored;   // left, top, width, height in twips; none when empty
        QSize client;         // none: the frame fills the screen
        QPoint frameCorner;   // where the frame's top-left lies, or (with a minus) its bottom-right
    };
    const Case cases[] = {
        {"first opening, 1600 x 1000", {0, 0, 1600, 1000}, {}, {}, {}},
        {"first opening, 1024 x 768", {0, 0, 1024, 768}, {}, {}, {}},
        {"first opening below a panel", {0, 32, 1600, 968}, {}, {}, {}},
        {"stored on a larger screen", {0, 0, 1024, 768}, {"25500", "13500", "27000", "16500"}, {}, {}},
        {"stored over the corner", {0, 0, 1024, 768}, {"9000", "7500", "10500", "6000"}, {700, 400}, {-1023, -767}},
        {"stored left of the screen", {100, 0, 1500, 1000}, {"-3000", "1500", "10500", "6000"}, {700, 400}, {100, 100}},
    };
    const QStringList keys = {"RamenLeft", "RamenTop", "RamenWidth", "RamenHeight"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        forms::SetAvailableScreenArea(c.screen);
        testenv::StorePlacement(kSection, keys, c.stored);
        // Opened from a list screen, as the program does.
        Program().ScreenCode = ScreenNodeCoordinates;
        ASSERT_TRUE(StartInputForm());
        Program().CurrentInputForm->findChild<QAbstractButton*>(QStringLiteral("cmdReferRAMEN"))->click();
        auto* w = dynamic_cast<frmラーメン図*>(forms::FindLoadedForm(QStringLiteral("frmラーメン図")));
        ASSERT_NE(w, nullptr);
        const QRect frame = w->frameGeometry();
        EXPECT_TRUE(c.screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                              << frame.height();
        if (c.client.isEmpty()) {
            EXPECT_EQ(frame, c.screen);
        } else {
            EXPECT_EQ(w->size(), c.client);
            if (c.frameCorner.x() < 0)
                EXPECT_EQ(frame.bottomRight(), -c.frameCorner);
            else
                EXPECT_EQ(frame.topLeft(), c.frameCorner);
        }
        EXPECT_EQ(w->vsp->width(), forms::Px(w->WidthTw() - 3150));
        EndInputForm(true);
    }
}

TEST_F(DiagramWindow, ClosingWithABoxThatIsNotANumberKeepsTheStoredView)
{
    AddPortalFrame();
    diagram::ViewParameters stored;
    stored.thetaF = 40;
    stored.drawMat = 0;
    ASSERT_TRUE(diagram::SaveViewParameters(diagram::kDiagramWindowRecord, stored).ok());
    const QByteArray before = testenv::ReadFile(diagram::kViewParameterFile);
    frmラーメン図* w = OpenDiagram();
    SetBox(w, "txtθf", "50");
    SetBox(w, "txtrf", "");
    testenv::ResetScript();
    EXPECT_TRUE(w->Unload());
    EXPECT_FALSE(w->IsLoaded());
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_EQ(testenv::ReadFile(diagram::kViewParameterFile), before);
    // The rest of the closing happened: placement stored, maps released.
    EXPECT_NE(Setting("RamenLeft"), QStringLiteral("<absent>"));
    EXPECT_EQ(Program().NodeRow[1], 0);

    // A good closing writes record 1 and keeps its shape-number switch.
    w = OpenDiagram();
    SetBox(w, "txtθf", "50");
    w->Unload();
    const diagram::ViewParameters saved = diagram::LoadViewParameters(diagram::kDiagramWindowRecord);
    EXPECT_EQ(saved.thetaF, 50);
    EXPECT_EQ(saved.drawMat, 0);
}

TEST_F(DiagramWindow, TheCloseBoxClosesWithoutARedraw)
{
    AddPortalFrame();
    frmラーメン図* w = OpenDiagram();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    w->ViewBox(QStringLiteral("txtθf"))->setFocus();
    const int drawings = w->DrawingCount();
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(w->IsLoaded());
    EXPECT_EQ(w->DrawingCount(), drawings);
    EXPECT_TRUE(script().messages.isEmpty());
}

TEST_F(DiagramWindow, ALoadThatFailsLeavesTheWindowWithoutItsHandlers)
{
    inputtest::Exec(QStringLiteral("DROP TABLE \"節点座標1\""));
    frmラーメン図* w = OpenDiagram();
    EXPECT_TRUE(w->IsLoaded());
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_TRUE(w->DiagramLoading);
    const int drawings = w->DrawingCount();
    w->chkDrawJnt->click();
    EXPECT_EQ(w->DrawingCount(), drawings);
}

}  // namespace
