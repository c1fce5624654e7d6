// The restraint and member-end screens through their real widgets: the two
// type screens with their condition words, and the two placement screens
// with their assigned row numbers and type tests.
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "platform/DataGrid.h"
#include "screens/MemberEndScreens.h"
#include "screens/RestraintScreens.h"
#include "screens/ScreenTestSupport.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPixmap>
#include "common/Screenshot.h"

using namespace inputtest;
using namespace screentest;
using rt::Variant;

namespace {

const QStringList kRestraintFields = {"No_", "u", "v", "w", "θx", "θy", "θz", "順"};
const QStringList kEndFields = {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", "順"};

QStringList PlacementFields(const QStringList& types)
{
    QStringList f{"No_"};
    f << types;
    for (int k = 1; k <= 10; ++k) f << QStringLiteral("fld_%1").arg(k, 2, 10, QLatin1Char('0'));
    return f << "順";
}

std::vector<Variant> TextRow(int no, const QStringList& texts, int order)
{
    std::vector<Variant> row{Variant::Integer(int16_t(no))};
    for (const QString& t : texts) row.push_back(t.isNull() ? Variant() : Variant::Text(t));
    row.push_back(Variant::Integer(int16_t(order)));
    return row;
}

std::vector<Variant> Ints(const std::vector<int>& values)
{
    std::vector<Variant> row;
    for (int v : values) row.push_back(Variant::Integer(int16_t(v)));
    return row;
}

class ConditionScreens : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainMenu = PrepareScreenTest();
    }
    void Open(int16_t code)
    {
        OpenScreen(code, s, script);
    }
    void ResetMessages() { script = &testenv::ResetScript(); }
    QLineEdit* B(const QString& name) { return s->Box(name); }
    QString Label(const char* name) { return s->findChild<QLabel*>(name)->text(); }
    QStringList Texts(const QStringList& names)
    {
        QStringList l;
        for (const QString& n : names) l << B(n)->text();
        return l;
    }
    bool AtNewRow() { return s->ScreenRecordset->EOF_(); }
    int Current() { return AtNewRow() ? -1 : s->ScreenRecordset->Field("No_").toInteger(); }
    void ClickGridRow(int row)
    {
        int column = 0;
        while (s->DBGrid->isColumnHidden(column)) ++column;
        QRect r = s->DBGrid->visualRect(s->DBGrid->model()->index(row, column));
        Click(s->DBGrid->viewport(), r.center());
    }
    // Types into a box and leaves it.
    void Enter(const QString& box, const QString& text)
    {
        Retype(B(box), text);
        FocusOut(B(box));
    }
    // Captions of the grid columns that are shown.
    QStringList ShownColumns()
    {
        QStringList l;
        for (int c = 0; c < s->DBGrid->model()->columnCount(); ++c)
            if (!s->DBGrid->isColumnHidden(c)) l << s->DBGrid->model()->headerData(c, Qt::Horizontal).toString();
        return l;
    }

    ListScreen* s = nullptr;
    ui::ScriptedServices* script = nullptr;
    MainMenuHook mainMenu;
};

const QStringList kComponents = {"txtu", "txtv", "txtw", "txtθx", "txtθy", "txtθz"};
const QStringList kRotations = {"txtxMWR", "txtyMWR", "txtzMWR"};
const QStringList kTranslations = {"txtxHKU", "txtyHKU", "txtzHKU"};

QStringList NodeBoxes() { return Array("txt節点番号", 0, 9); }
QStringList MemberBoxes() { return Array("txt要素番号", 0, 9); }

// ---- restraint types ----------------------------------------------------------

TEST_F(ConditionScreens, RestraintTypeOpensFixedWithItsTexts)
{
    Open(ScreenRestraintTypes);
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　6．節点拘束条件");
    EXPECT_EQ(Texts(QStringList{"txtNo"} + kComponents), QStringList({"1", "拘束", "拘束", "拘束", "拘束", "拘束", "拘束"}));
    EXPECT_TRUE(AtNewRow());
    EXPECT_EQ(ShownColumns(), QStringList({"条件番号", "X方向", "Y方向", "Z方向", "θx方向", "θy方向", "θz方向"}));
    EXPECT_EQ(Label("lblBaneUnit"), "その他　：　バネ定数( kN/cm または KN･m/rad )");
    EXPECT_EQ(Label("Label9"), "　０　　　：　自由　       １　　　：　拘束 ");
    EXPECT_EQ(Label("Label1"), "ここでの座標系はすべて絶対座標系です");
    EXPECT_EQ(s->Cmd登録->text(), "登録（&R）");
    EXPECT_EQ(s->findChild<QPushButton*>("cmdRefer節点座標")->text(), "節点座標の参照");
    EXPECT_EQ(s->findChild<QPushButton*>("cmdRefer節点座標")->toolTip(), "[節点座標]で入力したデータを表示します");
    EXPECT_FALSE(s->Modified);
}

TEST_F(ConditionScreens, RestraintComponentsBecomeWordsOrSpringsOnLeaving)
{
    Open(ScreenRestraintTypes);
    const std::pair<const char*, const char*> cases[] = {{"0", "自由"},    {"0.0", "自由"},   {"0.000", "自由"}, {"1", "拘束"},
                                                         {"1.0", "拘束"},  {"2.5", "2.500"}, {"1.0004", "1.0004"}, {"500", "500.000"}};
    for (const auto& [typed, shown] : cases) {
        Enter("txtv", typed);
        EXPECT_EQ(B("txtv")->text(), shown) << typed;
    }
    // Words cannot be typed: letters and the minus beep and are dropped.
    Click(B("txtw"));
    B("txtw")->clear();
    const int beeps = script->beeps;
    Type(B("txtw"), "-a1.5");
    EXPECT_EQ(B("txtw")->text(), "1.5");
    EXPECT_EQ(script->beeps, beeps + 2);
    // txtNo takes digits only and is written back as a whole number.
    Click(B("txtNo"));
    B("txtNo")->clear();
    Type(B("txtNo"), "1.2");
    EXPECT_EQ(B("txtNo")->text(), "12");
}

TEST_F(ConditionScreens, RestraintRowsAreStoredAsWordsAndSprings)
{
    Open(ScreenRestraintTypes);
    // Down pressed in a box before leaving it: the save check normalises.
    Retype(B("txtu"), "0");
    Retype(B("txtv"), "1");
    Retype(B("txtw"), "250");
    SendKey(B("txtw"), Qt::Key_Down);
    EXPECT_EQ(Rows("節点拘束形状", kRestraintFields), QStringList{"1|自由|拘束|250.000|拘束|拘束|拘束|1"});
    EXPECT_EQ(B("txtNo")->text(), "2");
    EXPECT_EQ(B("txtu")->text(), "拘束");   // every new row starts fixed
    Click(s->cmd追加);
    EXPECT_EQ(Rows("節点拘束形状", kRestraintFields).last(), "2|拘束|拘束|拘束|拘束|拘束|拘束|2");
    EXPECT_TRUE(script->messages.isEmpty());

    // Update through the button: the shown row is rewritten.
    ClickGridRow(0);
    EXPECT_TRUE(s->focusWidget() == B("txtNo"));
    Enter("txtθz", "0");
    Click(s->cmd修正);
    EXPECT_EQ(Rows("節点拘束形状", kRestraintFields).first(), "1|自由|拘束|250.000|拘束|拘束|自由|1");
    EXPECT_EQ(Current(), 1);
    EXPECT_FALSE(s->Modified);
}

TEST_F(ConditionScreens, RestraintStoredRowsAreShownReformatted)
{
    AppendRows("節点拘束形状", kRestraintFields,
               {TextRow(12, {"自由", "500", "拘束", "0.5", "12.25", "拘束"}, 1), TextRow(4, {"拘束", "拘束", "拘束", "自由", "自由", "自由"}, 2)});
    Open(ScreenRestraintTypes);
    EXPECT_EQ(Texts(QStringList{"txtNo"} + kComponents), QStringList({"12", "自由", "500.000", "拘束", "0.500", "12.250", "拘束"}));
    // The proposal follows the largest number, not the last row.
    SendKey(B("txtNo"), Qt::Key_Down);
    SendKey(B("txtNo"), Qt::Key_Down);
    EXPECT_TRUE(AtNewRow());
    EXPECT_EQ(B("txtNo")->text(), "13");
}

TEST_F(ConditionScreens, RestraintTypeRefusals)
{
    AppendRows("節点拘束形状", kRestraintFields, {TextRow(1, QStringList(6, "拘束"), 1), TextRow(2, QStringList(6, "拘束"), 2)});
    Open(ScreenRestraintTypes);
    const QString range = QStringLiteral("入力できる条件番号は 1 から 9999 です。");
    struct Case {
        const char* box;
        const char* text;
        QString message;
    };
    const Case cases[] = {{"txtNo", "0", range},     {"txtNo", "10000", range}, {"txtNo", "", kInvalid},
                          {"txtw", "", kInvalid},    {"txtw", "  ", kInvalid},  {"txtθy", "1.2.3", kInvalid}};
    SendKey(B("txtNo"), Qt::Key_Down);   // the new-row position
    SendKey(B("txtNo"), Qt::Key_Down);
    ASSERT_TRUE(AtNewRow());
    for (const Case& c : cases) {
        B("txtNo")->setText("3");
        for (const QString& b : kComponents) B(b)->setText("拘束");
        B(c.box)->setText(c.text);
        ResetMessages();
        Click(s->cmd追加);
        EXPECT_EQ(script->messages, QStringList{Info(c.message)}) << c.box << " " << c.text;
        EXPECT_EQ(Rows("節点拘束形状", {"No_"}).size(), 2);
    }
    // The bounds themselves are accepted.
    B("txtθy")->setText("拘束");
    for (const char* no : {"9999", "3"}) {
        B("txtNo")->setText(no);
        Click(s->cmd追加);
    }
    EXPECT_EQ(Rows("節点拘束形状", {"No_"}), QStringList({"1", "2", "9999", "3"}));

    ResetMessages();
    B("txtNo")->setText("2");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info("条件番号：2\r\n入力した条件番号はすでに使用されているので新たに登録できません")});
    ClickGridRow(0);
    ResetMessages();
    Retype(B("txtNo"), "3");
    Click(s->cmd修正);
    EXPECT_EQ(script->messages, QStringList{Info("条件番号：3\r\n入力した条件番号は他の節点拘束条件データですでに使用されています")});
    EXPECT_EQ(Rows("節点拘束形状", {"No_"}), QStringList({"1", "2", "9999", "3"}));
}

TEST_F(ConditionScreens, RestraintTypeInGravitationalUnitsAndItsPlacementsOnDelete)
{
    AppendRows("基本データ", {"工事名", "Unit"}, {{Variant::Text("A"), Variant::Text("False")}});
    AppendRows("節点拘束形状", kRestraintFields, {TextRow(3, QStringList(6, "拘束"), 1)});
    AppendRows("節点拘束配置", PlacementFields({"拘束形状"}), {Ints({1, 3, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 1})});
    Open(ScreenRestraintTypes);
    EXPECT_EQ(Label("lblBaneUnit"), "その他　：　バネ定数( t/cm または t･m/rad )");
    EXPECT_FALSE(Program().UnitIsSI);
    Click(s->cmd削除);   // Yes
    EXPECT_TRUE(Rows("節点拘束形状", {"No_"}).isEmpty());
    EXPECT_EQ(Rows("節点拘束配置", {"No_", "拘束形状", "fld_01"}), QStringList{"1|3|5"});
    // The node lookup opens beside the screen, here on an empty node table.
    Click(s->findChild<QPushButton*>("cmdRefer節点座標"));
    EXPECT_EQ(script->messages.last(), Info("節点データが登録されていません"));
    EXPECT_NE(forms::FindLoadedForm("frm節点座標参照"), nullptr);
}

// ---- member-end condition types -----------------------------------------------------

TEST_F(ConditionScreens, EndTypeOpensRigidWithItsTexts)
{
    Open(ScreenMemberEndTypes);
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　8．部材端部拘束条件");
    EXPECT_EQ(Texts(QStringList{"txtNo"} + kRotations + kTranslations), QStringList({"1", "剛", "剛", "剛", "剛", "剛", "剛"}));
    for (const QString& t : kTranslations) EXPECT_FALSE(B(t)->isVisible()) << t.toStdString();
    EXPECT_EQ(ShownColumns(), QStringList({"形状番号", "x軸回り", "y軸回り", "z軸回り"}));
    EXPECT_EQ(s->DBGrid->model()->columnCount(), 8);
    EXPECT_EQ(Label("lblBaneUnit"), "その他　：　バネ定数( KN･m/rad )");
    EXPECT_EQ(Label("Label9"), "　０　　　：　ピン　　  　１　　　：　剛");
    EXPECT_EQ(s->Cmd登録->text(), "登録（&R）");

    // The ring skips the hidden translations.
    Click(B("txtzMWR"));
    SendKey(B("txtzMWR"), Qt::Key_Right);
    EXPECT_TRUE(s->focusWidget() == B("txtNo"));
    SendKey(B("txtNo"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txtzMWR"));
    SendKey(B("txtNo"), Qt::Key_Return);
    EXPECT_TRUE(s->focusWidget() == B("txtxMWR"));
}

TEST_F(ConditionScreens, EndRotationsOnLeaving)
{
    Open(ScreenMemberEndTypes);
    const std::pair<const char*, const char*> torsion[] = {{"0", "ピン"}, {"0.5", "ピン"}, {"1", "剛"}, {"2.5", "剛"}};
    for (const auto& [typed, shown] : torsion) {
        Enter("txtxMWR", typed);
        EXPECT_EQ(B("txtxMWR")->text(), shown) << typed;
    }
    const std::pair<const char*, const char*> bending[] = {{"0", "ピン"},    {"0.000", "ピン"}, {"1", "剛"},
                                                           {"1.0", "剛"},    {"2.5", "2.500"},  {"0.5", "0.500"},
                                                           {"1.0004", "1.0004"}};
    for (const char* box : {"txtyMWR", "txtzMWR"})
        for (const auto& [typed, shown] : bending) {
            Enter(box, typed);
            EXPECT_EQ(B(box)->text(), shown) << box << " " << typed;
        }
}

TEST_F(ConditionScreens, EndSpringOfOneThousandthAboveOne)
{
    Open(ScreenMemberEndTypes);
    // A spring just above one stays a spring, whether the box is left by
    // clicking a button or by Down.
    Enter("txtyMWR", "1.0004");
    Click(s->cmd追加);
    Retype(B("txtyMWR"), "1.0004");
    SendKey(B("txtyMWR"), Qt::Key_Down);
    Retype(B("txtzMWR"), "0.25");
    Retype(B("txtxMWR"), "3");
    SendKey(B("txtxMWR"), Qt::Key_Down);
    EXPECT_EQ(Rows("要素端部形状", kEndFields),
              QStringList({"1|剛|剛|剛|剛|1.0004|剛|1", "2|剛|剛|剛|剛|1.0004|剛|2", "3|剛|剛|剛|剛|剛|0.250|3"}));
    EXPECT_TRUE(script->messages.isEmpty());
}

TEST_F(ConditionScreens, EndTypeEmptyFieldsShowRigidAndAreWrittenBack)
{
    AppendRows("要素端部形状", kEndFields, {TextRow(5, {QString(), QString(), QString(), "ピン", QString(), "2000"}, 1)});
    Open(ScreenMemberEndTypes);
    EXPECT_EQ(Texts(QStringList{"txtNo"} + kRotations + kTranslations), QStringList({"5", "ピン", "剛", "2000.000", "剛", "剛", "剛"}));
    Retype(B("txtxMWR"), "1");
    Click(s->cmd修正);
    EXPECT_EQ(Rows("要素端部形状", kEndFields), QStringList{"5|剛|剛|剛|剛|剛|2000.000|1"});
}

TEST_F(ConditionScreens, EndTypeRefusals)
{
    AppendRows("要素端部形状", kEndFields, {TextRow(1, QStringList(6, "剛"), 1), TextRow(2, QStringList(6, "剛"), 2)});
    Open(ScreenMemberEndTypes);
    const QString range = QStringLiteral("入力できる条件番号は  1 から 9999 です。");
    struct Case {
        const char* box;
        const char* text;
        QString message;
    };
    const Case cases[] = {{"txtNo", "0", range},      {"txtNo", "10000", range}, {"txtxMWR", "", kInvalid},
                          {"txtyMWR", "", kInvalid},  {"txtzMWR", " ", kInvalid}};
    SendKey(B("txtNo"), Qt::Key_Down);
    SendKey(B("txtNo"), Qt::Key_Down);
    ASSERT_TRUE(AtNewRow());
    for (const Case& c : cases) {
        B("txtNo")->setText("3");
        for (const QString& b : kRotations) B(b)->setText("剛");
        B(c.box)->setText(c.text);
        ResetMessages();
        Click(s->cmd追加);
        EXPECT_EQ(script->messages, QStringList{Info(c.message)}) << c.box << " " << c.text;
    }
    // A numeric x entry is already a word when a later box fails.
    B("txtNo")->setText("3");
    B("txtxMWR")->setText("0.2");
    B("txtyMWR")->setText("");
    Click(s->cmd追加);
    EXPECT_EQ(B("txtxMWR")->text(), "ピン");
    EXPECT_EQ(Rows("要素端部形状", {"No_"}).size(), 2);

    ResetMessages();
    ClickGridRow(1);
    Retype(B("txtNo"), "1");
    Click(s->cmd修正);
    EXPECT_EQ(script->messages, QStringList{Info("条件番号：1\r\n入力した条件番号は他の部材端部条件データですでに使用されています")});
    SendKey(B("txtNo"), Qt::Key_Down);   // refused again, and moves on to the new row
    ASSERT_TRUE(AtNewRow());
    ResetMessages();
    B("txtNo")->setText("1");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info("条件番号：1\r\n入力した条件番号はすでに使用されているので新たに登録できません")});
}

TEST_F(ConditionScreens, EndTypeInGravitationalUnits)
{
    AppendRows("基本データ", {"工事名", "Unit"}, {{Variant::Text("A"), Variant::Text("False")}});
    Open(ScreenMemberEndTypes);
    EXPECT_EQ(Label("lblBaneUnit"), "その他　：　バネ定数( t･m/rad )");
}

// ---- restraint placement ----------------------------------------------------------

class RestraintPlacement : public ConditionScreens {
protected:
    void SetUp() override
    {
        ConditionScreens::SetUp();
        AppendRows("節点拘束形状", kRestraintFields, {TextRow(1, QStringList(6, "拘束"), 1), TextRow(2, QStringList(6, "自由"), 2)});
    }
    QString Message(const QString& type)
    {
        return Info("拘束条件：" + type + "\r\n入力されている拘束条件は[節点拘束条件]に登録されていません");
    }
};

TEST_F(RestraintPlacement, OpensWithTypeOneAndEmptySlots)
{
    Open(ScreenRestraintPlacement);
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　7．節点拘束条件配置");
    EXPECT_EQ(B("txtNo")->text(), "1");
    EXPECT_FALSE(B("txtNo")->isVisible());
    EXPECT_EQ(B("txt拘束形状")->text(), "1");
    EXPECT_EQ(Texts(NodeBoxes()), QStringList(10, "0"));
    EXPECT_EQ(ShownColumns(), QStringList({"条件番号", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(s->DBGrid->model()->columnCount(), 13);
    EXPECT_EQ(Label("Label1"), "拘束条件を指定しない節点は、全て全方向自由となります");
    EXPECT_EQ(s->Cmd登録->text(), "登録(&R)");
    EXPECT_EQ(s->findChild<QPushButton*>("Refer節点拘束形状参照")->text(), "拘束条件の参照");
    EXPECT_EQ(s->findChild<QPushButton*>("Refer節点拘束形状参照")->toolTip(), "[節点拘束条件]で入力したデータを表示します");
}

TEST_F(RestraintPlacement, AddedRowsKeepTheTypeAndTakeTheNextNumber)
{
    Open(ScreenRestraintPlacement);
    Retype(B("txt拘束形状"), "2");
    Retype(B("txt節点番号(0)"), "5");
    Retype(B("txt節点番号(2)"), "9");
    Retype(B("txt節点番号(3)"), "250");   // no such node: stored as typed
    SendKey(B("txt節点番号(3)"), Qt::Key_Down);
    EXPECT_EQ(Rows("節点拘束配置", {"No_", "拘束形状", "fld_01", "fld_02", "fld_03", "fld_04", "fld_10", "順"}),
              QStringList{"1|2|5|0|9|250|0|1"});
    EXPECT_EQ(B("txtNo")->text(), "2");
    EXPECT_EQ(B("txt拘束形状")->text(), "2");
    EXPECT_EQ(Texts(NodeBoxes()), QStringList(10, "0"));
    Click(s->cmd追加);   // all ten slots 0: accepted
    EXPECT_EQ(Rows("節点拘束配置", {"No_", "拘束形状", "fld_01"}), QStringList({"1|2|5", "2|2|0"}));

    // 追加 with a stored row shown: a copy under the largest number + 1, without a word.
    ClickGridRow(0);
    EXPECT_TRUE(s->focusWidget() == B("txt拘束形状"));
    EXPECT_EQ(B("txtNo")->text(), "1");
    Retype(B("txt節点番号(1)"), "7");
    Click(s->cmd追加);
    EXPECT_EQ(Rows("節点拘束配置", {"No_", "拘束形状", "fld_01", "fld_02", "順"}), QStringList({"1|2|5|0|1", "2|2|0|0|2", "3|2|5|7|3"}));
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_TRUE(AtNewRow());
    EXPECT_EQ(B("txtNo")->text(), "4");

    // 修正 rewrites the shown row under its own number.
    ClickGridRow(1);
    Retype(B("txt拘束形状"), "1");
    Click(s->cmd修正);
    EXPECT_EQ(Rows("節点拘束配置", {"No_", "拘束形状"}), QStringList({"1|2", "2|1", "3|2"}));
    EXPECT_EQ(Current(), 2);
}

TEST_F(RestraintPlacement, UnknownTypeIsRefusedOnInsertAndUpdate)
{
    AppendRows("節点拘束配置", PlacementFields({"拘束形状"}), {Ints({1, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})});
    Open(ScreenRestraintPlacement);
    const QString before = testenv::FileHash(kWorkingDatabase);
    Retype(B("txt拘束形状"), "3");
    Click(s->cmd修正);
    EXPECT_EQ(script->messages, QStringList{Message("3")});
    EXPECT_TRUE(s->Modified);

    ResetMessages();
    SendKey(B("txt拘束形状"), Qt::Key_Down);   // refused too: Down still moves on
    Retype(B("txt拘束形状"), "3");
    Retype(B("txt節点番号(0)"), "8");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList({Message("3"), Message("3")}));
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), before);
    EXPECT_TRUE(s->Modified);
    // The boxes are prepared for a new row, keeping the refused type.
    EXPECT_EQ(B("txt拘束形状")->text(), "3");
    EXPECT_EQ(B("txt節点番号(0)")->text(), "0");
    EXPECT_EQ(B("txtNo")->text(), "2");

    // A type of 0 fails the check before any type test.
    ResetMessages();
    Retype(B("txt拘束形状"), "0");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    // A node number past the 16-bit field is refused by the check.
    ResetMessages();
    Retype(B("txt拘束形状"), "1");
    Retype(B("txt節点番号(4)"), "40000");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), before);
}

TEST_F(RestraintPlacement, KeysRingAndFormat)
{
    Open(ScreenRestraintPlacement);
    Click(B("txt拘束形状"));
    SendKey(B("txt拘束形状"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txt節点番号(9)"));
    SendKey(B("txt節点番号(9)"), Qt::Key_Right);
    EXPECT_TRUE(s->focusWidget() == B("txt拘束形状"));
    SendKey(B("txt拘束形状"), Qt::Key_Return);
    EXPECT_TRUE(s->focusWidget() == B("txt節点番号(0)"));
    SendKey(B("txt節点番号(0)"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txt拘束形状"));

    // Minus and point beep, are dropped, and count as a change.
    s->Modified = false;
    Type(B("txt節点番号(3)"), "-.");
    EXPECT_EQ(script->beeps, 2);
    EXPECT_EQ(B("txt節点番号(3)")->text(), "0");
    EXPECT_TRUE(s->Modified);
    Enter("txt節点番号(3)", "007");
    EXPECT_EQ(B("txt節点番号(3)")->text(), "7");
    Enter("txt拘束形状", "02");
    EXPECT_EQ(B("txt拘束形状")->text(), "2");
}

TEST_F(RestraintPlacement, LastRowNumberHasNoSuccessor)
{
    AppendRows("節点拘束配置", PlacementFields({"拘束形状"}), {Ints({32767, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})});
    Open(ScreenRestraintPlacement);
    Click(s->cmd追加);   // a copy of the shown row would need the number 32768
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_EQ(B("txtNo")->text(), "32768");
    ResetMessages();
    Click(s->cmd追加);   // and so would the proposal
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_EQ(Rows("節点拘束配置", {"No_"}), QStringList{"32767"});
}

TEST_F(RestraintPlacement, LookupButtonsOpenTheirWindows)
{
    Open(ScreenRestraintPlacement);
    Click(s->findChild<QPushButton*>("Refer節点拘束形状参照"));
    Click(s->findChild<QPushButton*>("cmdRefer節点座標"));
    EXPECT_NE(forms::FindLoadedForm("frm節点拘束形状参照"), nullptr);
    EXPECT_NE(forms::FindLoadedForm("frm節点座標参照"), nullptr);
    EXPECT_EQ(script->messages.last(), Info("節点データが登録されていません"));
    EXPECT_TRUE(s->IsLoaded());
}

// ---- member-end placement ------------------------------------------------------------

class EndPlacement : public ConditionScreens {
protected:
    void SetUp() override
    {
        ConditionScreens::SetUp();
        AppendRows("要素端部形状", kEndFields, {TextRow(1, QStringList(6, "剛"), 1), TextRow(2, {"剛", "剛", "剛", "剛", "ピン", "ピン"}, 2)});
    }
    QStringList Placements() { return Rows("要素端部配置", {"No_", "i端部形状", "j端部形状", "fld_01", "fld_02", "順"}); }
};

TEST_F(EndPlacement, OpensWithTypesOneAndEmptySlots)
{
    Open(ScreenMemberEndPlacement);
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　 9．部材端部拘束条件配置");
    EXPECT_EQ(Texts(QStringList{"txtNo", "txtI端部形状", "txtJ端部形状"}), QStringList({"1", "1", "1"}));
    EXPECT_FALSE(B("txtNo")->isVisible());
    EXPECT_EQ(Texts(MemberBoxes()), QStringList(10, "0"));
    EXPECT_EQ(ShownColumns(), QStringList({"ｉ 端 形状", "ｊ 端 形状", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(Label("Label1"), "拘束条件を指定しない部材は、ｉ ，ｊ 端ともに、全て全方向剛となります");
    EXPECT_EQ(s->findChild<QPushButton*>("Refer要素端部形状参照")->text(), "端部条件の参照");
    EXPECT_EQ(s->findChild<QPushButton*>("cmdRefer要素情報")->toolTip(), "[部材情報]で入力したデータを表示します");
    Click(s->findChild<QPushButton*>("Refer要素端部形状参照"));
    Click(s->findChild<QPushButton*>("cmdRefer要素情報"));
    EXPECT_EQ(script->messages, QStringList{Info("部材データが登録されていません")});
    EXPECT_NE(forms::FindLoadedForm("frm要素端部形状参照"), nullptr);
    EXPECT_NE(forms::FindLoadedForm("frm要素情報参照"), nullptr);
}

TEST_F(EndPlacement, BothEndsAreTestedInTurn)
{
    Open(ScreenMemberEndPlacement);
    struct Case {
        const char* i;
        const char* j;
        QString message;
    };
    const Case cases[] = {{"7", "8", Info("ｉ 端の条件番号：7\r\n入力した条件番号は[部材端部条件]に登録されていません")},
                          {"2", "8", Info("ｊ 端の条件番号：8\r\n入力した条件番号は[部材端部条件]に登録されていません")},
                          {"0", "1", Info(kInvalid)}};
    for (const Case& c : cases) {
        ResetMessages();
        Retype(B("txtI端部形状"), c.i);
        Retype(B("txtJ端部形状"), c.j);
        SendKey(B("txtJ端部形状"), Qt::Key_Down);
        EXPECT_EQ(script->messages, QStringList{c.message}) << c.i << " " << c.j;
        EXPECT_TRUE(Placements().isEmpty());
    }
    Retype(B("txtJ端部形状"), "1");
    Retype(B("txtI端部形状"), "2");
    Retype(B("txt要素番号(0)"), "12");
    B("txt要素番号(1)")->setText("-3");   // pasted: a member box has no bound
    SendKey(B("txt要素番号(0)"), Qt::Key_Down);
    EXPECT_EQ(Placements(), QStringList{"1|2|1|12|-3|1"});
    EXPECT_EQ(Texts(QStringList{"txtNo", "txtI端部形状", "txtJ端部形状", "txt要素番号(0)"}), QStringList({"2", "2", "1", "0"}));

    // The same type test guards an update.
    ClickGridRow(0);
    EXPECT_TRUE(s->focusWidget() == B("txtI端部形状"));
    ResetMessages();
    Retype(B("txtJ端部形状"), "5");
    Click(s->cmd修正);
    EXPECT_EQ(script->messages, QStringList{Info("ｊ 端の条件番号：5\r\n入力した条件番号は[部材端部条件]に登録されていません")});
    EXPECT_EQ(Placements(), QStringList{"1|2|1|12|-3|1"});
}

TEST_F(EndPlacement, RowNumbersEndAtNineThousandNineHundredNinetyNine)
{
    AppendRows("要素端部配置", PlacementFields({"i端部形状", "j端部形状"}), {Ints({9999, 1, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})});
    Open(ScreenMemberEndPlacement);
    Click(s->cmd追加);   // a copy of the shown row would be numbered 10000
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_TRUE(AtNewRow());
    EXPECT_EQ(B("txtNo")->text(), "10000");
    ResetMessages();
    SendKey(B("txtI端部形状"), Qt::Key_Down);   // the proposal itself fails the check
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_EQ(Rows("要素端部配置", {"No_"}), QStringList{"9999"});
}

TEST_F(EndPlacement, KeysRingAndFormat)
{
    Open(ScreenMemberEndPlacement);
    Click(B("txt要素番号(9)"));
    SendKey(B("txt要素番号(9)"), Qt::Key_Right);
    EXPECT_TRUE(s->focusWidget() == B("txtI端部形状"));
    SendKey(B("txtI端部形状"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txt要素番号(9)"));
    SendKey(B("txt要素番号(0)"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txtJ端部形状"));
    SendKey(B("txtJ端部形状"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txtI端部形状"));
    SendKey(B("txtI端部形状"), Qt::Key_Right);
    EXPECT_TRUE(s->focusWidget() == B("txtJ端部形状"));

    Enter("txtI端部形状", "05");
    EXPECT_EQ(B("txtI端部形状")->text(), "05");
    Enter("txt要素番号(2)", "05");
    EXPECT_EQ(B("txt要素番号(2)")->text(), "5");
    Type(B("txtJ端部形状"), ".");
    EXPECT_EQ(script->beeps, 1);
}

// ---- shared paths ----------------------------------------------------------------------

TEST_F(ConditionScreens, DeleteAllAsksWithEachScreensTitle)
{
    AppendRows("節点拘束形状", kRestraintFields, {TextRow(1, QStringList(6, "拘束"), 1)});
    AppendRows("要素端部形状", kEndFields, {TextRow(1, QStringList(6, "剛"), 1)});
    AppendRows("節点拘束配置", PlacementFields({"拘束形状"}), {Ints({1, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})});
    AppendRows("要素端部配置", PlacementFields({"i端部形状", "j端部形状"}), {Ints({1, 1, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})});
    const std::pair<int16_t, const char*> screens[] = {{ScreenRestraintTypes, "節点拘束条件"},
                                                       {ScreenRestraintPlacement, "節点拘束条件配置"},
                                                       {ScreenMemberEndTypes, "部材端部条件"},
                                                       {ScreenMemberEndPlacement, "部材端部条件配置"}};
    for (const auto& [code, title] : screens) {
        Open(code);
        script->answers = {ui::Answer::No};
        Click(s->cmdAllDelete);
        EXPECT_EQ(script->messages, QStringList{Question(QString::fromUtf8(title) + " に関する全てのデータを削除してもいいですか？")});
        s->Cmd登録_Click();
    }
}

TEST_F(ConditionScreens, RegisterSavesAPreparedPlacementRow)
{
    AppendRows("節点拘束形状", kRestraintFields, {TextRow(1, QStringList(6, "拘束"), 1)});
    Open(ScreenRestraintPlacement);
    Retype(B("txt節点番号(0)"), "3");
    script->answers = {ui::Answer::Yes};
    Click(s->Cmd登録);
    EXPECT_EQ(Rows("節点拘束配置", {"No_", "拘束形状", "fld_01"}), QStringList{"1|1|3"});
    EXPECT_FALSE(s->IsLoaded());

    // A refused type keeps the screen open.
    Open(ScreenRestraintPlacement);
    SendKey(B("txt拘束形状"), Qt::Key_Down);
    Retype(B("txt拘束形状"), "4");
    script->answers = {ui::Answer::Yes};
    Click(s->Cmd登録);
    EXPECT_EQ(script->messages.last(), Info("拘束条件：4\r\n入力されている拘束条件は[節点拘束条件]に登録されていません"));
    EXPECT_TRUE(s->IsLoaded());
    EXPECT_EQ(Rows("節点拘束配置", {"No_"}), QStringList{"1"});
}

// ---- pictures ---------------------------------------------------------------------------

TEST_F(ConditionScreens, Screenshots)
{
    AppendRows("基本データ", {"工事名", "Unit"}, {{Variant::Text("A"), Variant::Text("True")}});
    AppendRows("節点拘束形状", kRestraintFields,
               {TextRow(1, QStringList(6, "拘束"), 1), TextRow(2, {"拘束", "拘束", "拘束", "自由", "自由", "自由"}, 2),
                TextRow(3, {"自由", "自由", "拘束", "500.000", "自由", "自由"}, 3)});
    AppendRows("節点拘束配置", PlacementFields({"拘束形状"}),
               {Ints({1, 1, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 1}), Ints({2, 3, 11, 12, 0, 0, 0, 0, 0, 0, 0, 0, 2})});
    AppendRows("要素端部形状", kEndFields,
               {TextRow(1, QStringList(6, "剛"), 1), TextRow(2, {"剛", "剛", "剛", "剛", "ピン", "ピン"}, 2),
                TextRow(3, {"剛", "剛", "剛", "ピン", "2000.000", "剛"}, 3)});
    AppendRows("要素端部配置", PlacementFields({"i端部形状", "j端部形状"}),
               {Ints({1, 2, 1, 5, 6, 7, 0, 0, 0, 0, 0, 0, 0, 1}), Ints({2, 1, 3, 21, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2})});
    const std::pair<int16_t, const char*> screens[] = {{ScreenRestraintTypes, "restraint-types.png"},
                                                       {ScreenRestraintPlacement, "restraint-placement.png"},
                                                       {ScreenMemberEndTypes, "member-end-types.png"},
                                                       {ScreenMemberEndPlacement, "member-end-placement.png"}};
    for (const auto& [code, file] : screens) {
        Open(code);
        testenv::SaveScreenshot(s, QString::fromUtf8(file));
        s->Cmd登録_Click();
    }
}

}  // namespace
