// Pictures of the two screens with data, written where ZELKOVA_SCREENSHOTS
// points (run under a real X server to look at them), otherwise into the
// test's own folder; the test checks only that both windows render.
#include "core/WindowHelpers.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "screens/BasicDataScreen.h"
#include "screens/NodeScreen.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include "common/Screenshot.h"

using namespace inputtest;

namespace {

TEST(Screenshots, NodeAndBasicDataScreens)
{
    MakeEmptyDatabase();
    Program().ProgramVersion = "1.41";
    SetShowMainMenuHandler([] {});
    AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
               {{rt::Variant::Text("〇〇橋 補強設計"), rt::Variant::Text("山田 太郎"), rt::Variant::Text("第2案"),
                 rt::Variant::Text("True"), rt::Variant::Integer(3), rt::Variant::Double(21000), rt::Variant::Double(8100)}});
    AddNodes(14);

    Program().ScreenCode = ScreenNodeCoordinates;
    ASSERT_TRUE(StartInputForm());
    auto* node = dynamic_cast<frm節点座標1*>(Program().CurrentInputForm.data());
    node->ScreenRecordset->FindFirst("no_ = 3");
    node->Data1->SyncPosition();
    node->DBGrid_RowColChange();
    testenv::SaveScreenshot(node, "node-screen.png");
    node->Cmd登録_Click();

    Program().ScreenCode = ScreenBasicData;
    ASSERT_TRUE(StartInputForm());
    testenv::SaveScreenshot(Program().CurrentInputForm.data(), "basic-data-screen.png");
    EndInputForm(true);
}

}  // namespace
