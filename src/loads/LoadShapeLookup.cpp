#include "loads/LoadShapeLookup.h"

#include "loads/LoadShapeScreen.h"

const LookupDescription& LoadShapeLookup()
{
    static const LookupDescription d{
        .code = ScreenLoadShapeLookup,
        .formName = "frm荷重形状参照",
        .table = LoadShapeScreen().screen.table,
        .columns = LoadShapeScreen().columns,
        .emptyMessage = "荷重形状データが登録されていません",
        .clientWidthTw = 11235,
        .clientHeightTw = 2670,
        .gridLeftTw = 0,
        .gridWidthTw = 11085,
    };
    return d;
}
