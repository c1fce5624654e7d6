// The search tabs of the frame diagram window: showing a node or member with
// its conditions and a red mark, the list searches, and the number ranges.
#include "diagram/FrameDiagramSupport.h"

#include "diagram/FrameSearchLists.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

using namespace frametest;
using inputtest::Info;

namespace {

const QStringList kAllFree = {"自由", "自由", "自由", "自由", "自由", "自由"};
const QStringList kAllFixed = {"拘束", "拘束", "拘束", "拘束", "拘束", "拘束"};
const QStringList kPinned = {"拘束", "拘束", "拘束", "自由", "自由", "自由"};

QStringList Items(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

QStringList Texts(std::initializer_list<const QLineEdit*> boxes)
{
    QStringList t;
    for (const QLineEdit* b : boxes) t << b->text();
    return t;
}

void SetTexts(std::initializer_list<QLineEdit*> boxes, const QStringList& texts)
{
    int k = 0;
    for (QLineEdit* b : boxes) b->setText(texts[k++]);
}

// Red operations drawn on the finished page, in order.
std::vector<preview::DrawOp> RedMarks(const frmラーメン図* w)
{
    std::vector<preview::DrawOp> marks;
    for (const preview::DrawOp& op : PageOps(w))
        if (op.pen.colour == 0x0000FF) marks.push_back(op);
    return marks;
}

class Search : public ::testing::Test {
protected:
    void SetUp() override { mainMenu = screentest::PrepareScreenTest(); }

    // Nodes 1..15 along X and members 1..14 between them, odd members of
    // shape 1 and even ones of shape 2.
    void AddLine(int extraNode = 0)
    {
        std::vector<Node> nodes;
        for (int n = 1; n <= 15; ++n) nodes.push_back({n, 2.0 * n, 0, n % 2 ? 0.0 : 1.0});
        if (extraNode) nodes.push_back({extraNode, 0, 5, 3});
        AddNodes(nodes);
        std::vector<Member> members;
        for (int m = 1; m <= 14; ++m) members.push_back({m, m, m + 1, m % 2 ? 1 : 2});
        AddMembers(members);
    }
    frmラーメン図* Open()
    {
        frmラーメン図* w = OpenDiagram();
        EXPECT_TRUE(w->IsLoaded());
        EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join("\n").toStdString();
        testenv::ResetScript();
        return w;
    }
    QStringList NodeBoxes(frmラーメン図* w)
    {
        return Texts({w->txtxt1, w->txtyt1, w->txtzt1, w->txtθxt1, w->txtθyt1, w->txtθzt1});
    }
    void TypeRestraint(frmラーメン図* w, const QStringList& six)
    {
        SetTexts({w->txtxt1, w->txtyt1, w->txtzt1, w->txtθxt1, w->txtθyt1, w->txtθzt1}, six);
    }
    QStringList EndBoxes(frmラーメン図* w)
    {
        return Texts({w->txtixMWR, w->txtiyMWR, w->txtizMWR, w->txtjxMWR, w->txtjyMWR, w->txtjzMWR});
    }
    void TypeEnds(frmラーメン図* w, const QStringList& six)
    {
        SetTexts({w->txtixMWR, w->txtiyMWR, w->txtizMWR, w->txtjxMWR, w->txtjyMWR, w->txtjzMWR}, six);
    }
    ui::ScriptedServices& script() { return testenv::Script(); }
    screentest::MainMenuHook mainMenu;
};

TEST(SearchLists, RangesOfFiftyAndTheItemsOfOneRange)
{
    struct Case {
        int largest;
        int count;
        const char* last;
    };
    const Case cases[] = {{0, 1, "   1 ～ 50"}, {49, 2, "  51 ～ 100"}, {298, 6, " 251 ～ 300"}, {300, 7, " 301 ～ 350"},
                          {500, 11, " 501 ～ 550"}};
    for (const Case& c : cases) {
        const QStringList items = diagram::NumberRangeItems(c.largest);
        EXPECT_EQ(items.size(), c.count) << c.largest;
        EXPECT_EQ(items.last(), QString::fromUtf8(c.last)) << c.largest;
    }
    const QStringList results = {"007", "050", "051", "120", " 12"};
    EXPECT_EQ(diagram::ItemsInRange(results, 0), (QStringList{" 7", " 50", " 12"}));
    EXPECT_EQ(diagram::ItemsInRange(results, 1), (QStringList{" 51"}));
    EXPECT_EQ(diagram::ItemsInRange(results, 2), (QStringList{" 120"}));
    EXPECT_TRUE(diagram::ItemsInRange(results, -1).isEmpty());
}

TEST_F(Search, ShowingANodeGivesItsRestraintAndARedMark)
{
    AddLine();
    AddRestraintType(1, kAllFixed);
    AddRestraintType(2, kPinned);
    // Node 12 heads row 3 and stands fourth in row 5.
    AddPlacement("節点拘束配置", 3, {1}, {12, 13});
    AddPlacement("節点拘束配置", 5, {2}, {1, 2, 3, 12});
    AddPlacement("節点拘束配置", 6, {9}, {14});   // a type that does not exist
    frmラーメン図* w = Open();
    EXPECT_TRUE(RedMarks(w).empty());

    struct Case {
        const char* node;
        QStringList restraint;
    };
    const Case cases[] = {{"12", kAllFixed}, {"2", kPinned}, {"5", kAllFree}, {"14", {"", "", "", "", "", ""}}};
    size_t marks = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node);
        w->txt節点番号->setText(QString::fromUtf8(c.node));
        w->cmd節点_Click();
        EXPECT_EQ(NodeBoxes(w), c.restraint);
        EXPECT_EQ(Items(w->lst節点番号), QStringList{QStringLiteral(" ") + c.node});
        EXPECT_EQ(w->NodeResults(), QStringList{QString::fromUtf8(c.node)});
        // Every mark stays: a filled red circle of radius 60 at the node.
        const std::vector<preview::DrawOp> red = RedMarks(w);
        ASSERT_EQ(red.size(), ++marks);
        const int row = Program().NodeRow[QString::fromUtf8(c.node).toInt()];
        EXPECT_EQ(red.back().kind, preview::OpKind::Circle);
        EXPECT_EQ(red.back().x2, 60);
        EXPECT_EQ(red.back().brush, 0x0000FFu);
        EXPECT_NEAR(red.back().x1, w->ScreenPoints()[static_cast<size_t>(row)].x, 0.01);
        EXPECT_NEAR(red.back().y1, w->ScreenPoints()[static_cast<size_t>(row)].y, 0.01);
    }
    EXPECT_TRUE(script().messages.isEmpty());
    // A redraw clears the marks.
    w->cmdDRAW_Click();
    EXPECT_TRUE(RedMarks(w).empty());
}

TEST_F(Search, ListingNodesByRestraintFilesEachNodeUnderItsLastPlacement)
{
    AddLine(120);
    AddRestraintType(1, kAllFixed);
    AddRestraintType(2, kPinned);
    AddRestraintType(3, {"自由", "自由", "2.500", "自由", "自由", "自由"});
    AddPlacement("節点拘束配置", 3, {1}, {12, 13});
    AddPlacement("節点拘束配置", 5, {2}, {1, 2, 3, 12});
    AddPlacement("節点拘束配置", 7, {3}, {120, 4});
    // Entries without a row in the drawing are passed over.
    AddPlacement("節点拘束配置", 8, {1}, {450, 16, -3, 9});
    frmラーメン図* w = Open();

    struct Case {
        QStringList typed;
        QStringList found;
    };
    const Case cases[] = {
        {kAllFixed, {"009", "013"}},
        {kPinned, {"001", "002", "003", "012"}},
        {{"自由", "自由", "2.500", "自由", "自由", "自由"}, {"004", "120"}},
        // No type is all free: the nodes without a placement.
        {kAllFree, {"005", "006", "007", "008", "010", "011", "014", "015"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.join(",").toStdString());
        TypeRestraint(w, c.typed);
        w->cmd拘束_Click();
        EXPECT_EQ(w->NodeResults(), c.found);
        EXPECT_EQ(NodeBoxes(w), c.typed);
    }
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_TRUE(RedMarks(w).empty());
    // The list shows one range at a time; node 120 waits in the third.
    EXPECT_EQ(Items(w->lst節点番号).size(), 8);
    TypeRestraint(w, {"自由", "自由", "2.500", "自由", "自由", "自由"});
    w->cmd拘束_Click();
    EXPECT_EQ(Items(w->lst節点番号), QStringList{" 4"});
    w->cbo節点番号->setCurrentIndex(2);
    EXPECT_EQ(Items(w->lst節点番号), QStringList{" 120"});
    EXPECT_EQ(w->cbo節点番号->count(), 3);
}

TEST_F(Search, AnAllFreeTypeAddsItsNodesToTheUnplacedOnes)
{
    AddLine();
    AddRestraintType(4, kAllFree);
    AddRestraintType(1, kAllFixed);
    AddPlacement("節点拘束配置", 1, {4}, {2, 3});
    AddPlacement("節点拘束配置", 2, {1}, {1, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    frmラーメン図* w = Open();
    TypeRestraint(w, kAllFree);
    w->cmd拘束_Click();
    EXPECT_EQ(w->NodeResults(), (QStringList{"002", "003", "013", "014", "015"}));
}

TEST_F(Search, RefusedCriteriaAndUnregisteredNodes)
{
    AddLine();
    AddRestraintType(1, kAllFixed);
    frmラーメン図* w = Open();
    w->SSTab1->setCurrentIndex(1);

    // Conditions that are not words or numbers: a beep, nothing searched.
    TypeRestraint(w, {"拘束", "拘束", "拘束", "拘束", "拘束", "拘束' OR '1'='1"});
    w->cmd拘束_Click();
    EXPECT_EQ(script().beeps, 1);
    TypeRestraint(w, {"拘束", "拘束", "拘束", "拘束", "拘束", ""});
    w->cmd拘束_Click();
    EXPECT_EQ(script().beeps, 2);
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_TRUE(w->NodeResults().isEmpty());

    // Conditions no type holds.
    TypeRestraint(w, kPinned);
    w->cmd拘束_Click();
    EXPECT_EQ(script().messages, QStringList{Info("入力されている拘束条件は、[節点拘束条件]に登録されていません")});
    // The lists still answer after a search that ended early.
    EXPECT_FALSE(w->DiagramLoading);

    struct Case {
        const char* node;
        QString message;
    };
    const Case cases[] = {
        {"301", Info("入力されている節点番号が、入力可能範囲をこえています")},
        {"16", Info("節点番号：16 は登録されていません")},
        {"abc", QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node);
        testenv::ResetScript();
        TypeRestraint(w, kPinned);
        w->txt節点番号->setText(QString::fromUtf8(c.node));
        w->cmd節点_Click();
        EXPECT_EQ(script().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(script().beeps, 1);
    }
    // The unregistered node empties the restraint boxes; the others leave them.
    EXPECT_EQ(NodeBoxes(w), kPinned);
    testenv::ResetScript();
    w->txt節点番号->setText("16");
    w->cmd節点_Click();
    EXPECT_EQ(NodeBoxes(w), (QStringList{"", "", "", "", "", ""}));
}

TEST_F(Search, LeavingASearchBoxFormatsItsText)
{
    AddLine();
    frmラーメン図* w = Open();
    struct Case {
        QLineEdit* box;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {w->txtxt1, "1", "拘束"},   {w->txtyt1, "2.5", "2.500"}, {w->txtzt1, "0", "自由"},
        {w->txtixMWR, "1", "剛"},   {w->txtjyMWR, "0", "ピン"},  {w->txtjzMWR, "3", "3.000"},
        {w->txt節点番号, "12.6", "13"}, {w->txt要素番号, "", ""},   {w->txt材料番号, " 7", "7"},
    };
    w->activateWindow();
    QApplication::setActiveWindow(w);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        c.box->setText(QString::fromUtf8(c.typed));
        c.box->setFocus();
        c.box->clearFocus();
        EXPECT_EQ(c.box->text(), QString::fromUtf8(c.shown));
    }
}

TEST_F(Search, SearchBoxesMoveTheFocusByTheirRings)
{
    AddLine();
    frmラーメン図* w = Open();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    struct Case {
        int tab;
        QLineEdit* from;
        int key;
        QLineEdit* to;
    };
    const Case cases[] = {
        {1, w->txt節点番号, Qt::Key_Down, w->txtxt1},   {1, w->txt節点番号, Qt::Key_Up, w->txtθzt1},
        {1, w->txtzt1, Qt::Key_Return, w->txtθxt1},     {1, w->txtθzt1, Qt::Key_Right, w->txt節点番号},
        {2, w->txt要素番号, Qt::Key_Up, w->txtjzMWR},   {2, w->txt要素番号, Qt::Key_Left, w->txt材料番号},
        {2, w->txt材料番号, Qt::Key_Down, w->txtixMWR}, {2, w->txtiyMWR, Qt::Key_Right, w->txtjyMWR},
        {2, w->txtjyMWR, Qt::Key_Left, w->txtiyMWR},    {2, w->txtjzMWR, Qt::Key_Down, w->txt要素番号},
        {2, w->txtjxMWR, Qt::Key_Up, w->txt材料番号},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from->objectName().toStdString() + " " + std::to_string(c.key));
        w->SSTab1->setCurrentIndex(c.tab);
        c.from->setFocus();
        screentest::SendKey(c.from, c.key, c.key == Qt::Key_Return ? QStringLiteral("\r") : QString());
        EXPECT_EQ(QApplication::focusWidget(), c.to);
    }
    // No box takes a minus; the condition boxes take a point, the number boxes do not.
    for (QLineEdit* b : {w->txt要素番号, w->txtixMWR}) {
        w->SSTab1->setCurrentIndex(2);
        b->clear();
        b->setFocus();
        screentest::Type(b, "-.");
        EXPECT_EQ(b->text(), b == w->txtixMWR ? QStringLiteral(".") : QString());
    }
}

TEST_F(Search, ShowingAMemberGivesItsEndsAndDrawsItRedAndHeavy)
{
    AddLine();
    AddEndType(1, {"剛", "ピン", "ピン"});
    AddEndType(2, {"剛", "1.500", "剛"});
    AddPlacement("要素端部配置", 1, {1, 2}, {3, 4});
    AddPlacement("要素端部配置", 2, {7, 1}, {5});   // no type 7
    frmラーメン図* w = Open();
    struct Case {
        const char* member;
        QStringList ends;
        QStringList info;   // shape, i node, j node
    };
    const Case cases[] = {
        {"4", {"剛", "ピン", "ピン", "剛", "1.500", "剛"}, {"2", "4", "5"}},
        {"5", {"", "", "", "剛", "ピン", "ピン"}, {"1", "5", "6"}},
        {"9", {"剛", "剛", "剛", "剛", "剛", "剛"}, {"1", "9", "10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        w->txt要素番号->setText(QString::fromUtf8(c.member));
        w->cmd要素_Click();
        EXPECT_EQ(EndBoxes(w), c.ends);
        EXPECT_EQ((QStringList{w->txt材料番号->text(), w->lbliNo->text(), w->lbljNo->text()}), c.info);
        EXPECT_EQ(Items(w->lst要素番号), QStringList{QStringLiteral(" ") + c.member});
        const std::vector<preview::DrawOp> red = RedMarks(w);
        ASSERT_GE(red.size(), 3u);
        const preview::DrawOp& line = red[red.size() - 3];
        EXPECT_EQ(line.kind, preview::OpKind::Line);
        EXPECT_EQ(line.pen.width, 30);
        const int m = QString::fromUtf8(c.member).toInt();
        const auto& from = w->ScreenPoints()[static_cast<size_t>(m - 1)];
        EXPECT_NEAR(line.x1, from.x, 0.01);
        EXPECT_NEAR(line.y1, from.y, 0.01);
    }
    EXPECT_TRUE(script().messages.isEmpty());

    struct Refused {
        const char* member;
        QString message;
        bool endsCleared;
    };
    const Refused refused[] = {
        {"501", Info("入力されている部材番号が、入力可能範囲をこえています"), false},
        {"15", Info("部材番号：15 は登録されていません"), true},
        {"x", QString(), false},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.member);
        testenv::ResetScript();
        TypeEnds(w, {"剛", "剛", "剛", "剛", "剛", "剛"});
        w->txt要素番号->setText(QString::fromUtf8(r.member));
        w->cmd要素_Click();
        EXPECT_EQ(script().messages, r.message.isEmpty() ? QStringList() : QStringList{r.message});
        EXPECT_EQ(script().beeps, 1);
        EXPECT_EQ(EndBoxes(w).join(""), r.endsCleared ? QString() : QStringLiteral("剛剛剛剛剛剛"));
    }
}

TEST_F(Search, ListingMembersByShapeNumber)
{
    AddLine();
    AddEndType(1, {"剛", "ピン", "ピン"});
    AddPlacement("要素端部配置", 1, {1, 1}, {3});
    frmラーメン図* w = Open();

    struct Case {
        const char* shape;
        const char* memberBefore;
        QStringList found;
        const char* memberAfter;
    };
    const Case cases[] = {
        {"2", "", {"002", "004", "006", "008", "010", "012", "014"}, " 2"},
        {"1", "3", {"001", "003", "005", "007", "009", "011", "013"}, " 3"},
        {"1", "4", {"001", "003", "005", "007", "009", "011", "013"}, " 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shape);
        SCOPED_TRACE(c.memberBefore);
        w->txt要素番号->setText(QString::fromUtf8(c.memberBefore));
        w->txt材料番号->setText(QString::fromUtf8(c.shape));
        w->cmd材料番号_Click();
        EXPECT_EQ(w->MemberResults(), c.found);
        EXPECT_EQ(w->txt要素番号->text(), QString::fromUtf8(c.memberAfter));
        EXPECT_EQ(w->lbl検索条件->text(), QStringLiteral("形状番号"));
        EXPECT_EQ(w->lst要素番号->currentItem()->text(), QString::fromUtf8(c.memberAfter));
    }
    // The chosen member's end conditions are shown; nothing is drawn.
    w->txt要素番号->setText("3");
    w->cmd材料番号_Click();
    EXPECT_EQ(EndBoxes(w), (QStringList{"剛", "ピン", "ピン", "剛", "ピン", "ピン"}));
    EXPECT_TRUE(RedMarks(w).empty());
    EXPECT_TRUE(script().messages.isEmpty());

    // No member uses the shape, or the number lies beyond any shape number.
    for (const char* shape : {"5", "70000"}) {
        SCOPED_TRACE(shape);
        testenv::ResetScript();
        w->txt材料番号->setText(QString::fromUtf8(shape));
        w->cmd材料番号_Click();
        EXPECT_EQ(script().messages, QStringList{Info(QStringLiteral("入力されている形状番号：%1 を使用している部材は\r\n"
                                                                     "[部材配置]に登録されていません")
                                                          .arg(shape))});
        EXPECT_EQ(script().beeps, 2);
        EXPECT_TRUE(w->txt要素番号->text().isEmpty());
        EXPECT_EQ(EndBoxes(w).join(""), QString());
        EXPECT_EQ(w->lst要素番号->count(), 0);
    }
    // Clicking a listed member shows it.
    w->txt材料番号->setText("2");
    w->cmd材料番号_Click();
    w->lst要素番号->setCurrentRow(2);
    EXPECT_EQ(w->txt要素番号->text(), QStringLiteral(" 6"));
    EXPECT_EQ(w->lbliNo->text(), QStringLiteral("6"));
    EXPECT_EQ(RedMarks(w).size(), 3u);
}

TEST_F(Search, ListingMembersByEndConditions)
{
    AddLine();
    AddEndType(1, {"剛", "ピン", "ピン"});
    AddEndType(2, {"剛", "剛", "剛"});
    AddEndType(3, {"ピン", "1.500", "剛"});
    AddPlacement("要素端部配置", 1, {1, 2}, {3, 4, 600, 20});
    AddPlacement("要素端部配置", 2, {2, 2}, {5});
    AddPlacement("要素端部配置", 3, {2, 1}, {4});   // the last row wins for member 4
    AddPlacement("要素端部配置", 4, {3, 3}, {6});
    frmラーメン図* w = Open();
    const QStringList rigid = {"剛", "剛", "剛"}, pinned = {"剛", "ピン", "ピン"}, spring = {"ピン", "1.500", "剛"};
    const QStringList unknown = {"ピン", "ピン", "ピン"};
    const QString jAlone = Info("入力されているｊ端側の拘束条件は、[部材端部拘束条件]に登録されていません");
    const QString iAlone = Info("入力されているｉ端側の拘束条件は、[部材端部拘束条件]に登録されていません");
    const QString both = Info("入力されているｊ端側、j端側の拘束条件は共に、[部材端部拘束条件]に登録されていません");
    struct Case {
        const char* what;
        QStringList i, j;
        QStringList found;
        QStringList messages;
    };
    const Case cases[] = {
        {"i pinned, j rigid", pinned, rigid, {"003"}, {}},
        {"rigid both ends: the unplaced and the rigid type", rigid, rigid,
         {"001", "002", "005", "007", "008", "009", "010", "011", "012", "013", "014"}, {}},
        {"rigid to pinned", rigid, pinned, {"004"}, {}},
        {"springs", spring, spring, {"006"}, {}},
        {"j end unknown", pinned, unknown, {}, {jAlone}},
        {"i end unknown", unknown, pinned, {}, {iAlone}},
        {"both unknown", unknown, unknown, {}, {both}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testenv::ResetScript();
        TypeEnds(w, c.i + c.j);
        w->cmd端部状態_Click();
        EXPECT_EQ(w->MemberResults(), c.found);
        EXPECT_EQ(script().messages, c.messages);
        EXPECT_EQ(w->lbl検索条件->text(), QStringLiteral("拘束条件"));
        EXPECT_EQ(EndBoxes(w), c.i + c.j);   // the typed conditions stay
        if (c.found.isEmpty()) {
            EXPECT_TRUE(w->txt要素番号->text().isEmpty());
            EXPECT_TRUE(w->lbliNo->text().isEmpty());
        } else {
            EXPECT_EQ(w->txt要素番号->text(), QStringLiteral(" ") + QString::number(c.found[0].toInt()));
            EXPECT_EQ(w->lbliNo->text(), QString::number(c.found[0].toInt()));
        }
    }
    EXPECT_TRUE(RedMarks(w).empty());
}

TEST_F(Search, RigidEndsWithoutARigidTypeListTheUnplacedMembers)
{
    AddLine();
    AddEndType(1, {"剛", "ピン", "ピン"});
    AddPlacement("要素端部配置", 1, {1, 1}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    frmラーメン図* w = Open();
    TypeEnds(w, {"剛", "剛", "剛", "剛", "剛", "剛"});
    w->cmd端部状態_Click();
    EXPECT_EQ(w->MemberResults(), (QStringList{"011", "012", "013", "014"}));
    EXPECT_TRUE(script().messages.isEmpty());
}

TEST_F(Search, NodeAndMemberResultsAreKeptApart)
{
    AddLine();
    AddMembers({{60, 1, 15, 1}});
    AddRestraintType(1, kAllFixed);
    AddPlacement("節点拘束配置", 1, {1}, {1, 15});
    frmラーメン図* w = Open();
    w->txt材料番号->setText("1");
    w->cmd材料番号_Click();
    TypeRestraint(w, kAllFixed);
    w->cmd拘束_Click();
    EXPECT_EQ(w->NodeResults(), (QStringList{"001", "015"}));
    // Paging the member ranges after a node search shows members still.
    w->cbo要素番号->setCurrentIndex(1);
    EXPECT_EQ(Items(w->lst要素番号), QStringList{" 60"});
    w->cbo要素番号->setCurrentIndex(0);
    EXPECT_EQ(Items(w->lst要素番号), (QStringList{" 1", " 3", " 5", " 7", " 9", " 11", " 13"}));
}

TEST_F(Search, RangeCombosHoldTheRangesOfTheLargestNumbers)
{
    AddBuilding();
    frmラーメン図* w = Open();
    EXPECT_EQ(Items(w->cbo節点番号), diagram::NumberRangeItems(300));
    EXPECT_EQ(w->cbo節点番号->count(), 7);
    EXPECT_EQ(w->cbo要素番号->count(), 11);
    EXPECT_EQ(w->cbo節点番号->currentIndex(), 0);
    EXPECT_EQ(w->cbo要素番号->currentIndex(), 0);
}

}  // namespace
