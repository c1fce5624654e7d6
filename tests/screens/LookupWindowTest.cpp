// The lookup windows beside an input screen: their rows in display order on a
// connection of their own, centred on the screen, closed with it.
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "platform/DataGrid.h"
#include "input/LookupWindow.h"
#include "screens/NodeScreen.h"

#include <QApplication>
#include <QStatusBar>
#include "screens/ScreenTestSupport.h"

using namespace inputtest;

using namespace screentest;

namespace {

class Lookups : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainMenu = PrepareScreenTest();
    }
    void OpenNodeScreen()
    {
        Program().ScreenCode = ScreenNodeCoordinates;
        ASSERT_TRUE(StartInputForm());
        script = &testenv::ResetScript();
    }
    LookupWindow* Open(const QString& name)
    {
        auto* w = dynamic_cast<LookupWindow*>(ScreenInstance(name));
        EXPECT_NE(w, nullptr) << name.toStdString();
        if (w) w->Show();
        return w;
    }
    QStringList GridColumn(dao::DataGrid* g, const QString& field)
    {
        QStringList l;
        for (int r = 0; r < g->RowCount(); ++r) l << g->CellText(r, field);
        return l;
    }
    QStringList Headers(dao::DataGrid* g)
    {
        QStringList l;
        for (int c = 0; c < g->model()->columnCount(); ++c)
            if (!g->isColumnHidden(c)) l << g->model()->headerData(c, Qt::Horizontal).toString();
        return l;
    }
    ui::ScriptedServices* script = nullptr;
    MainMenuHook mainMenu;
};

TEST_F(Lookups, EachWindowShowsItsTableWithItsCaptionAndColumns)
{
    using V = rt::Variant;
    AppendRows("要素情報", {"No_", "iTan", "jTan", "材料番号", "順"},
               {{V::Integer(7), V::Integer(1), V::Integer(2), V::Integer(1001), V::Integer(2)},
                {V::Integer(3), V::Integer(2), V::Integer(3), V::Integer(5), V::Integer(1)}});
    AppendRows("節点拘束形状", {"No_", "u", "v", "w", "θx", "θy", "θz", "順"},
               {{V::Integer(1), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Text("自由"), V::Text("自由"),
                 V::Text("1500.000"), V::Integer(1)}});
    AppendRows("要素端部形状", {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", "順"},
               {{V::Integer(4), V::Text("剛"), V::Text("剛"), V::Text("剛"), V::Text("剛"), V::Text("ピン"), V::Text("20.000"),
                 V::Integer(1)}});
    AddNodes(2);
    OpenNodeScreen();

    struct Case {
        const char* form;
        const char* caption;
        QStringList headers;
        const char* firstField;
        QStringList firstColumn;
    };
    const Case cases[] = {
        {"frm節点座標参照", "ZELKOVA  ver 1.41　節点座標データ", {"節点番号", "X", "Y", "Z"}, "X", {"1.000", "2.000"}},
        {"frm要素情報参照", "ZELKOVA  ver 1.41　部材配置データ", {"部材番号", "i 端", "j 端", "形状番号"}, "No_", {"3", "7"}},
        {"frm節点拘束形状参照", "ZELKOVA  ver 1.41　節点拘束条件データ",
         {"形状番号", "X方向", "Y方向", "Z方向", "θx方向", "θy方向", "θz方向"}, "θz", {"1500.000"}},
        {"frm要素端部形状参照", "ZELKOVA  ver 1.41　部材端拘束条件データ", {"形状番号", "x軸回り", "y軸回り", "z軸回り"}, "yMWR",
         {"ピン"}},
    };
    for (const Case& c : cases) {
        LookupWindow* w = Open(c.form);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowTitle(), c.caption) << c.form;
        EXPECT_EQ(Headers(w->DBGrid), c.headers) << c.form;
        EXPECT_EQ(GridColumn(w->DBGrid, c.firstField), c.firstColumn) << c.form;
        EXPECT_TRUE(w->DBGrid->isColumnHidden(w->DBGrid->model()->columnCount() - 1));   // 順
        EXPECT_NE(w->findChild<QStatusBar*>("StatusBar1"), nullptr);
    }
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(script->beeps, 0);
}

TEST_F(Lookups, RowsInDisplayOrderCentredOnTheScreenAndClosedWithIt)
{
    using V = rt::Variant;
    // Numbers 1..3 stored in the display order 3, 1, 2.
    AppendRows("節点座標1", {"No_", "X", "Y", "Z", "順"},
               {{V::Integer(1), V::Double(1), V::Double(0), V::Double(0), V::Integer(3)},
                {V::Integer(2), V::Double(2), V::Double(0), V::Double(0), V::Integer(1)},
                {V::Integer(3), V::Double(3), V::Double(0), V::Double(0), V::Integer(2)}});
    OpenNodeScreen();
    forms::Form* screen = Program().CurrentInputForm.data();
    screen->MoveTw(1500, 1200);
    LookupWindow* w = Open("frm節点座標参照");
    EXPECT_EQ(GridColumn(w->DBGrid, "No_"), QStringList({"2", "3", "1"}));
    EXPECT_NEAR(w->LeftTw() + w->WidthTw() / 2, screen->LeftTw() + screen->WidthTw() / 2, 30);
    EXPECT_NEAR(w->TopTw() + w->HeightTw() / 2, screen->TopTw() + screen->HeightTw() / 2, 30);
    EXPECT_EQ(w->FixedWidth, 120 + 4575 + 270);

    // A second click only brings it forward: a row added meanwhile is not read.
    AddNodes(1, 4);
    Open("frm節点座標参照");
    EXPECT_EQ(w->DBGrid->RowCount(), 3);
    EXPECT_EQ(std::count(forms::LoadedForms().begin(), forms::LoadedForms().end(), w), 1);
    // Closed and opened again it reads the table afresh.
    w->close();
    EXPECT_FALSE(w->IsLoaded());
    Open("frm節点座標参照");
    EXPECT_EQ(w->DBGrid->RowCount(), 4);

    // The screen's end closes it.
    dynamic_cast<frm節点座標1*>(screen)->Cmd登録_Click();
    EXPECT_FALSE(w->IsLoaded());
    EXPECT_FALSE(w->LookupDatabase);
    EXPECT_EQ(forms::LoadedForms().size(), 0u);
}

TEST_F(Lookups, WidthHeldAndGridFollowsTheHeight)
{
    AddNodes(3);
    OpenNodeScreen();
    LookupWindow* w = Open("frm節点座標参照");
    const double width = w->WidthTw();
    EXPECT_NEAR(width, w->FixedWidth, 15);
    w->resize(w->width() + 200, w->height() + 100);
    EXPECT_NEAR(w->WidthTw(), width, 15);
    EXPECT_NEAR(w->DBGrid->HeightTw(), w->HeightTw() - 670, 15);
    // Too small a window is no error.
    w->resize(w->width(), 20);
    EXPECT_TRUE(script->messages.isEmpty());
}

TEST_F(Lookups, EmptyTableBeepsAndOpensAllTheSame)
{
    OpenNodeScreen();
    const std::pair<const char*, const char*> cases[] = {
        {"frm節点座標参照", "節点データが登録されていません"},
        {"frm要素情報参照", "部材データが登録されていません"},
        {"frm節点拘束形状参照", "節点拘束条件に関するデータが登録されていません"},
        {"frm要素端部形状参照", "部材端部条件に関するデータが登録されていません"},
    };
    for (const auto& [form, message] : cases) {
        script = &testenv::ResetScript();
        LookupWindow* w = Open(form);
        EXPECT_EQ(script->messages, QStringList{Info(message)}) << form;
        EXPECT_EQ(script->beeps, 1);
        EXPECT_TRUE(w->IsLoaded());
        EXPECT_EQ(w->DBGrid->RowCount(), 0);
    }
}

}  // namespace

namespace {

// The lookup and picture windows beside a screen close with Esc, wherever
// their focus is.
TEST_F(Lookups, EscapeClosesTheWindowsBesideTheScreen)
{
    AddNodes(1);
    OpenNodeScreen();
    for (int16_t code : {ScreenLoadShapeLookup, ScreenRestraintTypeLookup, ScreenNodeLookup, ScreenMemberLookup,
                         ScreenMemberEndTypeLookup, ScreenLoadTypeFigure, ScreenSectionTypeFigure}) {
        forms::Form* w = WindowInstance(ScreenCodes(code));
        ASSERT_NE(w, nullptr) << code;
        w->Show();
        QApplication::setActiveWindow(w);
        QWidget* target = w->focusWidget() ? w->focusWidget() : w;
        SendKey(target, Qt::Key_Escape, "\x1b");
        EXPECT_FALSE(w->IsLoaded()) << code;
    }
    EXPECT_TRUE(Program().CurrentInputForm->IsLoaded());
}

}  // namespace
