#include "screens/MemberEndScreens.h"

#include "input/InputRecordOps.h"
#include "input/InputRecords.h"
#include "input/InputValidation.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Rotation about the member axis is pinned or rigid only: a number below 1
// is a pin, 1 or more rigid.
void NormalizeTorsionText(QLineEdit* box)
{
    if (!rt::IsNumeric(box->text())) return;
    box->setText(rt::Val(box->text()) >= 1 ? QStringLiteral("剛") : QStringLiteral("ピン"));
}

ListScreenConfig EndTypeConfig()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm要素端部形状");
    c.code = ScreenMemberEndTypes;
    c.columns = {{"No_", "形状番号", "", false},  {"xHKU", "x軸方向", "", true}, {"yHKU", "y軸方向", "", true},
                 {"zHKU", "z軸方向", "", true},   {"xMWR", "x軸回り", "", false}, {"yMWR", "y軸回り", "", false},
                 {"zMWR", "z軸回り", "", false},  {"順", "順", "", true}};
    c.boxes = {{"txtNo", "形状番号", true, true, "0", "", "No_"}};
    const char* rotations[][3] = {{"txtxMWR", "x軸回り", "xMWR"}, {"txtyMWR", "y軸回り", "yMWR"}, {"txtzMWR", "z軸回り", "zMWR"}};
    for (int i = 0; i < 3; ++i) {
        EntryBoxSpec b{QString::fromUtf8(rotations[i][0]), QString::fromUtf8(rotations[i][1]), true, false, "0.000", "剛",
                       QString::fromUtf8(rotations[i][2])};
        b.lostFocus = i == 0 ? &NormalizeTorsionText : &NormalizeEndConditionText;
        b.nullText = QStringLiteral("剛");
        if (i == 0) b.noteBelow = QStringLiteral("x軸回りはピンか剛のどちらかになります。");
        c.boxes.push_back(b);
    }
    // The end translations are always rigid: kept for the record, never shown.
    for (const char* t : {"xHKU", "yHKU", "zHKU"}) {
        EntryBoxSpec b{QStringLiteral("txt") + QString::fromUtf8(t), "", true, false, "0.000", "剛", QString::fromUtf8(t)};
        b.hidden = true;
        b.nullText = QStringLiteral("剛");
        c.boxes.push_back(b);
    }
    c.check = [] { return CheckEndShapeInput(); };
    c.add = &AddEndShapeRecord;
    c.update = &UpdateEndShapeRecord;
    c.duplicateOnInsert = QStringLiteral("条件番号：%1\r\n入力した条件番号はすでに使用されているので新たに登録できません");
    c.duplicateOnUpdate = QStringLiteral("条件番号：%1\r\n入力した条件番号は他の部材端部条件データですでに使用されています");
    c.deleteAllTitle = QStringLiteral("部材端部条件");
    c.notes = {{"Label9", "　０　　　：　ピン　　  　１　　　：　剛"},
               {"lblBaneUnit", QString()},
               {"Label1", "ここでの座標系はすべて部材座標系です。"}};
    c.gridWidthTw = 5400;
    c.boxWidthTw = 1100;
    return c;
}

bool EndTypeExists(ListScreen& s, const char* box, const char* end)
{
    QLineEdit* b = s.Box(QString::fromUtf8(box));
    if (!IsKeyUnused(s.ScreenDatabase, QStringLiteral("no_"), QStringLiteral("要素端部形状"), rt::CInt(rt::Val(b->text()))))
        return true;
    ui::Beep();
    Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QString::fromUtf8(end) + b->text() +
                                                    QStringLiteral("\r\n入力した条件番号は[部材端部条件]に登録されていません"),
                                                ui::Icon::Information, AppTitle));
    return false;
}

ListScreenConfig EndPlacementConfig()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm要素端部配置");
    c.code = ScreenMemberEndPlacement;
    c.columns = {{"No_", "No_", "", true}, {"i端部形状", "ｉ 端 形状", "", false}, {"j端部形状", "ｊ 端 形状", "", false}};
    EntryBoxSpec no{"txtNo", "", true, true, "", "", "No_"};
    no.hidden = true;
    c.boxes = {no};
    // The condition boxes keep their text as typed on leaving them.
    const char* ends[][3] = {{"txtI端部形状", "i 端", "i端部形状"}, {"txtJ端部形状", "ｊ 端", "j端部形状"}};
    for (auto& e : ends) {
        EntryBoxSpec b{QString::fromUtf8(e[0]), QString::fromUtf8(e[1]), true, true, "", "1", QString::fromUtf8(e[2])};
        b.keepOnNew = true;
        b.group = QStringLiteral("< 形状番号 >");
        b.widthTw = 900;
        c.boxes.push_back(b);
    }
    for (int k = 0; k < 10; ++k) {
        const QString field = QStringLiteral("fld_%1").arg(k + 1, 2, 10, QLatin1Char('0'));
        c.columns.push_back({field, QString::number(k + 1), "", false});
        EntryBoxSpec b{QStringLiteral("txt要素番号(%1)").arg(k), QString::number(k + 1), true, true, "0", "0", field};
        b.group = QStringLiteral("< 配置先要素番号 >");
        c.boxes.push_back(b);
    }
    c.columns.push_back({"順", "順", "", true});
    c.check = [] { return CheckEndPlacementInput(); };
    c.add = &AddEndPlacementRecord;
    c.update = &UpdateEndPlacementRecord;
    c.assignsNumbers = true;
    c.rowNumberLimit = 9999;
    c.typeTest = [](ListScreen& s) {
        return EndTypeExists(s, "txtI端部形状", "ｉ 端の条件番号：") && EndTypeExists(s, "txtJ端部形状", "ｊ 端の条件番号：");
    };
    c.deleteAllTitle = QStringLiteral("部材端部条件配置");
    c.notes = {{"Label1", "拘束条件を指定しない部材は、ｉ ，ｊ 端ともに、全て全方向剛となります"}};
    c.neighbours = {{QStringLiteral("Refer要素端部形状参照"), QStringLiteral("端部条件の参照"), QStringLiteral("frm要素端部形状参照"),
                     ScreenMemberEndTypeLookup},
                    {QStringLiteral("cmdRefer要素情報"), QStringLiteral("部材配置の参照"), QStringLiteral("frm要素情報参照"),
                     ScreenMemberLookup}};
    c.gridWidthTw = 9600;
    c.boxWidthTw = 660;
    return c;
}

}  // namespace

frm要素端部形状::frm要素端部形状() : ListScreen(EndTypeConfig())
{
    Cmd登録->setText(QStringLiteral("登録（&R）"));
}

void frm要素端部形状::Form_Load()
{
    ShowSpringUnitLabel();
    ListScreen::Form_Load();
}

void frm要素端部形状::ShowSpringUnitLabel()
{
    ReadUnitFlag(Program().UnitIsSI);
    findChild<QLabel*>(QStringLiteral("lblBaneUnit"))
        ->setText(Program().UnitIsSI ? QStringLiteral("その他　：　バネ定数( KN･m/rad )") : QStringLiteral("その他　：　バネ定数( t･m/rad )"));
}

frm要素端部配置::frm要素端部配置() : ListScreen(EndPlacementConfig())
{
    FitGridColumnsToCaptions(DBGrid, Data1, {1, 2});
}
