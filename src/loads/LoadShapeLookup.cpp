#include "loads/LoadShapeLookup.h"

#include "core/ProgramState.h"

namespace {
LookupConfig LoadShapeLookup()
{
    LookupConfig c;
    c.formName = QStringLiteral("frm荷重形状参照");
    c.code = ScreenLoadShapeLookup;
    c.table = QStringLiteral("荷重形状");
    c.columns = {{"No_", "形状番号", "", false}, {"TYP", "タイプ", "", false}, {"Case", "ケース", "", false},
                 {"座標系", "座標系", "", false}};
    for (int i = 1; i <= 7; ++i)
        c.columns.push_back({QStringLiteral("fld_%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("P%1").arg(i), "0.000", false});
    c.columns.push_back({"順", "順", "", true});
    c.emptyMessage = QStringLiteral("荷重形状データが登録されていません");
    c.clientWidthTw = 11235;
    c.clientHeightTw = 2670;
    c.gridLeftTw = 0;
    c.gridWidthTw = 11085;
    return c;
}
}  // namespace

frm荷重形状参照::frm荷重形状参照() : LookupWindow(LoadShapeLookup()) {}
