// The load shape screen through its real widgets: the type warning, the
// parameter boxes by type, the saving rules, the case raise and the filter.
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "loads/LoadShapeScreen.h"
#include "loads/LoadTypeLegend.h"
#include "platform/DataGrid.h"
#include "screens/ScreenTestSupport.h"
#include "core/WindowHelpers.h"

#include <QComboBox>
#include <QLabel>

using namespace inputtest;
using namespace screentest;

namespace {

using V = rt::Variant;

const QColor kGreen(0xC0, 0xFF, 0xC0);
const QColor kGrey(0xE0, 0xE0, 0xE0);

// A load shape row: number, type, case, system, P1..P7, 順.
std::vector<V> Shape(int no, int typ, int cs, const char* system, std::vector<double> p, int order)
{
    std::vector<V> r{V::Integer(int16_t(no)), V::Integer(int16_t(typ)), V::Integer(int16_t(cs)), V::Text(QString::fromUtf8(system))};
    p.resize(7, 0.0);
    for (double x : p) r.push_back(V::Double(x));
    r.push_back(V::Integer(int16_t(order)));
    return r;
}

void AddShapes(const std::vector<std::vector<V>>& rows)
{
    AppendRows("荷重形状", {"No_", "TYP", "Case", "座標系", "fld_01", "fld_02", "fld_03", "fld_04", "fld_05", "fld_06", "fld_07", "順"},
               rows);
}

class LoadShapes : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainMenu = PrepareScreenTest();
        AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
                   {{V::Text("橋"), V::Text(" "), V::Text(" "), V::Text("True"), V::Integer(3), V::Double(21000), V::Double(8100)}});
    }
    void Open()
    {
        OpenScreen(ScreenLoadShapes, s, script);
    }
    QLineEdit* B(const QString& name) { return s->Box(name); }
    QLineEdit* P(int i) { return s->txtP(i); }
    // "g" for a used box, "-" for an unused one, P1..P7.
    QString Marks()
    {
        QString m;
        for (int i = 1; i <= 7; ++i) {
            const bool green = P(i)->palette().color(QPalette::Base) == kGreen;
            const bool grey = P(i)->palette().color(QPalette::Base) == kGrey;
            EXPECT_TRUE(green || grey);
            EXPECT_EQ(P(i)->isEnabled(), green) << i;
            m += green ? QLatin1Char('g') : QLatin1Char('-');
        }
        return m;
    }
    void LeaveType(const QString& type)
    {
        Retype(s->txtTYP, type);
        if (type.isEmpty()) s->txtTYP->clear();
        B("txtNo")->setFocus(Qt::TabFocusReason);   // the focus leaves the box
    }
    void Fill(const QString& no, const QString& typ, const QString& cs, int system)
    {
        Retype(B("txtNo"), no);
        LeaveType(typ);
        Retype(s->txtCase, cs);
        s->cbo座標系->setCurrentIndex(system);
    }
    void ChooseFilter(const QString& text)
    {
        s->cbo荷重ケース数->setCurrentIndex(s->cbo荷重ケース数->findText(text));
        emit s->cbo荷重ケース数->activated(s->cbo荷重ケース数->currentIndex());
    }
    QStringList Items(QComboBox* c)
    {
        QStringList l;
        for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
        return l;
    }
    QStringList GridNumbers()
    {
        QStringList l;
        for (int r = 0; r < s->DBGrid->RowCount(); ++r) l << s->DBGrid->CellText(r, "No_");
        return l;
    }
    QStringList Shapes() { return Rows("荷重形状", {"No_", "TYP", "Case", "座標系", "fld_02", "fld_07", "順"}); }
    QString BasicCase() { return Rows("基本データ", {"Case"}, "").value(0); }

    frm荷重形状* s = nullptr;
    ui::ScriptedServices* script = nullptr;
    MainMenuHook mainMenu;
};

TEST_F(LoadShapes, EmptyTableOpensWithTheDefaultsOfAFirstNodeLoad)
{
    Open();
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　10．荷重形状");
    EXPECT_EQ(B("txtNo")->text(), "1");
    EXPECT_EQ(s->txtTYP->text(), "1");
    EXPECT_EQ(s->txtCase->text(), "1");
    EXPECT_EQ(s->cbo座標系->currentText(), "X 絶対系");
    EXPECT_EQ(Items(s->cbo座標系), QStringList({"z 部材系", "y 部材系", "--------", "X 絶対系", "Y 絶対系", "Z 絶対系"}));
    EXPECT_EQ(Marks(), "gggggg-");
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(P(i)->text(), "0.000");
    EXPECT_EQ(s->lblCase->text(), "3");
    EXPECT_EQ(Items(s->cbo荷重ケース数), QStringList{"全表示"});
    EXPECT_EQ(s->cbo荷重ケース数->currentText(), "全表示");
    EXPECT_EQ(s->Cmd登録->text(), "登録（&R）");
    EXPECT_EQ(s->cmdReferType->text(), "荷重形状図参照");
    EXPECT_EQ(s->DBGrid->model()->columnCount(), 12);
    EXPECT_TRUE(s->DBGrid->isColumnHidden(11));
    EXPECT_EQ(s->DBGrid->model()->headerData(1, Qt::Horizontal).toString(), "タイプ");
    EXPECT_NE(s->findChild<QLineEdit*>("txtP(7)"), nullptr);
    EXPECT_FALSE(s->Modified);

    // The first row typed and saved by Down.
    Retype(P(1), "-12.5");
    SendKey(P(1), Qt::Key_Down);
    EXPECT_TRUE(script->messages.isEmpty()) << script->messages.join('\n').toStdString();
    EXPECT_EQ(Rows("荷重形状", {"No_", "TYP", "Case", "座標系", "fld_01", "順"}), QStringList{"1|1|1|X 絶対系|-12.5|1"});
    EXPECT_EQ(B("txtNo")->text(), "2");
    EXPECT_EQ(Items(s->cbo荷重ケース数), QStringList({"全表示", "1"}));
}

TEST_F(LoadShapes, OpeningShowsTheFirstRowInDisplayOrder)
{
    AddShapes({Shape(1, 3, 1, "X 絶対系", {5}, 2), Shape(2, 2, 2, "y 部材系", {1, 2, 3, 4, 5, 6, 7}, 1)});
    Open();
    EXPECT_EQ(B("txtNo")->text(), "2");
    EXPECT_EQ(s->txtTYP->text(), "2");
    EXPECT_EQ(s->txtCase->text(), "2");
    EXPECT_EQ(s->cbo座標系->currentText(), "y 部材系");
    EXPECT_EQ(P(7)->text(), "7.000");
    EXPECT_EQ(Marks(), "ggggggg");
    EXPECT_EQ(Items(s->cbo荷重ケース数), QStringList({"全表示", " 1", " 2"}));
    EXPECT_FALSE(s->Modified);
}

TEST_F(LoadShapes, LeavingTheTypeBoxMarksTheParametersOrWarns)
{
    Open();
    struct Case {
        const char* type;
        bool warns;
        const char* marks;   // after leaving, starting from type 1's marks
    };
    const Case cases[] = {
        {"3", false, "g------"},  {"8", false, "gg-----"},  {"14", false, "gggg---"}, {"20", false, "ggggggg"},
        {"6", false, "gggggg-"},  {"18", true, "gggggg-"},  {"9", true, "gggggg-"},   {"19", true, "gggggg-"},
        {"12", true, "gggggg-"},  {"0", true, "gggggg-"},   {"21", true, "gggggg-"},  {"", true, "gggggg-"},
    };
    for (const Case& c : cases) {
        LeaveType("1");
        script = &testenv::ResetScript();
        LeaveType(c.type);
        const QString shown = QString::fromUtf8(c.type).isEmpty() ? "0" : QString::fromUtf8(c.type);
        EXPECT_EQ(script->messages,
                  c.warns ? QStringList{Info("タイプ " + shown + " は使用できません。")} : QStringList{}) << c.type;
        EXPECT_EQ(script->beeps, 0) << c.type;
        EXPECT_EQ(Marks(), c.marks) << c.type;
    }
    // Switching to another window is not leaving the box, nor is the end of the screen.
    Retype(s->txtTYP, "9");
    script = &testenv::ResetScript();
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(s->txtTYP, &out);
    EXPECT_TRUE(script->messages.isEmpty());
    s->Modified = false;
    Click(s->Cmd登録);
    EXPECT_FALSE(s->IsLoaded());
    EXPECT_TRUE(script->messages.isEmpty());
}

TEST_F(LoadShapes, SavingZeroesTheIdleParametersAndAcceptsAWarnedType)
{
    Open();
    // Type 3 with every parameter filled: P2..P7 become 0.
    Fill("1", "3", "1", 0);
    for (int i = 1; i <= 7; ++i) P(i)->setText("5");
    Click(s->cmd追加);
    EXPECT_EQ(Shapes(), QStringList{"1|3|1|z 部材系|0|0|1"});
    // Type 9: the warning, then the row saves with P7 zeroed.
    Fill("2", "9", "1", 0);
    EXPECT_EQ(script->messages, QStringList{Info("タイプ 9 は使用できません。")});
    for (int i = 1; i <= 7; ++i) P(i)->setText("5");
    Click(s->cmd追加);
    EXPECT_EQ(Shapes().value(1), "2|9|1|z 部材系|5|0|2");
    // Shown again, the type-9 row has P1..P6 in use.
    s->DBGrid->ClickRow(1);
    EXPECT_EQ(s->txtTYP->text(), "9");
    EXPECT_EQ(Marks(), "gggggg-");
    // Type 18: warned as well, and nothing zeroed.
    LeaveType("3");
    Fill("3", "18", "1", 0);
    EXPECT_EQ(script->messages.last(), Info("タイプ 18 は使用できません。"));
    for (int i = 1; i <= 7; ++i) P(i)->setText("5");
    Click(s->cmd追加);
    EXPECT_EQ(Shapes().value(2), "3|18|1|z 部材系|5|5|3");
    EXPECT_EQ(script->messages.size(), 2);
}

TEST_F(LoadShapes, SavingRefusals)
{
    Open();
    const QString typeOne = "荷重タイプに １を指定する場合は、座標系は \"X 絶対系\" を指定して下さい。";
    const QString typeTwo = "荷重タイプに ２を指定する場合は、座標系は \"y 部材系\" または \"z 部材系\" を指定して下さい。";
    const QString range = "入力できる条件番号は  1 から 9999 です。";
    const QString count = "入力した本数が入力可能範囲を超えています。入力できる本数は３本までです。";
    struct Case {
        const char* no;
        const char* type;
        const char* cs;
        int system;
        const char* p2;
        QString message;   // empty: saved
    };
    const Case cases[] = {
        {"1", "1", "1", 0, "0", typeOne},  {"1", "2", "1", 3, "0", typeTwo}, {"1", "2", "1", 1, "0", ""},
        {"2", "3", "1", 4, "0", ""},       {"3", "3", "1", 2, "0", kInvalid}, {"3", "1", "1", 2, "0", kInvalid},
        {"3", "3", "11", 0, "0", kInvalid}, {"3", "3", "0", 0, "0", kInvalid}, {"0", "3", "1", 0, "0", range},
        {"10000", "3", "1", 0, "0", range}, {"3", "10", "1", 0, "4", count},  {"3", "20", "1", 0, "2.5", ""},
    };
    int rows = 0;
    for (const Case& c : cases) {
        script = &testenv::ResetScript();
        Fill(c.no, c.type, c.cs, c.system);
        P(2)->setText(c.p2);
        Click(s->cmd追加);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(script->messages.isEmpty()) << c.no << " " << c.type << script->messages.join('\n').toStdString();
            ++rows;
        } else {
            EXPECT_EQ(script->messages, QStringList{Info(c.message)}) << c.no << " " << c.type;
            EXPECT_EQ(script->beeps, 1) << c.type;
        }
        EXPECT_EQ(Shapes().size(), rows) << c.no << " " << c.type;
    }
}

TEST_F(LoadShapes, ACaseAboveTheModelsCountAsksToRaiseIt)
{
    Open();
    const QString question = "入力した荷重ケース数（4）が「基本データ」で入力した荷重ケース数（3）を超えています。\r\n\r\n"
                             "「基本データ」の荷重ケース数を4に変更しますか？\r\n\r\n「いいえ」の場合は再入力となります。";
    Fill("1", "3", "4", 0);
    script->answers = {ui::Answer::No};
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(question)});
    EXPECT_TRUE(Shapes().isEmpty());
    EXPECT_EQ(BasicCase(), "3");
    EXPECT_EQ(s->lblCase->text(), "3");

    script = &testenv::ResetScript();
    script->answers = {ui::Answer::Yes};
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(question)});
    EXPECT_EQ(Shapes().size(), 1);
    EXPECT_EQ(BasicCase(), "4");
    EXPECT_EQ(s->lblCase->text(), "4");

    // A cancel of the screen undoes the raise with the rest.
    s->cmdCancel_Click();
    EXPECT_EQ(BasicCase(), "3");
    EXPECT_TRUE(Shapes().isEmpty());
}

TEST_F(LoadShapes, DuplicateNumberOnAddIsRefusedAndANewRowPrepared)
{
    AddShapes({Shape(1, 3, 1, "X 絶対系", {5}, 1), Shape(9999, 3, 1, "X 絶対系", {5}, 2)});
    Open();
    P(1)->setText("8");
    Click(s->cmd追加);   // the first row is shown: its number is in use
    EXPECT_EQ(script->messages, QStringList{Info("形状番号：1\r\n入力した形状番号はすでに使用されているので新たに登録できません")});
    EXPECT_EQ(Shapes().size(), 2);
    EXPECT_EQ(B("txtNo")->text(), "10000");
    EXPECT_EQ(P(1)->text(), "0.000");
    script = &testenv::ResetScript();
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info("入力できる条件番号は  1 から 9999 です。")});

    // An update to another row's number.
    s->DBGrid->ClickRow(0);
    Retype(B("txtNo"), "9999");
    script = &testenv::ResetScript();
    Click(s->cmd修正);
    EXPECT_EQ(script->messages, QStringList{Info("形状番号：9999\r\n入力した形状番号は他の荷重形状データですでに使用されています")});
}

TEST_F(LoadShapes, CaseFilter)
{
    AddShapes({Shape(1, 3, 1, "X 絶対系", {1}, 1), Shape(2, 3, 3, "X 絶対系", {2}, 2), Shape(3, 3, 1, "X 絶対系", {3}, 3),
               Shape(4, 3, 3, "X 絶対系", {4}, 4)});
    Open();
    ChooseFilter(" 3");
    EXPECT_EQ(GridNumbers(), QStringList({"2", "4"}));
    EXPECT_FALSE(s->cmdMF->isEnabled());
    EXPECT_FALSE(s->cmdML->isEnabled());
    EXPECT_TRUE(s->Modified);
    EXPECT_EQ(B("txtNo")->text(), "1");   // the boxes keep their contents

    // A row of case 5 is written but not shown; the list gains 5; the filter stays.
    Click(s->cmd追加);   // the boxes still hold row 1: refused as a duplicate, a new row prepared
    EXPECT_EQ(B("txtNo")->text(), "5");
    Retype(s->txtCase, "2");
    Click(s->cmd追加);
    EXPECT_EQ(Shapes().size(), 5);
    EXPECT_EQ(GridNumbers(), QStringList({"2", "4"}));
    EXPECT_EQ(Items(s->cbo荷重ケース数), QStringList({"全表示", "1", "2", "3"}));
    EXPECT_EQ(s->cbo荷重ケース数->currentText(), " 3");

    // Deleting the rows of the filtered case: the grid empties, the list loses it, the filter text stays.
    s->DBGrid->ClickRow(0);
    EXPECT_EQ(B("txtNo")->text(), "2");
    Click(s->cmd削除);
    EXPECT_EQ(GridNumbers(), QStringList{"4"});
    EXPECT_EQ(B("txtNo")->text(), "4");
    Click(s->cmd削除);
    EXPECT_EQ(s->DBGrid->RowCount(), 0);
    EXPECT_EQ(B("txtNo")->text(), "6");
    EXPECT_EQ(Items(s->cbo荷重ケース数), QStringList({"全表示", "1", "2"}));
    EXPECT_EQ(s->cbo荷重ケース数->currentText(), " 3");
    EXPECT_EQ(Rows("荷重形状", {"No_", "順"}), QStringList({"1|1", "3|2", "5|3"}));

    ChooseFilter("全表示");
    EXPECT_EQ(GridNumbers(), QStringList({"1", "3", "5"}));
    EXPECT_TRUE(s->cmdMF->isEnabled());

    // Delete-all under a filter deletes every case.
    ChooseFilter("1");
    EXPECT_EQ(GridNumbers(), QStringList({"1", "3"}));
    Click(s->cmdAllDelete);
    EXPECT_TRUE(Shapes().isEmpty());
    EXPECT_EQ(Items(s->cbo荷重ケース数), QStringList{"全表示"});
    EXPECT_EQ(B("txtNo")->text(), "1");
}

TEST_F(LoadShapes, FocusRingRunsThroughTheEnabledParameters)
{
    Open();
    LeaveType("3");   // P1 only
    SelectEntryBox(s->txtCase);
    SendKey(s->txtCase, Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), P(1));
    SendKey(P(1), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), B("txtNo"));
    SendKey(B("txtNo"), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), P(1));
    SendKey(P(1), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), s->txtCase);
    LeaveType("4");   // P1..P4
    SelectEntryBox(B("txtNo"));
    SendKey(B("txtNo"), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), P(4));
    // Minus and point are refused in the number boxes, allowed in the parameters.
    Retype(s->txtCase, "-2.");
    EXPECT_EQ(s->txtCase->text(), "2");
    Retype(P(2), "-2.5");
    EXPECT_EQ(P(2)->text(), "-2.5");
}

TEST_F(LoadShapes, LegendOpensOnceInTheModelsUnitsAndClosesWithTheScreen)
{
    Exec("UPDATE 基本データ SET Unit = 'False'");
    Open();
    Click(s->cmdReferType);
    auto* legend = dynamic_cast<frm荷重形状図*>(forms::FindLoadedForm("frm荷重形状図"));
    ASSERT_NE(legend, nullptr);
    EXPECT_EQ(legend->windowTitle(), "ZELKOVA  ver 1.41　荷重形状図");
    EXPECT_EQ(legend->findChild<QLabel*>("lbl_03")->text(), "P1 ：t/m" + QString(21, ' ') + "P2～P7 = 0");
    for (int i = 1; i <= 10; ++i) {
        const QString si = frm荷重形状図::LegendText(i, true);
        const QString t = frm荷重形状図::LegendText(i, false);
        EXPECT_EQ(si.size(), t.size()) << i;
        EXPECT_EQ(legend->Legends[size_t(i - 1)]->text(), t);
        EXPECT_FALSE(t.contains("kN")) << i;
        EXPECT_NE(legend->findChild<QWidget*>(QString("Picture%1").arg(i, 3, 10, QChar('0'))), nullptr);
    }
    const std::vector<int> lengths = {48, 68, 37, 47, 56, 45, 44, 45, 46, 63};
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(frm荷重形状図::LegendText(i, true).size(), lengths[size_t(i - 1)]);
    const size_t loaded = forms::LoadedForms().size();
    Click(s->cmdReferType);
    EXPECT_EQ(forms::LoadedForms().size(), loaded);
    EXPECT_TRUE(script->messages.isEmpty());

    s->Cmd登録_Click();
    EXPECT_FALSE(legend->IsLoaded());
}

}  // namespace
