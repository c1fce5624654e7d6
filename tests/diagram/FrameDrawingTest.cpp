// The drawing of the frame diagram window: what the page holds for a model,
// where the fit puts it, and the questions the drawing asks.
#include "diagram/FrameDiagramSupport.h"

#include "diagram/ViewParameterFile.h"
#include "platform/Settings.h"

#include <QCoreApplication>

using namespace frametest;

namespace {

class FrameDrawing : public ::testing::Test {
protected:
    void SetUp() override { screentest::PrepareScreenTest(); }

    // Record 1 of the view file with the eye `rf` units in front of the
    // portal (on -Y), level with the look-at point.
    static void StoreFrontView(float rf = 100)
    {
        diagram::ViewParameters v;
        v.rf = rf;
        v.thetaF = 90;
        v.phiF = 270;
        ASSERT_TRUE(diagram::SaveViewParameters(diagram::kDiagramWindowRecord, v).ok());
    }
    ui::ScriptedServices& script() { return testenv::Script(); }
};

TEST_F(FrameDrawing, PortalSeenFromTheFrontFillsThePageHeightCentred)
{
    AddPortalFrame();
    StoreFrontView();
    frmラーメン図* w = OpenDiagram();
    ASSERT_TRUE(w->IsLoaded());
    EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join("\n").toStdString();

    // Plane positions x = 6/99, y = -4/99 at the far corner; the height
    // limits the zoom: (11906 - 2 * 1134) / (4/99).
    const double zoom = 9638.0 * 99 / 4;
    const double left = 16838.0 / 2 - 6.0 / 99 * zoom / 2, bottom = 11906.0 / 2 + 4.0 / 99 * zoom / 2;
    const std::vector<preview::DrawOp> lines = OpsOf(w, preview::OpKind::Line);
    ASSERT_EQ(lines.size(), 6u);   // three members, three axes
    struct Expected { double x1, y1, x2, y2; };
    const Expected members[] = {{left, bottom, left, 1134},
                                {left, 1134, left + 6.0 / 99 * zoom, 1134},
                                {left + 6.0 / 99 * zoom, 1134, left + 6.0 / 99 * zoom, bottom}};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(lines[k].x1, members[k].x1, 1);
        EXPECT_NEAR(lines[k].y1, members[k].y1, 1);
        EXPECT_NEAR(lines[k].x2, members[k].x2, 1);
        EXPECT_NEAR(lines[k].y2, members[k].y2, 1);
        EXPECT_EQ(lines[k].pen.colour, 0u);
        EXPECT_EQ(lines[k].pen.width, 0);
    }
    EXPECT_NEAR(bottom, 11906 - 1134, 1);
    EXPECT_EQ(OpsOf(w, preview::OpKind::Circle).size(), 6u);
    EXPECT_EQ(LabelTexts(w), (QStringList{"1", "2", "3", "4", "1", "[1]", "2", "[2]", "3", "[1]", "x", "y", "z"}));

    // The fit is written back: whole millimetres and a multiple of the base scale.
    EXPECT_EQ(BoxText(w, "txtX"), QStringLiteral("21"));
    EXPECT_EQ(BoxText(w, "txtY"), QStringLiteral("190"));
    // The base scale fits the plan extent (6 wide, no depth) into the canvas.
    EXPECT_NEAR(w->DiagramBaseScale, forms::Tw(w->vsp->width()) / 6.0, forms::Tw(w->vsp->width()) / 6.0 * 0.01);
    EXPECT_EQ(BoxText(w, "txtzoom"), QString::number(std::lround(zoom / w->DiagramBaseScale)));
}

}  // namespace
