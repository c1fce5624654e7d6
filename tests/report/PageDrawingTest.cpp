// The printed diagram pages rendered: lines stop at the masked margins,
// heavy lines end in black dots, labels are drawn in white boxes over the
// lines; and the label operations of a tile.
#include "DiagramTestSupport.h"

#include "platform/preview/PageRenderer.h"
#include "report/diagrams/PageDrawing.h"

#include <QImage>
#include <gtest/gtest.h>

using diagramtest::DiagramBuild;
using report::BuildOutcome;
using report::kFramePlacement;

namespace {

constexpr double kScale = 0.2;   // pixels per twip

bool Dark(const QImage& page, double x, double y)
{
    const QColor c = page.pixelColor(int(x * kScale), int(y * kScale));
    return c.lightness() < 100;
}

// At zoom 200 the frame runs over the edges of its tiles (DiagramPlacementTest):
// page 2 (tile 2) is crossed by the beam at 6757 twips from far left of the
// page to far right; page 4 (tile 4) by the left column from 10081 up past
// the top of the page, at 3738 across.
TEST(DiagramPageDrawing, NothingIsDrawnInTheMargins)
{
    DiagramBuild b;
    b.StorePlacement({kFramePlacement, -1, -1, 200});
    b.Box("chkDrawJnt", "0");
    b.Box("chkDrawEle", "0");
    b.Box("chkDrawMat", "0");
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    ASSERT_EQ(b.Pages(), 5);
    const QImage tile2 = preview::RenderPageImage(b.doc().CurrentDocument(), 1, kScale);
    const double beam = 2000 + 4757.2;
    EXPECT_TRUE(Dark(tile2, 1100, beam));
    EXPECT_TRUE(Dark(tile2, 10800, beam));
    EXPECT_FALSE(Dark(tile2, 500, beam));
    EXPECT_FALSE(Dark(tile2, 11400, beam));
    const QImage tile4 = preview::RenderPageImage(b.doc().CurrentDocument(), 3, kScale);
    const double column = 1000 + 2737.8;
    EXPECT_TRUE(Dark(tile4, column, 2100));
    EXPECT_TRUE(Dark(tile4, column, 9000));
    EXPECT_FALSE(Dark(tile4, column, 1900));
    EXPECT_FALSE(Dark(tile4, column, 11000));
}

// At the fitted zoom node 3 joins the beam from the left and the right column
// downwards at (9772, 5873): a dot of radius 25 in a pen of 30 covers 40
// twips round the node, the lines' round ends only 15.
TEST(DiagramPageDrawing, HeavyLinesEndInDots)
{
    DiagramBuild b;
    b.Box("chkDrawJnt", "0");
    b.Box("chkDrawEle", "0");
    b.Box("chkDrawMat", "0");
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    const QImage page = preview::RenderPageImage(b.doc().CurrentDocument(), 0, kScale);
    EXPECT_TRUE(Dark(page, 9772 + 21, 5873 - 21));
    EXPECT_FALSE(Dark(page, 9772 + 40, 5873 - 40));
    // Along the beam, away from the node, only the pen's half width.
    EXPECT_TRUE(Dark(page, 6000, 5873 + 10));
    EXPECT_FALSE(Dark(page, 6000, 5873 + 30));
}

TEST(DiagramPageDrawing, LabelsOfATile)
{
    preview::DocumentBuilder doc;
    doc.StartDocument();
    doc.SetBrushColor(report::kWhite);
    const report::LabelRow rows[] = {
        {1, 10, 20, 5, 2, QStringLiteral("12"), QStringLiteral("7"), QString()},
        {1, 30, 20, 5, 2, QStringLiteral(" "), QString(), QString()},   // blank: nothing
    };
    report::DrawDiagramLabels(doc, rows, 100);
    const auto& ops = doc.CurrentDocument().pages[0].ops;
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].text, QStringLiteral("12"));
    EXPECT_EQ(ops[1].text, QStringLiteral("7"));
    for (const auto& op : ops) {
        EXPECT_EQ(op.kind, preview::OpKind::TextBox);
        EXPECT_EQ(op.x1, 1000);
        EXPECT_EQ(op.y1, 2000);
        EXPECT_EQ(op.x2, 1500);
        EXPECT_EQ(op.y2, 2200);
        EXPECT_EQ(op.pen.colour, report::kWhite);
        EXPECT_EQ(op.brush, report::kWhite);
    }
    // A tile without rows draws nothing.
    report::DrawDiagramLabels(doc, {}, 100);
    EXPECT_EQ(doc.CurrentDocument().pages[0].ops.size(), 2u);
}

}  // namespace
