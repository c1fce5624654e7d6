// Pictures of the restraint and member-end screens, types and placements,
// with data (see ScreenshotTest.cpp for where they are written).
#include "core/WindowHelpers.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"

#include "common/Screenshot.h"

using namespace inputtest;

namespace {

using V = rt::Variant;

TEST(Screenshots, RestraintAndMemberEndScreens)
{
    MakeEmptyDatabase();
    Program().ProgramVersion = "1.41";
    SetShowMainMenuHandler([] {});
    AppendRows("基本データ", {"工事名", "Unit", "Case"}, {{V::Text("橋"), V::Text("True"), V::Integer(1)}});
    AppendRows("節点拘束形状", {"No_", "u", "v", "w", "θx", "θy", "θz", "順"},
               {{V::Integer(1), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Text("拘束"), V::Integer(1)},
                {V::Integer(2), V::Text("拘束"), V::Text("自由"), V::Text("拘束"), V::Text("自由"), V::Text("自由"), V::Text("1500.000"), V::Integer(2)}});
    AppendRows("節点拘束配置", {"No_", "拘束形状", "fld_01", "fld_02", "fld_03", "順"},
               {{V::Integer(1), V::Integer(1), V::Integer(1), V::Integer(2), V::Integer(0), V::Integer(1)},
                {V::Integer(2), V::Integer(2), V::Integer(5), V::Integer(6), V::Integer(7), V::Integer(2)}});
    AppendRows("要素端部形状", {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", "順"},
               {{V::Integer(1), V::Text("剛"), V::Text("剛"), V::Text("剛"), V::Text("剛"), V::Text("ピン"), V::Text("ピン"), V::Integer(1)},
                {V::Integer(2), V::Text("剛"), V::Text("剛"), V::Text("剛"), V::Text("ピン"), V::Text("250.000"), V::Text("剛"), V::Integer(2)}});
    AppendRows("要素端部配置", {"No_", "i端部形状", "j端部形状", "fld_01", "fld_02", "順"},
               {{V::Integer(1), V::Integer(1), V::Integer(2), V::Integer(3), V::Integer(4), V::Integer(1)}});

    const std::pair<ScreenCodes, const char*> screens[] = {
        {ScreenRestraintTypes, "restraint-type-screen.png"},
        {ScreenRestraintPlacement, "restraint-placement-screen.png"},
        {ScreenMemberEndTypes, "member-end-type-screen.png"},
        {ScreenMemberEndPlacement, "member-end-placement-screen.png"},
    };
    for (const auto& [code, file] : screens) {
        Program().ScreenCode = code;
        ASSERT_TRUE(StartInputForm());
        testenv::SaveScreenshot(Program().CurrentInputForm.data(), file);
        EndInputForm(true);
    }
}

}  // namespace
