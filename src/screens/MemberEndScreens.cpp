#include "screens/MemberEndScreens.h"

#include "input/InputRecordOps.h"
#include "core/WindowHelpers.h"

#include <QLabel>

namespace {

// Rotation about the member axis is pinned or rigid only: a number below 1
// is a pin, 1 or more rigid.
QString NormalizeTorsionText(const QString& text)
{
    if (!rt::IsNumeric(text)) return text;
    return rt::Val(text) >= 1 ? QStringLiteral("剛") : QStringLiteral("ピン");
}

}  // namespace

const ListScreenDescription& MemberEndTypeScreen()
{
    static const ListScreenDescription d = [] {
        ListScreenDescription s{
            .screen = {.code = ScreenMemberEndTypes, .formName = "frm要素端部形状", .table = "要素端部形状", .gridRows = 11,
                       .create = [] { return new frm要素端部形状(); }},
            .columns = {{"No_", "形状番号", "", false},  {"xHKU", "x軸方向", "", true}, {"yHKU", "y軸方向", "", true},
                        {"zHKU", "z軸方向", "", true},   {"xMWR", "x軸回り", "", false}, {"yMWR", "y軸回り", "", false},
                        {"zMWR", "z軸回り", "", false},  {"順", "順", "", true}},
            .boxes = {{.name = "txtNo", .label = "形状番号", .noMinus = true, .noDot = true, .format = "0", .field = "No_"}},
            .check = &CheckEndShapeInput,
            .duplicateOnInsert = "条件番号：%1\r\n入力した条件番号はすでに使用されているので新たに登録できません",
            .duplicateOnUpdate = "条件番号：%1\r\n入力した条件番号は他の部材端部条件データですでに使用されています",
            .deleteAllTitle = "部材端部条件",
            .notes = {{"Label9", "　０　　　：　ピン　　  　１　　　：　剛"},
                      {"lblBaneUnit", ""},
                      {"Label1", "ここでの座標系はすべて部材座標系です。"}},
            .registerCaption = "登録（&R）",
            .gridWidthTw = 5400,
            .boxWidthTw = 1100,
        };
        const char* rotations[] = {"xMWR", "yMWR", "zMWR"};
        const char* captions[] = {"x軸回り", "y軸回り", "z軸回り"};
        for (int i = 0; i < 3; ++i)
            s.boxes.push_back({.name = QStringLiteral("txt") + QString::fromUtf8(rotations[i]), .label = QString::fromUtf8(captions[i]),
                               .noMinus = true, .format = "0.000", .newValue = "剛", .field = QString::fromUtf8(rotations[i]),
                               .conversion = FieldConversion::Text,
                               .lostFocus = i == 0 ? &NormalizeTorsionText : &NormalizeEndConditionText, .nullText = "剛",
                               .noteBelow = i == 0 ? QStringLiteral("x軸回りはピンか剛のどちらかになります。") : QString()});
        // The end translations are always rigid: kept for the record, never shown.
        for (const char* t : {"xHKU", "yHKU", "zHKU"})
            s.boxes.push_back({.name = QStringLiteral("txt") + QString::fromUtf8(t), .noMinus = true, .format = "0.000",
                               .newValue = "剛", .field = QString::fromUtf8(t), .conversion = FieldConversion::Text,
                               .nullText = "剛", .hidden = true});
        return s;
    }();
    return d;
}

const LookupDescription& MemberEndTypeLookup()
{
    static const LookupDescription d{
        .code = ScreenMemberEndTypeLookup,
        .formName = "frm要素端部形状参照",
        .table = MemberEndTypeScreen().screen.table,
        .columns = MemberEndTypeScreen().columns,
        .emptyMessage = "部材端部条件に関するデータが登録されていません",
        .clientWidthTw = 4440,
        .clientHeightTw = 2670,
        .gridWidthTw = 4140,
    };
    return d;
}

const ListScreenDescription& MemberEndPlacementScreen()
{
    static const ListScreenDescription d = [] {
        ListScreenDescription s{
            .screen = {.code = ScreenMemberEndPlacement, .formName = "frm要素端部配置", .table = "要素端部配置", .gridRows = 16,
                       .create = [] { return new frm要素端部配置(); }},
            .columns = {{"No_", "No_", "", true}, {"i端部形状", "ｉ 端 形状", "", false}, {"j端部形状", "ｊ 端 形状", "", false}},
            // The condition boxes keep their text as typed on leaving them.
            .boxes = {{.name = "txtNo", .noMinus = true, .noDot = true, .field = "No_", .hidden = true},
                      {.name = "txtI端部形状", .label = "i 端", .noMinus = true, .noDot = true, .newValue = "1", .field = "i端部形状",
                       .keepOnNew = true, .group = "< 形状番号 >", .widthTw = 900},
                      {.name = "txtJ端部形状", .label = "ｊ 端", .noMinus = true, .noDot = true, .newValue = "1", .field = "j端部形状",
                       .keepOnNew = true, .group = "< 形状番号 >", .widthTw = 900}},
            .check = &CheckEndPlacementInput,
            .typeReferences = {{.box = "txtI端部形状", .table = "要素端部形状", .messageHead = "ｉ 端の条件番号：",
                                .messageTail = "入力した条件番号は[部材端部条件]に登録されていません"},
                               {.box = "txtJ端部形状", .table = "要素端部形状", .messageHead = "ｊ 端の条件番号：",
                                .messageTail = "入力した条件番号は[部材端部条件]に登録されていません"}},
            .assignsNumbers = true,
            .rowNumberLimit = 9999,
            .deleteAllTitle = "部材端部条件配置",
            .notes = {{"Label1", "拘束条件を指定しない部材は、ｉ ，ｊ 端ともに、全て全方向剛となります"}},
            .neighbours = {{.name = "Refer要素端部形状参照", .caption = "端部条件の参照", .opens = ScreenMemberEndTypeLookup,
                            .toolTip = "[部材端部条件]で入力したデータを表示します"},
                           {.name = "cmdRefer要素情報", .caption = "部材配置の参照", .opens = ScreenMemberLookup,
                            .toolTip = "[部材情報]で入力したデータを表示します"}},
            .gridWidthTw = 9600,
            .boxWidthTw = 660,
        };
        AddPlacementTargets(s, "txt要素番号", 0, "< 配置先要素番号 >");
        return s;
    }();
    return d;
}

CheckVerdict CheckEndShapeInput(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsNumeric("txtNo")) return c.Invalid();
    const double no = c.Value("txtNo");
    if (no < 1 || no > 9999) return c.Refuse(TypeNumberRangeMessage(true));
    const QString x = c.Text("txtxMWR");
    if (x != QStringLiteral("剛") && x != QStringLiteral("ピン")) {
        // Torsion is only rigid or pinned; a negative number is refused
        // rather than read as a pin.
        if (!c.IsSingle("txtxMWR") || c.Value("txtxMWR") < 0) return c.Invalid();
        c.WriteBack("txtxMWR", NormalizeTorsionText(x));
    }
    for (const char* b : {"txtyMWR", "txtzMWR"}) {
        const QString t = c.Text(b);
        if (t == QStringLiteral("剛") || t == QStringLiteral("ピン")) continue;
        if (!c.IsSingle(b) || c.Value(b) < 0) return c.Invalid();
    }
    for (const char* b : {"txtxMWR", "txtyMWR", "txtzMWR"})
        if (c.IsNumeric(b)) c.WriteBack(b, NormalizeEndConditionText(c.Text(b)));
    return c.Accept();
}

CheckVerdict CheckEndPlacementInput(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsNumeric("txtNo") || c.Value("txtNo") < 1 || c.Value("txtNo") > 9999) return c.Invalid();
    if (!c.IsInteger("txtI端部形状") || c.Value("txtI端部形状") < 1) return c.Invalid();
    if (!c.IsInteger("txtJ端部形状") || c.Value("txtJ端部形状") < 1) return c.Invalid();
    for (int i = 0; i <= 9; ++i)
        if (!c.IsInteger(ControlName("txt要素番号", i))) return c.Invalid();
    return c.Accept();
}

frm要素端部形状::frm要素端部形状() : ListScreen(MemberEndTypeScreen()) {}

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

frm要素端部配置::frm要素端部配置() : ListScreen(MemberEndPlacementScreen())
{
    FitGridColumnsToCaptions(DBGrid, Data1, {1, 2});
}
