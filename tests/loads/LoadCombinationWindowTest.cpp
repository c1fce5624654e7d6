// The load names and combinations window through its widgets: loading the
// table, editing cases and combinations, registering, cancelling, and the
// main menu's item 13.
#include "core/WindowHelpers.h"
#include "common/Hooks.h"
#include "common/Probe.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "loads/LoadCombinationWindow.h"
#include "platform/Settings.h"
#include "screens/ScreenTestSupport.h"
#include "app/Main.h"
#include "app/MainMenuCommands.h"
#include "app/frmMainmenu.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

#include <array>
#include <memory>
#include "common/Screenshot.h"
#include "common/Values.h"

using namespace inputtest;
using rt::Variant;

namespace {

const QStringList kFields = {"CaseNo", "CaseName", "CaseCnd", "A1CNo", "A1CPw", "A2CNo", "A2CPw",
                             "A3CNo",  "A3CPw",    "A4CNo",   "A4CPw", "順"};

Variant T(const char* text) { return text ? Variant::Text(QString::fromUtf8(text)) : Variant::Null(); }
using testenv::I;
using testenv::S;

// A row of the table: number, name, class, four (case index, factor) terms, order.
std::vector<Variant> Row(int no, const char* name, const char* cls, std::array<std::pair<int, double>, 4> terms, double order)
{
    std::vector<Variant> r{I(no), T(name), T(cls)};
    for (auto [index, factor] : terms) {
        r.push_back(I(index));
        r.push_back(S(factor));
    }
    r.push_back(S(order));
    return r;
}
std::vector<Variant> BaseRow(int no, const char* name, const char* cls)
{
    return Row(no, name, cls, {{{0, 0}, {0, 0}, {0, 0}, {0, 0}}}, no);
}

void StoreBasicData(int cases)
{
    Exec("DELETE FROM \"基本データ\"");
    AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
               {{T("Tower"), T(" "), T(" "), T("True"), I(cases), S(21000), S(8100)}});
}

// Three cases (the second unnamed) and two combinations, stored out of order.
void StoreProject()
{
    StoreBasicData(3);
    AppendRows("VUP01荷重名称組合せ", kFields,
               {Row(102, "地震時", "短期", {{{0, 0}, {0, 1}, {2, 1.5}, {7, 2}}}, 102),
                BaseRow(3, "地震", "短期"),
                BaseRow(1, "固定荷重", "長期"),
                Row(101, "常時", "長期", {{{0, 1}, {1, 0.5}, {0, 0}, {0, -1}}}, 101),
                BaseRow(2, nullptr, nullptr)});
}

QStringList Lines(const QListWidget* list)
{
    QStringList l;
    for (int i = 0; i < list->count(); ++i) l << list->item(i)->text();
    return l;
}
QStringList Items(const QComboBox* box)
{
    QStringList l;
    for (int i = 0; i < box->count(); ++i) l << box->itemText(i);
    return l;
}

// A base row as TableRows gives it: the term fields are empty.
QString BaseLine(const QString& head, int order) { return head + QString("|").repeated(9) + QString::number(order); }

QStringList TableRows() { return Rows("VUP01荷重名称組合せ", kFields, "CaseNo"); }

QString Critical(const QString& text) { return QStringLiteral("message=critical|") + text; }

QString Note() { return frm01荷重組合せ::AppendProvisionalDeleteNote(QString()); }

class LoadCombinations : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeEmptyDatabase();
        Program().WarnOnCancel = false;
        reg::SaveSetting("Public", "AnalyzeFinish", "True");
    }
    frm01荷重組合せ* Open()
    {
        script = &testenv::ResetScript();
        w = std::make_unique<frm01荷重組合せ>();
        w->Load();
        if (w->IsLoaded()) {
            w->show();
            QCoreApplication::processEvents();
        }
        return w.get();
    }
    void ClickLine(QListWidget* list, int row)
    {
        screentest::Click(list->viewport(), list->visualItemRect(list->item(row)).center());
    }
    std::unique_ptr<frm01荷重組合せ> w;
    ui::ScriptedServices* script = nullptr;
    int menuShown = 0;
    testenv::HookFor<std::function<void()>> mainMenu{SetShowMainMenuHandler, [this] { ++menuShown; }};
};

TEST_F(LoadCombinations, LoadShowsCasesCombinationsAndTheFirstOfEach)
{
    StoreProject();
    Open();
    ASSERT_TRUE(w->IsLoaded());
    EXPECT_EQ(w->windowTitle(), "荷重名・荷重の組合せ（断面設計用）");
    EXPECT_EQ(Lines(w->List荷重ケース), (QStringList{"Case 1：　固定荷重（長期）", "Case 2：　", "Case 3：　地震（短期）"}));
    // A term not used keeps its sign position: the first shown may begin with "＋".
    EXPECT_EQ(Lines(w->List荷重組合せ),
              (QStringList{"ASM 1：　常時（長期）＝固定荷重×1＋Case 2×0.5", "ASM 2：　地震時（短期）＋固定荷重×1＋地震×1.5"}));
    for (QComboBox* box : w->Cmb荷重名) EXPECT_EQ(Items(box), (QStringList{"固定荷重", "Case 2", "地震"}));
    EXPECT_EQ(w->Lbl荷重ケース名->text(), "Case 1");
    EXPECT_EQ(w->Text荷重ケース名->text(), "固定荷重");
    EXPECT_EQ(w->Cmbケース長短->currentText(), "長期");
    EXPECT_EQ(w->Lbl組合せ名->text(), "ASM 1");
    EXPECT_EQ(w->Text荷重組合せ名->text(), "常時");
    EXPECT_EQ(w->Cmb荷重名[1]->currentText(), "Case 2");
    EXPECT_EQ(w->txt倍率[1]->text(), "0.5");
    EXPECT_EQ(w->txt倍率[2]->text(), "0");   // an unused term
    EXPECT_EQ(w->Lb1InpAssemNo->text(), "2");
    EXPECT_EQ(w->Label15->text(), "荷重の組合せは10組まで入力できます｡");
    EXPECT_TRUE(w->Label1->text().startsWith("各荷重ケースに、荷重ケース名および長期/短期の区別を入力してください。\r\n"));
    EXPECT_TRUE(w->Lbl組合せ注意1->text().endsWith("必ず入力してください。荷重の組合せが入力されていない場合、断面設計は行われません。"));
    EXPECT_EQ(w->Cmd登録->toolTip(), "入力内容を上書き保存して終了");
    EXPECT_FALSE(w->Modified());
    EXPECT_TRUE(script->messages.isEmpty());

    // The second combination: a term beyond the cases shows as the first case with "0".
    ClickLine(w->List荷重組合せ, 1);
    EXPECT_EQ(w->Lbl組合せ名->text(), "ASM 2");
    EXPECT_EQ(w->Cmb組合せ長短->currentText(), "短期");
    EXPECT_EQ(w->Cmb荷重名[2]->currentText(), "地震");
    EXPECT_EQ(w->txt倍率[2]->text(), "1.5");
    EXPECT_EQ(w->Cmb荷重名[3]->currentIndex(), 0);
    EXPECT_EQ(w->txt倍率[3]->text(), "0");
    EXPECT_EQ(w->CurrentCombinationRow(), 2);
}

TEST_F(LoadCombinations, BaseRowsFollowTheNumberOfCases)
{
    // Raised from 3 to 5: cases 4 and 5 are appended unnamed.
    StoreProject();
    StoreBasicData(5);
    Open();
    EXPECT_EQ(Lines(w->List荷重ケース).mid(3), (QStringList{"Case 4：　", "Case 5：　"}));
    EXPECT_EQ(TableRows().mid(3, 2), (QStringList{"4|||0|0|0|0|0|0|0|0|4", "5|||0|0|0|0|0|0|0|0|5"}));
    w->Cmd中止->click();

    // Lowered to 1: a term on a case now gone drops out of the line, and the
    // next save stores it with factor 0.
    StoreBasicData(1);
    Open();
    EXPECT_EQ(Lines(w->List荷重ケース), QStringList{"Case 1：　固定荷重（長期）"});
    EXPECT_EQ(Lines(w->List荷重組合せ)[0], "ASM 1：　常時（長期）＝固定荷重×1");
    EXPECT_EQ(w->txt倍率[1]->text(), "0");
    w->CmdToUp->click();   // marks the screen modified
    w->Cmd登録->click();
    EXPECT_EQ(TableRows(), (QStringList{BaseLine("1|固定荷重|長期", 1), "101|常時|長期|0|1|0|0|0|0|0|0|101",
                                        "102|地震時|短期|0|0|0|1|0|0|0|0|102"}));
}

// The window opens centred on the screen area that windows may take, whole,
// whatever the screen's size and panels.
TEST_F(LoadCombinations, OpensCentredWithinTheScreen)
{
    StoreProject();
    for (const QRect screen : {QRect(0, 0, 1366, 768), QRect(0, 32, 1920, 1048)}) {
        SCOPED_TRACE(screen.width());
        forms::SetAvailableScreenArea(screen);
        Open();
        ASSERT_TRUE(w->IsLoaded());
        const QRect frame = w->frameGeometry();
        EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y();
        EXPECT_LE((frame.center() - screen.center()).manhattanLength(), 4) << frame.x() << "," << frame.y();
        w->Cmd中止->click();
    }
}

TEST_F(LoadCombinations, LoadStopsWithoutBasicDataOrCases)
{
    Open();
    EXPECT_FALSE(w->IsLoaded());
    EXPECT_EQ(script->messages, QStringList{Critical("基本データが正常に読み込めませんでした。処理を中止します。")});

    StoreBasicData(0);
    AppendRows("VUP01荷重名称組合せ", kFields, {BaseRow(1, "固定荷重", "長期")});
    Open();
    EXPECT_FALSE(w->IsLoaded());
    EXPECT_EQ(script->messages, QStringList{Critical("元になる荷重ケースのデータが見つかりませんでした。処理を中止します。")});
    EXPECT_EQ(menuShown, 0);
}

TEST_F(LoadCombinations, CaseEditsRenameTheLoadsEverywhere)
{
    StoreProject();
    Open();
    ClickLine(w->List荷重ケース, 1);
    EXPECT_EQ(w->Lbl荷重ケース名->text(), "Case 2");
    screentest::Retype(w->Text荷重ケース名, "  wind ");
    w->Cmbケース長短->setCurrentIndex(1);
    w->Cmd荷重名登録->click();
    EXPECT_EQ(w->List荷重ケース->item(1)->text(), "Case 2：　wind（短期）");
    EXPECT_EQ(Lines(w->List荷重組合せ)[0], "ASM 1：　常時（長期）＝固定荷重×1＋wind×0.5");
    // The combination shown keeps its cases, now under their new names, and
    // registering it again changes none of its terms.
    for (QComboBox* box : w->Cmb荷重名) EXPECT_EQ(Items(box)[1], "wind");
    EXPECT_EQ(w->Cmb荷重名[0]->currentText(), "固定荷重");
    EXPECT_EQ(w->Cmb荷重名[1]->currentText(), "wind");
    EXPECT_EQ(w->txt倍率[1]->text(), "0.5");
    EXPECT_TRUE(w->Modified());
    w->Cmd組合せ登録->click();
    EXPECT_EQ(Lines(w->List荷重組合せ)[0], "ASM 1：　常時（長期）＝固定荷重×1＋wind×0.5");
    ClickLine(w->List荷重組合せ, 1);
    ClickLine(w->List荷重ケース, 2);
    w->Cmd荷重名登録->click();
    EXPECT_EQ(w->Cmb荷重名[2]->currentText(), "地震");
    ClickLine(w->List荷重ケース, 1);

    // One-line clear: No keeps the name; either way the entry is reset to 短期.
    const QString ask = Info("選択されている荷重ケース名がクリアーされます。いいですか");
    script->answers = {ui::Answer::No};
    w->cmdCase1行cls->click();
    EXPECT_EQ(w->List荷重ケース->item(1)->text(), "Case 2：　wind（短期）");
    EXPECT_EQ(w->Text荷重ケース名->text(), "");
    EXPECT_EQ(w->Cmbケース長短->currentText(), "短期");
    w->cmdCase1行cls->click();   // Yes
    EXPECT_EQ(w->List荷重ケース->item(1)->text(), "Case 2：　");
    EXPECT_EQ(script->messages, (QStringList{ask, ask}));
    w->cmdCase1行cls->click();   // an unnamed case is not asked about
    EXPECT_EQ(script->messages.size(), 2);

    script->answers = {ui::Answer::Yes};
    w->cmdCase全行cls->click();
    EXPECT_EQ(script->messages.last(), Info("全ての荷重ケース名がクリアーされます。いいですか"));
    EXPECT_EQ(Lines(w->List荷重ケース), (QStringList{"Case 1：　", "Case 2：　", "Case 3：　"}));
    EXPECT_EQ(Lines(w->List荷重組合せ)[1], "ASM 2：　地震時（短期）＋Case 1×1＋Case 3×1.5");

    w->Cmd登録->click();
    EXPECT_EQ(TableRows().mid(0, 3), (QStringList{BaseLine("1||", 1), BaseLine("2||", 2), BaseLine("3||", 3)}));
}

TEST_F(LoadCombinations, CombinationEntryAndRegister)
{
    StoreProject();
    Open();
    // Registering needs a combination and a name.
    w->cmdAssem全行del->click();
    w->Cmd組合せ登録->click();
    EXPECT_EQ(script->messages.last(),
              Info("組合せ荷重を入力できる状態ではありません。\r\n"
                   "[新規]ボタンをクリックするか、入力済みの「組合せ荷重」をクリックしたあと\r\n"
                   "組合せ荷重データを設定してください。"));
    w->cmdAssemNew->click();
    EXPECT_EQ(w->Lbl組合せ名->text(), "ASM 1：　");
    w->Cmd組合せ登録->click();
    EXPECT_EQ(script->messages.last(), Info("組合せ荷重名が入力されていません。"));
    EXPECT_EQ(w->CombinationCount(), 0);

    // Zero, negative and non-numeric factors leave their terms out.
    screentest::Retype(w->Text荷重組合せ名, "暴風時");
    w->Cmb組合せ長短->setCurrentIndex(1);
    w->Cmb荷重名[0]->setCurrentIndex(2);
    const char* factors[] = {"1.2", "0", "-1", "abc"};
    for (int t = 0; t < 4; ++t) screentest::Retype(w->txt倍率[t], factors[t]);
    w->Cmb荷重名[1]->setCurrentIndex(1);
    screentest::Retype(w->txt倍率[1], "2");
    w->Cmd組合せ登録->click();
    EXPECT_EQ(Lines(w->List荷重組合せ), QStringList{"ASM 1：　暴風時（短期）＝地震×1.2＋Case 2×2"});
    EXPECT_EQ(w->Lb1InpAssemNo->text(), "1");

    // A name of blanks is no name.
    w->cmdAssemNew->click();
    screentest::Retype(w->Text荷重組合せ名, "   ");
    w->Cmd組合せ登録->click();
    EXPECT_EQ(script->messages.last(), Info("組合せ荷重名が入力されていません。"));
    EXPECT_EQ(w->CombinationCount(), 1);

    // Classes and loads are picked from their lists, never typed.
    for (QComboBox* box : {w->Cmb組合せ長短, w->Cmbケース長短}) EXPECT_FALSE(box->isEditable());
    for (QComboBox* box : w->Cmb荷重名) EXPECT_FALSE(box->isEditable());

    w->Cmd登録->click();
    EXPECT_EQ(TableRows().mid(3), QStringList{"101|暴風時|短期|2|1.2|1|2|0|0|0|0|101"});
    EXPECT_FALSE(w->IsLoaded());
    EXPECT_EQ(menuShown, 1);
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "False");
}

TEST_F(LoadCombinations, SpinButtonsStepTheFactorFromZeroToTen)
{
    StoreProject();
    Open();
    FactorSpinButtons* spin = w->倍率UpDown[0];
    screentest::Retype(w->txt倍率[0], "9");
    spin->Up->click();
    spin->Up->click();
    EXPECT_EQ(w->txt倍率[0]->text(), "10");
    screentest::Retype(w->txt倍率[0], "0");
    spin->Down->click();
    EXPECT_EQ(w->txt倍率[0]->text(), "0");

    // The step starts from the box's number rounded half to even, or from 0.
    struct Step {
        const char* text;
        bool up;
        const char* after;
    };
    const Step steps[] = {{"2.5", true, "3"}, {"3.5", true, "5"}, {"1.5", false, "1"}, {"abc", true, "1"},
                          {"", false, "0"},   {"-4", true, "1"},  {"12", false, "9"},  {"12", true, "10"}};
    for (const Step& st : steps) {
        screentest::Retype(w->txt倍率[0], "7");
        spin->Up->click();   // an earlier spin value must not count
        w->txt倍率[0]->setText(QString::fromUtf8(st.text));
        (st.up ? spin->Up : spin->Down)->click();
        EXPECT_EQ(w->txt倍率[0]->text(), st.after) << st.text << st.up;
    }
}

TEST_F(LoadCombinations, DeletingCombinationsIsProvisional)
{
    StoreProject();
    AppendRows("VUP01荷重名称組合せ", kFields, {Row(103, "雪時", "短期", {{{0, 1}, {0, 0}, {0, 0}, {0, 0}}}, 103)});
    Open();
    const QStringList before = TableRows();

    // Without a selected line nothing is asked.
    w->List荷重組合せ->clearSelection();
    w->cmdAssem1行del->click();
    EXPECT_TRUE(script->messages.isEmpty());

    ClickLine(w->List荷重組合せ, 1);
    script->answers = {ui::Answer::Cancel};
    w->cmdAssem1行del->click();
    EXPECT_EQ(script->messages.last(),
              Info("「ASM 2：　地震時（短期）＋固定荷重×1＋地震×1.5」を１行削除します。" + Note() + "\r\n削除しますか？"));
    EXPECT_EQ(w->CombinationCount(), 3);
    EXPECT_FALSE(w->Modified());

    // OK: the rows below move up under the labels of their new rows.
    w->cmdAssem1行del->click();
    EXPECT_EQ(Lines(w->List荷重組合せ), (QStringList{"ASM 1：　常時（長期）＝固定荷重×1＋Case 2×0.5",
                                                   "ASM 2：　雪時（短期）＝固定荷重×1"}));
    EXPECT_EQ(w->List荷重組合せ->currentRow(), 0);
    EXPECT_EQ(w->Lbl組合せ名->text(), "ASM 1");
    EXPECT_EQ(w->Lb1InpAssemNo->text(), "2");

    // Deleting the first line leaves no line selected and nothing to register.
    w->cmdAssem1行del->click();
    EXPECT_TRUE(w->List荷重組合せ->selectedItems().isEmpty());
    EXPECT_EQ(w->Lbl組合せ名->text(), "");
    EXPECT_EQ(TableRows(), before);   // nothing is written yet

    script->answers = {ui::Answer::OK};
    w->cmdAssem全行del->click();
    EXPECT_EQ(script->messages.last(), Info("全ての荷重組合せデータを削除します。" + Note() + "\r\n全削除をしますか？"));
    EXPECT_EQ(w->List荷重組合せ->count(), 0);
    EXPECT_EQ(w->Lb1InpAssemNo->text(), "0");
    for (QLineEdit* box : w->txt倍率) EXPECT_EQ(box->text(), "1");
    w->cmdAssemNew->click();
    EXPECT_EQ(w->Lbl組合せ名->text(), "ASM 1：　");

    w->Cmd上書き保存->click();
    EXPECT_FALSE(w->Modified());
    EXPECT_EQ(TableRows(), (QStringList{BaseLine("1|固定荷重|長期", 1), BaseLine("2||", 2), BaseLine("3|地震|短期", 3)}));
    EXPECT_TRUE(w->IsLoaded());
}

TEST_F(LoadCombinations, TenCombinationsAtMost)
{
    StoreProject();
    std::vector<std::vector<Variant>> rows;
    for (int k = 3; k <= 10; ++k) rows.push_back(Row(100 + k, "組", "長期", {{{0, 1}, {0, 0}, {0, 0}, {0, 0}}}, 100 + k));
    AppendRows("VUP01荷重名称組合せ", kFields, rows);
    Open();
    EXPECT_EQ(w->CombinationCount(), 10);
    w->cmdAssemNew->click();
    EXPECT_EQ(script->messages, QStringList{Info("荷重の組合せは10組まで入力できます｡")});
    EXPECT_EQ(w->Lbl組合せ名->text(), "ASM 1");
    w->Cmd中止->click();

    // Combinations stored beyond the tenth are shown and kept by a save.
    AppendRows("VUP01荷重名称組合せ", kFields,
               {Row(111, "組11", "長期", {{{1, 1}, {0, 0}, {0, 0}, {0, 0}}}, 111),
                Row(112, "組12", "短期", {{{2, 2}, {0, 0}, {0, 0}, {0, 0}}}, 112)});
    Open();
    EXPECT_EQ(w->CombinationCount(), 12);
    EXPECT_EQ(Lines(w->List荷重組合せ).last(), "ASM 12：　組12（短期）＝地震×2");
    w->CmdToUp->click();
    w->Cmd登録->click();
    const QStringList saved = TableRows();
    EXPECT_EQ(saved.size(), 3 + 12);
    EXPECT_EQ(saved.last(), "112|組12|短期|2|2|0|0|0|0|0|0|112");
}

TEST_F(LoadCombinations, CancelAndCloseLeaveTheTableAsItWas)
{
    // A copy left behind by an earlier session is never put in place of the
    // working file: this window took no copy.
    ASSERT_TRUE(QFile::copy(kWorkingDatabase, kBackupDatabase));
    StoreProject();
    const QString stale = testenv::FileHash(kBackupDatabase);
    Open();
    const QString working = testenv::FileHash(kWorkingDatabase);
    ClickLine(w->List荷重ケース, 0);
    screentest::Retype(w->Text荷重ケース名, "changed");
    w->Cmd荷重名登録->click();

    // With the warning on, No keeps the window and its edits.
    Program().WarnOnCancel = true;
    script->answers = {ui::Answer::No};
    w->Cmd中止->click();
    EXPECT_EQ(script->messages.last(), Question("<ｷｬﾝｾﾙ>ボタンがクリックされたので\r\n"
                                                "ここで入力したデータは全て保存されません。よろしいですか？"));
    EXPECT_TRUE(w->IsLoaded());
    EXPECT_EQ(w->List荷重ケース->item(0)->text(), "Case 1：　changed（長期）");
    w->Cmd中止->click();   // Yes
    EXPECT_FALSE(w->IsLoaded());
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), working);
    EXPECT_EQ(testenv::FileHash(kBackupDatabase), stale);
    EXPECT_EQ(menuShown, 1);
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");

    // The close box: its own question, then the same end.
    Open();
    w->CmdToDown->click();
    script->answers = {ui::Answer::No};
    w->close();
    EXPECT_TRUE(w->IsLoaded());
    EXPECT_TRUE(script->messages.last().startsWith(Question("コントロール メニューの<閉じる>がクリックされました。")));
    w->close();
    EXPECT_FALSE(w->IsLoaded());
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), working);
    EXPECT_EQ(menuShown, 2);
}

TEST_F(LoadCombinations, SaveRewritesTheWholeTableAndDropsMarkedLeftovers)
{
    StoreProject();
    // Rows an interrupted save of an older version may have left.
    AppendRows("VUP01荷重名称組合せ", kFields, {Row(1101, "old", "長期", {{{0, 1}, {0, 0}, {0, 0}, {0, 0}}}, 101)});
    Open();
    EXPECT_EQ(w->CombinationCount(), 2);
    w->CmdToUp->click();
    w->Cmd上書き保存->click();
    EXPECT_EQ(TableRows(), (QStringList{BaseLine("1|固定荷重|長期", 1), BaseLine("2||", 2), BaseLine("3|地震|短期", 3),
                                        "101|常時|長期|0|1|1|0.5|0|0|0|0|101", "102|地震時|短期|0|0|0|1|2|1.5|0|0|102"}));
    w->Cmd中止->click();

    // A stored combination without a class is taken as long-term: no save drops it.
    Exec("UPDATE \"VUP01荷重名称組合せ\" SET \"CaseCnd\" = NULL WHERE \"CaseNo\" = 101");
    Open();
    EXPECT_EQ(Lines(w->List荷重組合せ)[0], "ASM 1：　常時＝固定荷重×1＋Case 2×0.5");
    w->CmdToUp->click();
    w->Cmd登録->click();
    EXPECT_EQ(TableRows()[3], "101|常時|長期|0|1|1|0.5|0|0|0|0|101");
}

TEST_F(LoadCombinations, FailedSaveLeavesTheTableAndTheWindowAsTheyWere)
{
    StoreProject();
    Open();
    const QStringList before = TableRows();
    // A factor beyond a Single cannot be stored: nothing of the save remains.
    screentest::Retype(w->txt倍率[0], "1e50");
    w->Cmd組合せ登録->click();
    w->Cmd登録->click();
    EXPECT_EQ(script->messages, QStringList{Exclamation(kDatabaseAccess)});
    EXPECT_EQ(TableRows(), before);
    EXPECT_TRUE(w->IsLoaded());
    EXPECT_TRUE(w->Modified());
    EXPECT_EQ(menuShown, 0);
}

// ---- through the main menu ---------------------------------------------------------

// Item 13 opens as every input screen does: the backup copy taken, the menu
// unloaded. Leaving with "中止" gives back the database as it was, byte for
// byte (the count matching of the load included) and marks nothing.
TEST(LoadCombinationMenu, Item13OpensLikeAnInputScreenAndCancelChangesNothing)
{
    testenv::ResetScript();
    forms::SetLastWindowHandler(nullptr);
    ASSERT_TRUE(Main());
    StoreBasicData(3);
    reg::SaveSetting("Public", "AnalyzeFinish", "True");
    testenv::ResetScript();
    const QString before = testenv::FileHash(kWorkingDatabase);

    RunMenuCommand(ScreenDesignLoadCombinations);
    auto* w = dynamic_cast<frm01荷重組合せ*>(Program().CurrentInputForm.data());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->IsLoaded());
    EXPECT_FALSE(MainMenuLoaded());
    EXPECT_EQ(testenv::FileHash(kBackupDatabase), before);
    EXPECT_EQ(Lines(w->List荷重ケース), (QStringList{"Case 1：　", "Case 2：　", "Case 3：　"}));
    EXPECT_NE(testenv::FileHash(kWorkingDatabase), before);   // the case rows were matched
    EXPECT_TRUE(testenv::Script().messages.isEmpty());

    w->Cmd中止->click();
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), before);
    EXPECT_FALSE(QFile::exists(kBackupDatabase));
    ASSERT_TRUE(MainMenuLoaded());
    EXPECT_EQ(MainMenuForm().lstInputMenu->item(12)->checkState(), Qt::Unchecked);
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
}

// "上書き保存" renews the copy: "中止" afterwards goes back to the last save.
TEST(LoadCombinationMenu, CancelAfterASaveKeepsTheSave)
{
    testenv::ResetScript();
    forms::SetLastWindowHandler(nullptr);
    ASSERT_TRUE(Main());
    StoreBasicData(2);
    RunMenuCommand(ScreenDesignLoadCombinations);
    auto* w = dynamic_cast<frm01荷重組合せ*>(Program().CurrentInputForm.data());
    ASSERT_NE(w, nullptr);
    w->cmdAssemNew->click();
    w->Text荷重組合せ名->setText("常時");
    w->Cmd組合せ登録->click();
    w->Cmd上書き保存->click();
    const QString saved = testenv::FileHash(kWorkingDatabase);
    EXPECT_EQ(testenv::FileHash(kBackupDatabase), saved);

    // A later edit, saved no more, goes with the cancel.
    w->cmdAssemNew->click();
    w->Text荷重組合せ名->setText("地震時");
    w->Cmd組合せ登録->click();
    w->Cmd中止->click();
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), saved);
    EXPECT_EQ(TableRows().last(), "101|常時|長期|0|1|0|1|0|1|0|1|101");
    ASSERT_TRUE(MainMenuLoaded());
    EXPECT_EQ(MainMenuForm().lstInputMenu->item(12)->checkState(), Qt::Checked);
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish", "<absent>"), "False");
}

TEST(LoadCombinationMenu, ProbeDispatchOpensAndClosesTheWindow)
{
    const QString dir = testenv::MakeDir("probe");
    testenv::RunProbe(dir, {});   // creates the database
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir);
    StoreProject();
    const QString before = testenv::FileHash(kWorkingDatabase);
    QDir::setCurrent(cwd);

    const QStringList out = testenv::RunProbe(dir, {"dispatch:10233", "dump"});
    EXPECT_TRUE(testenv::Matching(out, "message=").isEmpty());
    EXPECT_EQ(testenv::Value(out, "window"), "frm01荷重組合せ|荷重名・荷重の組合せ（断面設計用）");
    EXPECT_EQ(testenv::After(out, "case="), (QStringList{"Case 1：　固定荷重（長期）", "Case 2：　", "Case 3：　地震（短期）"}));
    EXPECT_EQ(testenv::After(out, "combination=").size(), 2);
    EXPECT_EQ(testenv::Value(out, "menu"), "loaded");
    EXPECT_EQ(testenv::Value(out, "enabled"), "1");
    EXPECT_FALSE(QFile::exists(dir + "/ZelkovaMT.mdb"));
    EXPECT_EQ(testenv::FileHash(dir + "/Zelkova.mdb"), before);
}

// A picture of the window with data, where ZELKOVA_SCREENSHOTS points.
TEST_F(LoadCombinations, Screenshot)
{
    StoreProject();
    Open();
    ClickLine(w->List荷重組合せ, 1);
    testenv::SaveScreenshot(w.get(), "load-combinations.png");
}

}  // namespace
