// The two section screens and the section-type picture window through their
// real widgets.
#include "input/InputControls.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "platform/DataGrid.h"
#include "platform/Settings.h"
#include "screens/ScreenTestSupport.h"
#include "screens/SectionScreens.h"
#include "screens/SectionTypeFigure.h"

#include <QHeaderView>
#include <QLabel>

using namespace inputtest;
using namespace screentest;
using rt::Variant;

namespace {

const QString kRange1 = QStringLiteral("[材料定数1]で入力できる形状番号は 999以下です。");
const QString kRange2 = QStringLiteral("[材料定数2]で入力できる形状番号は  1001 から 9999 です。");
const QString kZeroE = QStringLiteral("ヤング係数が不正です。\r\n"
                                      "ヤング係数にゼロを入力すると［基本データ］で入力されているヤング係数に置き換わりますが\r\n"
                                      "そちらもゼロが入力されています。");
const QString kZeroG = QStringLiteral("せん断弾性係数が不正です。\r\n"
                                      "せん断弾性係数にゼロを入力すると［基本データ］で入力されているせん断弾性係数に置き換わりますが\r\n"
                                      "そちらもゼロが入力されています。");
const QColor kGreen(0xC0, 0xFF, 0xC0);
const QColor kGrey(0xE0, 0xE0, 0xE0);

void BasicData(double e, double g, bool si = true)
{
    AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
               {{Variant::Text("P"), Variant::Text(" "), Variant::Text(" "), Variant::Text(si ? "True" : "False"),
                 Variant::Integer(1), Variant::Double(e), Variant::Double(g)}});
}

// Sections by shape numbered `numbers` in that order, with the given type.
void AddShapes(const std::vector<int>& numbers, int type = 2)
{
    std::vector<std::vector<Variant>> rows;
    int order = 0;
    for (int n : numbers)
        rows.push_back({Variant::Integer(int16_t(n)), Variant::Integer(int16_t(type)), Variant::Double(300), Variant::Double(150),
                        Variant::Double(6.5), Variant::Double(9), Variant::Double(13), Variant::Double(1), Variant::Double(1),
                        Variant::Double(20500), Variant::Double(7900), Variant::Integer(int16_t(++order))});
    AppendRows("材料定数2", {"No_", "TYP", "fld_01", "fld_02", "fld_03", "fld_04", "fld_05", "φx", "φy", "E", "γ", "順"}, rows);
}

void AddProperties(const std::vector<int>& numbers)
{
    std::vector<std::vector<Variant>> rows;
    int order = 0;
    for (int n : numbers)
        rows.push_back({Variant::Integer(int16_t(n)), Variant::Double(2100), Variant::Double(900), Variant::Double(100),
                        Variant::Double(10), Variant::Double(20), Variant::Double(30), Variant::Integer(int16_t(++order))});
    AppendRows("材料定数1", {"No_", "E", "γ", "A", "Ixx", "Iyy", "Izz", "順"}, rows);
}

template <class Screen>
class SectionFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainMenu = PrepareScreenTest();
    }
    void Open(int16_t code)
    {
        OpenScreen(code, s, script);
    }
    QLineEdit* B(const QString& name) { return s->Box(name); }
    QString T(const QString& name) { return B(name)->text(); }
    QString Label(const char* name) { return s->template findChild<QLabel*>(name)->text(); }
    // Retypes the boxes named in `entries` ("box=text"); an empty text clears the box.
    void Enter(const QStringList& entries)
    {
        for (const QString& e : entries) {
            const QString name = e.section('=', 0, 0);
            const QString text = e.section('=', 1);
            Retype(B(name), text);
            if (text.isEmpty()) SendKey(B(name), Qt::Key_Backspace, "\b");
        }
    }
    void ClickGridRow(int row)
    {
        QRect r = s->DBGrid->visualRect(s->DBGrid->model()->index(row, 0));
        Click(s->DBGrid->viewport(), r.center());
    }
    void Reset()
    {
        testenv::ResetScript();
        script = &testenv::Script();
    }
    bool NumberSelected() { return s->focusWidget() == B("txtNo") && B("txtNo")->selectedText() == T("txtNo"); }

    Screen* s = nullptr;
    ui::ScriptedServices* script = nullptr;
    MainMenuHook mainMenu;
};

// ---- sections by properties -------------------------------------------------------------

using PropertiesScreen = SectionFixture<frm材料定数1>;

const QStringList kProps = {"txtNo", "txtA", "txtIxx", "txtIyy", "txtK", "txtE", "txtγ"};

TEST_F(PropertiesScreen, EmptyTableProposesTheCommonModuli)
{
    BasicData(21000, 8100);
    Open(ScreenSectionProperties);
    QStringList texts;
    for (const QString& b : kProps) texts << T(b);
    EXPECT_EQ(texts, QStringList({"1", "0.0", "0.0", "0.0", "0.0", "21000", "8100"}));
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　3．部材形状1");
    EXPECT_EQ(Label("lblMatNo"), "形状番号(1～ 999)");
    EXPECT_EQ(Label("lblYe"), "Ye (kN/cm2)");
    EXPECT_EQ(Label("lblG"), "G (kN/cm2)");
    EXPECT_EQ(Label("lblCommonE"), "21000");
    EXPECT_EQ(Label("lblCommonγ"), "8100");
    EXPECT_EQ(s->Cmd登録->text(), "登録（&R）");
    EXPECT_EQ(s->cmdCancel->text(), "ｷｬﾝｾﾙ(&Q)");
    EXPECT_EQ(s->template findChild<QPushButton*>("cmdRefer要素情報")->text(), "部材形状の参照");
    QStringList headers;
    // In the order the columns stand on the screen.
    for (int v = 0; v < s->DBGrid->model()->columnCount(); ++v) {
        const int c = s->DBGrid->horizontalHeader()->logicalIndex(v);
        if (!s->DBGrid->isColumnHidden(c)) headers << s->DBGrid->model()->headerData(c, Qt::Horizontal).toString();
    }
    EXPECT_EQ(headers, QStringList({"形状番号", "A", "Ixx", "Iyy", "Izz", "E", "G"}));
    EXPECT_EQ(s->DBGrid->height(), forms::Px(12 * s->DBGrid->RowHeight() + 140));
}

TEST_F(PropertiesScreen, NoBasicDataMeansSIAndZeroModuli)
{
    Open(ScreenSectionProperties);
    EXPECT_EQ(T("txtE"), "0");
    EXPECT_EQ(T("txtγ"), "0");
    EXPECT_EQ(Label("lblCommonE"), "0");
    EXPECT_EQ(Label("lblYe"), "Ye (kN/cm2)");
    // With no common E a zero modulus cannot be saved.
    Enter({"txtA=10"});
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kZeroE)});
    Reset();
    Enter({"txtE=2100"});
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kZeroG)});
    EXPECT_EQ(T("txtE"), "2100");
    EXPECT_TRUE(Rows("材料定数1", {"No_"}).isEmpty());
}

TEST_F(PropertiesScreen, GravitationalUnitCaptions)
{
    BasicData(210, 81, false);
    Open(ScreenSectionProperties);
    EXPECT_EQ(Label("lblYe"), "Ye (t/cm2)");
    EXPECT_EQ(Label("lblG"), "G (t/cm2)");
    EXPECT_EQ(T("txtE"), "210");
}

TEST_F(PropertiesScreen, AddStoresEachBoxInItsField)
{
    BasicData(21000, 8100);
    Open(ScreenSectionProperties);
    // Leaving a section box shows one decimal at least and never drops a
    // digit the value has: small sections keep their properties.
    Enter({"txtNo=7", "txtA=12.5", "txtIxx=0.0127", "txtIyy=300.25", "txtK=40", "txtE=20500", "txtγ=0"});
    EXPECT_EQ(T("txtIyy"), "300.25");
    EXPECT_EQ(T("txtIxx"), "0.0127");
    EXPECT_EQ(T("txtK"), "40.0");
    SendKey(B("txtγ"), Qt::Key_Down);
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(Rows("材料定数1", {"No_", "E", "γ", "A", "Ixx", "Iyy", "Izz", "順"}),
              QStringList{"7|20500|8100|12.5|0.0127|300.25|40|1"});   // a zero G takes the common G
    EXPECT_EQ(T("txtNo"), "8");
    EXPECT_EQ(T("txtγ"), "8100");

    // The check writes the common G into the box, with three decimals.
    Enter({"txtγ=0", "txtA=0"});
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});   // A = 0
    EXPECT_EQ(T("txtγ"), "8100.000");
    EXPECT_EQ(Rows("材料定数1", {"No_"}).size(), 1);
}

TEST_F(PropertiesScreen, SectionNumberRange)
{
    BasicData(21000, 8100);
    AddProperties({998, 999});
    AddShapes({1001});
    Open(ScreenSectionProperties);
    SendKey(B("txtNo"), Qt::Key_Down);
    SendKey(B("txtNo"), Qt::Key_Down);
    ASSERT_TRUE(s->ScreenRecordset->EOF_());
    EXPECT_EQ(T("txtNo"), "1000");
    Enter({"txtA=1"});
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kRange1)});
    // A number of the other table is refused by the range alone.
    Reset();
    Enter({"txtNo=1001", "txtA=1"});
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kRange1)});
    EXPECT_EQ(Rows("材料定数1", {"No_"}), QStringList({"998", "999"}));
    // The focus stays where it was after 追加.
    EXPECT_TRUE(s->focusWidget() == B("txtA"));
}

TEST_F(PropertiesScreen, UpdateRenamesInPlaceOrRefusesAUsedNumber)
{
    BasicData(21000, 8100);
    AddProperties({1, 2, 3});
    Open(ScreenSectionProperties);
    ClickGridRow(1);
    Enter({"txtNo=3"});
    Click(s->cmd修正);
    EXPECT_EQ(script->messages, QStringList{Info("材料番号：3\r\n入力した材料番号は他の材料データですでに使用されています")});
    Reset();
    Enter({"txtNo=9", "txtK=55.5"});
    Click(s->cmd修正);
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(Rows("材料定数1", {"No_", "Izz", "順"}), QStringList({"1|30|1", "9|55.5|2", "3|30|3"}));
    EXPECT_EQ(T("txtK"), "55.5");
    Reset();
    SendKey(B("txtNo"), Qt::Key_Down);
    SendKey(B("txtNo"), Qt::Key_Down);
    Enter({"txtNo=1", "txtA=1"});
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info("材料番号：1\r\n入力した材料番号はすでに使用されているので新たに登録できません")});
    Reset();
    script->answers = {ui::Answer::Yes};
    Click(s->cmdAllDelete);
    EXPECT_EQ(script->messages, QStringList{Question("部材形状１ に関する全てのデータを削除してもいいですか？")});
}

TEST_F(PropertiesScreen, KeysRingAndLeavingTheModulusBoxes)
{
    BasicData(21000, 8100);
    Open(ScreenSectionProperties);
    // No minus anywhere; a point only in the section boxes.
    Click(B("txtA"));
    B("txtA")->clear();
    Type(B("txtA"), "-1.5");
    EXPECT_EQ(T("txtA"), "1.5");
    Click(B("txtE"));
    B("txtE")->clear();
    Type(B("txtE"), "2.1");
    EXPECT_EQ(T("txtE"), "21");
    EXPECT_EQ(script->beeps, 2);
    FocusOut(B("txtA"));
    EXPECT_EQ(T("txtA"), "1.5");

    // Leaving E empty or at 0 takes the common E; G stays 0 until saving.
    Retype(B("txtE"), "0");
    FocusOut(B("txtE"));
    EXPECT_EQ(T("txtE"), "21000");
    Enter({"txtE="});
    FocusOut(B("txtE"));
    EXPECT_EQ(T("txtE"), "21000");
    Retype(B("txtγ"), "0");
    FocusOut(B("txtγ"));
    EXPECT_EQ(T("txtγ"), "0");

    SendKey(B("txtγ"), Qt::Key_Return);
    EXPECT_TRUE(s->focusWidget() == B("txtNo"));
    SendKey(B("txtNo"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txtγ"));
    SendKey(B("txtK"), Qt::Key_Right);
    EXPECT_TRUE(s->focusWidget() == B("txtE"));
}

// ---- sections by shape ---------------------------------------------------------------------

using ShapeScreen = SectionFixture<frm材料定数2>;

QString DimensionMarks(frm材料定数2* s)
{
    QString out;
    for (int i = 1; i <= 5; ++i) {
        QLineEdit* b = s->Box(QStringLiteral("txtP(%1)").arg(i));
        const QColor c = b->palette().color(QPalette::Base);
        const bool green = c == kGreen;
        EXPECT_TRUE(green || c == kGrey);
        EXPECT_EQ(b->isEnabledTo(s), green);
        out += green ? QLatin1Char('+') : QLatin1Char('-');
    }
    return out;
}

QStringList ShapeRows()
{
    return Rows("材料定数2", {"No_", "TYP", "fld_01", "fld_02", "fld_03", "fld_04", "fld_05", "φx", "φy", "E", "γ", "順"});
}

TEST_F(ShapeScreen, EmptyTableProposesSection1001)
{
    BasicData(20500, 7900);
    Open(ScreenSectionShapes);
    QStringList texts;
    for (const QString& b : QStringList{"txtNo", "txtTYP", "txtP(1)", "txtP(2)", "txtP(3)", "txtP(4)", "txtP(5)", "txtφx", "txtφy",
                                        "txtE", "txtγ"})
        texts << T(b);
    EXPECT_EQ(texts, QStringList({"1001", "1", "0.000", "0.000", "0.000", "0.000", "0.000", "1.000", "1.000", "20500", "7900"}));
    EXPECT_EQ(DimensionMarks(s), "++---");
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　4．部材形状2");
    EXPECT_EQ(Label("lblMatNo"), "形状番号( 1001～)");
    EXPECT_EQ(Label("lblCommonE"), "20500");
    EXPECT_EQ(s->Cmd登録->text(), "登録（&R）");
    EXPECT_EQ(s->template findChild<QPushButton*>("cmdRefer部材形状図")->text(), "部材形状図参照");
    QStringList headers;
    for (int c = 0; c < s->DBGrid->model()->columnCount(); ++c)
        if (!s->DBGrid->isColumnHidden(c)) headers << s->DBGrid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"形状番号", "タイプ", "P1", "P2", "P3", "P4", "P5", "φy", "φz", "Ye", "G"}));
    EXPECT_EQ(s->DBGrid->height(), forms::Px(14 * s->DBGrid->RowHeight() + 140));
}

TEST_F(ShapeScreen, NumberProposalsAndRange)
{
    BasicData(20500, 7900);
    AddShapes({1001, 1002, 1003, 1004, 1005});
    AddProperties({5});
    Open(ScreenSectionShapes);
    ClickGridRow(4);
    SendKey(B("txtNo"), Qt::Key_Down);
    ASSERT_TRUE(s->ScreenRecordset->EOF_());
    EXPECT_EQ(T("txtNo"), "1006");

    for (const QString& no : {QStringLiteral("1000"), QStringLiteral("999"), QStringLiteral("10000")}) {
        Reset();
        Enter({"txtNo=" + no});
        Click(s->cmd追加);
        EXPECT_EQ(script->messages, QStringList{Info(kRange2)}) << no.toStdString();
    }
    // A number the other table uses is free here.
    Reset();
    Enter({"txtNo=9999"});
    Click(s->cmd追加);
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(T("txtNo"), "10000");
    EXPECT_TRUE(NumberSelected());
}

TEST_F(ShapeScreen, TypeMarksTheDimensionBoxesAndTheRingSkipsTheGreyOnes)
{
    BasicData(20500, 7900);
    Open(ScreenSectionShapes);
    Retype(B("txtTYP"), "6");
    EXPECT_EQ(DimensionMarks(s), "++---");   // not yet: marked when the box is left
    SendKey(B("txtTYP"), Qt::Key_Return);
    EXPECT_EQ(DimensionMarks(s), "+----");
    EXPECT_TRUE(s->focusWidget() == B("txtP(1)"));
    SendKey(B("txtP(1)"), Qt::Key_Return);
    EXPECT_TRUE(s->focusWidget() == B("txtφx"));
    SendKey(B("txtφx"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txtP(1)"));
    SendKey(B("txtP(1)"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txtTYP"));

    Retype(B("txtTYP"), "4");
    SendKey(B("txtTYP"), Qt::Key_Left);
    EXPECT_EQ(DimensionMarks(s), "++++-");
    SendKey(B("txtφx"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txtP(4)"));

    // An unknown type leaves the boxes as they are; saving refuses it.
    for (const QString& t : {QStringLiteral("7"), QStringLiteral(""), QStringLiteral("99999")}) {
        Enter({"txtTYP=" + t});
        FocusOut(B("txtTYP"));
        EXPECT_EQ(DimensionMarks(s), "++++-") << t.toStdString();
    }
    Enter({"txtTYP=7"});
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_TRUE(NumberSelected());
    EXPECT_TRUE(ShapeRows().isEmpty());
}

TEST_F(ShapeScreen, SavingZeroesTheUnusedDimensions)
{
    BasicData(20500, 7900);
    Open(ScreenSectionShapes);
    // Type 4 with a value left in P5 (typed while type 2 showed it).
    Enter({"txtTYP=2"});
    FocusOut(B("txtTYP"));
    Enter({"txtP(1)=200", "txtP(2)=100", "txtP(3)=6", "txtP(4)=12", "txtP(5)=9", "txtTYP=4"});
    FocusOut(B("txtTYP"));
    Click(s->cmd追加);
    // Type 6: P2 to P5 go to 0; a dimension of 0 in a used box is accepted.
    Enter({"txtTYP=2"});
    FocusOut(B("txtTYP"));
    Enter({"txtP(1)=0", "txtP(2)=100", "txtP(3)=6", "txtP(4)=12", "txtP(5)=9", "txtTYP=6"});
    Click(s->cmd追加);
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(ShapeRows(), QStringList({"1001|4|200|100|6|12|0|1|1|20500|7900|1", "1002|6|0|0|0|0|0|1|1|20500|7900|2"}));

    // A factor of 0 is refused.
    Enter({"txtφy=0"});
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_EQ(ShapeRows().size(), 2);
}

TEST_F(ShapeScreen, ZeroModuliTakeTheCommonOrTheTypeDefault)
{
    struct Case {
        bool si;
        double commonE, commonG;
        int type;
        QString e, g;
    };
    const Case cases[] = {
        {true, 0, 0, 6, "2100", "900"},   {true, 0, 0, 1, "2100", "900"},   {true, 0, 0, 2, "21000", "8100"},
        {false, 0, 0, 6, "210", "90"},    {false, 0, 0, 5, "2100", "810"},  {true, 20500, 7900, 6, "20500", "7900"},
        {true, 20500, 0, 1, "20500", "900"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.si << " " << c.commonE << " " << c.type);
        Exec("DELETE FROM \"基本データ\"");
        Exec("DELETE FROM \"材料定数2\"");
        BasicData(c.commonE, c.commonG, c.si);
        Open(ScreenSectionShapes);
        Enter({"txtTYP=" + QString::number(c.type), "txtP(1)=100", "txtE=0", "txtγ=0"});
        FocusOut(B("txtγ"));
        Click(s->cmd追加);
        EXPECT_TRUE(script->messages.isEmpty());
        EXPECT_EQ(Rows("材料定数2", {"E", "γ"}), QStringList{c.e + "|" + c.g});
        s->cmdCancel_Click();
    }
}

TEST_F(ShapeScreen, GridMovesRemarkTheBoxesAndTheFocusReturnsToTheNumber)
{
    BasicData(20500, 7900);
    AddShapes({1001}, 6);
    AddShapes({1002}, 2);
    Exec("UPDATE \"材料定数2\" SET \"順\" = \"No_\" - 1000");
    Open(ScreenSectionShapes);
    EXPECT_EQ(T("txtTYP"), "6");
    EXPECT_EQ(DimensionMarks(s), "+----");
    ClickGridRow(1);
    EXPECT_EQ(T("txtNo"), "1002");
    EXPECT_EQ(DimensionMarks(s), "+++++");
    EXPECT_EQ(T("txtP(3)"), "6.500");
    SendKey(B("txtNo"), Qt::Key_Up);
    EXPECT_EQ(DimensionMarks(s), "+----");

    // 修正 without a row: the message, and the number is selected.
    SendKey(B("txtNo"), Qt::Key_Down);
    SendKey(B("txtNo"), Qt::Key_Down);
    ASSERT_TRUE(s->ScreenRecordset->EOF_());
    EXPECT_EQ(DimensionMarks(s), "++---");   // the proposal's type 1
    Reset();
    Click(B("txtφy"));
    Click(s->cmd修正);
    EXPECT_EQ(script->messages, QStringList{Info("修正するデータが選択されていません")});
    EXPECT_TRUE(NumberSelected());

    // Duplicate numbers.
    Reset();
    Enter({"txtNo=1002"});
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info("材料番号：1002\r\n入力した材料番号はすでに使用されているので新たに登録できません")});
    Reset();
    ClickGridRow(0);
    Enter({"txtNo=1002"});
    Click(s->cmd修正);
    EXPECT_EQ(script->messages, QStringList{Info("材料番号：1002\r\n入力した材料番号は他の材料データですでに使用されています")});
    Reset();
    reg::SaveSetting("Public", "ChkDelete", "False");
    Click(B("txtφy"));
    Click(s->cmd削除);
    EXPECT_EQ(Rows("材料定数2", {"No_", "順"}), QStringList{"1002|1"});
    EXPECT_TRUE(NumberSelected());
    script->answers = {ui::Answer::Yes};
    Click(s->cmdAllDelete);
    EXPECT_EQ(script->messages, QStringList{Question("部材形状２ に関する全てのデータを削除してもいいですか？")});
}

TEST_F(ShapeScreen, KeysAndLeavingTheBoxes)
{
    BasicData(20500, 7900);
    Open(ScreenSectionShapes);
    Click(B("txtTYP"));
    B("txtTYP")->clear();
    Type(B("txtTYP"), "-2.");
    EXPECT_EQ(T("txtTYP"), "2");
    EXPECT_EQ(script->beeps, 2);
    Click(B("txtP(1)"));
    B("txtP(1)")->clear();
    Type(B("txtP(1)"), "12.5");
    FocusOut(B("txtP(1)"));
    EXPECT_EQ(T("txtP(1)"), "12.500");
    Retype(B("txtE"), "0");
    FocusOut(B("txtE"));
    EXPECT_EQ(T("txtE"), "20500");
    Retype(B("txtφx"), "2");
    FocusOut(B("txtφx"));
    EXPECT_EQ(T("txtφx"), "2.000");
    SendKey(B("txtγ"), Qt::Key_Right);
    EXPECT_TRUE(s->focusWidget() == B("txtNo"));
    SendKey(B("txtNo"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txtγ"));
}

TEST_F(ShapeScreen, PictureWindowOpensCentredAndClosesWithTheScreen)
{
    BasicData(20500, 7900);
    Open(ScreenSectionShapes);
    Click(s->template findChild<QPushButton*>("cmdRefer部材形状図"));
    EXPECT_TRUE(script->messages.isEmpty());
    forms::Form* fig = forms::FindLoadedForm("frm部材形状図");
    ASSERT_NE(fig, nullptr);
    EXPECT_TRUE(fig->isVisible());
    EXPECT_EQ(fig->windowTitle(), "ZELKOVA  ver 1.41　部材形状図");
    EXPECT_NEAR(fig->LeftTw() + fig->WidthTw() / 2, s->LeftTw() + s->WidthTw() / 2, 75);
    EXPECT_NEAR(fig->TopTw() + fig->HeightTw() / 2, s->TopTw() + s->HeightTw() / 2, 75);
    QStringList captions;
    for (QLabel* l : fig->findChildren<QLabel*>())
        if (l->text().startsWith("タイプ")) captions << l->text();
    EXPECT_EQ(captions, QStringList({"タイプ 1", "タイプ 2", "タイプ 3", "タイプ 4", "タイプ 5", "タイプ 6"}));
    auto* pic = fig->findChild<QLabel*>("picType(2)");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->pixmap().size(), QSize(95, 95));
    // The section area is pale yellow.
    EXPECT_EQ(SectionTypePicture(6).toImage().pixelColor(40, 40), QColor(255, 255, 132));
    EXPECT_EQ(SectionTypePicture(5).toImage().pixelColor(40, 40), QColor(Qt::white));

    s->cmdCancel_Click();
    EXPECT_EQ(forms::FindLoadedForm("frm部材形状図"), nullptr);
}

TEST_F(ShapeScreen, RegisterSavesTheTypedRowThroughTheCheck)
{
    Open(ScreenSectionShapes);
    EXPECT_EQ(s->template findChild<QPushButton*>("cmdRefer要素情報")->toolTip(), "[部材情報]で入力したデータを表示します");
    EXPECT_TRUE(s->template findChild<QPushButton*>("cmdRefer部材形状図")->toolTip().isEmpty());
    // A refused save keeps the screen open.
    Enter({"txtφx=0"});
    script->answers = {ui::Answer::Yes};
    Click(s->Cmd登録);
    EXPECT_EQ(script->messages, QStringList({Question("選択されているレコードが変更されています。\r\n変更を保存しますか？"), Info(kInvalid)}));
    EXPECT_TRUE(s->IsLoaded());
    // Accepted: no basic data, so the SI defaults of type 5 fill the moduli.
    Reset();
    Enter({"txtφx=1", "txtTYP=5", "txtP(1)=216.3", "txtP(2)=5.8"});
    script->answers = {ui::Answer::Yes};
    Click(s->Cmd登録);
    EXPECT_FALSE(s->IsLoaded());
    EXPECT_EQ(ShapeRows(), QStringList{"1001|5|216.3|5.8|0|0|0|1|1|21000|8100|1"});
}

TEST_F(ShapeScreen, MemberLookupButton)
{
    Open(ScreenSectionShapes);
    Click(s->template findChild<QPushButton*>("cmdRefer要素情報"));
    if (HasScreenFactory("frm要素情報参照"))
        EXPECT_NE(forms::FindLoadedForm("frm要素情報参照"), nullptr);
    else
        EXPECT_EQ(script->messages, QStringList{Info("「部材配置データ」の画面は、このバージョンではまだ使用できません。")});
    EXPECT_TRUE(s->IsLoaded());
}

}  // namespace
