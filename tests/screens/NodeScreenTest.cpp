// The node screen through its real widgets: keys typed into the entry boxes,
// clicks on the buttons and the grid.
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "platform/DataGrid.h"
#include "platform/Settings.h"
#include "screens/NodeScreen.h"
#include "screens/ScreenTestSupport.h"

#include <algorithm>
#include <QApplication>
#include <QFile>
#include <QLabel>

using namespace inputtest;
using namespace screentest;

namespace {

const QString kNodeRange = QStringLiteral("入力可能な最大節点番号は 300 です｡");

class NodeScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainMenu = PrepareScreenTest([this] { ++menuShown; });
    }
    void Open()
    {
        OpenScreen(ScreenNodeCoordinates, s, script);
    }
    QLineEdit* B(const char* name) { return s->Box(name); }
    QStringList BoxTexts() { return {B("txtNo")->text(), B("txtX")->text(), B("txtY")->text(), B("txtZ")->text()}; }
    QStringList Nodes() { return Rows("節点座標1", {"No_", "X", "順"}); }
    int Current() { return s->ScreenRecordset->EOF_() ? -1 : s->ScreenRecordset->Field("No_").toInteger(); }
    bool AtNewRow() { return s->ScreenRecordset->EOF_(); }
    void Enter(const QString& no, const QString& x)
    {
        Retype(B("txtNo"), no);
        Retype(B("txtX"), x);
    }
    void ClickGridRow(int row)
    {
        QRect r = s->DBGrid->visualRect(s->DBGrid->model()->index(row, 0));
        Click(s->DBGrid->viewport(), r.center());
    }

    frm節点座標1* s = nullptr;
    ui::ScriptedServices* script = nullptr;
    int menuShown = 0;
    MainMenuHook mainMenu;
};

TEST_F(NodeScreen, EmptyTableProposesTheFirstNode)
{
    Open();
    EXPECT_EQ(BoxTexts(), QStringList({"1", "0.000", "0.000", "0.000"}));
    EXPECT_EQ(s->DBGrid->RowCount(), 0);
    EXPECT_TRUE(AtNewRow());
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　2．節点座標");
    EXPECT_EQ(s->findChild<QLabel*>("lblJntNo")->text(), "節点番号(1～300)");
    EXPECT_FALSE(s->Modified);
    // The grid binds every field and hides 順.
    EXPECT_EQ(s->DBGrid->model()->columnCount(), 5);
    EXPECT_TRUE(s->DBGrid->isColumnHidden(4));
    EXPECT_EQ(s->DBGrid->model()->headerData(0, Qt::Horizontal).toString(), "節点番号");
}

TEST_F(NodeScreen, TypingAndDownAddsRowsOneAfterAnother)
{
    Open();
    Enter("1", "-1.5");
    EXPECT_TRUE(s->Modified);
    SendKey(B("txtX"), Qt::Key_Down);
    EXPECT_EQ(Nodes(), QStringList{"1|-1.5|1"});
    EXPECT_EQ(BoxTexts(), QStringList({"2", "0.000", "0.000", "0.000"}));
    EXPECT_TRUE(AtNewRow());
    EXPECT_FALSE(s->Modified);
    SendKey(B("txtNo"), Qt::Key_Down);   // the proposal itself is a valid row
    EXPECT_EQ(Nodes(), QStringList({"1|-1.5|1", "2|0|2"}));
    EXPECT_EQ(B("txtNo")->text(), "3");
    EXPECT_EQ(s->DBGrid->RowCount(), 2);
    EXPECT_TRUE(s->isEnabled());
    EXPECT_TRUE(script->messages.isEmpty());
}

TEST_F(NodeScreen, NumberThreeHundredOneIsRefused)
{
    AddNodes(1, 300);
    Open();
    EXPECT_EQ(Current(), 300);
    SendKey(B("txtNo"), Qt::Key_Down);   // saves the row and goes to the new-row position
    EXPECT_TRUE(AtNewRow());
    EXPECT_EQ(B("txtNo")->text(), "301");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kNodeRange)});
    EXPECT_EQ(Nodes().size(), 1);
}

TEST_F(NodeScreen, UpAndDownProtocol)
{
    AddNodes(3);
    Open();
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(BoxTexts(), QStringList({"1", "1.000", "0.000", "0.000"}));

    // Up on the first row saves it and stays, without a beep.
    Retype(B("txtX"), "9");
    SendKey(B("txtX"), Qt::Key_Up);
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(Nodes().first(), "1|9|1");
    EXPECT_EQ(script->beeps, 0);

    // Down walks the rows, saving each; Down on the last row goes to the new row.
    SendKey(B("txtX"), Qt::Key_Down);
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(B("txtX")->text(), "2.000");
    EXPECT_EQ(s->DBGrid->CurrentRow(), 1);
    SendKey(B("txtX"), Qt::Key_Down);
    SendKey(B("txtX"), Qt::Key_Down);
    EXPECT_TRUE(AtNewRow());
    EXPECT_EQ(BoxTexts(), QStringList({"4", "0.000", "0.000", "0.000"}));
    EXPECT_EQ(script->beeps, 0);

    // Up at the new row shows the last row and drops the prepared one.
    SendKey(B("txtX"), Qt::Key_Up);
    EXPECT_EQ(Current(), 3);
    EXPECT_EQ(B("txtNo")->text(), "3");
    EXPECT_EQ(Nodes().size(), 3);

    // An invalid entry stops the move with its message.
    Retype(B("txtY"), "-");
    SendKey(B("txtY"), Qt::Key_Up);
    EXPECT_EQ(Current(), 3);
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_TRUE(s->isEnabled());
}

TEST_F(NodeScreen, UpInAnEmptyTableBeepsAndTheScreenStaysUsable)
{
    Open();
    SendKey(B("txtNo"), Qt::Key_Up);
    EXPECT_EQ(script->beeps, 1);
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_TRUE(s->isEnabled());
    EXPECT_FALSE(s->Busy);
}

TEST_F(NodeScreen, DuplicateNumbers)
{
    AddNodes(3);
    Open();
    // Update to a number another row has: refused, and Down still moves on.
    Retype(B("txtNo"), "2");
    SendKey(B("txtNo"), Qt::Key_Down);
    EXPECT_EQ(script->messages,
              QStringList{Info("節点番号：2\r\n入力した節点番号は他の節点データですでに使用されています")});
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(Nodes(), QStringList({"1|1|1", "2|2|2", "3|3|3"}));

    // Add with a used number: refused, then the new-row proposal.
    testenv::ResetScript();
    script = &testenv::Script();
    Enter("3", "5");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info("節点番号：3\r\n入力した節点番号はすでに使用されているので新たに登録できません")});
    EXPECT_EQ(Nodes().size(), 3);
    EXPECT_TRUE(AtNewRow());
    EXPECT_EQ(B("txtNo")->text(), "4");
}

TEST_F(NodeScreen, AddWithInvalidInputKeepsTheTypedText)
{
    AddNodes(2);
    Open();
    Retype(B("txtNo"), "0");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kNodeRange)});
    EXPECT_TRUE(AtNewRow());
    EXPECT_EQ(B("txtNo")->text(), "0");
}

TEST_F(NodeScreen, UpdateChangesTheCurrentRowAndKeepsItsOrder)
{
    AddNodes(3);
    Open();
    ClickGridRow(1);
    EXPECT_EQ(Current(), 2);
    Enter("7", "4.25");
    Click(s->cmd修正);
    EXPECT_EQ(Nodes(), QStringList({"1|1|1", "7|4.25|2", "3|3|3"}));
    EXPECT_EQ(Current(), 7);
    EXPECT_FALSE(s->Modified);

    SendKey(B("txtNo"), Qt::Key_Down);   // new-row position after the last row
    SendKey(B("txtNo"), Qt::Key_Down);
    Click(s->cmd修正);
    EXPECT_EQ(script->messages.last(), Info("修正するデータが選択されていません"));
}

TEST_F(NodeScreen, GridClickReplacesUnsavedText)
{
    AddNodes(3);
    Open();
    Retype(B("txtX"), "55");
    ClickGridRow(2);
    EXPECT_EQ(Current(), 3);
    EXPECT_EQ(B("txtX")->text(), "3.000");
    EXPECT_TRUE(script->messages.isEmpty());
    // Keys do not move in the grid.
    SendKey(s->DBGrid, Qt::Key_Up);
    EXPECT_EQ(Current(), 3);
    EXPECT_EQ(s->DBGrid->CurrentRow(), 2);
    EXPECT_EQ(Nodes().first(), "1|1|1");
}

TEST_F(NodeScreen, KeyFilterRingAndFormat)
{
    Open();
    Click(B("txtNo"));
    B("txtNo")->clear();
    Type(B("txtNo"), "-1.2");
    EXPECT_EQ(B("txtNo")->text(), "12");
    EXPECT_EQ(script->beeps, 2);
    Click(B("txtX"));
    B("txtX")->clear();
    Type(B("txtX"), "-1.5");
    FocusOut(B("txtX"));
    EXPECT_EQ(B("txtX")->text(), "-1.500");
    Retype(B("txtY"), "abc");   // refused keys leave the box as it was
    EXPECT_EQ(B("txtY")->text(), "0.000");

    // Right and Enter go round the ring, Left goes back.
    SendKey(B("txtZ"), Qt::Key_Right);
    EXPECT_TRUE(s->focusWidget() == B("txtNo"));
    SendKey(B("txtNo"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txtZ"));
    SendKey(B("txtX"), Qt::Key_Return);
    EXPECT_TRUE(s->focusWidget() == B("txtY"));
    // Tab is left to the focus chain: no sound, the text unchanged.
    const int beeps = script->beeps;
    const QString z = B("txtZ")->text();
    SendKey(B("txtZ"), Qt::Key_Tab, "\t");
    EXPECT_EQ(script->beeps, beeps);
    EXPECT_EQ(B("txtZ")->text(), z);
    // Esc is a key the box does not take: a beep, the text unchanged.
    SendKey(B("txtZ"), Qt::Key_Escape, "\x1b");
    EXPECT_EQ(script->beeps, beeps + 1);
    EXPECT_EQ(B("txtZ")->text(), z);
    EXPECT_TRUE(s->IsLoaded());
}

TEST_F(NodeScreen, DeleteWithAndWithoutTheQuestion)
{
    AddNodes(4);
    Open();
    ClickGridRow(1);
    script->answers = {ui::Answer::No};
    Click(s->cmd削除);
    EXPECT_EQ(script->messages, QStringList{Question("選択しているデータを削除してもいいですか？")});
    EXPECT_EQ(Nodes().size(), 4);

    Click(s->cmd削除);   // Yes
    EXPECT_EQ(Nodes(), QStringList({"1|1|1", "3|3|2", "4|4|3"}));
    EXPECT_EQ(Current(), 3);   // the row that followed
    EXPECT_EQ(B("txtNo")->text(), "3");

    reg::SaveSetting("Public", "ChkDelete", "False");
    testenv::ResetScript();
    script = &testenv::Script();
    ClickGridRow(2);
    Click(s->cmd削除);   // the last row: the cursor goes to the new last row
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(Nodes(), QStringList({"1|1|1", "3|3|2"}));
    EXPECT_EQ(Current(), 3);
    Click(s->cmd削除);
    Click(s->cmd削除);
    EXPECT_TRUE(Nodes().isEmpty());
    EXPECT_EQ(BoxTexts(), QStringList({"1", "0.000", "0.000", "0.000"}));
    Click(s->cmd削除);
    EXPECT_EQ(script->messages, QStringList{Info("削除するデータが選択されていません")});
}

TEST_F(NodeScreen, DeleteAllAsksEvenWithoutTheDeleteOption)
{
    reg::SaveSetting("Public", "ChkDelete", "False");
    AddNodes(3);
    Open();
    script->answers = {ui::Answer::No, ui::Answer::Yes};
    Click(s->cmdAllDelete);
    EXPECT_EQ(Nodes().size(), 3);
    Click(s->cmdAllDelete);
    EXPECT_EQ(script->messages, QStringList(2, Question("節点座標 に関する全てのデータを削除してもいいですか？")));
    EXPECT_TRUE(Nodes().isEmpty());
    EXPECT_EQ(BoxTexts(), QStringList({"1", "0.000", "0.000", "0.000"}));
    Click(s->cmdAllDelete);   // empty: a beep only
    EXPECT_EQ(script->messages.size(), 2);
}

TEST_F(NodeScreen, ReorderButtonsKeepOrderAndTheMovedRowCurrent)
{
    AddNodes(5);
    Open();
    ClickGridRow(3);
    Click(s->cmdMF);
    EXPECT_EQ(Rows("節点座標1", {"No_"}), QStringList({"4", "1", "2", "3", "5"}));
    EXPECT_EQ(Current(), 4);
    EXPECT_EQ(s->DBGrid->CurrentRow(), 0);
    Click(s->cmdMD);
    EXPECT_EQ(Rows("節点座標1", {"No_"}), QStringList({"1", "4", "2", "3", "5"}));
    EXPECT_EQ(Current(), 4);
    EXPECT_EQ(B("txtNo")->text(), "4");
    Click(s->cmdML);
    EXPECT_EQ(Rows("節点座標1", {"No_"}), QStringList({"1", "2", "3", "5", "4"}));
    Click(s->cmdMU);
    EXPECT_EQ(Rows("節点座標1", {"No_", "順"}), QStringList({"1|1", "2|2", "3|3", "4|4", "5|5"}));
    EXPECT_EQ(Current(), 4);
    EXPECT_EQ(s->DBGrid->CurrentRow(), 3);
    Click(s->cmdMF);
    Click(s->cmdMU);   // already first: a beep and no change
    EXPECT_EQ(script->beeps, 1);
    EXPECT_EQ(Rows("節点座標1", {"No_"}).first(), "4");
}

TEST_F(NodeScreen, RegisterAsksToSaveTypedEntries)
{
    AddNodes(2);
    Open();
    Enter("9", "3");   // a number no row has: added
    script->answers = {ui::Answer::Yes};
    Click(s->Cmd登録);
    EXPECT_EQ(script->messages, QStringList{Question("選択されているレコードが変更されています。\r\n変更を保存しますか？")});
    EXPECT_EQ(Nodes(), QStringList({"1|1|1", "2|2|2", "9|3|3"}));
    EXPECT_FALSE(s->IsLoaded());
    EXPECT_EQ(menuShown, 1);

    Open();
    ClickGridRow(2);
    Enter("1", "8");   // a number a row has: that row is rewritten
    Click(s->Cmd登録);
    EXPECT_EQ(Nodes().first(), "1|8|1");
    EXPECT_EQ(Nodes().size(), 3);

    Open();
    Enter("5", "abc");
    Click(B("txtY"));
    SendKey(B("txtY"), Qt::Key_Return);   // Enter alone counts as a change
    script->answers = {ui::Answer::No};
    Click(s->Cmd登録);
    EXPECT_EQ(script->messages.size(), 1);
    EXPECT_FALSE(s->IsLoaded());
    EXPECT_EQ(Nodes().size(), 3);
}

TEST_F(NodeScreen, RegisterWithARefusedSaveStaysOpen)
{
    Open();
    Retype(B("txtNo"), "0");
    Click(s->Cmd登録);
    EXPECT_EQ(script->messages, QStringList({Question("選択されているレコードが変更されています。\r\n変更を保存しますか？"), Info(kNodeRange)}));
    EXPECT_TRUE(s->IsLoaded());
    EXPECT_TRUE(QFile::exists(kBackupDatabase));
}

TEST_F(NodeScreen, FullOrderRefusesAFurtherRow)
{
    AppendRows("節点座標1", {"No_", "X", "Y", "Z", "順"},
               {{rt::Variant::Integer(1), rt::Variant::Double(0), rt::Variant::Double(0), rt::Variant::Double(0), rt::Variant::Integer(32767)}});
    Open();
    SendKey(B("txtNo"), Qt::Key_Down);
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_EQ(Nodes().size(), 1);
}

TEST_F(NodeScreen, RowGoneBehindTheScreenChangesNothing)
{
    AddNodes(3);
    Open();
    ClickGridRow(1);
    inputtest::Exec("DELETE FROM \"節点座標1\" WHERE \"No_\" = 2");
    const QString before = testenv::FileHash(kWorkingDatabase);
    Retype(B("txtX"), "7");
    Click(s->cmd修正);
    EXPECT_EQ(script->beeps, 1);
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), before);
    EXPECT_TRUE(s->isEnabled());
}

TEST_F(NodeScreen, DatabaseFailureLeavesTheScreenUsable)
{
    AddNodes(2);
    Open();
    ASSERT_TRUE(QFile::rename(kWorkingDatabase, "away.mdb"));
    Enter("5", "1");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Exclamation(kDatabaseAccess)});
    EXPECT_TRUE(s->isEnabled());
    EXPECT_FALSE(s->Busy);
    ASSERT_TRUE(QFile::remove(kWorkingDatabase) || !QFile::exists(kWorkingDatabase));
    ASSERT_TRUE(QFile::rename("away.mdb", kWorkingDatabase));
    testenv::ResetScript();
    script = &testenv::Script();
    Enter("5", "1");
    Click(s->cmd追加);
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(Nodes().size(), 3);
}

TEST_F(NodeScreen, FrameDiagramButtonOpensTheDiagramBesideTheScreen)
{
    AddNodes(1);
    Open();
    Click(s->cmdReferRAMEN);
    // One node and no members: the diagram asks whether to stop; Yes closes it.
    EXPECT_EQ(script->messages, QStringList{inputtest::Question("部材データが入力されていません。ラーメン図の作成を終了しますか？")});
    const auto windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::any_of(windows.begin(), windows.end(),
                            [](QWidget* w) { return w->objectName() == QStringLiteral("frmラーメン図"); }));
    EXPECT_TRUE(s->IsLoaded());
}

}  // namespace
