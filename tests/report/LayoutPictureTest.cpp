// The layout pictures: the grid of the printed pages reduced onto the
// landscape page, the tiles that will print filled, the placement shown in
// the boxes, and what each picture draws. Portal frame at zoom 200 as in
// DiagramPlacementTest: 3 x 2 portrait tiles of 9906 x 12838 twips. The
// landscape page's printable area is 14838 x 7906, so the grid is reduced by
// min(14838 / (3 x 9906), 7906 / (2 x 12838)) = 0.307914 to cells of
// 3050.2 x 3953.0 twips.
#include "DiagramTestSupport.h"

#include "platform/preview/PageRenderer.h"
#include "report/diagrams/PageDrawing.h"

#include <QImage>
#include <gtest/gtest.h>

using diagramtest::DiagramBuild;
using diagramtest::Model;
using report::BuildOutcome;
using report::kFramePlacement;

namespace {

std::vector<preview::DrawOp> Ops(const DiagramBuild& b, preview::OpKind kind, uint32_t penColour)
{
    std::vector<preview::DrawOp> out;
    for (const preview::DrawOp& op : b.Page(1).ops)
        if (op.kind == kind && op.pen.colour == penColour) out.push_back(op);
    return out;
}

std::vector<preview::DrawOp> Cells(const DiagramBuild& b)
{
    std::vector<preview::DrawOp> out;
    for (const preview::DrawOp& op : b.Page(1).ops)
        if (op.kind == preview::OpKind::Rectangle) out.push_back(op);
    return out;
}

TEST(LayoutPicture, GridOfThePrintedPagesAndThePlacementShown)
{
    DiagramBuild b;
    b.StorePlacement({kFramePlacement, -1, -1, 200});
    ASSERT_EQ(b.Run(report::kModeLayout).outcome, BuildOutcome::Succeeded);
    ASSERT_EQ(b.Pages(), 1);
    EXPECT_EQ(b.Page(1).settings.orientation, preview::Landscape);
    EXPECT_EQ(b.ctx().BoxText(QStringLiteral("txtzoom")), QStringLiteral("200"));
    EXPECT_EQ(b.ctx().BoxText(QStringLiteral("txtX")), QStringLiteral("48"));
    EXPECT_EQ(b.ctx().BoxText(QStringLiteral("txtY")), QStringLiteral("84"));

    const auto cells = Cells(b);
    ASSERT_EQ(cells.size(), 6u);
    EXPECT_NEAR(cells[0].x1, 1000, 0.5);
    EXPECT_NEAR(cells[0].y1, 2000, 0.5);
    EXPECT_NEAR(cells[0].x2 - cells[0].x1, 3050.2, 1);
    EXPECT_NEAR(cells[0].y2 - cells[0].y1, 3953.0, 1);
    EXPECT_NEAR(cells[5].x2, 1000 + 3 * 3050.2, 2);
    std::vector<int> touched;
    for (size_t n = 0; n < cells.size(); ++n)
        if (cells[n].brush == report::kTouchedTile) touched.push_back(int(n) + 1);
        else EXPECT_EQ(cells[n].brush, report::kUntouchedTile);
    EXPECT_EQ(touched, (std::vector<int>{1, 2, 3, 4, 6}));

    // The print has exactly the pages the picture fills.
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    EXPECT_EQ(b.Pages(), int(touched.size()));

    // The frame in black at the reduced scale: the beam 24242.4 x 0.307914
    // twips long from (1000 + 2737.8 x 0.307914, 2000 + 4757.2 x 0.307914).
    ASSERT_EQ(b.Run(report::kModeLayout).outcome, BuildOutcome::Succeeded);
    const auto black = Ops(b, preview::OpKind::Line, report::kBlack);
    ASSERT_EQ(black.size(), 3u);
    EXPECT_NEAR(black[1].x1, 1000 + 2737.8 * 0.307914, 1);
    EXPECT_NEAR(black[1].y1, 2000 + 4757.2 * 0.307914, 1);
    EXPECT_NEAR(black[1].x2 - black[1].x1, 24242.4 * 0.307914, 1);
    // Every label an empty red box filled like the touched tiles.
    const auto boxes = Ops(b, preview::OpKind::TextBox, report::kRed);
    EXPECT_EQ(boxes.size(), 10u);
    for (const auto& box : boxes) {
        EXPECT_TRUE(box.text.trimmed().isEmpty());
        EXPECT_EQ(box.brush, report::kTouchedTile);
    }
}

// The picture's empty boxes are those of the node, member and shape
// numbers switched on (portal frame: 4 nodes, 3 members), none at the
// letters of the axis symbol: switching the symbol on adds its three blue
// lines and leaves the boxes as they were.
TEST(LayoutPicture, BoxesOnlyWhereNumbersWillPrint)
{
    struct Case {
        const char *nodes, *members, *sections;
        size_t boxes;
    };
    for (const Case& c : {Case{"1", "1", "1", 10}, Case{"0", "0", "0", 0}, Case{"1", "0", "0", 4}, Case{"0", "1", "1", 6}}) {
        std::vector<std::vector<preview::DrawOp>> boxes;
        for (const char* axis : {"0", "1"}) {
            DiagramBuild b;
            b.StorePlacement({kFramePlacement, -1, -1, 200});
            b.Box("chkDrawJnt", c.nodes);
            b.Box("chkDrawEle", c.members);
            b.Box("chkDrawMat", c.sections);
            b.Box("chkDrawCoord", axis);
            ASSERT_EQ(b.Run(report::kModeLayout).outcome, BuildOutcome::Succeeded);
            EXPECT_EQ(Ops(b, preview::OpKind::Line, report::kBlue).size(), std::string(axis) == "1" ? 3u : 0u);
            boxes.push_back(Ops(b, preview::OpKind::TextBox, report::kRed));
        }
        const std::string what = std::string(c.nodes) + c.members + c.sections;
        ASSERT_EQ(boxes[0].size(), c.boxes) << what;
        ASSERT_EQ(boxes[1].size(), c.boxes) << what;
        for (size_t k = 0; k < c.boxes; ++k) {
            EXPECT_EQ(boxes[1][k].x1, boxes[0][k].x1) << what << " " << k;
            EXPECT_EQ(boxes[1][k].y1, boxes[0][k].y1) << what << " " << k;
        }
    }
}

// A picture of a diagram without a row stores the row the print would: fitted
// to one portrait page and centred.
TEST(LayoutPicture, FirstPictureFitsThePrintedPage)
{
    DiagramBuild b;
    ASSERT_EQ(b.Run(report::kModeLayout).outcome, BuildOutcome::Succeeded);
    const auto row = b.Placement(kFramePlacement);
    ASSERT_TRUE(row);
    EXPECT_NEAR(row->xx, 20.0f, 1e-3f);
    EXPECT_NEAR(row->yy, 68.307f, 1e-3f);
    EXPECT_NEAR(row->zoom, 63.0135f, 1e-3f);
    EXPECT_EQ(Cells(b).size(), 1u);
    EXPECT_EQ(b.ctx().BoxText(QStringLiteral("txtzoom")), QStringLiteral("63"));
    EXPECT_EQ(b.ctx().BoxText(QStringLiteral("txtX")), QStringLiteral("20"));
    EXPECT_EQ(b.ctx().BoxText(QStringLiteral("txtY")), QStringLiteral("68"));
}

// The results: the displaced members or sixteen curve segments per member in
// blue, none of them with "ラーメン図のみ"; the axis symbol in blue too.
TEST(LayoutPicture, ResultsInBlue)
{
    Model m = diagramtest::PortalFrame();
    m.displacements[{1, 2}] = {1, 0, 0};
    m.moments[{1, 2}] = {-3000, 0, 3000, 0, -1500, 0};
    struct Case {
        const char* heni;
        const char* frameOnly;
        const char* axis;
        size_t blue;
    };
    for (const Case& c : {Case{"1", "0", "0", 3}, Case{"0", "0", "0", 48}, Case{"0", "1", "0", 0}, Case{"1", "1", "1", 3}}) {
        DiagramBuild b(m);
        b.ctx().screenCode = 10402;
        b.Box("opnHeni", c.heni);
        b.Box("chkDrawEleOnly", c.frameOnly);
        b.Box("chkDrawCoord", c.axis);
        ASSERT_EQ(b.Run(report::kModeLayout).outcome, BuildOutcome::Succeeded);
        EXPECT_EQ(Ops(b, preview::OpKind::Line, report::kBlue).size(), c.blue) << c.heni << c.frameOnly << c.axis;
        EXPECT_EQ(Ops(b, preview::OpKind::Line, report::kBlack).size(), 3u);
        EXPECT_TRUE(b.Placement({std::string(c.heni) == "1", 1}));
    }
}

// Rendered: the touched tiles cyan, the others in the button face, the grid
// lines magenta.
TEST(LayoutPicture, TileColoursOnThePage)
{
    DiagramBuild b;
    b.StorePlacement({kFramePlacement, -1, -1, 200});
    ASSERT_EQ(b.Run(report::kModeLayout).outcome, BuildOutcome::Succeeded);
    const double scale = 0.1;
    const QImage page = preview::RenderPageImage(b.doc().CurrentDocument(), 0, scale);
    auto at = [&](double x, double y) { return page.pixelColor(int(x * scale), int(y * scale)); };
    const double cw = 3050.2, ch = 3953.0;
    auto centre = [&](int column, int row) { return at(1000 + (column - 0.5) * cw, 2000 + (row - 0.5) * ch); };
    EXPECT_EQ(centre(1, 1), QColor(0, 255, 255));
    EXPECT_EQ(centre(3, 2), QColor(0, 255, 255));
    EXPECT_EQ(centre(2, 2), QColor(0xF0, 0xF0, 0xF0));
    // The vertical grid line between columns 1 and 2, in the lower row.
    bool magenta = false;
    for (int dx = -1; dx <= 1; ++dx) {
        const QColor c = page.pixelColor(int((1000 + cw) * scale) + dx, int((2000 + 1.7 * ch) * scale));
        magenta = magenta || (c.red() > 200 && c.green() < 100 && c.blue() > 200);
    }
    EXPECT_TRUE(magenta);
}

}  // namespace
