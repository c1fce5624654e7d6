// The printed diagrams: the rows of the work tables (segments per tile,
// labels in the tile of their anchor), the grid's edges, the label boxes,
// the captions of chapters 4 and 5, and what each call leaves in its own
// pair of tables. Portal frame and view as in DiagramPlacementTest.
#include "DiagramTestSupport.h"

#include "platform/preview/PreviewFonts.h"
#include "report/diagrams/DiagramPoster.h"

#include <gtest/gtest.h>

using diagramtest::DiagramBuild;
using diagramtest::Model;
using report::BuildOutcome;
using report::LabelKind;
using report::kFramePlacement;

namespace {

const QStringList kLineFields{"Page", "bln種類", "X1", "Y1", "X2", "Y2"};
const QStringList kLabelFields{"Page", "X0", "Y0", "txtWidth", "txtHeight", "節点番号", "要素番号", "材料番号"};

QString Text(const rt::Variant& v) { return v.toStringOrEmpty(); }

// A poster of 3 x 2 tiles of one unit each.
report::DiagramPoster UnitGrid()
{
    report::DiagramPoster p;
    p.grid = report::CountTilePages(2.5f, 1.5f, 1, 1);
    return p;
}

TEST(DiagramTiles, PointsOnTheGridAndSegmentsClippedToIt)
{
    const report::DiagramPoster p = UnitGrid();
    ASSERT_EQ(p.grid.across, 3);
    ASSERT_EQ(p.grid.down, 2);
    // A point on a boundary belongs to the next tile; up to one tile left of
    // the poster still counts as column 1.
    EXPECT_EQ(p.TileOf(1.0f, 0.5f).column, 2);
    EXPECT_EQ(p.TileOf(-0.5f, 0.2f).column, 1);
    EXPECT_FALSE(p.InGrid(p.TileOf(-1.5f, 0.2f)));
    EXPECT_FALSE(p.InGrid(p.TileOf(0.5f, 2.0f)));
    EXPECT_EQ(p.TileNumber(p.TileOf(1.5f, 1.5f)), 5);

    struct Case {
        report::PosterSegment segment;
        std::vector<int> tiles;
    };
    const Case cases[] = {
        {{true, false, 0.2f, 0.2f, 0.8f, 0.3f}, {1}},
        {{true, false, 0.5f, 0.5f, 1.5f, 0.5f}, {1, 2}},
        {{true, false, 1.5f, 1.5f, 0.5f, 0.5f}, {1, 2, 4, 5}},   // the whole bounding box, ends in any order
        {{true, false, 0.5f, 0.5f, 4.5f, 0.5f}, {1, 2, 3}},      // nothing past the last column
        {{true, false, -2.5f, 0.5f, 0.5f, 0.5f}, {1}},
        {{true, false, 0.5f, 2.5f, 0.5f, 3.5f}, {}},             // below the last row
    };
    for (const Case& c : cases) {
        std::vector<int> tiles;
        p.ForEachTileUnder(c.segment, [&](const report::TilePosition& t) { tiles.push_back(p.TileNumber(t)); });
        EXPECT_EQ(tiles, c.tiles) << c.segment.x1 << "," << c.segment.y1 << " " << c.segment.x2 << "," << c.segment.y2;
    }
}

// Boxes of 10 x 4 in an area of 100 x 100.
TEST(DiagramTiles, LabelBoxesStayInTheirArea)
{
    const report::AreaEdges area{0, 0, 100, 100};
    const std::array<float, 3> both{-0.5f, 0.5f, 1.5f}, sectionOnly{-0.5f, -0.5f, 0.5f};
    struct Case {
        LabelKind kind;
        std::array<float, 3> offsets;
        float x, y, w, clearance, left, top;
    };
    const Case cases[] = {
        {LabelKind::Node, both, 50, 50, 10, 2, 55, 48},      // right of the node, centred on it
        {LabelKind::Member, both, 50, 50, 10, 2, 45, 48},    // centred on the midpoint
        {LabelKind::Section, both, 50, 50, 10, 2, 45, 52},   // under the member number
        {LabelKind::Section, sectionOnly, 50, 50, 10, 2, 45, 48},
        {LabelKind::Node, both, 95, 50, 10, 2, 90, 48},      // ends on the right edge
        {LabelKind::Node, both, -20, 50, 10, 2, 0, 48},
        {LabelKind::Member, both, 50, -10, 10, 2, 45, 0},
        {LabelKind::Member, both, 50, 99, 10, 2, 45, 92},    // two heights above the bottom edge
        {LabelKind::Member, both, 50, 99, 10, 1, 45, 96},    // one height
        {LabelKind::Node, both, 50, 50, 150, 2, -50, 48},    // wider than the area: flush right
    };
    for (const Case& c : cases) {
        const report::LabelBox b = report::PlaceLabel(c.kind, c.offsets, c.x, c.y, c.w, 4, area, c.clearance);
        EXPECT_FLOAT_EQ(b.left, c.left) << int(c.kind) << " " << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(b.top, c.top) << int(c.kind) << " " << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(b.width, c.w);
    }
}

// Node numbers right of the nodes, member and section numbers at the
// midpoints, each in its own field; boxes measured on blanks.
TEST(FrameDiagramPages, LabelRows)
{
    DiagramBuild b;
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    const auto rows = b.Rows(QStringLiteral("PreviewRamenValData"), kLabelFields);
    QStringList texts;
    for (const auto& r : rows) {
        EXPECT_EQ(r[0].toInteger(), 1);
        int filled = 0;
        for (int f = 5; f <= 7; ++f)
            if (!Text(r[size_t(f)]).isEmpty()) {
                ++filled;
                texts << QString::number(f) + u':' + Text(r[size_t(f)]);
            }
        EXPECT_EQ(filled, 1);
    }
    EXPECT_EQ(texts, QStringList({"5:1", "5:2", "5:3", "5:4", "6:1", "7:[1]", "6:2", "7:[1]", "6:3", "7:[1]"}));

    // Node 1 (at the foot of the left column) lies at 1000 + 1134 = 2134
    // across and 2000 + 3873 + 5092 = 10965 down; its box of one blank
    // starts half a box to its right and is centred on it.
    const float s = 126027;
    const double blank = preview::TextWidth(b.doc().Font(), QStringLiteral(" "));
    const double height = preview::LineHeight(b.doc().Font());
    EXPECT_NEAR(rows[0][3].toSingle() * s, blank, 0.5);
    EXPECT_NEAR(rows[0][4].toSingle() * s, height, 0.5);
    EXPECT_NEAR(rows[0][1].toSingle() * s, 2134 + 0.5 * blank, 1);
    EXPECT_NEAR(rows[0][2].toSingle() * s, 10965 - 0.5 * height, 1);
    // "[1]" is three blanks wide, under the member number of the beam.
    EXPECT_NEAR(rows[7][3].toSingle() * s, 3 * blank, 0.5);
    EXPECT_NEAR(rows[7][2].toSingle() - rows[6][2].toSingle(), rows[6][4].toSingle(), 1e-6);
}

// A tile is a page when a line reaches it; points beyond the grid are left
// out. The axis symbol, 612 mm to the right at zoom 200, lies past the last
// column of the 3 x 2 grid: neither its lines nor its letters are kept.
TEST(FrameDiagramPages, AxisSymbolOffTheGridIsLeftOut)
{
    DiagramBuild b;
    b.StorePlacement({kFramePlacement, -1, -1, 200});
    b.Box("chkDrawCoord", "1");
    b.Box("txtCoordX", "612");
    b.Box("txtCoordY", "5");
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    int light = 0;
    for (const auto& r : b.Rows(QStringLiteral("PreviewRamenBuzaiData"), kLineFields)) light += r[1].toBool() ? 0 : 1;
    EXPECT_EQ(light, 0);
    for (const auto& r : b.Rows(QStringLiteral("PreviewRamenValData"), kLabelFields)) {
        EXPECT_NE(Text(r[5]), QStringLiteral("X"));
        EXPECT_NE(Text(r[5]), QStringLiteral("Z"));
    }
    EXPECT_EQ(b.Pages(), 5);

    // At its own place the symbol prints: three light rows, upper-case letters.
    b.Box("txtCoordX", "20");
    b.Box("txtCoordY", "20");
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    light = 0;
    for (const auto& r : b.Rows(QStringLiteral("PreviewRamenBuzaiData"), kLineFields)) light += r[1].toBool() ? 0 : 1;
    EXPECT_EQ(light, 3);
    QStringList letters;
    for (const auto& r : b.Rows(QStringLiteral("PreviewRamenValData"), kLabelFields))
        if (!Text(r[5]).isEmpty() && Text(r[5]).at(0).isLetter()) letters << Text(r[5]);
    EXPECT_EQ(letters, QStringList({"X", "Y", "Z"}));
    EXPECT_EQ(b.LineOps(1, false).size(), 3u);

    // "ラーメン図のみ": the axis lines stay in the table but are not drawn.
    b.Box("chkDrawEleOnly", "1");
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    EXPECT_EQ(b.LineOps(1, false).size(), 0u);
    EXPECT_EQ(b.Rows(QStringLiteral("PreviewRamenBuzaiData"), kLineFields).size(), 10u);
}

// Chapters 4 and 5 of a report of three cases: each case on its own pages
// under its caption; the tables hold the last case; the frame's tables are
// not touched.
TEST(ResultDiagramPages, CaptionsAndTheirTables)
{
    Model m = diagramtest::PortalFrame();
    m.cases = 3;
    for (int c = 1; c <= 3; ++c) {
        m.displacements[{c, 2}] = {float(c), 0, 0};
        m.displacements[{c, 3}] = {float(c), 0, 0};
        m.moments[{c, 2}] = {-3000, 0, 3000, 0, -1500, 0};
    }
    DiagramBuild b(m);
    b.ctx().screenCode = 10402;
    ASSERT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Succeeded);
    const auto frameRows = b.Rows(QStringLiteral("PreviewRamenBuzaiData"), kLineFields);
    b.ctx().info.ShowDisplacement = 1;
    b.ctx().info.ShowStress = 1;
    b.ctx().info.DisplacementScale = 50;
    b.ctx().info.StressScale = 1;
    ASSERT_EQ(b.Run(report::kModeResults).outcome, BuildOutcome::Succeeded);
    QStringList captions;
    for (int page = 1; page <= b.Pages(); ++page) {
        const QStringList lines = b.Lines(page);
        if (lines.value(0) == QStringLiteral("4.変位図") || lines.value(0) == QStringLiteral("5.応力図"))
            captions << lines[0] + u'|' + lines.value(2);
    }
    EXPECT_EQ(captions, QStringList({"4.変位図|荷重ケース番号  1", "4.変位図|荷重ケース番号  2", "4.変位図|荷重ケース番号  3",
                                     "5.応力図|荷重ケース番号  1", "5.応力図|荷重ケース番号  2", "5.応力図|荷重ケース番号  3"}));
    // The displaced members of case 3 (3 cm at scale 50: 1.5 m sway) over the frame.
    const auto heni = b.Rows(QStringLiteral("PreviewHeniDrawData"), kLineFields);
    ASSERT_EQ(heni.size(), 6u);
    EXPECT_NEAR(heni[4][2].toSingle() - heni[1][2].toSingle(), 1.5f / 99, 1e-6f);
    // Sixteen light segments per member in the stress diagram, lower-case
    // axis letters nowhere since the symbol is off.
    int light = 0;
    for (const auto& r : b.Rows(QStringLiteral("PreviewOhzuDrawData"), kLineFields)) light += r[1].toBool() ? 0 : 1;
    EXPECT_EQ(light, 48);
    EXPECT_EQ(b.Rows(QStringLiteral("PreviewRamenBuzaiData"), kLineFields), frameRows);

    // The combination: one diagram of each kind under its own caption.
    b.ctx().info.CombineCases = -1;
    b.ctx().info.CaseSelected = {-1, -1, -1};
    ASSERT_EQ(b.Run(report::kModeResults).outcome, BuildOutcome::Succeeded);
    captions.clear();
    for (int page = 1; page <= b.Pages(); ++page) {
        const QStringList lines = b.Lines(page);
        if (lines.value(2) == QStringLiteral("荷重応力の組み合わせ")) captions << lines[0];
    }
    EXPECT_EQ(captions, QStringList({"4.変位図", "5.応力図"}));
    EXPECT_TRUE(b.Placement({true, 0}));
    EXPECT_TRUE(b.Placement({false, 0}));
}

// Each stress diagram starts from the frame's box: case 2, without moments,
// is fitted like the frame whatever the curves of case 1 reach.
TEST(ResultDiagramPages, EachStressDiagramStartsFromTheFramesBox)
{
    Model m = diagramtest::PortalFrame();
    m.cases = 2;
    m.moments[{1, 2}] = {-300000, 0, 300000, 0, -150000, 0};
    DiagramBuild b(m);
    b.ctx().screenCode = 10402;
    b.ctx().info.ShowStress = 1;
    b.ctx().info.StressScale = 1;
    ASSERT_EQ(b.Run(report::kModeResults).outcome, BuildOutcome::Succeeded);
    const auto case1 = b.Placement({false, 1});
    const auto case2 = b.Placement({false, 2});
    ASSERT_TRUE(case1 && case2);
    EXPECT_LT(case1->zoom, 40);   // curves 30 m off the beam
    EXPECT_NEAR(case2->zoom, 63.0135f, 1e-3f);
    EXPECT_NEAR(case2->yy, 68.307f, 1e-3f);
}

// A member kept out at the user's answer is drawn nowhere: no line, no label,
// no curve, no point at the origin in the box.
TEST(ResultDiagramPages, AMemberLeftOutIsInNoLoop)
{
    Model m = diagramtest::PortalFrame();
    m.nodes.push_back({5, 30, 0, 40});
    m.members.push_back({4, 5, 9});
    m.moments[{1, 2}] = {-3000, 0, 3000, 0, -1500, 0};
    DiagramBuild b(m);
    b.ctx().screenCode = 10402;
    b.ctx().info.ShowDisplacement = 1;
    b.ctx().info.ShowStress = 1;
    b.Box("chkDrawJnt", "0");
    b.answers = {ui::Answer::No};
    ASSERT_EQ(b.Run(report::kModeResults).outcome, BuildOutcome::Succeeded);
    for (const char* table : {"PreviewHeniDrawData", "PreviewOhzuDrawData"}) {
        int heavy = 0;
        for (const auto& r : b.Rows(QString::fromUtf8(table), kLineFields)) heavy += r[1].toBool() ? 1 : 0;
        EXPECT_EQ(heavy, 3) << table;
    }
    for (const auto& r : b.Rows(QStringLiteral("PreviewOhzuValData"), kLabelFields)) {
        EXPECT_NE(Text(r[6]), QStringLiteral("0"));
        EXPECT_NE(Text(r[7]), QStringLiteral("[0]"));
    }
    EXPECT_EQ(b.Rows(QStringLiteral("PreviewOhzuValData"), kLabelFields).size(), 6u);
}

TEST(ResultDiagramPages, ANodeWithoutItsDisplacementRowEndsTheReport)
{
    Model m = diagramtest::PortalFrame();
    m.missingDisplacements = {{1, 4}};
    DiagramBuild b(m);
    b.ctx().screenCode = 10402;
    b.ctx().info.ShowDisplacement = 1;
    const report::BuildResult r = b.Run(report::kModeResults);
    EXPECT_EQ(r.outcome, BuildOutcome::Failed);
    EXPECT_TRUE(r.message.text.isEmpty());
}

}  // namespace
