#include "loads/LoadPlacementScreen.h"

#include "input/InputRecordOps.h"
#include "input/InputRecords.h"
#include "input/InputValidation.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QLineEdit>
#include <QPushButton>

const ListScreenDescription& LoadPlacementScreen()
{
    static const ListScreenDescription d = [] {
        ListScreenDescription s{
            .screen = {.code = ScreenLoadPlacement, .formName = "frm荷重配置", .table = "荷重配置", .gridRows = 14,
                       .create = [] { return new frm荷重配置(); }},
            .columns = {{"No_", "No_", "", true}, {"荷重形状", "荷重番号", "", false}},
            // The next row defaults to the last shape used.
            .boxes = {{.name = "txtNo", .noMinus = true, .noDot = true, .field = "No_", .hidden = true},
                      {.name = "txt荷重形状", .label = "< 形状番号 >", .noMinus = true, .noDot = true, .format = "0", .newValue = "1",
                       .field = "荷重形状", .keepOnNew = true, .widthTw = 1200}},
            .check = &CheckLoadPlacementInput,
            .typeReferences = {{.box = "txt荷重形状", .table = "荷重形状", .messageHead = "荷重形状：",
                                .messageTail = "入力した荷重形状は[荷重形状]に登録されていません"}},
            .assignsNumbers = true,
            .deleteAllTitle = "荷重形状配置",
            .notes = {{"Label1", "配置する荷重がタイプ１の時は<節点番号>を、タイプ１以外の時は<部材番号>を入力します。"}},
            .neighbours = {{.name = "cmdRefer荷重形状データ", .caption = "荷重形状の参照", .opens = ScreenLoadShapeLookup,
                            .toolTip = "[荷重形状]で入力したデータを表示します"}},
            .registerCaption = "登録（&R）",
            .gridWidthTw = 8400,
            .boxWidthTw = 660,
        };
        AddPlacementTargets(s, "txt", 1, "< 節点番号　または　部材番号 >");
        return s;
    }();
    return d;
}

CheckVerdict CheckLoadPlacementInput(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsInteger("txt荷重形状") || c.Value("txt荷重形状") < 0) return c.Invalid();
    for (int i = 1; i <= 10; ++i) {
        const QString b = ControlName("txt", i);
        if (!c.IsInteger(b) || c.Value(b) < 0) return c.Invalid();
    }
    return c.Accept();
}

frm荷重配置::frm荷重配置() : ListScreen(LoadPlacementScreen())
{
    txt荷重形状 = Box(QStringLiteral("txt荷重形状"));
    cmdRefer荷重形状データ = neighbourButtons_.front();
    FitGridColumnsToCaptions(DBGrid, Data1, {1});
}

void frm荷重配置::cmd削除_Click()
{
    const int before = ScreenRecordset ? ScreenRecordset->RecordCount() : 0;
    ListScreen::cmd削除_Click();
    if (ScreenRecordset && ScreenRecordset->RecordCount() < before) SelectEntryBox(txt荷重形状);
}
