// Placement of a diagram on its poster and the tile grid, worked by hand on
// the portal frame seen from the front (A4 portrait: 11906 x 16838 twips,
// printable 9906 x 12838; base scale 2000). The frame's box is 6/99 wide and
// 4/99 high.
//
// First build, no row: fitted with 20 mm margins: (11906 - 2 (1134 + 1000))
// / (6/99) = 126027 twips per unit (relative 63.0135) against (16838 - 2
// (1134 + 2000)) / (4/99) = 261607 for the height. The frame is then 7638 x
// 5092 twips on one page, centred: (9906 - 7638) / 2 = 1134 twips = 20.0 mm
// across and (12838 - 5092) / 2 = 3873 twips = 68.307 mm down. The beam
// (member 2) runs at 2000 + 3873 = 5873 twips from 1000 + 1134 = 2134 to
// 2134 + 7638 = 9772.
//
// Zoom 200 (400000 twips per unit): tiles of 9906 / 400000 by 12838 /
// 400000 units; the box is 2.447 tiles wide and 1.259 high: 3 x 2 tiles,
// centred at (3 x 9906 - 24242.4) / 2 = 2737.8 twips = 48.285 mm and (2 x
// 12838 - 16161.6) / 2 = 4757.2 twips = 83.901 mm.
#include "DiagramTestSupport.h"

#include "report/diagrams/DiagramPlacement.h"

#include <gtest/gtest.h>

using diagramtest::DiagramBuild;
using diagramtest::Model;
using report::BuildOutcome;
using report::PlacementRow;
using report::kFramePlacement;

namespace {

const QStringList kLineFields{"Page", "bln種類", "X1", "Y1", "X2", "Y2"};

void ExpectRow(const std::optional<PlacementRow>& row, float xx, float yy, float zoom)
{
    ASSERT_TRUE(row);
    EXPECT_NEAR(row->xx, xx, 1e-3f);
    EXPECT_NEAR(row->yy, yy, 1e-3f);
    EXPECT_NEAR(row->zoom, zoom, std::abs(zoom) * 1e-5f);
}

TEST(DiagramPlacement, FirstBuildFitsOnePageAndCentres)
{
    DiagramBuild b;
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    EXPECT_FALSE(b.Placement({true, -1}));
    ExpectRow(b.Placement(kFramePlacement), 20.0f, 68.307f, 63.0135f);
    ASSERT_EQ(b.Pages(), 1);
    EXPECT_EQ(b.Lines(1), QStringList{QStringLiteral("ラーメン図")});
    const auto heavy = b.LineOps(1, true);
    ASSERT_EQ(heavy.size(), 3u);
    EXPECT_NEAR(heavy[1].x1, 2134, 1);
    EXPECT_NEAR(heavy[1].y1, 5873, 1);
    EXPECT_NEAR(heavy[1].x2, 9772, 1);
    EXPECT_NEAR(heavy[1].y2, 5873, 1);
    // A second build keeps the row as it was placed.
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    ExpectRow(b.Placement(kFramePlacement), 20.0f, 68.307f, 63.0135f);
}

TEST(DiagramPlacement, ZoomTwoHundredSpreadsOverFivePages)
{
    DiagramBuild b;
    b.StorePlacement({kFramePlacement, -1, -1, 200});
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    ExpectRow(b.Placement(kFramePlacement), 48.285f, 83.901f, 200);
    // Member 1 on tiles 1 and 4, member 2 on 1 to 3, member 3 on 3 and 6.
    std::vector<int> tiles;
    for (const auto& row : b.Rows(QStringLiteral("PreviewRamenBuzaiData"), kLineFields)) {
        EXPECT_TRUE(row[1].toBool());
        tiles.push_back(row[0].toInteger());
    }
    EXPECT_EQ(tiles, (std::vector<int>{1, 4, 1, 2, 3, 3, 6}));
    // Tile 5 holds no line: five pages, the title on the first only.
    ASSERT_EQ(b.Pages(), 5);
    EXPECT_EQ(b.Lines(1), QStringList{QStringLiteral("ラーメン図")});
    for (int page = 2; page <= 5; ++page) EXPECT_FALSE(b.Lines(page).join(QString()).contains(QStringLiteral("ラーメン図")));
    // Page 2 is tile 2: the beam passes straight through it, on the same height.
    const auto beam = b.LineOps(2, true);
    ASSERT_EQ(beam.size(), 1u);
    EXPECT_NEAR(beam[0].y1, 2000 + 4757.2, 1);
    EXPECT_NEAR(beam[0].x1, 1000 + 2737.8 - 9906, 1);
    EXPECT_NEAR(beam[0].x2, 1000 + 2737.8 + 24242.4 - 9906, 1);
}

TEST(DiagramPlacement, TileCounts)
{
    struct Case {
        float w, h;
        int across, down, count, larger;
    };
    for (const Case& c : {Case{2, 0.5f, 3, 1, 3, 3}, Case{2.5f, 0.4f, 3, 1, 3, 3}, Case{0.5f, 0.99f, 1, 1, 1, 1},
                          Case{1, 3.2f, 2, 4, 8, 4}}) {
        const report::TileGrid g = report::CountTilePages(c.w, c.h, 1, 1);
        EXPECT_EQ(g.across, c.across) << c.w;
        EXPECT_EQ(g.down, c.down) << c.h;
        EXPECT_EQ(g.count, c.count);
        EXPECT_EQ(g.larger, c.larger);
    }
    // Beyond 16 bits: the tiles of one direction or their product.
    EXPECT_THROW(report::CountTilePages(40000, 1, 1, 1), report::ReportFailure);
    EXPECT_THROW(report::CountTilePages(200, 200, 1, 1), report::ReportFailure);
    EXPECT_NO_THROW(report::CountTilePages(180, 180, 1, 1));
}

// Stored zooms and offsets as the placement reads them (absolute zoom in
// twips per unit, offsets in twips).
TEST(DiagramPlacement, StoredValuesAsRead)
{
    struct Case {
        PlacementRow stored;
        int32_t base;
        float offsetX, offsetY, zoom;
    };
    const float w = 6.0f / 99, h = 4.0f / 99;
    const Case cases[] = {
        {{kFramePlacement, 10, 10, 0.5f}, 2000, 567, 567, 1000},
        {{kFramePlacement, 10, 10, 0}, 2000, 567, 567, 8772 / w},          // fitted with 10 mm margins
        {{kFramePlacement, 10, 10, -1}, 2000, 567, 567, 8772 / w},
        {{kFramePlacement, 10, 10, 0.000005f}, 2000, 567, 567, 2000},     // too small: relative 1
        {{kFramePlacement, 10, 10, 0.5f}, 0, 567, 567, 0.5f},             // no base scale counts 1
        {{kFramePlacement, -1, -1, -1}, 2000, -56.7f, -56.7f, 7638 / w},  // to centre: the 20 mm margin
    };
    for (const Case& c : cases) {
        DiagramBuild b;
        b.ctx().zoomBaseUnit = c.base;
        b.StorePlacement(c.stored);
        b.Prepare();
        const report::DiagramPlacement p =
            report::LoadDiagramPlacement(b.ctx(), kFramePlacement, w, h, report::PrintedDiagramPaper());
        EXPECT_NEAR(p.offsetX, c.offsetX, 0.01f) << c.stored.zoom;
        EXPECT_NEAR(p.offsetY, c.offsetY, 0.01f);
        EXPECT_NEAR(p.zoom, c.zoom, c.zoom * 1e-5f) << c.stored.zoom;
        // The row keeps what it held.
        ExpectRow(b.Placement(kFramePlacement), c.stored.xx, c.stored.yy, c.stored.zoom);
    }
}

// A row to be centred and fitted is laid out exactly as a diagram without a
// row: one page, centred.
TEST(DiagramPlacement, CentredAndFittedRowActsAsAbsent)
{
    DiagramBuild b;
    b.StorePlacement({kFramePlacement, -1, -1, -1});
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    ExpectRow(b.Placement(kFramePlacement), 20.0f, 68.307f, -1);
    EXPECT_EQ(b.Pages(), 1);
    EXPECT_NEAR(b.LineOps(1, true)[1].x1, 2134, 1);
}

// An offset given stays; the other is centred: at zoom 100 the frame is
// 8080.8 twips high, (12838 - 8080.8) / 2 = 2378.6 twips = 41.951 mm.
TEST(DiagramPlacement, OneOffsetGivenTheOtherCentred)
{
    DiagramBuild b;
    b.StorePlacement({kFramePlacement, 15, -1, 100});
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    ExpectRow(b.Placement(kFramePlacement), 15, 41.951f, 100);
    EXPECT_NEAR(b.LineOps(1, true)[1].x1, 1000 + 850.5, 1);
}

// A single column has no plan extent (base scale 0) and no width on the
// page: it is fitted by its height and centred across: 10570 twips high at
// (16838 - 6268) / (4/99) = 261607.5 twips per unit, 9906 / 2 = 4953 twips
// = 87.354 mm across, so on the middle of the page.
TEST(DiagramPlacement, SingleColumnWithoutBaseScale)
{
    Model m;
    m.nodes = {{1, 0, 0, 0}, {2, 0, 0, 4}};
    m.members = {{1, 1, 2}};
    DiagramBuild b(m);
    b.ctx().zoomBaseUnit = 0;
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    ExpectRow(b.Placement(kFramePlacement), 87.354f, 20.0f, 261607.5f);
    ASSERT_EQ(b.Pages(), 1);
    const auto column = b.LineOps(1, true);
    ASSERT_EQ(column.size(), 1u);
    EXPECT_NEAR(column[0].x1, 11906.0 / 2, 1);
    EXPECT_NEAR(column[0].y1, 2000 + 1134 + 10570, 1);
    EXPECT_NEAR(column[0].y2, 2000 + 1134, 1);
}

// A zoom whose grid would pass 32767 tiles ends the build, and the diagram's
// writes go with it: the work tables keep the rows of the last build.
TEST(DiagramPlacement, TooManyTilesEndTheBuildAndWriteNothing)
{
    DiagramBuild b;
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    const auto before = b.Rows(QStringLiteral("PreviewRamenBuzaiData"), kLineFields);
    b.StorePlacement({kFramePlacement, -1, -1, 1e6f});
    EXPECT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Failed);
    EXPECT_EQ(b.Rows(QStringLiteral("PreviewRamenBuzaiData"), kLineFields), before);
    ExpectRow(b.Placement(kFramePlacement), -1, -1, 1e6f);
}

}  // namespace
