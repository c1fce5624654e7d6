#include "screens/MemberScreen.h"

#include "input/InputRecords.h"
#include "input/InputValidation.h"
#include "core/ProgramState.h"

namespace {
ListScreenConfig MemberConfig()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm要素情報");
    c.code = ScreenMembers;
    c.columns = {{"No_", "部材番号", "", false},
                 {"iTan", "i 端", "", false},
                 {"jTan", "j 端", "", false},
                 {"材料番号", "形状番号", "", false},
                 {"順", "順", "", true}};
    c.numberLabelName = QStringLiteral("lblEltNo");
    c.numberLabelCaption = QStringLiteral("部材番号(1～") + QStringLiteral("500") + QStringLiteral(")");
    // A new member takes the section number of the member shown or entered last.
    c.boxes = {{"txtNo", "", true, true, "0", "", "No_"},
               {"txtIT", "ｉ 端", true, true, "0", "1", "iTan"},
               {"txtJT", "ｊ 端", true, true, "0", "2", "jTan"},
               {"txt材料番号", "形状番号", true, true, "", "1", "材料番号"}};
    c.boxes[3].keepOnNew = true;
    c.check = [] { return CheckElementInput(); };
    c.add = &AddElementRecord;
    c.update = &UpdateElementRecord;
    c.duplicateOnInsert = QStringLiteral("部材番号：%1\r\n入力した部材番号はすでに使用されているので新たに登録できません");
    c.duplicateOnUpdate = QStringLiteral("部材番号：%1\r\n入力した部材番号は他の部材配置データですでに使用されています");
    c.deleteAllTitle = QStringLiteral("部材形状配置");
    c.neighbours = {{"cmdRefer節点座標", "節点座標参照", "frm節点座標参照", ScreenNodeLookup, true}};
    c.cancelCaption = QStringLiteral("キャンセル(&Q)");
    c.focusNumberAfterEdit = true;
    c.gridWidthTw = 5400;
    c.boxWidthTw = 1260;
    return c;
}
}  // namespace

frm要素情報::frm要素情報() : ListScreen(MemberConfig()) {}
