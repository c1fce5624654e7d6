// The member screen through its real widgets.
#include "input/InputControls.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "platform/DataGrid.h"
#include "platform/Settings.h"
#include "screens/MemberScreen.h"
#include "screens/ScreenTestSupport.h"

#include <QLabel>

using namespace inputtest;
using namespace screentest;

namespace {

const QString kMemberRange = QStringLiteral("入力可能な最大部材番号は 500 です｡");
const QString kEndOrder = QStringLiteral("ｉ 端とｊ 端の節点番号の大小が不正です。\r\n"
                                         "ｊ 端に入力する節点番号は、ｉ 端に入力した節点番号よりも大きい数字を入力して下さい。");

// n members 1..n from node k to k+1, section 1.
void AddMembers(int n)
{
    std::vector<std::vector<rt::Variant>> rows;
    for (int i = 1; i <= n; ++i)
        rows.push_back({rt::Variant::Integer(int16_t(i)), rt::Variant::Integer(int16_t(i)), rt::Variant::Integer(int16_t(i + 1)),
                        rt::Variant::Integer(1), rt::Variant::Integer(int16_t(i))});
    AppendRows("要素情報", {"No_", "iTan", "jTan", "材料番号", "順"}, rows);
}

class MemberScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainMenu = PrepareScreenTest();
    }
    void Open()
    {
        OpenScreen(ScreenMembers, s, script);
    }
    QLineEdit* B(const char* name) { return s->Box(name); }
    QStringList BoxTexts() { return {B("txtNo")->text(), B("txtIT")->text(), B("txtJT")->text(), B("txt材料番号")->text()}; }
    QStringList Members() { return Rows("要素情報", {"No_", "iTan", "jTan", "材料番号", "順"}); }
    void Enter(const QString& no, const QString& i, const QString& j, const QString& mat)
    {
        const QStringList texts = {no, i, j, mat};
        const char* names[] = {"txtNo", "txtIT", "txtJT", "txt材料番号"};
        for (int k = 0; k < 4; ++k) {
            if (texts[k].isEmpty()) {
                Retype(B(names[k]), QString());
                SendKey(B(names[k]), Qt::Key_Backspace, "\b");
            } else {
                Retype(B(names[k]), texts[k]);
            }
        }
    }
    bool NumberSelected() { return s->focusWidget() == B("txtNo") && B("txtNo")->selectedText() == B("txtNo")->text(); }
    void ClickGridRow(int row)
    {
        QRect r = s->DBGrid->visualRect(s->DBGrid->model()->index(row, 0));
        Click(s->DBGrid->viewport(), r.center());
    }

    frm要素情報* s = nullptr;
    ui::ScriptedServices* script = nullptr;
    MainMenuHook mainMenu;
};

TEST_F(MemberScreen, EmptyTableProposesTheFirstMember)
{
    Open();
    EXPECT_EQ(BoxTexts(), QStringList({"1", "1", "2", "1"}));
    EXPECT_TRUE(s->ScreenRecordset->EOF_());
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　5．部材形状配置");
    EXPECT_EQ(s->findChild<QLabel*>("lblEltNo")->text(), "部材番号(1～500)");
    EXPECT_EQ(s->cmdCancel->text(), "キャンセル(&Q)");
    EXPECT_EQ(s->Cmd登録->text(), "登録(&R)");
    EXPECT_EQ(s->findChild<QPushButton*>("cmdRefer節点座標")->text(), "節点座標参照");
    EXPECT_EQ(s->findChild<QLabel*>("Label1"), nullptr);
    QStringList headers;
    for (int c = 0; c < 4; ++c) headers << s->DBGrid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"部材番号", "i 端", "j 端", "形状番号"}));
    EXPECT_TRUE(s->DBGrid->isColumnHidden(4));
    EXPECT_EQ(s->DBGrid->height(), forms::Px(11 * s->DBGrid->RowHeight() + 140));
}

TEST_F(MemberScreen, NewMemberTakesTheLastSectionNumber)
{
    Open();
    Enter("1", "3", "7", "1005");
    SendKey(B("txt材料番号"), Qt::Key_Down);
    EXPECT_EQ(Members(), QStringList{"1|3|7|1005|1"});
    EXPECT_EQ(BoxTexts(), QStringList({"2", "1", "2", "1005"}));
    Click(s->cmd追加);   // the proposal as it stands
    EXPECT_EQ(Members(), QStringList({"1|3|7|1005|1", "2|1|2|1005|2"}));
    EXPECT_EQ(BoxTexts(), QStringList({"3", "1", "2", "1005"}));
    EXPECT_TRUE(NumberSelected());
    EXPECT_TRUE(script->messages.isEmpty());

    // Showing a row takes its section number into the next proposal.
    ClickGridRow(0);
    SendKey(B("txtNo"), Qt::Key_Down);
    SendKey(B("txtNo"), Qt::Key_Down);
    EXPECT_EQ(BoxTexts(), QStringList({"3", "1", "2", "1005"}));
}

TEST_F(MemberScreen, ChecksOfTheEntries)
{
    struct Case {
        QStringList entry;   // number, i end, j end, section
        QString message;     // empty: saved
    };
    const Case cases[] = {
        {{"1", "5", "5", "1"}, Info(kEndOrder)},
        {{"1", "6", "5", "1"}, Info(kEndOrder)},
        {{"501", "1", "2", "1"}, Info(kMemberRange)},
        {{"0", "1", "2", "1"}, Info(kMemberRange)},
        {{"", "1", "2", "1"}, Info(kInvalid)},
        {{"1", "", "2", "1"}, Info(kInvalid)},
        {{"1", "1", "", "1"}, Info(kInvalid)},
        {{"1", "1", "2", ""}, Info(kInvalid)},
        {{"1", "1", "40000", "1"}, Info(kInvalid)},
        {{"1", "0", "1", "0"}, {}},
        {{"500", "299", "300", "9999"}, {}},
    };
    Open();
    for (const Case& c : cases) {
        testenv::ResetScript();
        script = &testenv::Script();
        Enter(c.entry[0], c.entry[1], c.entry[2], c.entry[3]);
        Click(s->cmd追加);
        const QStringList expected = c.message.isEmpty() ? QStringList{} : QStringList{c.message};
        EXPECT_EQ(script->messages, expected) << c.entry.join(',').toStdString();
        EXPECT_EQ(Rows("要素情報", {"No_"}).contains(c.entry[0]), c.message.isEmpty()) << c.entry.join(',').toStdString();
        if (c.message.isEmpty()) Exec("DELETE FROM \"要素情報\"");
    }
    // The screen does not ask whether the nodes or the section exist.
    EXPECT_TRUE(Rows("節点座標1", {"No_"}).isEmpty());
}

TEST_F(MemberScreen, DuplicateNumbersAndFocusAfterEdits)
{
    AddMembers(3);
    Open();
    Enter("3", "1", "2", "1");
    ClickGridRow(0);
    Enter("2", "1", "2", "1");
    Click(s->cmd修正);
    EXPECT_EQ(script->messages, QStringList{Info("部材番号：2\r\n入力した部材番号は他の部材配置データですでに使用されています")});
    EXPECT_TRUE(NumberSelected());

    testenv::ResetScript();
    script = &testenv::Script();
    SendKey(B("txtNo"), Qt::Key_Down);   // leaves the row unsaved and goes on
    SendKey(B("txtNo"), Qt::Key_Down);
    SendKey(B("txtNo"), Qt::Key_Down);
    ASSERT_TRUE(s->ScreenRecordset->EOF_());
    Enter("3", "1", "2", "1");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages.value(1),
              Info("部材番号：3\r\n入力した部材番号はすでに使用されているので新たに登録できません"));
    EXPECT_EQ(Members().size(), 3);

    // Update with a free number renames the row in place.
    ClickGridRow(1);
    Enter("8", "4", "9", "1001");
    Click(s->cmd修正);
    EXPECT_EQ(Members(), QStringList({"1|1|2|1|1", "8|4|9|1001|2", "3|3|4|1|3"}));
    EXPECT_TRUE(NumberSelected());

    // A confirmed delete selects the number; a refused one leaves the focus.
    reg::SaveSetting("Public", "ChkDelete", "False");
    Click(B("txtJT"));
    Click(s->cmd削除);
    EXPECT_EQ(Members(), QStringList({"1|1|2|1|1", "3|3|4|1|2"}));
    EXPECT_TRUE(NumberSelected());
    reg::SaveSetting("Public", "ChkDelete", "True");
    script->answers = {ui::Answer::No};
    Click(B("txtJT"));
    Click(s->cmd削除);
    EXPECT_TRUE(s->focusWidget() == B("txtJT"));

    // Delete-all names this screen.
    testenv::ResetScript();
    script = &testenv::Script();
    script->answers = {ui::Answer::Yes};
    Click(s->cmdAllDelete);
    EXPECT_EQ(script->messages, QStringList{Question("部材形状配置 に関する全てのデータを削除してもいいですか？")});
    EXPECT_TRUE(Members().isEmpty());
}

TEST_F(MemberScreen, KeysRingAndFormats)
{
    Open();
    Click(B("txtIT"));
    B("txtIT")->clear();
    Type(B("txtIT"), "-0.7");
    EXPECT_EQ(B("txtIT")->text(), "07");
    EXPECT_EQ(script->beeps, 2);
    Retype(B("txt材料番号"), "007");
    Retype(B("txtJT"), "0012");
    FocusOut(B("txtJT"));
    FocusOut(B("txt材料番号"));
    EXPECT_EQ(B("txtJT")->text(), "12");
    EXPECT_EQ(B("txt材料番号")->text(), "007");   // kept as typed
    EXPECT_TRUE(s->Modified);

    SendKey(B("txt材料番号"), Qt::Key_Return);
    EXPECT_TRUE(s->focusWidget() == B("txtNo"));
    SendKey(B("txtNo"), Qt::Key_Left);
    EXPECT_TRUE(s->focusWidget() == B("txt材料番号"));
    SendKey(B("txtIT"), Qt::Key_Right);
    EXPECT_TRUE(s->focusWidget() == B("txtJT"));
}

TEST_F(MemberScreen, NodeLookupButtonSelectsTheNumberFirst)
{
    Open();
    Click(B("txtJT"));
    Click(s->findChild<QPushButton*>("cmdRefer節点座標"));
    if (HasScreenFactory("frm節点座標参照")) {
        EXPECT_NE(forms::FindLoadedForm("frm節点座標参照"), nullptr);
    } else {
        EXPECT_EQ(script->messages, QStringList{Info("「節点座標データ」の画面は、このバージョンではまだ使用できません。")});
        EXPECT_TRUE(NumberSelected());
    }
    EXPECT_TRUE(s->IsLoaded());
}

}  // namespace
