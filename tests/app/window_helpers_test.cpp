// The shared window helpers and the window collection.
#include "common/TestEnv.h"
#include "core/MakeDatabase.h"
#include "platform/Forms.h"
#include "platform/Settings.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using rt::Variant;

TEST(WindowHelpers, CaptionsFollowTheScreenCodeAndTheVersion)
{
    Program().ProgramVersion = QStringLiteral("1.41");
    QWidget w;
    struct Case { int16_t code; const char* caption; };
    const Case cases[] = {
        {10102, "ZELKOVA  ver 1.41　メインメニュー"},
        {10209, "ZELKOVA  ver 1.41　 9．部材端部拘束条件配置"},
        {10210, "ZELKOVA  ver 1.41　10．荷重形状"},
        {10301, "ZELKOVA  ver 1.41　印刷プレビュー　解析結果"},
        {10402, "ZELKOVA  ver 1.41　印刷プレビュー　解析結果"},
        {10404, "ZELKOVA  ver 1.41　印刷設定"},
    };
    for (const Case& c : cases) {
        SetWindowCaption(c.code, &w);
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(c.caption)) << c.code;
    }
    for (int16_t unknown : {int16_t(10220), int16_t(10232), int16_t(0)}) {
        SetWindowCaption(unknown, &w);
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(cases[5].caption)) << unknown;
    }
    Program().ProgramVersion = QStringLiteral("9.99");
    SetWindowCaption(10102, &w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ZELKOVA  ver 9.99　メインメニュー"));
}

// Bringing a window to the front through the topmost band changes the state
// of the native window in place: the window keeps its identity, a hidden one
// stays hidden, and one not yet made takes the state when it is shown.
TEST(WindowHelpers, TopMostChangesTheWindowInPlace)
{
    auto onTop = [](const QWidget& w) {
        return w.windowFlags().testFlag(Qt::WindowStaysOnTopHint)
               && (!w.windowHandle() || w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    };
    forms::Form shown(QStringLiteral("frmMainmenu"));
    shown.show();
    forms::Form hidden(QStringLiteral("frmPreview"));
    hidden.show();
    hidden.hide();
    const WId shownId = shown.winId(), hiddenId = hidden.winId();
    for (forms::Form* w : {&shown, &hidden}) {
        SCOPED_TRACE(w->Name().toStdString());
        const bool visible = w->isVisible();
        const QRect place = w->geometry();
        SetWindowTopMost(w, forms::kTopMost);
        EXPECT_TRUE(onTop(*w));
        EXPECT_EQ(w->isVisible(), visible);
        SetWindowTopMost(w, forms::kNotTopMost);
        EXPECT_FALSE(onTop(*w));
        EXPECT_EQ(w->isVisible(), visible);
        EXPECT_EQ(w->geometry(), place);
        // Other insert positions change nothing.
        SetWindowTopMost(w, 0);
        EXPECT_FALSE(onTop(*w));
    }
    EXPECT_EQ(shown.winId(), shownId);
    EXPECT_EQ(hidden.winId(), hiddenId);

    forms::Form fresh(QStringLiteral("frmAnalyze"));
    SetWindowTopMost(&fresh, forms::kTopMost);
    EXPECT_FALSE(fresh.isVisible());
    EXPECT_EQ(fresh.windowHandle(), nullptr);
    fresh.show();
    EXPECT_TRUE(onTop(fresh));
}

// A window centred over another stays whole within the screen, however far
// the other reaches past its edge; with nothing to centre on it is centred on
// the screen itself. It keeps its size.
TEST(WindowHelpers, CentringKeepsTheWindowWithinTheScreen)
{
    const QRect screen(0, 32, 1366, 736);
    forms::SetAvailableScreenArea(screen);
    QWidget window;
    window.resize(300, 200);
    window.show();
    enum Expect { Centred, AtBottomRight, AtTopLeft };
    struct Case {
        const char* what;
        QRect over;   // empty: nothing to centre on
        Expect expect;
    };
    const Case cases[] = {
        {"over a window within the screen", {100, 100, 500, 400}, Centred},
        {"over a window stored for 1920 x 1080", {1666, 800, 749, 498}, AtBottomRight},
        {"over a window above the screen", {-200, -300, 400, 300}, AtTopLeft},
        {"over nothing", {}, Centred},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget over;
        over.setGeometry(c.over);
        if (!c.over.isEmpty()) over.show();
        CentreOver(&window, c.over.isEmpty() ? nullptr : &over);
        const QRect frame = window.frameGeometry();
        const QPoint centre = c.over.isEmpty() ? screen.center() : over.frameGeometry().center();
        EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y();
        EXPECT_EQ(window.size(), QSize(300, 200));
        switch (c.expect) {
        case Centred: EXPECT_LE((frame.center() - centre).manhattanLength(), 2); break;
        case AtBottomRight: EXPECT_EQ(frame.bottomRight(), screen.bottomRight()); break;
        case AtTopLeft: EXPECT_EQ(frame.topLeft(), screen.topLeft()); break;
        }
    }
}

TEST(WindowHelpers, NumericKeyFilter)
{
    auto& script = testenv::ResetScript();
    struct Case { int16_t key; bool noMinus, noDot; int16_t result; bool beep; };
    const Case cases[] = {
        {'5', true, true, '5', false},  {8, true, true, 8, false},      {' ', true, true, ' ', false},
        {'-', false, true, '-', false}, {'-', true, false, 0, true},    {'.', true, false, '.', false},
        {'.', false, true, 0, true},    {13, false, false, 0, false},   {'+', false, false, 0, true},
        {'a', false, false, 0, true},
    };
    for (const Case& c : cases) {
        int before = script.beeps;
        EXPECT_EQ(FilterNumericKey(c.key, c.noMinus, c.noDot), c.result) << c.key;
        EXPECT_EQ(script.beeps - before, c.beep ? 1 : 0) << c.key;
    }
}

TEST(WindowHelpers, ArrowKeysMoveAndSelect)
{
    QWidget w;
    QLineEdit up(&w), down(&w), left(&w), right(&w), self(&w);
    for (QLineEdit* e : {&up, &down, &left, &right, &self}) e->setText(QStringLiteral("123"));
    w.show();
    QApplication::setActiveWindow(&w);
    MoveFocusByKey(Key::Return, &up, &down, &left, &right, &down);
    EXPECT_TRUE(down.hasFocus());
    EXPECT_EQ(down.selectedText(), QStringLiteral("123"));
    MoveFocusByKey(Key::Up, &up, &down, &left, &right, &down);
    EXPECT_TRUE(up.hasFocus());
    MoveFocusByKey(Key::Left, &up, &down, &left, &right, &down);
    EXPECT_TRUE(left.hasFocus());
    MoveFocusByKey(34 /* Page Down */, &up, &down, &left, &right, &down);
    EXPECT_TRUE(left.hasFocus());
    EXPECT_EQ(KeyCodeOf(Qt::Key_Tab), 0);
}

TEST(WindowHelpers, ToolTipsAreClearedOnlyWhenTheOptionIsOff)
{
    QWidget w;
    auto* b = new QPushButton(&w);
    b->setToolTip(QStringLiteral("tip"));
    new QLabel(&w);   // a control without a tool tip
    ClearToolTipsIfOff(&w);
    EXPECT_EQ(b->toolTip(), QStringLiteral("tip"));
    reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("ChkToolTipText"), QStringLiteral("False"));
    ClearToolTipsIfOff(&w);
    EXPECT_TRUE(b->toolTip().isEmpty());
}

TEST(WindowHelpers, BasicDataReadsAndPlacementSearch)
{
    int16_t mode = 0;
    MakeDatabase(mode);
    bool si = false;
    ReadUnitFlag(si);
    EXPECT_TRUE(si);   // an empty project counts as SI
    Program().SharedDatabase = dao::Database::Open(kWorkingDatabase);
    int16_t cases = 7;
    ReadLoadCaseCount(cases);
    EXPECT_EQ(cases, 7);

    auto rs = Program().SharedDatabase->OpenRecordset(QStringLiteral("基本データ"));
    rs->AddNew();
    rs->SetField(QStringLiteral("Unit"), Variant::Text(QStringLiteral("False")));
    rs->SetField(QStringLiteral("Case"), Variant::Integer(3));
    rs->Update();
    ReadUnitFlag(si);
    EXPECT_FALSE(si);
    ReadLoadCaseCount(cases);
    EXPECT_EQ(cases, 3);

    // Rows in display order; 12 stands in fld_07 of row A and fld_02 of row B.
    auto p = Program().SharedDatabase->OpenRecordset(QStringLiteral("節点拘束配置"));
    auto add = [&](int no, std::vector<std::pair<int, int>> cells) {
        p->AddNew();
        p->SetField(QStringLiteral("No_"), Variant::Integer(int16_t(no)));
        for (auto [slot, value] : cells)
            p->SetField(QStringLiteral("fld_%1").arg(slot, 2, 10, QLatin1Char('0')), Variant::Integer(int16_t(value)));
        p->Update();
    };
    add(1, {{1, 5}, {7, 12}});
    add(2, {{1, 6}, {2, 12}});
    add(3, {{7, 40}});
    p->Requery();
    FindRowListingNumber(p, 12);
    ASSERT_FALSE(p->NoMatch());
    EXPECT_EQ(p->Field(QStringLiteral("No_")).toInteger(), 2);   // the lower column wins
    FindRowListingNumber(p, 40);
    ASSERT_FALSE(p->NoMatch());
    EXPECT_EQ(p->Field(QStringLiteral("No_")).toInteger(), 3);
    FindRowListingNumber(p, 99);
    EXPECT_TRUE(p->NoMatch());
    CloseSharedData();
    CloseSharedData();   // twice is harmless
    EXPECT_FALSE(Program().SharedDatabase);
}

namespace {
class Recording : public forms::Form {
public:
    Recording(const QString& name, QStringList* log) : forms::Form(name), log_(log) {}

protected:
    void Form_Unload(bool&) override { *log_ << objectName(); }

private:
    QStringList* log_;
};
}  // namespace

TEST(WindowCollection, UnloadOtherFormsGoesNewestFirstAndKeepsTheMenu)
{
    forms::SetLastWindowHandler(nullptr);
    QStringList log;
    Recording menu(QStringLiteral("frmMainmenu"), &log), preview(QStringLiteral("frmPreview"), &log),
        dialog(QStringLiteral("frmPrintInfoSetUp"), &log);
    menu.Load();
    preview.Load();
    dialog.Load();
    ASSERT_EQ(forms::LoadedForms().size(), 3u);
    forms::UnloadOtherForms();
    EXPECT_EQ(log, (QStringList{QStringLiteral("frmPrintInfoSetUp"), QStringLiteral("frmPreview")}));
    EXPECT_TRUE(menu.IsLoaded());
    EXPECT_EQ(forms::LoadedForms().size(), 1u);
    EXPECT_EQ(forms::Px(7470), 498);
    EXPECT_EQ(forms::Tw(10), 150.0);
}
