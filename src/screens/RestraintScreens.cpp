#include "screens/RestraintScreens.h"

#include "input/InputRecordOps.h"
#include "core/WindowHelpers.h"

#include <QLabel>

namespace {

const NeighbourButton kNodeLookupButton{.name = "cmdRefer節点座標", .caption = "節点座標の参照", .opens = ScreenNodeLookup,
                                        .toolTip = "[節点座標]で入力したデータを表示します"};

// The six components, typed as numbers and kept as words or spring constants.
const char* const kComponents[] = {"u", "v", "w", "θx", "θy", "θz"};

}  // namespace

const ListScreenDescription& RestraintTypeScreen()
{
    static const ListScreenDescription d = [] {
        ListScreenDescription s{
            .screen = {.code = ScreenRestraintTypes, .formName = "frm節点拘束形状", .table = "節点拘束形状", .gridRows = 11,
                       .create = [] { return new frm節点拘束形状(); }},
            .columns = {{"No_", "条件番号", "", false}},
            .boxes = {{.name = "txtNo", .label = "条件番号", .noMinus = true, .noDot = true, .format = "0", .field = "No_"}},
            .check = &CheckRestraintShapeInput,
            .duplicateOnInsert = "条件番号：%1\r\n入力した条件番号はすでに使用されているので新たに登録できません",
            .duplicateOnUpdate = "条件番号：%1\r\n入力した条件番号は他の節点拘束条件データですでに使用されています",
            .deleteAllTitle = "節点拘束条件",
            .notes = {{"Label9", "　０　　　：　自由　       １　　　：　拘束 "},
                      {"lblBaneUnit", ""},
                      {"Label1", "ここでの座標系はすべて絶対座標系です"}},
            .neighbours = {kNodeLookupButton},
            .registerCaption = "登録（&R）",
            .gridWidthTw = 6900,
            .boxWidthTw = 960,
        };
        const char* captions[] = {"X方向", "Y方向", "Z方向", "θx方向", "θy方向", "θz方向"};
        for (int i = 0; i < 6; ++i) {
            const QString field = QString::fromUtf8(kComponents[i]);
            s.columns.push_back({field, QString::fromUtf8(captions[i]), "", false});
            s.boxes.push_back({.name = "txt" + field, .label = QString::fromUtf8(captions[i]), .noMinus = true, .format = "0.000",
                               .newValue = "拘束", .field = field, .conversion = FieldConversion::Text,
                               .lostFocus = &NormalizeRestraintText});
        }
        s.columns.push_back({"順", "順", "", true});
        return s;
    }();
    return d;
}

const LookupDescription& RestraintTypeLookup()
{
    static const LookupDescription d{
        .code = ScreenRestraintTypeLookup,
        .formName = "frm節点拘束形状参照",
        .table = RestraintTypeScreen().screen.table,
        .columns = Recaptioned(RestraintTypeScreen().columns, "No_", "形状番号"),
        .emptyMessage = "節点拘束条件に関するデータが登録されていません",
        .clientWidthTw = 6900,
        .clientHeightTw = 2670,
        .gridWidthTw = 6645,
    };
    return d;
}

const ListScreenDescription& RestraintPlacementScreen()
{
    static const ListScreenDescription d = [] {
        ListScreenDescription s{
            .screen = {.code = ScreenRestraintPlacement, .formName = "frm節点拘束配置", .table = "節点拘束配置", .gridRows = 14,
                       .create = [] { return new frm節点拘束配置(); }},
            .columns = {{"No_", "No_", "", true}, {"拘束形状", "条件番号", "", false}},
            .boxes = {{.name = "txtNo", .noMinus = true, .noDot = true, .field = "No_", .hidden = true},
                      {.name = "txt拘束形状", .label = "< 条件番号 >", .noMinus = true, .noDot = true, .format = "0", .newValue = "1",
                       .field = "拘束形状", .keepOnNew = true, .widthTw = 1200}},
            .check = &CheckRestraintPlacementInput,
            .typeReferences = {{.box = "txt拘束形状", .table = "節点拘束形状", .messageHead = "拘束条件：",
                                .messageTail = "入力されている拘束条件は[節点拘束条件]に登録されていません"}},
            .assignsNumbers = true,
            .deleteAllTitle = "節点拘束条件配置",
            .notes = {{"Label1", "拘束条件を指定しない節点は、全て全方向自由となります"}},
            .neighbours = {{.name = "Refer節点拘束形状参照", .caption = "拘束条件の参照", .opens = ScreenRestraintTypeLookup,
                            .toolTip = "[節点拘束条件]で入力したデータを表示します"},
                           kNodeLookupButton},
            .gridWidthTw = 8400,
            .boxWidthTw = 660,
        };
        AddPlacementTargets(s, "txt節点番号", 0, "< 節点番号 >");
        return s;
    }();
    return d;
}

CheckVerdict CheckRestraintShapeInput(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsNumeric("txtNo")) return c.Invalid();
    const double no = c.Value("txtNo");
    if (no < 1 || no > 9999) return c.Refuse(TypeNumberRangeMessage(false));
    for (const char* component : kComponents) {
        const QString b = QStringLiteral("txt") + QString::fromUtf8(component);
        const QString t = c.Text(b);
        if (t == QStringLiteral("拘束") || t == QStringLiteral("自由")) continue;
        if (!c.IsSingle(b) || c.Value(b) < 0) return c.Invalid();
    }
    for (const char* component : kComponents) {
        const QString b = QStringLiteral("txt") + QString::fromUtf8(component);
        if (c.IsNumeric(b)) c.WriteBack(b, NormalizeRestraintText(c.Text(b)));
    }
    return c.Accept();
}

CheckVerdict CheckRestraintPlacementInput(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsInteger("txtNo") || c.Value("txtNo") < 1) return c.Invalid();
    if (!c.IsInteger("txt拘束形状") || c.Value("txt拘束形状") < 1) return c.Invalid();
    for (int i = 0; i <= 9; ++i) {
        const QString b = ControlName("txt節点番号", i);
        if (!c.IsInteger(b) || c.Value(b) < 0) return c.Invalid();
    }
    return c.Accept();
}

frm節点拘束形状::frm節点拘束形状() : ListScreen(RestraintTypeScreen()) {}

void frm節点拘束形状::Form_Load()
{
    ShowSpringUnitLabel();
    ListScreen::Form_Load();
}

void frm節点拘束形状::ShowSpringUnitLabel()
{
    ReadUnitFlag(Program().UnitIsSI);
    findChild<QLabel*>(QStringLiteral("lblBaneUnit"))
        ->setText(Program().UnitIsSI ? QStringLiteral("その他　：　バネ定数( kN/cm または KN･m/rad )")
                                     : QStringLiteral("その他　：　バネ定数( t/cm または t･m/rad )"));
}

frm節点拘束配置::frm節点拘束配置() : ListScreen(RestraintPlacementScreen())
{
    FitGridColumnsToCaptions(DBGrid, Data1, {1});
}
