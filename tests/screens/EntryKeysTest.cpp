// Keyboard and entry on every input screen, with key events as a real X
// server delivers them (each with its text): Delete, the editing shortcuts,
// input-method commits, the first keystroke after opening, the stored digits
// that moving through rows must not round away, and typing kept over a
// database failure.
#include "common/Values.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "input/ListScreen.h"
#include "platform/Settings.h"
#include "screens/BasicDataScreen.h"
#include "screens/NodeScreen.h"
#include "screens/ScreenTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QPushButton>

using namespace inputtest;
using namespace screentest;
using V = rt::Variant;

namespace {

void Commit(QWidget* w, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(w, &event);
}

const QString kRecordChanged = Question("選択されているレコードが変更されています。\r\n変更を保存しますか？");

void StoreBasicData(const char* unit, double e, double g)
{
    AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
               {{V::Text("Tower"), V::Text(" "), V::Text(" "), V::Text(unit), V::Integer(2), V::Double(e), V::Double(g)}});
}

class EntryKeys : public ::testing::Test {
protected:
    void SetUp() override { mainMenu = PrepareScreenTest(); }
    template <class Screen>
    Screen* Open(int16_t code)
    {
        Screen* s = nullptr;
        OpenScreen(code, s, script);
        return s;
    }
    ui::ScriptedServices* script = nullptr;
    MainMenuHook mainMenu;
};

TEST_F(EntryKeys, DeleteRemovesTheCharacterAfterTheCaret)
{
    AddNodes(1);
    auto* s = Open<frm節点座標1>(ScreenNodeCoordinates);
    QLineEdit* x = s->Box("txtX");
    x->setText("1.500");
    x->setCursorPosition(0);
    s->Modified = false;
    SendKey(x, Qt::Key_Delete, "\x7f");
    EXPECT_EQ(x->text(), ".500");
    EXPECT_EQ(script->beeps, 0);
    EXPECT_TRUE(s->Modified);

    // Nothing after the caret: nothing changes, nothing is marked.
    x->end(false);
    s->Modified = false;
    SendKey(x, Qt::Key_Delete, "\x7f");
    EXPECT_EQ(x->text(), ".500");
    EXPECT_FALSE(s->Modified);
    EXPECT_EQ(script->beeps, 0);
    s->CancelInput();

    // The numeric boxes of the basic data screen as well.
    auto* b = Open<frm基本データ>(ScreenBasicData);
    b->txtE->setText("21000");
    b->txtE->setCursorPosition(0);
    SendKey(b->txtE, Qt::Key_Delete, "\x7f");
    EXPECT_EQ(b->txtE->text(), "1000");
    EXPECT_EQ(script->beeps, 0);
}

TEST_F(EntryKeys, EditingShortcutsWorkAndPastePassesTheFilter)
{
    AddNodes(1);
    auto* s = Open<frm節点座標1>(ScreenNodeCoordinates);
    QLineEdit* x = s->Box("txtX");
    x->setText("1.000");
    s->Modified = false;

    SendKey(x, Qt::Key_A, "\x01", Qt::ControlModifier);
    EXPECT_EQ(x->selectedText(), "1.000");
    SendKey(x, Qt::Key_C, "\x03", Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1.000");
    EXPECT_FALSE(s->Modified);

    QGuiApplication::clipboard()->setText("-2.25");
    SendKey(x, Qt::Key_V, "\x16", Qt::ControlModifier);
    EXPECT_EQ(x->text(), "-2.25");
    EXPECT_TRUE(s->Modified);
    SendKey(x, Qt::Key_Z, "\x1a", Qt::ControlModifier);
    EXPECT_EQ(x->text(), "1.000");
    EXPECT_EQ(script->beeps, 0);

    // A text the box would refuse when typed is refused whole.
    QGuiApplication::clipboard()->setText("1,5");
    x->selectAll();
    SendKey(x, Qt::Key_V, "\x16", Qt::ControlModifier);
    EXPECT_EQ(x->text(), "1.000");
    EXPECT_EQ(script->beeps, 1);
    QGuiApplication::clipboard()->setText("-3");
    s->Box("txtNo")->selectAll();
    SendKey(s->Box("txtNo"), Qt::Key_V, "\x16", Qt::ControlModifier);   // no minus in a number
    EXPECT_EQ(s->Box("txtNo")->text(), "1");
    EXPECT_EQ(script->beeps, 2);

    // A pasted text is an edit: registering asks to save it.
    s->Modified = false;
    QGuiApplication::clipboard()->setText("4.5\n");   // as a spreadsheet cell gives it
    x->selectAll();
    SendKey(x, Qt::Key_V, "\x16", Qt::ControlModifier);
    EXPECT_EQ(x->text(), "4.5");
    script->answers = {ui::Answer::No};
    Click(s->Cmd登録);
    EXPECT_EQ(script->messages, QStringList{kRecordChanged});
}

TEST_F(EntryKeys, InputMethodIsOffInNumericBoxesAndOnInTextBoxes)
{
    AddNodes(1);
    auto* s = Open<frm節点座標1>(ScreenNodeCoordinates);
    QLineEdit* x = s->Box("txtX");
    EXPECT_FALSE(x->testAttribute(Qt::WA_InputMethodEnabled));
    x->selectAll();
    s->Modified = false;
    Commit(x, "１２");   // full-width digits composed through the input method
    EXPECT_EQ(x->text(), "1.000");
    EXPECT_GE(script->beeps, 1);
    Commit(x, "2");
    EXPECT_EQ(x->text(), "2");
    EXPECT_TRUE(s->Modified);
    script->answers = {ui::Answer::No};
    Click(s->Cmd登録);
    EXPECT_EQ(script->messages, QStringList{kRecordChanged});

    auto* b = Open<frm基本データ>(ScreenBasicData);
    EXPECT_TRUE(b->txt工事名->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(b->txtNote->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(b->txtCase->testAttribute(Qt::WA_InputMethodEnabled));
    b->txt工事名->clear();
    Commit(b->txt工事名, "橋梁");
    EXPECT_EQ(b->txt工事名->text(), "橋梁");
    Commit(b->txtCase, "３");
    EXPECT_EQ(b->txtCase->text(), "1");
}

TEST_F(EntryKeys, EveryScreenOpensWithItsFirstTabStopBoxSelected)
{
    struct FirstBox {
        int16_t code;
        const char* box;
    };
    const FirstBox screens[] = {
        {ScreenBasicData, "txt工事名"},      {ScreenNodeCoordinates, "txtX"},      {ScreenSectionProperties, "txtA"},
        {ScreenSectionShapes, "txtTYP"},     {ScreenMembers, "txtIT"},            {ScreenRestraintTypes, "txtu"},
        {ScreenRestraintPlacement, "txt拘束形状"}, {ScreenMemberEndTypes, "txtxMWR"}, {ScreenMemberEndPlacement, "txtI端部形状"},
        {ScreenLoadShapes, "txtTYP"},        {ScreenLoadPlacement, "txt荷重形状"},
    };
    StoreBasicData("True", 21000, 8100);
    AddNodes(2);
    for (const FirstBox& f : screens) {
        // A fresh window and then the same window opened again.
        for (int opening = 0; opening < 2; ++opening) {
            auto* s = Open<InputScreen>(f.code);
            auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            ASSERT_NE(box, nullptr) << f.box << opening;
            EXPECT_EQ(box->objectName(), QString::fromUtf8(f.box)) << opening;
            EXPECT_EQ(box->selectedText(), box->text()) << f.box << opening;
            s->CancelInput();
        }
    }

    // The first keystroke replaces the proposal.
    auto* s = Open<frm節点座標1>(ScreenNodeCoordinates);
    SendKey(QApplication::focusWidget(), Qt::Key_5, "5");
    EXPECT_EQ(s->Box("txtX")->text(), "5");
}

// Rows with more digits than the boxes' formats show: moving through them
// with Down and Up re-saves each row and must leave every value as stored.
TEST_F(EntryKeys, MovingThroughRowsKeepsEveryStoredDigit)
{
    struct Table {
        int16_t code;
        const char* table;
        QStringList fields;
        std::vector<std::vector<V>> rows;
    };
    using testenv::I;
    using testenv::S;
    using testenv::T;
    const Table tables[] = {
        {ScreenNodeCoordinates, "節点座標1", {"No_", "X", "Y", "Z", "順"},
         {{I(1), S(1.23456), S(-0.0001), S(98765.43), I(1)}, {I(2), S(0.1), S(2.5), S(-3.25), I(2)}}},
        {ScreenSectionProperties, "材料定数1", {"No_", "E", "γ", "A", "Ixx", "Iyy", "Izz", "順"},
         {{I(1), S(2059.4), S(792.1), S(0.0127), S(12345.67), S(0.001), S(3.14159), I(1)},
          {I(2), S(21000), S(8100), S(100), S(1000.5), S(2000.25), S(0.5), I(2)}}},
        {ScreenSectionShapes, "材料定数2", {"No_", "TYP", "fld_01", "fld_02", "fld_03", "fld_04", "fld_05", "φx", "φy", "E", "γ", "順"},
         {{I(1001), I(2), S(250.5), S(125.25), S(6.35), S(9.125), S(13.1), S(1.2345), S(1), S(20594.5), S(7921.3), I(1)},
          {I(1002), I(5), S(101.6), S(3.2), S(0), S(0), S(0), S(1), S(1), S(21000), S(8100), I(2)}}},
        {ScreenRestraintTypes, "節点拘束形状", {"No_", "u", "v", "w", "θx", "θy", "θz", "順"},
         {{I(1), T("0.0004"), T("12.3456"), T("拘束"), T("自由"), T("1234.500"), T("0.500"), I(1)},
          {I(2), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), T("拘束"), I(2)}}},
        {ScreenMemberEndTypes, "要素端部形状", {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", "順"},
         {{I(1), T("剛"), T("剛"), T("剛"), T("ピン"), T("0.0005"), T("1234.5678"), I(1)},
          {I(2), T("剛"), T("剛"), T("剛"), T("剛"), T("剛"), T("ピン"), I(2)}}},
        {ScreenLoadShapes, "荷重形状", {"No_", "TYP", "Case", "座標系", "fld_01", "fld_02", "fld_03", "fld_04", "fld_05", "fld_06", "fld_07", "順"},
         {{I(1), I(2), I(1), T("y 部材系"), S(1.23456), S(-0.0001), S(2.5), S(0.125), S(1000.5), S(3.3), S(0.75), I(1)},
          {I(2), I(3), I(1), T("z 部材系"), S(12.5), S(0), S(0), S(0), S(0), S(0), S(0), I(2)}}},
    };
    StoreBasicData("False", 2059.4, 792.1);
    for (const Table& t : tables) {
        AppendRows(QString::fromUtf8(t.table), t.fields, t.rows);
        const QStringList before = Rows(QString::fromUtf8(t.table), t.fields, QStringLiteral("順"), Digits::Every);
        auto* s = Open<ListScreen>(t.code);
        QWidget* box = QApplication::focusWidget();
        ASSERT_NE(box, nullptr) << t.table;
        for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Up}) {
            SendKey(QApplication::focusWidget(), key);
            QCoreApplication::processEvents();
        }
        EXPECT_TRUE(script->messages.isEmpty()) << t.table << script->messages.join("\n").toStdString();
        EXPECT_EQ(Rows(QString::fromUtf8(t.table), t.fields, QStringLiteral("順"), Digits::Every), before) << t.table;
        s->CancelInput();
    }

    // The common moduli a new section row takes keep their digits too.
    auto* s = Open<ListScreen>(ScreenSectionProperties);
    s->cmdAllDelete_Click();
    EXPECT_EQ(s->Box("txtE")->text(), "2059.4");
    EXPECT_EQ(s->Box("txtγ")->text(), "792.1");
    s->CancelInput();

    // And so do the basic data's own moduli, registered unchanged.
    const QStringList moduli = Rows("基本データ", {"E", "γ"}, QStringLiteral("順"), Digits::Every);
    auto* b = Open<frm基本データ>(ScreenBasicData);
    EXPECT_EQ(b->txtE->text(), "2059.4");
    b->Cmd登録_Click();
    EXPECT_EQ(Rows("基本データ", {"E", "γ"}, QStringLiteral("順"), Digits::Every), moduli);
}

TEST_F(EntryKeys, DatabaseFailureKeepsWhatWasTyped)
{
    AddNodes(2);
    auto* s = Open<frm節点座標1>(ScreenNodeCoordinates);
    Exec("CREATE TRIGGER refuse_update BEFORE UPDATE ON \"節点座標1\" BEGIN SELECT RAISE(ABORT, 'refused'); END");
    Exec("CREATE TRIGGER refuse_insert BEFORE INSERT ON \"節点座標1\" BEGIN SELECT RAISE(ABORT, 'refused'); END");

    s->Box("txtX")->setText("7.25");
    s->Modified = true;
    SendKey(s->Box("txtX"), Qt::Key_Down);
    EXPECT_EQ(script->messages, QStringList{Exclamation(kDatabaseAccess)});
    EXPECT_EQ(s->Box("txtNo")->text(), "1");
    EXPECT_EQ(s->Box("txtX")->text(), "7.25");
    EXPECT_EQ(s->ScreenRecordset->Field("No_").toInteger(), 1);
    EXPECT_TRUE(s->Modified);

    // At the new-row position as well.
    Exec("DROP TRIGGER refuse_update");
    SendKey(s->Box("txtX"), Qt::Key_Down);
    SendKey(s->Box("txtX"), Qt::Key_Down);
    ASSERT_TRUE(s->ScreenRecordset->EOF_());
    s->Box("txtX")->setText("-3.5");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages.size(), 2);
    EXPECT_EQ(s->Box("txtNo")->text(), "3");
    EXPECT_EQ(s->Box("txtX")->text(), "-3.5");
    EXPECT_TRUE(s->ScreenRecordset->EOF_());

    Exec("DROP TRIGGER refuse_insert");
    Click(s->cmd追加);
    EXPECT_EQ(Rows("節点座標1", {"No_", "X"}), (QStringList{"1|7.25", "2|2", "3|-3.5"}));
}

}  // namespace
