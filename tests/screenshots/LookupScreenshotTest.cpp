// Pictures of the four lookup windows beside the node screen (see
// ScreenshotTest.cpp for where they are written).
#include "core/WindowHelpers.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"

#include <QCoreApplication>
#include <QPixmap>
#include "common/Screenshot.h"

using namespace inputtest;

namespace {

using V = rt::Variant;

TEST(Screenshots, LookupWindows)
{
    MakeEmptyDatabase();
    Program().ProgramVersion = "1.41";
    SetShowMainMenuHandler([] {});
    AppendRows("基本データ", {"工事名", "Unit", "Case"}, {{V::Text("橋"), V::Text("True"), V::Integer(1)}});
    AddNodes(12);
    std::vector<std::vector<V>> members, restraints, ends;
    for (int i = 1; i <= 12; ++i)
        members.push_back({V::Integer(int16_t(i)), V::Integer(int16_t(i)), V::Integer(int16_t(i % 12 + 1)), V::Integer(int16_t(1001)),
                           V::Integer(int16_t(i))});
    AppendRows("要素情報", {"No_", "iTan", "jTan", "材料番号", "順"}, members);
    AppendRows("節点拘束形状", {"No_", "u", "v", "w", "θx", "θy", "θz", "順"},
               {{V::Integer(1), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Integer(1)},
                {V::Integer(2), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Text("自由"), V::Text("自由"), V::Text("1500.000"), V::Integer(2)}});
    AppendRows("要素端部形状", {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", "順"},
               {{V::Integer(1), V::Text("剛"), V::Text("剛"), V::Text("剛"), V::Text("剛"), V::Text("ピン"), V::Text("ピン"), V::Integer(1)}});

    Program().ScreenCode = ScreenNodeCoordinates;
    ASSERT_TRUE(StartInputForm());
    for (const char* name : {"frm節点座標参照", "frm要素情報参照", "frm節点拘束形状参照", "frm要素端部形状参照"}) {
        forms::Form* w = ScreenInstance(name);
        ASSERT_NE(w, nullptr);
        w->Show();
        testenv::SaveScreenshot(w, QString(name) + ".png");
    }
    EndInputForm(true);
}

}  // namespace
