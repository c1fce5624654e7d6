#include "diagram/ViewGeometry.h"

#include "common/TestEnv.h"

#include <gtest/gtest.h>
#include "common/Values.h"
#include "database/Schema.h"
#include "platform/Database.h"

#include <cmath>

using namespace diagram;

namespace {

// Within 1e-5 relative to the expected value; an expected 0 within 1e-6.
void ExpectNear(float got, double expected)
{
    EXPECT_NEAR(got, expected, std::max(1e-5 * std::fabs(expected), 1e-6));
}

ViewPoints Eye(float rf, int thetaF, float phiF) { return {0, 0, 0, rf, thetaF, phiF}; }

ViewMatrix Matrix(const ViewPoints& points)
{
    const Outcome<ViewMatrix> m = BuildViewMatrix(points);
    EXPECT_TRUE(m.ok()) << m.error().toStdString();
    return m.ok() ? *m : ViewMatrix{};
}

struct ProjectionCase {
    const char* what;
    ViewPoints view;
    float x, y, z;
    double planeX, planeY;
};

// Figures worked out by hand from the look-at construction: the default view,
// a side view from +X, and a portal frame seen from -Y.
TEST(ViewProjection, PointsLandWhereTheViewPutsThem)
{
    const std::vector<ProjectionCase> cases = {
        {"default view", Eye(5000, 70, 300), 10, 10, 10, 0.0027326, -0.0021302},
        {"default view, its look-at point", Eye(5000, 70, 300), 0, 0, 0, 0, 0},
        {"side view from +X", Eye(100, 90, 0), 0, 10, 5, 0.1010101, -0.0505051},
        {"portal from -Y, left knee", Eye(100, 90, 270), 0, 0, 4, 0, -0.0404040},
        {"portal from -Y, right knee", Eye(100, 90, 270), 6, 0, 4, 0.0606061, -0.0404040},
        {"portal from -Y, right foot", Eye(100, 90, 270), 6, 0, 0, 0.0606061, 0},
    };
    for (const ProjectionCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome<PlanePoint> p = ProjectPoint(Matrix(c.view), c.x, c.y, c.z);
        ASSERT_TRUE(p.ok()) << p.error().toStdString();
        ExpectNear(p->x, c.planeX);
        ExpectNear(p->y, c.planeY);
    }
}

TEST(ViewProjection, DepthIsTheDistanceAlongTheLineOfSightLessOne)
{
    // Row order x, z, y: the vertical coordinate enters second.
    EXPECT_EQ(ViewRow(1, 2, 3), (HomogeneousRow{1, 3, 2, 1}));
    const ViewMatrix m = Matrix(Eye(5000, 70, 300));
    const std::array<float, 3> origin = TransformRow(m, ViewRow(0, 0, 0));
    ExpectNear(origin[2], 4999);
    EXPECT_NEAR(origin[0], 0, 1e-3);
    EXPECT_NEAR(origin[1], 0, 1e-3);
    for (int j = 0; j < 3; ++j) EXPECT_FLOAT_EQ(m[j][3], m[j][2]);
    EXPECT_FLOAT_EQ(m[3][3] - m[3][2], 1);
}

TEST(ViewProjection, DefaultRecordBoxesGiveTheDefaultView)
{
    const Outcome<ViewPoints> points = ReadViewPoints(ViewToBoxes(ViewParameters{}, kDiagramWindowRecord));
    ASSERT_TRUE(points.ok()) << points.error().toStdString();
    EXPECT_EQ(points->thetaA, 1);   // 0 is taken as 1
    EXPECT_EQ(points->rf, 5000);
    const Outcome<PlanePoint> p = ProjectPoint(Matrix(*points), 10, 10, 10);
    ASSERT_TRUE(p.ok());
    ExpectNear(p->x, 0.0027326);
    ExpectNear(p->y, -0.0021302);
}

TEST(ViewProjection, BoxesAreReadLenientlyExceptThePolarAngles)
{
    ViewBoxes boxes = ViewToBoxes(ViewParameters{}, kPreviewRecord);
    auto set = [&](const QString& control, const QString& text) {
        for (ViewBox& b : boxes)
            if (b.control == control) b.text = text;
    };
    set("txtrf", "100abc");
    set("txtφf", "");
    set("txtφa", "x");
    set("txtθf", "70.5");
    Outcome<ViewPoints> p = ReadViewPoints(boxes);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p->rf, 100);
    EXPECT_EQ(p->phiF, 0);
    EXPECT_EQ(p->phiA, 0);
    EXPECT_EQ(p->thetaF, 70);

    for (const auto& [control, text] : std::vector<std::pair<QString, QString>>{
             {"txtθf", "abc"}, {"txtθa", ""}, {"txtθf", "40000"}, {"txtrf", "1e39"}}) {
        SCOPED_TRACE(text.toStdString());
        ViewBoxes saved = boxes;
        set(control, text);
        EXPECT_FALSE(ReadViewPoints(boxes).ok());
        boxes = saved;
    }
    boxes.erase(boxes.begin());   // txtra
    EXPECT_FALSE(ReadViewPoints(boxes).ok());
}

TEST(ViewProjection, PolarAnglesAreLimitedToOneTo179Degrees)
{
    for (const auto& [given, used] : std::vector<std::pair<int, int>>{{0, 1}, {-5, 1}, {180, 179}, {400, 179}, {90, 90}}) {
        SCOPED_TRACE(given);
        EXPECT_EQ(LimitPolarAngle(given), used);
        EXPECT_EQ(Matrix(Eye(500, given, 30)), Matrix(Eye(500, used, 30)));
        EXPECT_EQ(Matrix({200, given, 10, 500, 70, 30}), Matrix({200, used, 10, 500, 70, 30}));
    }
}

TEST(ViewProjection, ViewsWithoutALineOfSightAreRefused)
{
    const std::vector<std::pair<const char*, ViewPoints>> cases = {
        {"eye on the look-at point", {100, 60, 45, 100, 60, 45}},
        {"both at the origin", {0, 70, 0, 0, 70, 0}},
        {"distances beyond single precision", {3e38f, 90, 0, 3e38f, 90, 180}},
    };
    for (const auto& [what, view] : cases) {
        SCOPED_TRACE(what);
        const Outcome<ViewMatrix> m = BuildViewMatrix(view);
        EXPECT_FALSE(m.ok());
        EXPECT_FALSE(m.error().isEmpty());
    }
}

TEST(ViewProjection, APointOneUnitInFrontOfTheEyeIsRefused)
{
    const ViewMatrix m = Matrix(Eye(100, 90, 0));
    EXPECT_EQ(TransformRow(m, ViewRow(99, 0, 0))[2], 0);
    EXPECT_FALSE(ProjectPoint(m, 99, 0, 0).ok());
    // Behind the eye there is no clipping: the point is mirrored through it.
    const Outcome<PlanePoint> behind = ProjectPoint(m, 101, 5, 0);
    ASSERT_TRUE(behind.ok());
    ExpectNear(behind->x, -2.5);   // u = -5, e - 1 = -2
}

std::vector<NodeCoordinate> Nodes(std::initializer_list<std::array<float, 3>> xyz)
{
    std::vector<NodeCoordinate> nodes;
    int16_t no = 1;
    for (const auto& p : xyz) nodes.push_back({no++, p[0], p[1], p[2]});
    return nodes;
}

struct FitScaleCase {
    const char* what;
    std::vector<NodeCoordinate> nodes;
    int32_t width, height, scale;
};

TEST(FitScale, PlanExtentFitsTheRectangle)
{
    const std::vector<FitScaleCase> cases = {
        {"no nodes", {}, 1000, 1000, 0},
        {"single node", Nodes({{3, 4, 5}}), 1000, 1000, 0},
        {"vertical column", Nodes({{3, 4, 0}, {3, 4, 9}}), 1000, 1000, 0},
        {"spread below the threshold", Nodes({{0, 0, 0}, {0.000009f, 0.000009f, 0}}), 1000, 1000, 0},
        {"all on one X: height alone", Nodes({{3, 0, 0}, {3, 10, 0}, {3, 4, 7}}), 1000, 500, 50},
        {"all on one Y: width alone", Nodes({{0, 2, 0}, {20, 2, 0}}), 1000, 500, 50},
        {"X spread below the threshold", Nodes({{0, 0, 0}, {0.000009f, 10, 0}}), 1, 500, 50},
        {"width decides", Nodes({{0, 0, 0}, {10, 0, 0}, {0, 5, 0}}), 1000, 1000, 100},
        {"height decides", Nodes({{0, 0, 0}, {10, 0, 0}, {0, 5, 0}}), 1000, 300, 60},
        {"negative coordinates", Nodes({{-10, -5, 0}, {0, 0, 0}}), 1000, 1000, 100},
        {"half rounds down to even", Nodes({{0, 0, 0}, {2, 0, 0}}), 5, 5, 2},
        {"half rounds up to even", Nodes({{0, 0, 0}, {2, 0, 0}}), 7, 7, 4},
        {"no rectangle", Nodes({{0, 0, 0}, {2, 3, 0}}), 0, 100, 0},
        {"beyond 32 bits", Nodes({{0, 0, 0}, {0.00002f, 0.00002f, 0}}), 2000000000, 2000000000, 0},
    };
    for (const FitScaleCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ComputeFitScale(c.nodes, c.width, c.height), c.scale);
    }
}

TEST(ModelBox, CornersAndDiagonalOfTheNodes)
{
    const ModelBounds b = ComputeModelBounds(Nodes({{2, -1, 0}, {-1, 3, 5}, {0, 0, 12}}));
    EXPECT_EQ(b.minCorner, (std::array<float, 3>{-1, -1, 0}));
    EXPECT_EQ(b.maxCorner, (std::array<float, 3>{2, 3, 12}));
    EXPECT_FLOAT_EQ(b.diagonal, 13);   // 3, 4, 12

    // Without nodes the previous corners stay; the diagonal follows them.
    ModelBounds previous;
    previous.minCorner = {0, 0, 0};
    previous.maxCorner = {3, 4, 0};
    previous.diagonal = 99;
    const ModelBounds kept = ComputeModelBounds({}, previous);
    EXPECT_EQ(kept.minCorner, previous.minCorner);
    EXPECT_EQ(kept.maxCorner, previous.maxCorner);
    EXPECT_FLOAT_EQ(kept.diagonal, 5);

    // A spread whose square leaves single precision still has a diagonal.
    EXPECT_FLOAT_EQ(ComputeModelBounds(Nodes({{0, 0, 0}, {3e20f, 4e20f, 0}})).diagonal, 5e20f);
}

using NodeTableTest = ::testing::Test;   // each test has a fresh working folder

TEST_F(NodeTableTest, NodesAreReadFromTheNodeTableInStoredOrder)
{
    using testenv::I;
    using testenv::S;
    dao::DatabasePtr db = dao::Database::Create(QStringLiteral("Zelkova.mdb"));
    db->CreateTable(schema::Table(QStringLiteral("節点座標1")));
    db->AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", QStringLiteral("順")},
                   {{I(5), S(6), S(0), S(4), I(1)}, {I(2), S(0), S(0), S(4), I(2)}, {I(9), S(0.5), S(-2), S(0), I(3)}});
    const Outcome<std::vector<NodeCoordinate>> nodes = ReadNodeCoordinates(*db);
    ASSERT_TRUE(nodes.ok()) << nodes.error().toStdString();
    ASSERT_EQ(nodes->size(), 3u);
    EXPECT_EQ((*nodes)[0].no, 5);
    EXPECT_EQ((*nodes)[2].no, 9);
    EXPECT_EQ((*nodes)[2].x, 0.5f);
    EXPECT_EQ((*nodes)[2].y, -2);
    const ModelBounds b = ComputeModelBounds(*nodes);
    EXPECT_EQ(b.minCorner, (std::array<float, 3>{0, -2, 0}));
    EXPECT_EQ(b.maxCorner, (std::array<float, 3>{6, 0, 4}));

    db->Execute(QStringLiteral("DROP TABLE \"節点座標1\""));
    EXPECT_FALSE(ReadNodeCoordinates(*db).ok());
    db->Close();
}

TEST(PageFit, ProjectedNodesAreCentredInsideTheMargins)
{
    struct Case {
        const char* what;
        std::vector<PlanePoint> points;
        float zoom, offsetX, offsetY;
    };
    const std::vector<Case> cases = {
        {"width decides", {{-1, -0.5f}, {1, 0.5f}, {0, 0}}, 4000, 5000, 4000},
        {"height decides", {{0, 0}, {1, 2}}, 3000, 3500, 1000},
        {"no horizontal extent: height alone", {{0.5f, -1}, {0.5f, 1}}, 3000, 3500, 4000},
        {"no vertical extent: width alone", {{0, 1}, {4, 1}}, 2000, 1000, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome<PageFit> fit = FitToPage(c.points, 10000, 8000, 1000);
        ASSERT_TRUE(fit.ok()) << fit.error().toStdString();
        EXPECT_FLOAT_EQ(fit->zoom, c.zoom);
        EXPECT_FLOAT_EQ(fit->offsetX, c.offsetX);
        EXPECT_FLOAT_EQ(fit->offsetY, c.offsetY);
    }
    EXPECT_FALSE(FitToPage({}, 10000, 8000).ok());
    EXPECT_FALSE(FitToPage({{0.2f, 0.3f}}, 10000, 8000).ok());
    EXPECT_FALSE(FitToPage({{0.2f, 0.3f}, {0.2f, 0.3f}}, 10000, 8000).ok());
    EXPECT_FALSE(FitToPage({{0, 0}, {1, 1}}, 2000, 8000).ok());   // narrower than its margins

    const Outcome<float> relative = ZoomRelativeToBase(3000, 1500);
    ASSERT_TRUE(relative.ok());
    EXPECT_EQ(*relative, 2);
    EXPECT_FALSE(ZoomRelativeToBase(3000, 0).ok());
}

}  // namespace
