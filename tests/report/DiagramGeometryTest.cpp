// The projected frame of the report: nodes and members in number order, the
// question about a member without its end node, the displaced nodes of a
// case and of the combination, the axis symbol and the boxes of the
// diagrams. The eye of these tests stands 100 m in front of the XZ plane
// (at (0, -100, 0), looking at the origin), so a point (x, 0, z) lies at
// depth 100 and projects to (x / 99, -z / 99).
#include "DiagramTestSupport.h"

#include "report/diagrams/DiagramGeometry.h"

#include <gtest/gtest.h>

using diagramtest::DiagramBuild;
using diagramtest::Model;
using report::BuildOutcome;

namespace {

constexpr float kNear = 2e-6f;

TEST(DiagramProjection, NodesComeInNumberOrderAndProjectOntoThePlane)
{
    Model m = diagramtest::PortalFrame();
    m.nodes = {m.nodes[2], m.nodes[0], m.nodes[3], m.nodes[1]};   // stored 3, 1, 4, 2
    DiagramBuild b(m);
    b.Prepare();
    const report::DiagramGeometry& g = b.ctx().geometry;
    ASSERT_EQ(g.nodes.size(), 4u);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(g.nodes[size_t(row)].no, row + 1);
        EXPECT_EQ(g.nodeRow[size_t(row + 1)], row);
    }
    EXPECT_NEAR(g.nodes[1].x, 0, kNear);
    EXPECT_NEAR(g.nodes[1].y, -4.0f / 99, kNear);
    EXPECT_NEAR(g.nodes[2].x, 6.0f / 99, kNear);
    EXPECT_NEAR(g.nodes[2].y, -4.0f / 99, kNear);
    // The box of the undeformed frame: largest x, largest y, smallest x, smallest y.
    EXPECT_NEAR(g.extents.maxX, 6.0f / 99, kNear);
    EXPECT_NEAR(g.extents.maxY, 0, kNear);
    EXPECT_NEAR(g.extents.minX, 0, kNear);
    EXPECT_NEAR(g.extents.minY, -4.0f / 99, kNear);
}

// A member whose end node is missing: No leaves its entry all zero and goes
// on; Yes ends the preview without a failure.
TEST(DiagramProjection, MemberWithoutItsEndNodeAsksWhetherToStop)
{
    Model m = diagramtest::PortalFrame();
    m.members = {{1, 1, 2}, {2, 2, 9}, {3, 3, 4}, {4, 4, 8}};
    {
        DiagramBuild b(m);
        b.answers = {ui::Answer::No, ui::Answer::No};
        b.Prepare();
        const auto& members = b.ctx().geometry.members;
        ASSERT_EQ(members.size(), 4u);
        EXPECT_EQ(members[0].no, 1);
        EXPECT_EQ(members[1].no, 0);
        EXPECT_EQ(members[1].iNode, 0);
        EXPECT_EQ(members[1].jNode, 0);
        EXPECT_EQ(members[1].section, 0);
        EXPECT_EQ(members[2].no, 3);
        EXPECT_EQ(members[2].jNode, 4);
        EXPECT_EQ(b.ctx().geometry.memberRow[2], -1);
        EXPECT_EQ(b.ctx().geometry.memberRow[3], 2);
        ASSERT_EQ(b.messages.size(), 2);
        EXPECT_EQ(b.messages[0], QStringLiteral("部材番号 : 2\r\nのｉ端またはｊ端で指定した節点が、[節点]データに登録されていません。\r\n"
                                                "プレビューの作成を終了しますか？"));
    }
    DiagramBuild b(m);
    b.answers = {ui::Answer::Yes};
    EXPECT_EQ(b.Run(report::kModeFrame).outcome, BuildOutcome::Cancelled);
    EXPECT_EQ(b.messages.size(), 1);   // the members after it are not asked about
}

TEST(DiagramProjection, NumbersBeyondTheMapsEndTheBuild)
{
    struct Case {
        int node, member;
        BuildOutcome outcome;
    };
    for (const Case& c : {Case{300, 500, BuildOutcome::Succeeded}, Case{301, 5, BuildOutcome::Failed},
                          Case{5, 501, BuildOutcome::Failed}}) {
        Model m = diagramtest::PortalFrame();
        m.nodes.push_back({c.node, 3, 0, 6});
        m.members.push_back({c.member, 2, c.node});
        DiagramBuild b(m);
        EXPECT_EQ(b.Run(report::kModeFrame).outcome, c.outcome) << c.node << " " << c.member;
    }
}

TEST(DiagramProjection, DisplacedNodesOfACaseAndOfTheCombination)
{
    Model m = diagramtest::PortalFrame();
    m.cases = 2;
    m.displacements[{1, 2}] = {2.5f, 0, 0};
    m.displacements[{2, 2}] = {1.0f, 0, -3.0f};
    DiagramBuild b(m);
    b.ctx().info.DisplacementScale = 100;
    b.Prepare();
    // 2.5 cm at scale 100 moves the node 2.5 m along X.
    auto node2 = report::ProjectDisplacedNodes(b.ctx(), 1)[1];
    EXPECT_NEAR(node2.x, 2.5f / 99, kNear);
    EXPECT_NEAR(node2.y, -4.0f / 99, kNear);
    // Case 1 not chosen, case 2 with factor 2 (a negative choice counts
    // as chosen): 1 cm and -3 cm at scale 100 and factor 2 give 2 m and -6 m.
    b.ctx().info.CombineCases = -1;
    b.ctx().info.CaseSelected = {0, -1};
    b.ctx().info.CaseFactor = {1, 2};
    for (int16_t caseNo : {0, 1, 7}) {
        node2 = report::ProjectDisplacedNodes(b.ctx(), caseNo)[1];
        EXPECT_NEAR(node2.x, 2.0f / 99, kNear);
        EXPECT_NEAR(node2.y, 2.0f / 99, kNear);
    }
}

TEST(DiagramProjection, ANodeWithoutItsDisplacementRowEndsTheBuild)
{
    Model m = diagramtest::PortalFrame();
    m.cases = 2;
    m.missingDisplacements = {{2, 3}};
    DiagramBuild b(m);
    b.Prepare();
    EXPECT_NO_THROW(report::ProjectDisplacedNodes(b.ctx(), 1));
    EXPECT_THROW(report::ProjectDisplacedNodes(b.ctx(), 2), report::ReportFailure);
    // In the combination every case is looked up.
    b.ctx().info.CombineCases = -1;
    EXPECT_THROW(report::ProjectDisplacedNodes(b.ctx(), 0), report::ReportFailure);
}

// The axes are the size box's leading number (0 without one) times a tenth
// of the model's diagonal long; the Y tip is built from the third
// component of a point's row and lies on the line of sight here.
TEST(DiagramProjection, AxisSymbol)
{
    struct Case {
        const char* size;
        float length;
    };
    for (const Case& c : {Case{"1", 2}, Case{"2.5mm", 5}, Case{"abc", 0}, Case{"", 0}}) {
        DiagramBuild b;
        b.ctx().bounds.diagonal = 20;
        b.Box("txtCoordSize", QString::fromUtf8(c.size));
        b.Prepare();
        const auto& axis = b.ctx().geometry.axis;
        EXPECT_NEAR(axis[0].x, 0, kNear) << c.size;
        EXPECT_NEAR(axis[1].x, c.length / 99, kNear) << c.size;
        EXPECT_NEAR(axis[1].y, 0, kNear);
        EXPECT_NEAR(axis[2].x, 0, kNear);
        EXPECT_NEAR(axis[2].y, 0, kNear);
        EXPECT_NEAR(axis[3].y, -c.length / 99, kNear);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(axis[size_t(k)].no, k);
    }
}

TEST(DiagramExtents, FrameDisplacedAndMomentBoxes)
{
    report::DiagramGeometry g;
    g.nodes = {{1, 1, 2}, {2, 3, -1}};
    report::DiagramExtents e{9, 9, 9, 9};
    report::ComputeDiagramExtents(g, e);
    EXPECT_EQ(e.maxX, 3);
    EXPECT_EQ(e.maxY, 2);
    EXPECT_EQ(e.minX, 1);
    EXPECT_EQ(e.minY, -1);

    // One node: a box without extent.
    report::DiagramGeometry single;
    single.nodes = {{1, 5, 6}};
    report::ComputeDiagramExtents(single, e);
    EXPECT_EQ(e.maxX, e.minX);
    EXPECT_EQ(e.maxY, e.minY);

    // Displaced nodes only widen what is passed in.
    e = {3, 2, 1, -1};
    const std::vector<report::ProjectedNode> displaced{{1, 2, 0}, {2, 4, 1}};
    report::ComputeDiagramExtents(g, e, &displaced);
    EXPECT_EQ(e.maxX, 4);
    EXPECT_EQ(e.maxY, 2);
    EXPECT_EQ(e.minX, 1);
    EXPECT_EQ(e.minY, -1);

    // Curves: maxima from the nodes again, then widened with the minima
    // passed in; a curve without a member counts nowhere.
    e = {50, 50, 0.5f, -1};
    std::vector<report::MomentCurve> curves(2);
    curves[0].no = 1;
    curves[0].mzX = {1, 1, 1, 1, 1, 1, 5};
    curves[0].myY = {0, 0, 0, 0, 0, 0, -4};
    curves[1].mzX.fill(-20);   // number 0
    report::ComputeDiagramExtents(g, e, nullptr, &curves);
    EXPECT_EQ(e.maxX, 5);
    EXPECT_EQ(e.maxY, 2);
    EXPECT_EQ(e.minX, 0);
    EXPECT_EQ(e.minY, -4);
}

}  // namespace
