#include "loads/LoadPlacementScreen.h"

#include "input/InputRecordOps.h"
#include "input/InputRecords.h"
#include "input/InputValidation.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

ListScreenConfig LoadPlacementConfig()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm荷重配置");
    c.code = ScreenLoadPlacement;
    c.columns = {{"No_", "No_", "", true}, {"荷重形状", "荷重番号", "", false}};
    EntryBoxSpec no{"txtNo", "", true, true, "", "", "No_"};
    no.hidden = true;
    EntryBoxSpec shape{"txt荷重形状", "< 形状番号 >", true, true, "0", "1", "荷重形状"};
    shape.keepOnNew = true;   // the next row defaults to the last shape used
    shape.widthTw = 1200;
    c.boxes = {no, shape};
    for (int k = 1; k <= 10; ++k) {
        const QString field = QStringLiteral("fld_%1").arg(k, 2, 10, QLatin1Char('0'));
        c.columns.push_back({field, QString::number(k), "", false});
        EntryBoxSpec b{QStringLiteral("txt(%1)").arg(k), QString::number(k), true, true, "0", "0", field};
        b.group = QStringLiteral("< 節点番号　または　部材番号 >");
        c.boxes.push_back(b);
    }
    c.columns.push_back({"順", "順", "", true});
    c.check = [] { return CheckLoadPlacementInput(); };
    c.add = &AddLoadPlacementRecord;
    c.update = &UpdateLoadPlacementRecord;
    c.assignsNumbers = true;
    c.typeTest = [](ListScreen& s) {
        QLineEdit* shape = s.Box(QStringLiteral("txt荷重形状"));
        const double v = rt::Val(shape->text());
        if (!IsKeyUnused(s.ScreenDatabase, QStringLiteral("no_"), QStringLiteral("荷重形状"), rt::FitsInteger(v) ? rt::CInt(v) : 0))
            return true;
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("荷重形状：") + shape->text() +
                                                        QStringLiteral("\r\n入力した荷重形状は[荷重形状]に登録されていません"),
                                                    ui::Icon::Information, AppTitle));
        return false;
    };
    c.deleteAllTitle = QStringLiteral("荷重形状配置");
    c.notes = {{"Label1", "配置する荷重がタイプ１の時は<節点番号>を、タイプ１以外の時は<部材番号>を入力します。"}};
    c.neighbours = {{"cmdRefer荷重形状データ", "荷重形状の参照", "frm荷重形状参照", ScreenLoadShapeLookup}};
    c.gridWidthTw = 8400;
    c.boxWidthTw = 660;
    return c;
}

}  // namespace

frm荷重配置::frm荷重配置() : ListScreen(LoadPlacementConfig())
{
    txt荷重形状 = Box(QStringLiteral("txt荷重形状"));
    cmdRefer荷重形状データ = neighbourButtons_.front();
    Cmd登録->setText(QStringLiteral("登録（&R）"));
    FitGridColumnsToCaptions(DBGrid, Data1, {1});
}

void frm荷重配置::cmd削除_Click()
{
    const int before = ScreenRecordset ? ScreenRecordset->RecordCount() : 0;
    ListScreen::cmd削除_Click();
    if (ScreenRecordset && ScreenRecordset->RecordCount() < before) SelectEntryBox(txt荷重形状);
}
