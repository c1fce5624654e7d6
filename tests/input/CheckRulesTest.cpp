// Every input check as a table of cases: the entries, the verdict, its
// message and the texts written back; then the window adapter that shows a
// verdict, with the load-case question that raises the model's count.
#include "input/InputTestSupport.h"
#include "input/InputValidation.h"
#include "loads/LoadPlacementScreen.h"
#include "loads/LoadShapeScreen.h"
#include "screens/BasicDataScreen.h"
#include "screens/MemberEndScreens.h"
#include "screens/MemberScreen.h"
#include "screens/NodeScreen.h"
#include "screens/RestraintScreens.h"
#include "screens/SectionScreens.h"

#include <memory>

using namespace inputtest;

namespace {

using Boxes = std::vector<std::pair<QString, QString>>;

struct ScreenDefaults {
    Boxes boxes{};   // valid entries
    InputCheck check = nullptr;
};

Boxes WithArray(Boxes b, const QString& name, int first, int last, const QString& value)
{
    for (int i = first; i <= last; ++i) b.push_back({ControlName(name, i), value});
    return b;
}

const std::map<QString, ScreenDefaults>& Screens()
{
    static const std::map<QString, ScreenDefaults> s = {
        {"basic", {{{"txt工事名", "Project"}, {"txt設計者", "D"}, {"txtNote", "N"}, {"txtCase", "3"}, {"txtE", "21000"}, {"txtγ", "8100"}},
                   &CheckBasicDataInput}},
        {"node", {{{"txtNo", "1"}, {"txtX", "0.000"}, {"txtY", "0.000"}, {"txtZ", "0.000"}}, &CheckNodeInput}},
        {"mat1", {{{"txtNo", "1"}, {"txtE", "2100"}, {"txtγ", "900"}, {"txtA", "10"}, {"txtIxx", "1"}, {"txtIyy", "1"}, {"txtK", "1"}},
                  &CheckMaterial1Input}},
        {"mat2", {WithArray({{"txtNo", "1001"}, {"txtTYP", "2"}, {"txtφx", "1"}, {"txtφy", "1"}, {"txtE", "21000"}, {"txtγ", "8100"}},
                            "txtP", 1, 5, "100"),
                  &CheckMaterial2Input}},
        {"elem", {{{"txtNo", "1"}, {"txtIT", "1"}, {"txtJT", "2"}, {"txt材料番号", "1"}}, &CheckElementInput}},
        {"rshape", {{{"txtNo", "1"}, {"txtu", "拘束"}, {"txtv", "拘束"}, {"txtw", "拘束"}, {"txtθx", "自由"}, {"txtθy", "自由"}, {"txtθz", "自由"}},
                    &CheckRestraintShapeInput}},
        {"rplace", {WithArray({{"txtNo", "1"}, {"txt拘束形状", "1"}}, "txt節点番号", 0, 9, "0"), &CheckRestraintPlacementInput}},
        {"eshape", {{{"txtNo", "1"}, {"txtxMWR", "剛"}, {"txtyMWR", "剛"}, {"txtzMWR", "剛"}, {"txtxHKU", "剛"}, {"txtyHKU", "剛"}, {"txtzHKU", "剛"}},
                    &CheckEndShapeInput}},
        {"eplace", {WithArray({{"txtNo", "1"}, {"txtI端部形状", "1"}, {"txtJ端部形状", "1"}}, "txt要素番号", 0, 9, "0"),
                    &CheckEndPlacementInput}},
        {"lshape", {WithArray({{"txtNo", "1"}, {"cbo座標系", "z 部材系"}, {"txtCase", "1"}, {"txtTYP", "3"}, {"lblCase", "3"}}, "txtP", 1, 7, "1"),
                    &CheckLoadShapeInput}},
        {"lplace", {WithArray({{"txtNo", ""}, {"txt荷重形状", "1"}}, "txt", 1, 10, "0"), &CheckLoadPlacementInput}},
    };
    return s;
}

struct Case {
    const char* screen = "";
    Boxes set{};
    bool result = true;
    QString message{};   // the one message expected ("" none)
    Boxes after{};       // texts expected afterwards
    float commonE = 0;
    float commonG = 0;
    bool unitSI = true;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.screen;
    for (const auto& [b, v] : c.set) *os << " " << b.toStdString() << "=" << v.toStdString();
}

const QString kNode = QStringLiteral("入力可能な最大節点番号は 300 です｡");
const QString kMember = QStringLiteral("入力可能な最大部材番号は 500 です｡");
const QString kType1 = QStringLiteral("入力できる条件番号は 1 から 9999 です。");
const QString kType2 = QStringLiteral("入力できる条件番号は  1 から 9999 です。");
const QString kOrder = QStringLiteral("ｉ 端とｊ 端の節点番号の大小が不正です。\r\nｊ 端に入力する節点番号は、ｉ 端に入力した節点番号よりも大きい数字を入力して下さい。");
const QString kYoung = QStringLiteral("ヤング係数が不正です。\r\nヤング係数にゼロを入力すると［基本データ］で入力されているヤング係数に置き換わりますが\r\nそちらもゼロが入力されています。");
const QString kShear = QStringLiteral("せん断弾性係数が不正です。\r\nせん断弾性係数にゼロを入力すると［基本データ］で入力されているせん断弾性係数に置き換わりますが\r\nそちらもゼロが入力されています。");
const QString kCount = QStringLiteral("入力した本数が入力可能範囲を超えています。入力できる本数は３本までです。");
const QString kTypeOne = QStringLiteral("荷重タイプに １を指定する場合は、座標系は \"X 絶対系\" を指定して下さい。");
const QString kTypeTwo = QStringLiteral("荷重タイプに ２を指定する場合は、座標系は \"y 部材系\" または \"z 部材系\" を指定して下さい。");

const std::vector<Case>& Cases()
{
    static const std::vector<Case> c = {
        // basic data
        {.screen = "basic", .after = {{"txt設計者", "D"}}},
        {.screen = "basic", .set = {{"txt工事名", "   "}}, .result = false, .message = "工事名が入力されていません"},
        {.screen = "basic", .set = {{"txt工事名", " ********** "}}, .result = false, .message = "工事名が不正です。他の工事名を入力して下さい。"},
        {.screen = "basic", .set = {{"txt設計者", ""}, {"txtNote", "  "}}, .after = {{"txt設計者", " "}, {"txtNote", " "}}},
        {.screen = "basic", .set = {{"txt設計者", ""}, {"txtCase", "11"}}, .result = false, .message = kInvalid, .after = {{"txt設計者", " "}}},
        {.screen = "basic", .set = {{"txtCase", "0"}}, .result = false, .message = kInvalid},
        {.screen = "basic", .set = {{"txtCase", "2.5"}}},
        {.screen = "basic", .set = {{"txtCase", ""}}, .result = false, .message = kInvalid},
        {.screen = "basic", .set = {{"txtE", "-1"}}, .result = false, .message = kInvalid},
        {.screen = "basic", .set = {{"txtγ", "1e39"}}, .result = false, .message = kInvalid},   // does not fit a Single
        // node
        {.screen = "node", .set = {{"txtNo", "300"}}},
        {.screen = "node", .set = {{"txtNo", "301"}}, .result = false, .message = kNode},
        {.screen = "node", .set = {{"txtNo", "0"}}, .result = false, .message = kNode},
        {.screen = "node", .set = {{"txtNo", "abc"}}, .result = false, .message = kInvalid},
        {.screen = "node", .set = {{"txtNo", "1,0"}}, .result = false, .message = kInvalid},      // no thousands separators
        {.screen = "node", .set = {{"txtNo", "&H10"}}, .result = false, .message = kInvalid},     // no hexadecimal
        {.screen = "node", .set = {{"txtX", "$5"}}, .result = false, .message = kInvalid},        // no currency
        {.screen = "node", .set = {{"txtX", "-1.5e2"}, {"txtY", " 2 "}}},
        {.screen = "node", .set = {{"txtZ", ""}}, .result = false, .message = kInvalid},
        {.screen = "node", .set = {{"txtZ", "1e40"}}, .result = false, .message = kInvalid},
        // sections by properties
        {.screen = "mat1", .set = {{"txtNo", "0"}}},
        {.screen = "mat1", .set = {{"txtNo", "999"}}},
        {.screen = "mat1", .set = {{"txtNo", "1000"}}, .result = false, .message = "[材料定数1]で入力できる形状番号は 999以下です。"},
        {.screen = "mat1", .set = {{"txtNo", "-40000"}}, .result = false, .message = kInvalid},
        {.screen = "mat1", .set = {{"txtE", "0"}}, .after = {{"txtE", "2100.000"}}, .commonE = 2100, .commonG = 900},
        {.screen = "mat1", .set = {{"txtE", "-5"}}, .after = {{"txtE", "2100.000"}}, .commonE = 2100, .commonG = 900},
        {.screen = "mat1", .set = {{"txtE", "0"}}, .result = false, .message = kYoung, .after = {{"txtE", "0"}}, .commonG = 900},
        {.screen = "mat1", .set = {{"txtγ", "0"}}, .result = false, .message = kShear, .commonE = 2100},
        {.screen = "mat1", .set = {{"txtγ", "0"}}, .after = {{"txtγ", "810.000"}}, .commonE = 2100, .commonG = 810},
        {.screen = "mat1", .set = {{"txtA", "0"}}, .result = false, .message = kInvalid},
        {.screen = "mat1", .set = {{"txtK", "-1"}}, .result = false, .message = kInvalid},
        {.screen = "mat1", .set = {{"txtIxx", "0"}}},
        // sections by shape
        {.screen = "mat2", .set = {{"txtNo", "1000"}}, .result = false, .message = "[材料定数2]で入力できる形状番号は  1001 から 9999 です。"},
        {.screen = "mat2", .set = {{"txtNo", "10000"}}, .result = false, .message = "[材料定数2]で入力できる形状番号は  1001 から 9999 です。"},
        {.screen = "mat2", .set = {{"txtTYP", "7"}}, .result = false, .message = kInvalid},
        {.screen = "mat2", .set = {{"txtP(3)", "-1"}}, .result = false, .message = kInvalid},
        {.screen = "mat2", .set = {{"txtφy", "0"}}, .result = false, .message = kInvalid},
        {.screen = "mat2", .set = {{"txtTYP", "4"}, {"txtE", "0"}, {"txtγ", "0"}}, .after = {{"txtE", "21000"}, {"txtγ", "8100"}, {"txtP(5)", "0.000"}, {"txtP(4)", "100"}}},
        {.screen = "mat2", .set = {{"txtTYP", "6"}, {"txtE", "0"}, {"txtγ", "-3"}}, .after = {{"txtE", "210"}, {"txtγ", "90"}}, .unitSI = false},
        {.screen = "mat2", .set = {{"txtTYP", "1"}, {"txtE", "0"}, {"txtγ", "0"}}, .after = {{"txtE", "2100"}, {"txtγ", "900"}, {"txtP(2)", "100"}, {"txtP(3)", "0.000"}}},
        {.screen = "mat2", .set = {{"txtTYP", "2"}, {"txtE", "0"}, {"txtγ", "0"}}, .after = {{"txtE", "2050.4"}, {"txtγ", "790"}}, .commonE = 2050.4f, .commonG = 790},
        {.screen = "mat2", .set = {{"txtTYP", "6"}}, .after = {{"txtP(1)", "100"}, {"txtP(2)", "0.000"}, {"txtP(5)", "0.000"}}},
        {.screen = "mat2", .set = {{"txtTYP", "3"}}, .after = {{"txtP(5)", "100"}}},
        // members
        {.screen = "elem", .set = {{"txtNo", "500"}}},
        {.screen = "elem", .set = {{"txtNo", "501"}}, .result = false, .message = kMember},
        {.screen = "elem", .set = {{"txtNo", "0"}}, .result = false, .message = kMember},
        {.screen = "elem", .set = {{"txtIT", "5"}, {"txtJT", "5"}}, .result = false, .message = kOrder},
        {.screen = "elem", .set = {{"txtIT", "6"}, {"txtJT", "5"}}, .result = false, .message = kOrder},
        {.screen = "elem", .set = {{"txtIT", "-1"}}, .result = false, .message = kInvalid},
        {.screen = "elem", .set = {{"txtJT", "40000"}}, .result = false, .message = kInvalid},
        {.screen = "elem", .set = {{"txt材料番号", "32768"}}, .result = false, .message = kInvalid},
        {.screen = "elem", .set = {{"txt材料番号", "32767"}}},
        // restraint types
        {.screen = "rshape", .set = {{"txtNo", "0"}}, .result = false, .message = kType1},
        {.screen = "rshape", .set = {{"txtNo", "10000"}}, .result = false, .message = kType1},
        {.screen = "rshape", .set = {{"txtu", "-1"}}, .result = false, .message = kInvalid},
        {.screen = "rshape", .set = {{"txtu", "abc"}}, .result = false, .message = kInvalid},
        {.screen = "rshape", .set = {{"txtu", "2.5"}, {"txtv", "1"}, {"txtw", "0"}, {"txtθx", "1.0"}, {"txtθy", "12.3456"}}, .after = {{"txtu", "2.500"}, {"txtv", "拘束"}, {"txtw", "自由"}, {"txtθx", "拘束"}, {"txtθy", "12.3456"}, {"txtθz", "自由"}}},
        {.screen = "rshape", .set = {{"txtu", " 拘束"}}, .result = false, .message = kInvalid},   // texts are compared as they stand
        // restraint placement
        {.screen = "rplace"},
        {.screen = "rplace", .set = {{"txtNo", "0"}}, .result = false, .message = kInvalid},
        {.screen = "rplace", .set = {{"txtNo", "40000"}}, .result = false, .message = kInvalid},
        {.screen = "rplace", .set = {{"txt拘束形状", "0"}}, .result = false, .message = kInvalid},
        {.screen = "rplace", .set = {{"txt節点番号(9)", "-1"}}, .result = false, .message = kInvalid},
        {.screen = "rplace", .set = {{"txt節点番号(3)", ""}}, .result = false, .message = kInvalid},
        {.screen = "rplace", .set = {{"txt節点番号(0)", "99999"}}, .result = false, .message = kInvalid},
        // member-end types
        {.screen = "eshape", .set = {{"txtNo", "0"}}, .result = false, .message = kType2},
        {.screen = "eshape", .set = {{"txtxMWR", "0.5"}}, .after = {{"txtxMWR", "ピン"}}},
        {.screen = "eshape", .set = {{"txtxMWR", "1"}}, .after = {{"txtxMWR", "剛"}}},
        {.screen = "eshape", .set = {{"txtxMWR", "3"}}, .after = {{"txtxMWR", "剛"}}},
        {.screen = "eshape", .set = {{"txtxMWR", "-1"}}, .result = false, .message = kInvalid},
        {.screen = "eshape", .set = {{"txtxMWR", "x"}}, .result = false, .message = kInvalid},
        {.screen = "eshape", .set = {{"txtyMWR", "0"}, {"txtzMWR", "2.5"}}, .after = {{"txtyMWR", "ピン"}, {"txtzMWR", "2.500"}}},
        {.screen = "eshape", .set = {{"txtzMWR", "-2"}}, .result = false, .message = kInvalid},
        {.screen = "eshape", .set = {{"txtxHKU", "anything"}}, .after = {{"txtxHKU", "anything"}}},
        // member-end placement
        {.screen = "eplace", .set = {{"txtNo", "10000"}}, .result = false, .message = kInvalid},
        {.screen = "eplace", .set = {{"txtJ端部形状", "0"}}, .result = false, .message = kInvalid},
        {.screen = "eplace", .set = {{"txt要素番号(4)", "-3"}}},
        {.screen = "eplace", .set = {{"txt要素番号(4)", "x"}}, .result = false, .message = kInvalid},
        {.screen = "eplace", .set = {{"txtI端部形状", "32768"}}, .result = false, .message = kInvalid},
        // load shapes
        {.screen = "lshape", .after = {{"txtP(1)", "1"}, {"txtP(2)", "0.000"}, {"txtP(7)", "0.000"}}},
        {.screen = "lshape", .set = {{"txtNo", "0"}}, .result = false, .message = kType2},
        {.screen = "lshape", .set = {{"cbo座標系", "--------"}}, .result = false, .message = kInvalid},
        {.screen = "lshape", .set = {{"txtCase", "11"}}, .result = false, .message = kInvalid},
        {.screen = "lshape", .set = {{"txtP(6)", "x"}}, .result = false, .message = kInvalid},
        {.screen = "lshape", .set = {{"txtP(6)", "-4"}}, .after = {{"txtP(6)", "0.000"}}},
        {.screen = "lshape", .set = {{"txtTYP", "1"}, {"cbo座標系", "X 絶対系"}}, .after = {{"txtP(6)", "1"}, {"txtP(7)", "0.000"}}},
        {.screen = "lshape", .set = {{"txtTYP", "1"}, {"cbo座標系", "y 部材系"}}, .result = false, .message = kTypeOne},
        {.screen = "lshape", .set = {{"txtTYP", "2"}, {"cbo座標系", "X 絶対系"}}, .result = false, .message = kTypeTwo},
        {.screen = "lshape", .set = {{"txtTYP", "2"}, {"cbo座標系", "y 部材系"}}, .after = {{"txtP(7)", "1"}}},
        {.screen = "lshape", .set = {{"txtTYP", "10"}, {"txtP(2)", "4"}}, .result = false, .message = kCount},
        {.screen = "lshape", .set = {{"txtTYP", "20"}, {"txtP(2)", "-0.5"}}, .result = false, .message = kCount},
        {.screen = "lshape", .set = {{"txtTYP", "10"}, {"txtP(2)", "3"}}, .after = {{"txtP(7)", "1"}}},
        {.screen = "lshape", .set = {{"txtTYP", "8"}}, .after = {{"txtP(2)", "1"}, {"txtP(3)", "0.000"}}},
        {.screen = "lshape", .set = {{"txtTYP", "4"}}, .after = {{"txtP(4)", "1"}, {"txtP(5)", "0.000"}}},
        {.screen = "lshape", .set = {{"txtTYP", "2.5"}}, .result = false, .message = kInvalid},
        {.screen = "lshape", .set = {{"txtTYP", "40000"}}, .result = false, .message = kInvalid},
        {.screen = "lshape", .set = {{"txtTYP", ""}}, .result = false, .message = kInvalid},
        // load placement
        {.screen = "lplace"},
        {.screen = "lplace", .set = {{"txt荷重形状", "-1"}}, .result = false, .message = kInvalid},
        {.screen = "lplace", .set = {{"txt(10)", "-1"}}, .result = false, .message = kInvalid},
        {.screen = "lplace", .set = {{"txt(1)", "70000"}}, .result = false, .message = kInvalid},

    };
    return c;
}

class CheckRules : public ::testing::TestWithParam<Case> {};

TEST_P(CheckRules, MessageAndWrittenBack)
{
    const Case& c = GetParam();
    const ScreenDefaults& d = Screens().at(c.screen);
    CheckInputs in{.commonE = c.commonE, .commonG = c.commonG, .unitIsSI = c.unitSI};
    for (const auto& [b, v] : d.boxes) in.texts[b] = v;
    for (const auto& [b, v] : c.set) in.texts[b] = v;

    const CheckVerdict verdict = d.check(in);
    EXPECT_EQ(verdict.accepted, c.result);
    EXPECT_EQ(verdict.message, c.message);
    EXPECT_TRUE(verdict.question.isEmpty());
    BoxTexts after = in.texts;
    for (const auto& [b, v] : verdict.writeBacks) after[b] = v;
    for (const auto& [b, v] : c.after) EXPECT_EQ(after.at(b), v) << b.toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllChecks, CheckRules, ::testing::ValuesIn(Cases()));

// A refusal shows its message after a beep, with the information icon, once
// its texts are in the boxes; an accepted entry without a message is silent.
TEST(CheckAdapter, ShowsTheVerdictOnTheWindow)
{
    TestWindow w("frm節点座標1", {"txtNo", "txtX", "txtY", "txtZ"});
    for (const char* b : {"txtNo", "txtY", "txtZ"}) w.Set(b, "1");
    auto& script = testenv::ResetScript();
    EXPECT_FALSE(ShowCheckVerdict(&w, {.accepted = false, .message = kInvalid, .writeBacks = {{"txtX", "0.000"}}}));
    EXPECT_EQ(script.messages, QStringList{Info(kInvalid)});
    EXPECT_EQ(script.beeps, 1);
    EXPECT_EQ(w.Get("txtX"), "0.000");

    auto& quiet = testenv::ResetScript();
    EXPECT_TRUE(RunInputCheck(&w, &CheckNodeInput));
    EXPECT_TRUE(quiet.messages.isEmpty());
    EXPECT_EQ(quiet.beeps, 0);
}

// The load-case question raises the stored count on Yes and keeps it on No.
class LoadCaseRaise : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeEmptyDatabase();
        AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
                   {{rt::Variant::Text("P"), rt::Variant::Text(" "), rt::Variant::Text(" "), rt::Variant::Text("True"),
                     rt::Variant::Integer(3), rt::Variant::Double(21000), rt::Variant::Double(8100)}});
        QStringList names;
        for (const auto& [b, v] : Screens().at("lshape").boxes) names << b;
        w = std::make_unique<TestWindow>("frm荷重形状", names);
        for (const auto& [b, v] : Screens().at("lshape").boxes) w->Set(b, v);
        w->Set("txtCase", "4");
    }
    std::unique_ptr<TestWindow> w;
    const QString question = QStringLiteral(
        "message=information|入力した荷重ケース数（4）が「基本データ」で入力した荷重ケース数（3）を超えています。\r\n\r\n"
        "「基本データ」の荷重ケース数を4に変更しますか？\r\n\r\n「いいえ」の場合は再入力となります。");
};

TEST_F(LoadCaseRaise, YesStoresTheCountAndPasses)
{
    auto& script = testenv::ResetScript();
    script.answers = {ui::Answer::Yes};
    EXPECT_TRUE(RunInputCheck(w.get(), &CheckLoadShapeInput));
    EXPECT_EQ(script.messages, QStringList{question});
    EXPECT_EQ(Rows("基本データ", {"Case"}, ""), QStringList{"4"});
    EXPECT_EQ(w->Get("lblCase"), "4");
}

TEST_F(LoadCaseRaise, NoChangesNothing)
{
    auto& script = testenv::ResetScript();
    script.answers = {ui::Answer::No};
    EXPECT_FALSE(RunInputCheck(w.get(), &CheckLoadShapeInput));
    EXPECT_EQ(script.messages, QStringList{question});
    EXPECT_EQ(Rows("基本データ", {"Case"}, ""), QStringList{"3"});
    EXPECT_EQ(w->Get("lblCase"), "3");
}

TEST_F(LoadCaseRaise, RaiseStaysWhenALaterRuleFails)
{
    w->Set("txtTYP", "10");
    w->Set("txtP(2)", "5");
    auto& script = testenv::ResetScript();
    script.answers = {ui::Answer::Yes};
    EXPECT_FALSE(RunInputCheck(w.get(), &CheckLoadShapeInput));
    EXPECT_EQ(script.messages.size(), 2);
    EXPECT_EQ(Rows("基本データ", {"Case"}, ""), QStringList{"4"});
}

}  // namespace
