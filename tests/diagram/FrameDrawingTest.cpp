// The drawing of the frame diagram window: what the page holds for a model,
// where the fit puts it, and the questions the drawing asks.
#include "diagram/FrameDiagramSupport.h"

#include "diagram/ViewParameterFile.h"

#include <QCoreApplication>
#include <functional>

using namespace frametest;
using inputtest::Question;

namespace {

const QString kErrorQuestion = QStringLiteral(
    "ラーメン図を作成中にエラーが発生しました。ラーメン図の作成を終了しますか？\r\n"
    "入力データが正しく作成されているか確認してみて下さい。");
const QString kNoNodes = QStringLiteral("節点データが入力されていません。ラーメン図の作成を終了しますか？");
const QString kNoMembers = QStringLiteral("部材データが入力されていません。ラーメン図の作成を終了しますか？");

QString MissingNodes(int member)
{
    return QStringLiteral("部材番号 : %1\r\nのｉ端またはｊ端で指定した節点が、[節点]データに登録されていません。\r\n"
                          "ラーメン図の作成を終了しますか？")
        .arg(member);
}

// Seen from the front: the eye on -Y, level with the model's minimum corner,
// 100 units away. The portal's far corner lies at plane x = 6/99, y = -4/99,
// so the page height limits the fit.
constexpr double kFrontZoom = 9638.0 * 99 / 4;
constexpr double kFrontLeft = 16838.0 / 2 - 6.0 / 99 * kFrontZoom / 2;
constexpr double kFrontBottom = 11906.0 / 2 + 4.0 / 99 * kFrontZoom / 2;

void StoreView(const std::function<void(diagram::ViewParameters&)>& change)
{
    diagram::ViewParameters v;
    change(v);
    ASSERT_TRUE(diagram::SaveViewParameters(diagram::kDiagramWindowRecord, v).ok());
}

void StoreFrontView()
{
    StoreView([](diagram::ViewParameters& v) {
        v.rf = 100;
        v.thetaF = 90;
        v.phiF = 270;
    });
}

class FrameDrawing : public ::testing::Test {
protected:
    void SetUp() override { mainMenu = screentest::PrepareScreenTest(); }
    ui::ScriptedServices& script() { return testenv::Script(); }
    screentest::MainMenuHook mainMenu;
};

// A view record damaged to sizes no box takes draws the default view, so
// that it does not make every later drawing fail.
TEST_F(FrameDrawing, AViewRecordWithSizesNoBoxTakesDrawsTheDefaultView)
{
    AddPortalFrame();
    frmラーメン図* w = OpenDiagram();   // no view file yet: the default view
    const std::vector<preview::DrawOp> expected = PageOps(w);
    ASSERT_FALSE(expected.empty());
    w->Unload();

    StoreView([](diagram::ViewParameters& v) {
        v.ra = 3.4e38f;
        v.offsetX = -1e30f;
        v.coordSize = 3.4e38f;
    });
    w = OpenDiagram();
    EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join("\n").toStdString();
    EXPECT_EQ(BoxText(w, "txtra"), QStringLiteral("0"));
    EXPECT_EQ(BoxText(w, "txtrf"), QStringLiteral("5000"));
    EXPECT_EQ(PageOps(w), expected);
}

TEST_F(FrameDrawing, PortalSeenFromTheFrontFillsThePageHeightCentred)
{
    AddPortalFrame();
    StoreFrontView();
    frmラーメン図* w = OpenDiagram();
    ASSERT_TRUE(w->IsLoaded());
    EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join("\n").toStdString();

    const double right = kFrontLeft + 6.0 / 99 * kFrontZoom;
    EXPECT_NEAR(kFrontBottom, 11906 - 1134, 1);
    const std::vector<preview::DrawOp> lines = OpsOf(w, preview::OpKind::Line);
    ASSERT_EQ(lines.size(), 6u);   // three members, three axes
    const double members[3][4] = {{kFrontLeft, kFrontBottom, kFrontLeft, 1134},
                                  {kFrontLeft, 1134, right, 1134},
                                  {right, 1134, right, kFrontBottom}};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(lines[k].x1, members[k][0], 1);
        EXPECT_NEAR(lines[k].y1, members[k][1], 1);
        EXPECT_NEAR(lines[k].x2, members[k][2], 1);
        EXPECT_NEAR(lines[k].y2, members[k][3], 1);
        EXPECT_EQ(lines[k].pen, preview::Pen());   // thin black
    }
    const std::vector<preview::DrawOp> dots = OpsOf(w, preview::OpKind::Circle);
    ASSERT_EQ(dots.size(), 6u);
    for (const preview::DrawOp& d : dots) {
        EXPECT_EQ(d.x2, 25);
        EXPECT_EQ(d.brush, 0u);
    }
    EXPECT_EQ(LabelTexts(w), (QStringList{"1", "2", "3", "4", "1", "[1]", "2", "[2]", "3", "[1]", "x", "y", "z"}));

    // Labels: white boxes of the text's measure; the node's starts half its
    // width right of the node, the member's is centred on the midpoint and
    // the shape's lies right under it.
    w->vsp->MeasureText(QStringLiteral("3"));
    const double w1 = w->vsp->MeasuredTextWidth(), h = w->vsp->MeasuredTextHeight();
    const std::vector<preview::DrawOp> boxes = OpsOf(w, preview::OpKind::TextBox);
    const preview::DrawOp& node3 = boxes[2];
    EXPECT_NEAR(node3.x1, right + w1 / 2, 1);
    EXPECT_NEAR(node3.y1, 1134 - h / 2, 1);
    EXPECT_NEAR(node3.x2 - node3.x1, w1, 0.01);
    EXPECT_EQ(node3.brush, 0xFFFFFFu);
    EXPECT_EQ(node3.pen.colour, 0xFFFFFFu);
    const preview::DrawOp& beam = boxes[6];
    const preview::DrawOp& beamShape = boxes[7];
    EXPECT_NEAR((beam.x1 + beam.x2) / 2, (kFrontLeft + right) / 2, 1);
    EXPECT_NEAR((beam.y1 + beam.y2) / 2, 1134, 1);
    EXPECT_NEAR(beamShape.y1, beam.y2, 1);
    EXPECT_NEAR((beamShape.x1 + beamShape.x2) / 2, (kFrontLeft + right) / 2, 1);

    // The fit is written back: whole millimetres and a multiple of the base
    // scale, which fits the plan extent (6 wide, no depth) into the canvas.
    EXPECT_EQ(BoxText(w, "txtX"), QStringLiteral("21"));
    EXPECT_EQ(BoxText(w, "txtY"), QStringLiteral("190"));
    const double canvas = forms::Tw(w->vsp->width());
    EXPECT_NEAR(w->DiagramBaseScale, canvas / 6, canvas / 6 * 0.01);
    EXPECT_EQ(BoxText(w, "txtzoom"), QString::number(std::lround(kFrontZoom / w->DiagramBaseScale)));
    EXPECT_EQ(w->vsp->PageCount(), 1);
    EXPECT_EQ(w->vsp->Orientation(), preview::Landscape);
}

TEST_F(FrameDrawing, AxisIndicatorStandsAtItsBoxesWithTheDrawingsZoom)
{
    AddPortalFrame();
    StoreFrontView();
    frmラーメン図* w = OpenDiagram();
    SetBox(w, "txtCoordX", "40");
    SetBox(w, "txtCoordY", "60");
    SetBox(w, "txtCoordSize", "2");
    w->cmdDRAW_Click();

    // Size: 2 x 0.1 x the diagonal of the 6 x 0 x 4 box; the X tip lies 99
    // units beyond the eye's plane, drawn with the zoom of the redrawing:
    // the zoom box (the fit, rounded) times the base scale.
    const double size = 0.2 * std::sqrt(52.0);
    const double zoom = BoxText(w, "txtzoom").toDouble() * w->DiagramBaseScale;
    const double ox = 40 * 56.7, oy = 60 * 56.7, tip = size / 99 * zoom;
    const std::vector<preview::DrawOp> lines = OpsOf(w, preview::OpKind::Line);
    ASSERT_EQ(lines.size(), 6u);
    const double tips[3][2] = {{ox + tip, oy}, {ox, oy}, {ox, oy - tip}};   // X, Y (straight away), Z
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const preview::DrawOp& axis = lines[3 + static_cast<size_t>(k)];
        EXPECT_NEAR(axis.x1, ox, 0.5);
        EXPECT_NEAR(axis.y1, oy, 0.5);
        EXPECT_NEAR(axis.x2, tips[k][0], 0.5);
        EXPECT_NEAR(axis.y2, tips[k][1], 0.5);
        EXPECT_EQ(axis.pen.colour, 0u);
    }
    // Each letter in a white box one blank wide and high, its corner at the tip.
    w->vsp->MeasureText(QStringLiteral(" "));
    const std::vector<preview::DrawOp> boxes = OpsOf(w, preview::OpKind::TextBox);
    for (int k = 0; k < 3; ++k) {
        const preview::DrawOp& letter = boxes[boxes.size() - 3 + static_cast<size_t>(k)];
        EXPECT_EQ(letter.text, QString(QChar(u"xyz"[k])));
        EXPECT_NEAR(letter.x1, tips[k][0], 0.5);
        EXPECT_NEAR(letter.y1, tips[k][1], 0.5);
        EXPECT_EQ(letter.x2 - letter.x1, std::round(w->vsp->MeasuredTextWidth()));
        EXPECT_EQ(letter.y2 - letter.y1, std::round(w->vsp->MeasuredTextHeight()));
    }
}

TEST_F(FrameDrawing, LabelSwitchesChooseWhatIsWritten)
{
    AddPortalFrame();
    frmラーメン図* w = OpenDiagram();
    struct Case {
        bool nodes, members, axes;
        QStringList labels;
        size_t lines;
    };
    const Case cases[] = {
        {false, false, false, {}, 3},
        {true, false, false, {"1", "2", "3", "4"}, 3},
        {false, true, false, {"1", "[1]", "2", "[2]", "3", "[1]"}, 3},
        {false, false, true, {"x", "y", "z"}, 6},
    };
    for (const Case& c : cases) {
        w->chkDrawJnt->setChecked(c.nodes);
        w->chkDrawEle->setChecked(c.members);
        w->chkDrawCoord->setChecked(c.axes);
        w->cmdDRAW_Click();
        EXPECT_EQ(LabelTexts(w), c.labels);
        EXPECT_EQ(OpsOf(w, preview::OpKind::Line).size(), c.lines);
    }
}

TEST_F(FrameDrawing, ZoomZeroPutsEveryNodeAtTheOffsetAndTheNextOpeningFitsAgain)
{
    AddPortalFrame();
    StoreFrontView();
    frmラーメン図* w = OpenDiagram();
    SetBox(w, "txtzoom", "0");
    SetBox(w, "txtX", "100");
    SetBox(w, "txtY", "50");
    w->cmdDRAW_Click();
    for (const preview::DrawOp& dot : OpsOf(w, preview::OpKind::Circle)) {
        EXPECT_NEAR(dot.x1, 100 * 56.7, 0.01);
        EXPECT_NEAR(dot.y1, 50 * 56.7, 0.01);
    }
    w->Unload();
    EXPECT_EQ(diagram::LoadViewParameters(diagram::kDiagramWindowRecord).zoom, -1);
    w = OpenDiagram();
    EXPECT_EQ(BoxText(w, "txtX"), QStringLiteral("21"));
    EXPECT_EQ(BoxText(w, "txtY"), QStringLiteral("190"));
    EXPECT_NEAR(OpsOf(w, preview::OpKind::Line)[0].x1, kFrontLeft, 1);
}

TEST_F(FrameDrawing, RowsFollowTheSortedNumbersAndTheMapsKnowOnlyStoredNumbers)
{
    AddNodes({{5, 0, 0, 0}, {2, 0, 0, 3}, {9, 4, 0, 3}});
    AddMembers({{7, 2, 9, 1}, {3, 5, 2, 1}});
    frmラーメン図* w = OpenDiagram();
    ASSERT_TRUE(w->IsLoaded());
    EXPECT_EQ(Program().NodeNo, (std::vector<int16_t>{2, 5, 9}));
    for (int n = 0; n <= 300; ++n) {
        const int expected = n == 2 ? 0 : n == 5 ? 1 : n == 9 ? 2 : -1;
        ASSERT_EQ(Program().NodeRow[static_cast<size_t>(n)], expected) << n;
    }
    EXPECT_EQ(Program().MemberNo, (std::vector<int16_t>{3, 7}));
    EXPECT_EQ(Program().MemberRow[3], 0);
    EXPECT_EQ(Program().MemberRow[7], 1);
    EXPECT_EQ(Program().MemberRow[450], -1);
}

// A model without plan extent is drawn fitted whatever the zoom box holds;
// the zoom box keeps its text, as there is no base scale to express a zoom in.
TEST_F(FrameDrawing, VerticalColumnIsFittedWithoutABaseScale)
{
    AddNodes({{1, 2, 3, 0}, {2, 2, 3, 3}, {3, 2, 3, 6}});
    AddMembers({{1, 1, 2, 1}, {2, 2, 3, 1}});
    for (const char* stored : {"-1", "5"}) {
        SCOPED_TRACE(stored);
        StoreView([&](diagram::ViewParameters& v) { v.zoom = QString::fromUtf8(stored).toFloat(); });
        frmラーメン図* w = OpenDiagram();
        ASSERT_TRUE(w->IsLoaded());
        EXPECT_EQ(w->DiagramBaseScale, 0);
        EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join("\n").toStdString();
        EXPECT_EQ(BoxText(w, "txtzoom"), QString::fromUtf8(stored));
        // Seen from the default eye a vertical line stays vertical: it spans
        // the page's height inside the margins.
        const std::vector<preview::DrawOp> lines = OpsOf(w, preview::OpKind::Line);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_NEAR(lines[0].y1, 11906 - 1134, 1);
        EXPECT_NEAR(lines[1].y2, 1134, 1);
        EXPECT_NEAR(lines[0].x1, 16838.0 / 2, 1);
        EXPECT_NEAR(lines[1].x2, 16838.0 / 2, 1);
        w->Unload();
    }
}

// The questions of a drawing, where the Parts of the model ask them, and
// whether the answers leave the window open.
struct QuestionCase {
    const char* what;
    std::function<void()> model;
    std::function<void(frmラーメン図*)> beforeRedraw;   // nullptr: the questions come while loading
    std::vector<int> answers;
    QStringList questions;
    bool staysOpen;
};

class DrawingQuestions : public FrameDrawing, public ::testing::WithParamInterface<int> {};

const std::vector<QuestionCase>& QuestionCases()
{
    using ui::Answer::No;
    using ui::Answer::Yes;
    static const std::vector<QuestionCase> cases = {
        {"no nodes, stop", [] {}, nullptr, {Yes}, {Question(kNoNodes)}, false},
        {"no nodes, no members, go on: nothing to fit", [] {}, nullptr, {No, No, No},
         {Question(kNoNodes), Question(kNoMembers), Question(kErrorQuestion)}, true},
        {"member without its j-end node, stop",
         [] {
             AddPortalFrame();
             AddMembers({{4, 3, 7, 1}});
         },
         nullptr, {Yes}, {Question(MissingNodes(4))}, false},
        // Going on leaves the row empty: its line is left out with a beep,
        // its labels fail.
        {"member without its j-end node, go on",
         [] {
             AddPortalFrame();
             AddMembers({{4, 3, 7, 1}});
         },
         nullptr, {No, No}, {Question(MissingNodes(4)), Question(kErrorQuestion)}, true},
        {"node number above 300",
         [] {
             AddPortalFrame();
             AddNodes({{301, 3, 0, 6}});
         },
         nullptr, {No}, {Question(kErrorQuestion)}, true},
        // Outside the member map: its line cannot be drawn and names the member.
        {"member number above 500",
         [] {
             AddPortalFrame();
             AddMembers({{501, 1, 3, 1}});
         },
         nullptr, {No}, {Question(kErrorQuestion), inputtest::Info(QStringLiteral("部材番号：501 は登録されていません"))},
         true},
        {"eye on the look-at point", [] { AddPortalFrame(); },
         [](frmラーメン図* w) { SetBox(w, "txtrf", "0"); }, {Yes}, {Question(kErrorQuestion)}, false},
        {"a node 1 unit in front of the eye", [] { AddPortalFrame(); },
         [](frmラーメン図* w) { SetBox(w, "txtrf", "1"); }, {Yes}, {Question(kErrorQuestion)}, false},
        {"zoom box without a number", [] { AddPortalFrame(); },
         [](frmラーメン図* w) { SetBox(w, "txtzoom", ""); }, {No}, {Question(kErrorQuestion)}, true},
        {"indicator size without a number", [] { AddPortalFrame(); },
         [](frmラーメン図* w) { SetBox(w, "txtCoordSize", ""); }, {Yes}, {Question(kErrorQuestion)}, false},
        {"a single node has nothing to fit", [] { AddNodes({{1, 1, 1, 1}}); }, nullptr, {No, No},
         {Question(kNoMembers), Question(kErrorQuestion)}, true},
    };
    return cases;
}

TEST_P(DrawingQuestions, AreAskedWhereTheModelFails)
{
    const QuestionCase& c = QuestionCases()[static_cast<size_t>(GetParam())];
    SCOPED_TRACE(c.what);
    c.model();
    if (c.beforeRedraw) {
        frmラーメン図* w = OpenDiagram();
        ASSERT_TRUE(w->IsLoaded());
        ASSERT_TRUE(script().messages.isEmpty()) << script().messages.join("\n").toStdString();
        c.beforeRedraw(w);
    }
    for (int a : c.answers) script().answers.push_back(a);
    frmラーメン図* w = dynamic_cast<frmラーメン図*>(ScreenInstance(QStringLiteral("frmラーメン図")));
    if (c.beforeRedraw)
        w->cmdDRAW_Click();
    else
        w->Show();
    EXPECT_EQ(script().messages, c.questions);
    EXPECT_EQ(w->IsLoaded(), c.staysOpen);
    EXPECT_TRUE(w->isEnabled());
    if (c.staysOpen) {
        // Whatever failed, no coordinate on the page is other than a number.
        for (const preview::DrawOp& op : PageOps(w))
            for (double v : {op.x1, op.y1, op.x2, op.y2}) EXPECT_TRUE(std::isfinite(v));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DrawingQuestions, ::testing::Range(0, static_cast<int>(QuestionCases().size())));

TEST_F(FrameDrawing, MemberWithoutItsNodeIsLeftOutWhenTheUserGoesOn)
{
    AddPortalFrame();
    AddMembers({{4, 3, 7, 1}});
    script().answers = {ui::Answer::No, ui::Answer::No};
    frmラーメン図* w = OpenDiagram();
    ASSERT_TRUE(w->IsLoaded());
    EXPECT_EQ(OpsOf(w, preview::OpKind::Line).size(), 6u);
    EXPECT_EQ(LabelTexts(w), (QStringList{"1", "2", "3", "4", "1", "[1]", "2", "[2]", "3", "[1]", "x", "y", "z"}));
    EXPECT_EQ(Program().MemberNo, (std::vector<int16_t>{1, 2, 3, 0}));
}

}  // namespace
