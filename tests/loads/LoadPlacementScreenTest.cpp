// The load placement screen through its real widgets: row numbers the screen
// assigns, the shape test, the targets as typed, and the load shape lookup.
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "loads/LoadPlacementScreen.h"
#include "loads/LoadShapeLookup.h"
#include "platform/DataGrid.h"
#include "screens/ScreenTestSupport.h"
#include "core/WindowHelpers.h"

using namespace inputtest;
using namespace screentest;

namespace {

using V = rt::Variant;

const QString kNoShape5 = "荷重形状：5\r\n入力した荷重形状は[荷重形状]に登録されていません";

class LoadPlacement : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainMenu = PrepareScreenTest();
        AppendRows("基本データ", {"工事名", "Unit", "Case"}, {{V::Text("橋"), V::Text("True"), V::Integer(2)}});
        // Shapes 1 (type 1, nodes) and 2 (type 3, members), shown in the order 2, 1.
        AppendRows("荷重形状", {"No_", "TYP", "Case", "座標系", "fld_01", "順"},
                   {{V::Integer(1), V::Integer(1), V::Integer(1), V::Text("X 絶対系"), V::Double(10), V::Integer(2)},
                    {V::Integer(2), V::Integer(3), V::Integer(2), V::Text("z 部材系"), V::Double(-5), V::Integer(1)}});
    }
    void Open()
    {
        OpenScreen(ScreenLoadPlacement, s, script);
    }
    QStringList Targets()
    {
        QStringList l;
        for (int i = 1; i <= 10; ++i) l << s->txt(i)->text();
        return l;
    }
    QStringList Placements() { return Rows("荷重配置", {"No_", "荷重形状", "fld_01", "fld_02", "fld_03", "順"}); }
    void AddRows(const std::vector<std::vector<int>>& rows)   // No_, shape, first target, 順
    {
        std::vector<std::vector<V>> r;
        for (const auto& x : rows) {
            std::vector<V> row{V::Integer(int16_t(x[0])), V::Integer(int16_t(x[1])), V::Integer(int16_t(x[2]))};
            for (int i = 2; i <= 10; ++i) row.push_back(V::Integer(0));
            row.push_back(V::Integer(int16_t(x[3])));
            r.push_back(row);
        }
        QStringList fields{"No_", "荷重形状"};
        for (int i = 1; i <= 10; ++i) fields << QString("fld_%1").arg(i, 2, 10, QChar('0'));
        fields << "順";
        AppendRows("荷重配置", fields, r);
    }

    frm荷重配置* s = nullptr;
    ui::ScriptedServices* script = nullptr;
    MainMenuHook mainMenu;
};

TEST_F(LoadPlacement, EmptyTableAndRowsNumberedByTheScreen)
{
    Open();
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　11．荷重形状配置");
    EXPECT_EQ(s->Box("txtNo")->text(), "1");
    EXPECT_FALSE(s->Box("txtNo")->isVisibleTo(s) && s->Box("txtNo")->geometry().intersects(s->rect()));
    EXPECT_EQ(s->txt荷重形状->text(), "1");
    EXPECT_EQ(Targets(), QStringList(10, "0"));
    // The grid shows the shape and the ten targets.
    EXPECT_TRUE(s->DBGrid->isColumnHidden(0));
    EXPECT_TRUE(s->DBGrid->isColumnHidden(12));
    EXPECT_EQ(s->DBGrid->model()->headerData(1, Qt::Horizontal).toString(), "荷重番号");
    EXPECT_EQ(s->DBGrid->model()->headerData(11, Qt::Horizontal).toString(), "10");

    // Rows typed one after another with Down; the shape stays for the next row.
    Retype(s->txt(1), "3");
    SendKey(s->txt(1), Qt::Key_Right);
    Retype(s->txt(2), "0");
    Retype(s->txt(3), "7");
    SendKey(s->txt(3), Qt::Key_Down);
    EXPECT_EQ(s->Box("txtNo")->text(), "2");
    EXPECT_EQ(s->txt荷重形状->text(), "1");
    EXPECT_EQ(Targets(), QStringList(10, "0"));
    Retype(s->txt荷重形状, "2");
    Retype(s->txt(1), "12");
    Click(s->cmd追加);
    // Targets as typed, zeros between them included; a member number under a node load is accepted.
    EXPECT_EQ(Placements(), QStringList({"1|1|3|0|7|1", "2|2|12|0|0|2"}));
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(script->beeps, 0);
}

TEST_F(LoadPlacement, AShapeThatDoesNotExistIsRefused)
{
    AddRows({{1, 1, 4, 1}});
    Open();
    for (const char* shape : {"5", "0"}) {
        script = &testenv::ResetScript();
        Retype(s->txt荷重形状, shape);
        Click(s->cmd修正);
        SendKey(s->txt荷重形状, Qt::Key_Down);   // the save is refused again, and Down still moves on
        EXPECT_EQ(script->messages.size(), 2) << shape;
        EXPECT_EQ(script->messages.value(0),
                  Info(QString("荷重形状：%1\r\n入力した荷重形状は[荷重形状]に登録されていません").arg(shape)));
        EXPECT_EQ(Placements(), QStringList{"1|1|4|0|0|1"});
        EXPECT_TRUE(s->ScreenRecordset->EOF_());
        s->DBGrid->ClickRow(0);
    }
    // Insert with a missing shape: nothing written, Modified stays.
    SendKey(s->txt荷重形状, Qt::Key_Down);
    ASSERT_TRUE(s->ScreenRecordset->EOF_());
    Retype(s->txt荷重形状, "5");
    script = &testenv::ResetScript();
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kNoShape5)});
    EXPECT_EQ(Placements().size(), 1);
    EXPECT_TRUE(s->Modified);
    // Not numeric or negative: the invalid-input message.
    for (const char* bad : {"-1", ""}) {
        script = &testenv::ResetScript();
        s->txt(4)->setText(bad);
        Click(s->cmd追加);
        EXPECT_EQ(script->messages, QStringList{Info(kInvalid)}) << bad;
    }
}

TEST_F(LoadPlacement, ARowNumberInUseIsReplacedSilently)
{
    AddRows({{1, 1, 4, 1}, {5, 2, 8, 2}});
    Open();
    EXPECT_EQ(s->Box("txtNo")->text(), "1");
    Retype(s->txt(2), "9");
    Click(s->cmd追加);   // the shown row's number is in use
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(Rows("荷重配置", {"No_", "荷重形状", "fld_01", "fld_02", "順"}),
              QStringList({"1|1|4|0|1", "5|2|8|0|2", "6|1|4|9|3"}));
    EXPECT_EQ(s->Box("txtNo")->text(), "7");

    // Update keeps the number and the place.
    s->DBGrid->ClickRow(1);
    EXPECT_EQ(QApplication::focusWidget(), s->txt荷重形状);
    Retype(s->txt(1), "11");
    Click(s->cmd修正);
    EXPECT_EQ(Rows("荷重配置", {"No_", "fld_01", "順"}), QStringList({"1|4|1", "5|11|2", "6|4|3"}));
    EXPECT_EQ(s->ScreenRecordset->Field("No_").toInteger(), 5);

    // Deleting a row renumbers the display order and puts the focus on the shape box.
    s->txt(3)->setFocus();
    Click(s->cmd削除);
    EXPECT_EQ(Rows("荷重配置", {"No_", "順"}), QStringList({"1|1", "6|2"}));
    EXPECT_EQ(QApplication::focusWidget(), s->txt荷重形状);
    EXPECT_EQ(s->Box("txtNo")->text(), "6");

    script = &testenv::ResetScript();
    Click(s->cmdAllDelete);
    EXPECT_EQ(script->messages, QStringList{Question("荷重形状配置 に関する全てのデータを削除してもいいですか？")});
    EXPECT_TRUE(Placements().isEmpty());
}

TEST_F(LoadPlacement, RowNumbersEndAt32767)
{
    AddRows({{32767, 1, 4, 1}});
    Open();
    SendKey(s->txt荷重形状, Qt::Key_Down);
    ASSERT_TRUE(s->ScreenRecordset->EOF_());
    EXPECT_EQ(s->Box("txtNo")->text(), "32768");
    Click(s->cmd追加);
    EXPECT_EQ(script->messages, QStringList{Info(kInvalid)});
    EXPECT_EQ(Placements().size(), 1);
    EXPECT_TRUE(s->isEnabled());
}

TEST_F(LoadPlacement, FocusRing)
{
    Open();
    SelectEntryBox(s->txt(10));
    SendKey(s->txt(10), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s->txt荷重形状);
    SendKey(s->txt荷重形状, Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), s->txt(10));
    SendKey(s->txt(10), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), s->txt(9));
    SelectEntryBox(s->txt(1));
    SendKey(s->txt(1), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), s->txt荷重形状);
    Retype(s->txt(2), "-3.5");
    EXPECT_EQ(s->txt(2)->text(), "35");
}

TEST_F(LoadPlacement, LoadShapeLookupListsEveryShapeAndClosesWithTheScreen)
{
    Open();
    EXPECT_EQ(s->cmdRefer荷重形状データ->text(), "荷重形状の参照");
    Click(s->cmdRefer荷重形状データ);
    auto* w = dynamic_cast<LookupWindow*>(forms::FindLoadedForm("frm荷重形状参照"));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(script->messages.isEmpty());
    EXPECT_EQ(w->windowTitle(), "ZELKOVA  ver 1.41　荷重形状データ");
    ASSERT_EQ(w->DBGrid->RowCount(), 2);
    EXPECT_EQ(w->DBGrid->CellText(0, "No_"), "2");   // display order
    EXPECT_EQ(w->DBGrid->CellText(0, "座標系"), "z 部材系");
    EXPECT_EQ(w->DBGrid->CellText(1, "座標系"), "X 絶対系");
    EXPECT_EQ(w->DBGrid->CellText(0, "fld_01"), "-5.000");
    EXPECT_EQ(w->DBGrid->model()->headerData(4, Qt::Horizontal).toString(), "P1");
    EXPECT_EQ(w->DBGrid->x(), 0);
    EXPECT_EQ(w->FixedWidth, 11355);

    Exec("DELETE FROM 荷重形状");
    Click(s->cmdRefer荷重形状データ);   // brought forward, not read again
    EXPECT_EQ(w->DBGrid->RowCount(), 2);

    Click(s->cmdCancel);
    EXPECT_FALSE(w->IsLoaded());
    EXPECT_TRUE(forms::LoadedForms().empty());
}

TEST_F(LoadPlacement, EmptyShapeTableInTheLookup)
{
    Exec("DELETE FROM 荷重形状");
    Open();
    Click(s->cmdRefer荷重形状データ);
    EXPECT_EQ(script->messages, QStringList{Info("荷重形状データが登録されていません")});
    EXPECT_EQ(script->beeps, 1);
    EXPECT_NE(forms::FindLoadedForm("frm荷重形状参照"), nullptr);
}

}  // namespace
