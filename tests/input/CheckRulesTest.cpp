// Every input check as a table of cases: the entries, the result, the one
// message shown (exact text and icon) and the texts written back.
#include "input/InputTestSupport.h"
#include "input/InputValidation.h"

#include <functional>
#include <memory>

using namespace inputtest;

namespace {

using Boxes = std::vector<std::pair<QString, QString>>;

struct ScreenDefaults {
    QString form;
    Boxes boxes;   // valid entries
    std::function<bool(float, float)> check;
};

Boxes WithArray(Boxes b, const QString& name, int first, int last, const QString& value)
{
    for (int i = first; i <= last; ++i) b.push_back({ControlName(name, i), value});
    return b;
}

const std::map<QString, ScreenDefaults>& Screens()
{
    static const std::map<QString, ScreenDefaults> s = {
        {"basic", {"frm基本データ",
                   {{"txt工事名", "Project"}, {"txt設計者", "D"}, {"txtNote", "N"}, {"txtCase", "3"}, {"txtE", "21000"}, {"txtγ", "8100"}},
                   [](float, float) { return CheckBasicDataInput(); }}},
        {"node", {"frm節点座標1", {{"txtNo", "1"}, {"txtX", "0.000"}, {"txtY", "0.000"}, {"txtZ", "0.000"}},
                  [](float, float) { return CheckNodeInput(); }}},
        {"mat1", {"frm材料定数1",
                  {{"txtNo", "1"}, {"txtE", "2100"}, {"txtγ", "900"}, {"txtA", "10"}, {"txtIxx", "1"}, {"txtIyy", "1"}, {"txtK", "1"}},
                  [](float e, float g) { return CheckMaterial1Input(e, g); }}},
        {"mat2", {"frm材料定数2",
                  WithArray({{"txtNo", "1001"}, {"txtTYP", "2"}, {"txtφx", "1"}, {"txtφy", "1"}, {"txtE", "21000"}, {"txtγ", "8100"}},
                            "txtP", 1, 5, "100"),
                  [](float e, float g) { return CheckMaterial2Input(e, g); }}},
        {"elem", {"frm要素情報", {{"txtNo", "1"}, {"txtIT", "1"}, {"txtJT", "2"}, {"txt材料番号", "1"}},
                  [](float, float) { return CheckElementInput(); }}},
        {"rshape", {"frm節点拘束形状",
                    {{"txtNo", "1"}, {"txtu", "拘束"}, {"txtv", "拘束"}, {"txtw", "拘束"}, {"txtθx", "自由"}, {"txtθy", "自由"}, {"txtθz", "自由"}},
                    [](float, float) { return CheckRestraintShapeInput(); }}},
        {"rplace", {"frm節点拘束配置", WithArray({{"txtNo", "1"}, {"txt拘束形状", "1"}}, "txt節点番号", 0, 9, "0"),
                    [](float, float) { return CheckRestraintPlacementInput(); }}},
        {"eshape", {"frm要素端部形状",
                    {{"txtNo", "1"}, {"txtxMWR", "剛"}, {"txtyMWR", "剛"}, {"txtzMWR", "剛"}, {"txtxHKU", "剛"}, {"txtyHKU", "剛"}, {"txtzHKU", "剛"}},
                    [](float, float) { return CheckEndShapeInput(); }}},
        {"eplace", {"frm要素端部配置", WithArray({{"txtNo", "1"}, {"txtI端部形状", "1"}, {"txtJ端部形状", "1"}}, "txt要素番号", 0, 9, "0"),
                    [](float, float) { return CheckEndPlacementInput(); }}},
        {"lshape", {"frm荷重形状",
                    WithArray({{"txtNo", "1"}, {"cbo座標系", "z 部材系"}, {"txtCase", "1"}, {"txtTYP", "3"}, {"lblCase", "3"}}, "txtP", 1, 7, "1"),
                    [](float, float) { return CheckLoadShapeInput(); }}},
        {"lplace", {"frm荷重配置", WithArray({{"txtNo", ""}, {"txt荷重形状", "1"}}, "txt", 1, 10, "0"),
                    [](float, float) { return CheckLoadPlacementInput(); }}},
    };
    return s;
}

struct Case {
    const char* screen;
    Boxes set;
    bool result;
    QString message;   // the one message expected ("" none), icon included
    Boxes after;       // texts expected afterwards
    float commonE = 0, commonG = 0;
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
        {"basic", {}, true, "", {{"txt設計者", "D"}}},
        {"basic", {{"txt工事名", "   "}}, false, Info("工事名が入力されていません")},
        {"basic", {{"txt工事名", " ********** "}}, false, Info("工事名が不正です。他の工事名を入力して下さい。")},
        {"basic", {{"txt設計者", ""}, {"txtNote", "  "}}, true, "", {{"txt設計者", " "}, {"txtNote", " "}}},
        {"basic", {{"txt設計者", ""}, {"txtCase", "11"}}, false, Info(kInvalid), {{"txt設計者", " "}}},
        {"basic", {{"txtCase", "0"}}, false, Info(kInvalid)},
        {"basic", {{"txtCase", "2.5"}}, true, ""},
        {"basic", {{"txtCase", ""}}, false, Info(kInvalid)},
        {"basic", {{"txtE", "-1"}}, false, Info(kInvalid)},
        {"basic", {{"txtγ", "1e39"}}, false, Info(kInvalid)},   // does not fit a Single
        // node
        {"node", {{"txtNo", "300"}}, true, ""},
        {"node", {{"txtNo", "301"}}, false, Info(kNode)},
        {"node", {{"txtNo", "0"}}, false, Info(kNode)},
        {"node", {{"txtNo", "abc"}}, false, Info(kInvalid)},
        {"node", {{"txtNo", "1,0"}}, false, Info(kInvalid)},      // no thousands separators
        {"node", {{"txtNo", "&H10"}}, false, Info(kInvalid)},     // no hexadecimal
        {"node", {{"txtX", "$5"}}, false, Info(kInvalid)},        // no currency
        {"node", {{"txtX", "-1.5e2"}, {"txtY", " 2 "}}, true, ""},
        {"node", {{"txtZ", ""}}, false, Info(kInvalid)},
        {"node", {{"txtZ", "1e40"}}, false, Info(kInvalid)},
        // sections by properties
        {"mat1", {{"txtNo", "0"}}, true, ""},
        {"mat1", {{"txtNo", "999"}}, true, ""},
        {"mat1", {{"txtNo", "1000"}}, false, Info("[材料定数1]で入力できる形状番号は 999以下です。")},
        {"mat1", {{"txtNo", "-40000"}}, false, Info(kInvalid)},
        {"mat1", {{"txtE", "0"}}, true, "", {{"txtE", "2100.000"}}, 2100, 900},
        {"mat1", {{"txtE", "-5"}}, true, "", {{"txtE", "2100.000"}}, 2100, 900},
        {"mat1", {{"txtE", "0"}}, false, Info(kYoung), {{"txtE", "0"}}, 0, 900},
        {"mat1", {{"txtγ", "0"}}, false, Info(kShear), {}, 2100, 0},
        {"mat1", {{"txtγ", "0"}}, true, "", {{"txtγ", "810.000"}}, 2100, 810},
        {"mat1", {{"txtA", "0"}}, false, Info(kInvalid)},
        {"mat1", {{"txtK", "-1"}}, false, Info(kInvalid)},
        {"mat1", {{"txtIxx", "0"}}, true, ""},
        // sections by shape
        {"mat2", {{"txtNo", "1000"}}, false, Info("[材料定数2]で入力できる形状番号は  1001 から 9999 です。")},
        {"mat2", {{"txtNo", "10000"}}, false, Info("[材料定数2]で入力できる形状番号は  1001 から 9999 です。")},
        {"mat2", {{"txtTYP", "7"}}, false, Info(kInvalid)},
        {"mat2", {{"txtP(3)", "-1"}}, false, Info(kInvalid)},
        {"mat2", {{"txtφy", "0"}}, false, Info(kInvalid)},
        {"mat2", {{"txtTYP", "4"}, {"txtE", "0"}, {"txtγ", "0"}}, true, "", {{"txtE", "21000"}, {"txtγ", "8100"}, {"txtP(5)", "0.000"}, {"txtP(4)", "100"}}},
        {"mat2", {{"txtTYP", "6"}, {"txtE", "0"}, {"txtγ", "-3"}}, true, "", {{"txtE", "210"}, {"txtγ", "90"}}, 0, 0, false},
        {"mat2", {{"txtTYP", "1"}, {"txtE", "0"}, {"txtγ", "0"}}, true, "", {{"txtE", "2100"}, {"txtγ", "900"}, {"txtP(2)", "100"}, {"txtP(3)", "0.000"}}},
        {"mat2", {{"txtTYP", "2"}, {"txtE", "0"}, {"txtγ", "0"}}, true, "", {{"txtE", "2050"}, {"txtγ", "790"}}, 2050.4f, 790},
        {"mat2", {{"txtTYP", "6"}}, true, "", {{"txtP(1)", "100"}, {"txtP(2)", "0.000"}, {"txtP(5)", "0.000"}}},
        {"mat2", {{"txtTYP", "3"}}, true, "", {{"txtP(5)", "100"}}},
        // members
        {"elem", {{"txtNo", "500"}}, true, ""},
        {"elem", {{"txtNo", "501"}}, false, Info(kMember)},
        {"elem", {{"txtNo", "0"}}, false, Info(kMember)},
        {"elem", {{"txtIT", "5"}, {"txtJT", "5"}}, false, Info(kOrder)},
        {"elem", {{"txtIT", "6"}, {"txtJT", "5"}}, false, Info(kOrder)},
        {"elem", {{"txtIT", "-1"}}, false, Info(kInvalid)},
        {"elem", {{"txtJT", "40000"}}, false, Info(kInvalid)},
        {"elem", {{"txt材料番号", "32768"}}, false, Info(kInvalid)},
        {"elem", {{"txt材料番号", "32767"}}, true, ""},
        // restraint types
        {"rshape", {{"txtNo", "0"}}, false, Info(kType1)},
        {"rshape", {{"txtNo", "10000"}}, false, Info(kType1)},
        {"rshape", {{"txtu", "-1"}}, false, Info(kInvalid)},
        {"rshape", {{"txtu", "abc"}}, false, Info(kInvalid)},
        {"rshape", {{"txtu", "2.5"}, {"txtv", "1"}, {"txtw", "0"}, {"txtθx", "1.0"}, {"txtθy", "12.3456"}}, true, "",
         {{"txtu", "2.500"}, {"txtv", "拘束"}, {"txtw", "自由"}, {"txtθx", "拘束"}, {"txtθy", "12.346"}, {"txtθz", "自由"}}},
        {"rshape", {{"txtu", " 拘束"}}, false, Info(kInvalid)},   // texts are compared as they stand
        // restraint placement
        {"rplace", {}, true, ""},
        {"rplace", {{"txtNo", "0"}}, false, Info(kInvalid)},
        {"rplace", {{"txtNo", "40000"}}, false, Info(kInvalid)},
        {"rplace", {{"txt拘束形状", "0"}}, false, Info(kInvalid)},
        {"rplace", {{"txt節点番号(9)", "-1"}}, false, Info(kInvalid)},
        {"rplace", {{"txt節点番号(3)", ""}}, false, Info(kInvalid)},
        {"rplace", {{"txt節点番号(0)", "99999"}}, false, Info(kInvalid)},
        // member-end types
        {"eshape", {{"txtNo", "0"}}, false, Info(kType2)},
        {"eshape", {{"txtxMWR", "0.5"}}, true, "", {{"txtxMWR", "ピン"}}},
        {"eshape", {{"txtxMWR", "1"}}, true, "", {{"txtxMWR", "剛"}}},
        {"eshape", {{"txtxMWR", "3"}}, true, "", {{"txtxMWR", "剛"}}},
        {"eshape", {{"txtxMWR", "-1"}}, false, Info(kInvalid)},
        {"eshape", {{"txtxMWR", "x"}}, false, Info(kInvalid)},
        {"eshape", {{"txtyMWR", "0"}, {"txtzMWR", "2.5"}}, true, "", {{"txtyMWR", "ピン"}, {"txtzMWR", "2.500"}}},
        {"eshape", {{"txtzMWR", "-2"}}, false, Info(kInvalid)},
        {"eshape", {{"txtxHKU", "anything"}}, true, "", {{"txtxHKU", "anything"}}},
        // member-end placement
        {"eplace", {{"txtNo", "10000"}}, false, Info(kInvalid)},
        {"eplace", {{"txtJ端部形状", "0"}}, false, Info(kInvalid)},
        {"eplace", {{"txt要素番号(4)", "-3"}}, true, ""},
        {"eplace", {{"txt要素番号(4)", "x"}}, false, Info(kInvalid)},
        {"eplace", {{"txtI端部形状", "32768"}}, false, Info(kInvalid)},
        // load shapes
        {"lshape", {}, true, "", {{"txtP(1)", "1"}, {"txtP(2)", "0.000"}, {"txtP(7)", "0.000"}}},
        {"lshape", {{"txtNo", "0"}}, false, Info(kType2)},
        {"lshape", {{"cbo座標系", "--------"}}, false, Info(kInvalid)},
        {"lshape", {{"txtCase", "11"}}, false, Info(kInvalid)},
        {"lshape", {{"txtP(6)", "x"}}, false, Info(kInvalid)},
        {"lshape", {{"txtP(6)", "-4"}}, true, "", {{"txtP(6)", "0.000"}}},
        {"lshape", {{"txtTYP", "1"}, {"cbo座標系", "X 絶対系"}}, true, "", {{"txtP(6)", "1"}, {"txtP(7)", "0.000"}}},
        {"lshape", {{"txtTYP", "1"}, {"cbo座標系", "y 部材系"}}, false, Info(kTypeOne)},
        {"lshape", {{"txtTYP", "2"}, {"cbo座標系", "X 絶対系"}}, false, Info(kTypeTwo)},
        {"lshape", {{"txtTYP", "2"}, {"cbo座標系", "y 部材系"}}, true, "", {{"txtP(7)", "1"}}},
        {"lshape", {{"txtTYP", "10"}, {"txtP(2)", "4"}}, false, Info(kCount)},
        {"lshape", {{"txtTYP", "20"}, {"txtP(2)", "-0.5"}}, false, Info(kCount)},
        {"lshape", {{"txtTYP", "10"}, {"txtP(2)", "3"}}, true, "", {{"txtP(7)", "1"}}},
        {"lshape", {{"txtTYP", "8"}}, true, "", {{"txtP(2)", "1"}, {"txtP(3)", "0.000"}}},
        {"lshape", {{"txtTYP", "4"}}, true, "", {{"txtP(4)", "1"}, {"txtP(5)", "0.000"}}},
        {"lshape", {{"txtTYP", "2.5"}}, false, Info(kInvalid)},
        {"lshape", {{"txtTYP", "40000"}}, false, Info(kInvalid)},
        {"lshape", {{"txtTYP", ""}}, false, Info(kInvalid)},
        // load placement
        {"lplace", {}, true, ""},
        {"lplace", {{"txt荷重形状", "-1"}}, false, Info(kInvalid)},
        {"lplace", {{"txt(10)", "-1"}}, false, Info(kInvalid)},
        {"lplace", {{"txt(1)", "70000"}}, false, Info(kInvalid)},
    };
    return c;
}

class CheckRules : public ::testing::TestWithParam<Case> {};

TEST_P(CheckRules, MessageAndWrittenBack)
{
    const Case& c = GetParam();
    const ScreenDefaults& d = Screens().at(c.screen);
    QStringList names;
    for (const auto& [b, v] : d.boxes) names << b;
    TestWindow w(d.form, names);
    for (const auto& [b, v] : d.boxes) w.Set(b, v);
    for (const auto& [b, v] : c.set) w.Set(b, v);
    Program().UnitIsSI = c.unitSI;
    auto& script = testenv::ResetScript();

    EXPECT_EQ(d.check(c.commonE, c.commonG), c.result);
    if (c.message.isEmpty()) {
        EXPECT_TRUE(script.messages.isEmpty()) << script.messages.join("\n").toStdString();
        EXPECT_EQ(script.beeps, 0);
    } else {
        EXPECT_EQ(script.messages, QStringList{c.message});
        EXPECT_EQ(script.beeps, 1);
    }
    for (const auto& [b, v] : c.after) EXPECT_EQ(w.Get(b), v) << b.toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllChecks, CheckRules, ::testing::ValuesIn(Cases()));

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
    EXPECT_TRUE(CheckLoadShapeInput());
    EXPECT_EQ(script.messages, QStringList{question});
    EXPECT_EQ(Rows("基本データ", {"Case"}, ""), QStringList{"4"});
    EXPECT_EQ(w->Get("lblCase"), "4");
}

TEST_F(LoadCaseRaise, NoChangesNothing)
{
    auto& script = testenv::ResetScript();
    script.answers = {ui::Answer::No};
    EXPECT_FALSE(CheckLoadShapeInput());
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
    EXPECT_FALSE(CheckLoadShapeInput());
    EXPECT_EQ(script.messages.size(), 2);
    EXPECT_EQ(Rows("基本データ", {"Case"}, ""), QStringList{"4"});
}

}  // namespace
