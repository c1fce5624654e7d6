#include "screens/NodeScreen.h"

const ListScreenDescription& NodeScreen()
{
    static const ListScreenDescription d{
        .screen = {.code = ScreenNodeCoordinates, .formName = "frm節点座標1", .table = "節点座標1", .gridRows = 11,
                   .create = [] { return new frm節点座標1(); }},
        .columns = {{"No_", "節点番号", "0", false},
                    {"X", "X", "0.000", false},
                    {"Y", "Y", "0.000", false},
                    {"Z", "Z", "0.000", false},
                    {"順", "順", "", true}},
        .numberLabelName = "lblJntNo",
        .numberLabelCaption = QStringLiteral("節点番号(1～") + QStringLiteral("300") + QStringLiteral(")"),
        .boxes = {{.name = "txtNo", .noMinus = true, .noDot = true, .format = "0", .field = "No_"},
                  {.name = "txtX", .label = "X (m)", .format = "0.000", .newValue = "0.000", .field = "X"},
                  {.name = "txtY", .label = "Y (m)", .format = "0.000", .newValue = "0.000", .field = "Y"},
                  {.name = "txtZ", .label = "Z (m)", .format = "0.000", .newValue = "0.000", .field = "Z"}},
        .check = &CheckNodeInput,
        .duplicateOnInsert = "節点番号：%1\r\n入力した節点番号はすでに使用されているので新たに登録できません",
        .duplicateOnUpdate = "節点番号：%1\r\n入力した節点番号は他の節点データですでに使用されています",
        .deleteAllTitle = "節点座標",
        .note = "座標値に(-)値も使用できます。",
        .gridWidthTw = 5400,
        .boxWidthTw = 1260,
    };
    return d;
}

const LookupDescription& NodeLookup()
{
    static const LookupDescription d{
        .code = ScreenNodeLookup,
        .formName = "frm節点座標参照",
        .table = NodeScreen().screen.table,
        .columns = NodeScreen().columns,
        .emptyMessage = "節点データが登録されていません",
        .clientWidthTw = 4815,
        .clientHeightTw = 2685,
        .gridWidthTw = 4575,
    };
    return d;
}

CheckVerdict CheckNodeInput(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsNumeric("txtNo")) return c.Invalid();
    const double no = c.Value("txtNo");
    if (no < 1 || no > 300)
        return c.Refuse(QStringLiteral("入力可能な最大節点番号は ") + QStringLiteral("300") + QStringLiteral(" です｡"));
    for (const char* b : {"txtX", "txtY", "txtZ"})
        if (!c.IsSingle(b)) return c.Invalid();
    return c.Accept();
}

frm節点座標1::frm節点座標1() : ListScreen(NodeScreen()) {}
