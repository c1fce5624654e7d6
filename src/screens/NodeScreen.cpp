#include "screens/NodeScreen.h"

#include "input/InputRecords.h"
#include "input/InputValidation.h"
#include "core/ProgramState.h"

namespace {
ListScreenConfig NodeConfig()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm節点座標1");
    c.code = ScreenNodeCoordinates;
    c.columns = {{"No_", "節点番号", "0", false},
                 {"X", "X", "0.000", false},
                 {"Y", "Y", "0.000", false},
                 {"Z", "Z", "0.000", false},
                 {"順", "順", "", true}};
    c.numberLabelName = QStringLiteral("lblJntNo");
    c.numberLabelCaption = QStringLiteral("節点番号(1～") + QStringLiteral("300") + QStringLiteral(")");
    c.boxes = {{"txtNo", "", true, true, "0", "", "No_"},
               {"txtX", "X (m)", false, false, "0.000", "0.000", "X"},
               {"txtY", "Y (m)", false, false, "0.000", "0.000", "Y"},
               {"txtZ", "Z (m)", false, false, "0.000", "0.000", "Z"}};
    c.check = [] { return CheckNodeInput(); };
    c.add = &AddNodeRecord;
    c.update = &UpdateNodeRecord;
    c.duplicateOnInsert = QStringLiteral("節点番号：%1\r\n入力した節点番号はすでに使用されているので新たに登録できません");
    c.duplicateOnUpdate = QStringLiteral("節点番号：%1\r\n入力した節点番号は他の節点データですでに使用されています");
    c.deleteAllTitle = QStringLiteral("節点座標");
    c.note = QStringLiteral("座標値に(-)値も使用できます。");
    c.gridWidthTw = 5400;
    c.boxWidthTw = 1260;
    return c;
}
}  // namespace

frm節点座標1::frm節点座標1() : ListScreen(NodeConfig()) {}
