// Pictures of the member screen, the two section screens and the section-type
// picture window with data, written where ZELKOVA_SCREENSHOTS points (run
// under a real X server to look at them), otherwise into the test's own
// folder; the test checks only that the windows render.
#include "core/WindowHelpers.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "screens/MemberScreen.h"
#include "screens/SectionScreens.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QPushButton>
#include "common/Screenshot.h"

using namespace inputtest;
using rt::Variant;

namespace {

TEST(Screenshots, MemberAndSectionScreens)
{
    MakeEmptyDatabase();
    Program().ProgramVersion = "1.41";
    SetShowMainMenuHandler([] {});
    AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
               {{Variant::Text("〇〇橋 補強設計"), Variant::Text("山田 太郎"), Variant::Text("第2案"), Variant::Text("True"),
                 Variant::Integer(3), Variant::Double(20500), Variant::Double(7900)}});
    std::vector<std::vector<Variant>> members, props, shapes;
    for (int i = 1; i <= 13; ++i)
        members.push_back({Variant::Integer(int16_t(i)), Variant::Integer(int16_t(i)), Variant::Integer(int16_t(i + 1)),
                           Variant::Integer(int16_t(i % 2 ? 1 : 1001)), Variant::Integer(int16_t(i))});
    AppendRows("要素情報", {"No_", "iTan", "jTan", "材料番号", "順"}, members);
    for (int i = 1; i <= 5; ++i)
        props.push_back({Variant::Integer(int16_t(i)), Variant::Double(20500), Variant::Double(7900), Variant::Double(40.8 * i),
                         Variant::Double(12.5 * i), Variant::Double(2880.0 * i), Variant::Double(984.5 * i), Variant::Integer(int16_t(i))});
    AppendRows("材料定数1", {"No_", "E", "γ", "A", "Ixx", "Iyy", "Izz", "順"}, props);
    const double dims[6][5] = {{600, 300, 0, 0, 0}, {300, 150, 6.5, 9, 13}, {400, 200, 8, 13, 16},
                               {250, 250, 9, 22.5, 0}, {267.4, 6.6, 0, 0, 0}, {500, 0, 0, 0, 0}};
    for (int t = 1; t <= 6; ++t)
        shapes.push_back({Variant::Integer(int16_t(1000 + t)), Variant::Integer(int16_t(t)), Variant::Double(dims[t - 1][0]),
                          Variant::Double(dims[t - 1][1]), Variant::Double(dims[t - 1][2]), Variant::Double(dims[t - 1][3]),
                          Variant::Double(dims[t - 1][4]), Variant::Double(1), Variant::Double(1),
                          Variant::Double(t == 1 || t == 6 ? 2100 : 20500), Variant::Double(t == 1 || t == 6 ? 900 : 7900),
                          Variant::Integer(int16_t(t))});
    AppendRows("材料定数2", {"No_", "TYP", "fld_01", "fld_02", "fld_03", "fld_04", "fld_05", "φx", "φy", "E", "γ", "順"}, shapes);

    Program().ScreenCode = ScreenMembers;
    ASSERT_TRUE(StartInputForm());
    testenv::SaveScreenshot(Program().CurrentInputForm.data(), "member-screen.png");
    EndInputForm(true);

    Program().ScreenCode = ScreenSectionProperties;
    ASSERT_TRUE(StartInputForm());
    testenv::SaveScreenshot(Program().CurrentInputForm.data(), "section-properties-screen.png");
    EndInputForm(true);

    Program().ScreenCode = ScreenSectionShapes;
    ASSERT_TRUE(StartInputForm());
    auto* shape = dynamic_cast<frm材料定数2*>(Program().CurrentInputForm.data());
    shape->ScreenRecordset->FindFirst("no_ = 1004");
    shape->Data1->SyncPosition();
    shape->DBGrid_RowColChange();
    testenv::SaveScreenshot(shape, "section-shapes-screen.png");
    shape->findChild<QPushButton*>("cmdRefer部材形状図")->click();
    forms::Form* fig = forms::FindLoadedForm("frm部材形状図");
    ASSERT_NE(fig, nullptr);
    testenv::SaveScreenshot(fig, "section-type-figure.png");
    EndInputForm(true);
}

}  // namespace
