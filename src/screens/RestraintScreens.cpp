#include "screens/RestraintScreens.h"

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

const NeighbourButton kNodeLookup{QStringLiteral("cmdRefer節点座標"), QStringLiteral("節点座標の参照"),
                                  QStringLiteral("frm節点座標参照"), ScreenNodeLookup};

ListScreenConfig RestraintTypeConfig()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm節点拘束形状");
    c.code = ScreenRestraintTypes;
    c.columns = {{"No_", "条件番号", "", false}, {"u", "X方向", "", false},   {"v", "Y方向", "", false},
                 {"w", "Z方向", "", false},      {"θx", "θx方向", "", false}, {"θy", "θy方向", "", false},
                 {"θz", "θz方向", "", false},    {"順", "順", "", true}};
    c.boxes = {{"txtNo", "条件番号", true, true, "0", "", "No_"}};
    // Components are typed as numbers and kept as words or spring constants.
    const char* components[][2] = {{"txtu", "u"}, {"txtv", "v"}, {"txtw", "w"}, {"txtθx", "θx"}, {"txtθy", "θy"}, {"txtθz", "θz"}};
    const char* labels[] = {"X方向", "Y方向", "Z方向", "θx方向", "θy方向", "θz方向"};
    for (int i = 0; i < 6; ++i) {
        EntryBoxSpec b{QString::fromUtf8(components[i][0]), QString::fromUtf8(labels[i]), true, false, "0.000", "拘束",
                       QString::fromUtf8(components[i][1])};
        b.lostFocus = &NormalizeRestraintText;
        c.boxes.push_back(b);
    }
    c.check = [] { return CheckRestraintShapeInput(); };
    c.add = &AddRestraintShapeRecord;
    c.update = &UpdateRestraintShapeRecord;
    c.duplicateOnInsert = QStringLiteral("条件番号：%1\r\n入力した条件番号はすでに使用されているので新たに登録できません");
    c.duplicateOnUpdate = QStringLiteral("条件番号：%1\r\n入力した条件番号は他の節点拘束条件データですでに使用されています");
    c.deleteAllTitle = QStringLiteral("節点拘束条件");
    c.notes = {{"Label9", "　０　　　：　自由　       １　　　：　拘束 "},
               {"lblBaneUnit", QString()},
               {"Label1", "ここでの座標系はすべて絶対座標系です"}};
    c.neighbours = {kNodeLookup};
    c.gridWidthTw = 6900;
    c.boxWidthTw = 960;
    return c;
}

ListScreenConfig RestraintPlacementConfig()
{
    ListScreenConfig c;
    c.formName = QStringLiteral("frm節点拘束配置");
    c.code = ScreenRestraintPlacement;
    c.columns = {{"No_", "No_", "", true}, {"拘束形状", "条件番号", "", false}};
    EntryBoxSpec no{"txtNo", "", true, true, "", "", "No_"};
    no.hidden = true;
    EntryBoxSpec type{"txt拘束形状", "< 条件番号 >", true, true, "0", "1", "拘束形状"};
    type.keepOnNew = true;
    type.widthTw = 1200;
    c.boxes = {no, type};
    for (int k = 0; k < 10; ++k) {
        const QString field = QStringLiteral("fld_%1").arg(k + 1, 2, 10, QLatin1Char('0'));
        c.columns.push_back({field, QString::number(k + 1), "", false});
        EntryBoxSpec b{QStringLiteral("txt節点番号(%1)").arg(k), QString::number(k + 1), true, true, "0", "0", field};
        b.group = QStringLiteral("< 節点番号 >");
        c.boxes.push_back(b);
    }
    c.columns.push_back({"順", "順", "", true});
    c.check = [] { return CheckRestraintPlacementInput(); };
    c.add = &AddRestraintPlacementRecord;
    c.update = &UpdateRestraintPlacementRecord;
    c.assignsNumbers = true;
    c.typeTest = [](ListScreen& s) {
        QLineEdit* type = s.Box(QStringLiteral("txt拘束形状"));
        if (!IsKeyUnused(s.ScreenDatabase, QStringLiteral("no_"), QStringLiteral("節点拘束形状"), rt::CInt(rt::Val(type->text()))))
            return true;
        ui::Beep();
        Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("拘束条件：") + type->text() +
                                                        QStringLiteral("\r\n入力されている拘束条件は[節点拘束条件]に登録されていません"),
                                                    ui::Icon::Information, AppTitle));
        return false;
    };
    c.deleteAllTitle = QStringLiteral("節点拘束条件配置");
    c.notes = {{"Label1", "拘束条件を指定しない節点は、全て全方向自由となります"}};
    c.neighbours = {{QStringLiteral("Refer節点拘束形状参照"), QStringLiteral("拘束条件の参照"), QStringLiteral("frm節点拘束形状参照"),
                     ScreenRestraintTypeLookup},
                    kNodeLookup};
    c.gridWidthTw = 8400;
    c.boxWidthTw = 660;
    return c;
}

}  // namespace

frm節点拘束形状::frm節点拘束形状() : ListScreen(RestraintTypeConfig())
{
    Cmd登録->setText(QStringLiteral("登録（&R）"));
}

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

frm節点拘束配置::frm節点拘束配置() : ListScreen(RestraintPlacementConfig())
{
    FitGridColumnsToCaptions(DBGrid, Data1, {1});
}
