#include "screens/MemberScreen.h"

const ListScreenDescription& MemberScreen()
{
    static const ListScreenDescription d{
        .screen = {.code = ScreenMembers, .formName = "frm要素情報", .table = "要素情報", .gridRows = 11,
                   .create = [] { return new frm要素情報(); }},
        .columns = {{"No_", "部材番号", "", false},
                    {"iTan", "i 端", "", false},
                    {"jTan", "j 端", "", false},
                    {"材料番号", "形状番号", "", false},
                    {"順", "順", "", true}},
        .numberLabelName = "lblEltNo",
        .numberLabelCaption = QStringLiteral("部材番号(1～") + QStringLiteral("500") + QStringLiteral(")"),
        // A new member takes the section number of the member shown or entered last.
        .boxes = {{.name = "txtNo", .noMinus = true, .noDot = true, .format = "0", .field = "No_"},
                  {.name = "txtIT", .label = "ｉ 端", .noMinus = true, .noDot = true, .format = "0", .newValue = "1", .field = "iTan"},
                  {.name = "txtJT", .label = "ｊ 端", .noMinus = true, .noDot = true, .format = "0", .newValue = "2", .field = "jTan"},
                  {.name = "txt材料番号", .label = "形状番号", .noMinus = true, .noDot = true, .newValue = "1", .field = "材料番号",
                   .keepOnNew = true}},
        .check = &CheckElementInput,
        .duplicateOnInsert = "部材番号：%1\r\n入力した部材番号はすでに使用されているので新たに登録できません",
        .duplicateOnUpdate = "部材番号：%1\r\n入力した部材番号は他の部材配置データですでに使用されています",
        .deleteAllTitle = "部材形状配置",
        .neighbours = {{.name = "cmdRefer節点座標", .caption = "節点座標参照", .opens = ScreenNodeLookup,
                        .toolTip = "[節点座標]で入力したデータを表示します", .selectNumberFirst = true}},
        .cancelCaption = "キャンセル(&Q)",
        .focusNumberAfterEdit = true,
        .gridWidthTw = 5400,
        .boxWidthTw = 1260,
    };
    return d;
}

const LookupDescription& MemberLookup()
{
    static const LookupDescription d{
        .code = ScreenMemberLookup,
        .formName = "frm要素情報参照",
        .table = MemberScreen().screen.table,
        .columns = MemberScreen().columns,
        .emptyMessage = "部材データが登録されていません",
        .clientWidthTw = 4485,
        .clientHeightTw = 2685,
        .gridWidthTw = 4260,
    };
    return d;
}

CheckVerdict CheckElementInput(const CheckInputs& in)
{
    CheckRun c(in);
    if (!c.IsNumeric("txtNo")) return c.Invalid();
    const double no = c.Value("txtNo");
    if (no < 1 || no > 500)
        return c.Refuse(QStringLiteral("入力可能な最大部材番号は ") + QStringLiteral("500") + QStringLiteral(" です｡"));
    if (!c.IsInteger("txtIT") || c.Value("txtIT") < 0) return c.Invalid();
    if (!c.IsInteger("txtJT") || c.Value("txtJT") < 0) return c.Invalid();
    if (!(c.Value("txtIT") < c.Value("txtJT")))
        return c.Refuse(QStringLiteral("ｉ 端とｊ 端の節点番号の大小が不正です。\r\n"
                                       "ｊ 端に入力する節点番号は、ｉ 端に入力した節点番号よりも大きい数字を入力して下さい。"));
    if (!c.IsInteger("txt材料番号") || c.Value("txt材料番号") < 0) return c.Invalid();
    return c.Accept();
}

frm要素情報::frm要素情報() : ListScreen(MemberScreen()) {}
