// The basic data screen: defaults, register, the unit captions and the
// conversion of the stored model between SI and gravitational units.
#include "core/WindowHelpers.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "platform/Settings.h"
#include "screens/BasicDataScreen.h"
#include "screens/ScreenTestSupport.h"
#include "app/frmMainmenu.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

using namespace inputtest;
using namespace screentest;
using rt::Variant;

namespace {

class BasicData : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainMenu = PrepareScreenTest([this] { ++menuShown; });
    }
    void Open()
    {
        Program().ScreenCode = ScreenBasicData;
        ASSERT_TRUE(StartInputForm());
        s = dynamic_cast<frm基本データ*>(Program().CurrentInputForm.data());
        ASSERT_NE(s, nullptr);
        script = &testenv::ResetScript();
    }
    void StoreBasicRow(const char* unit, const char* designer = " ")
    {
        AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
                   {{Variant::Text("Tower"), Variant::Text(designer), Variant::Text(" "), Variant::Text(unit), Variant::Integer(2),
                     Variant::Double(21000), Variant::Double(8100)}});
    }
    frm基本データ* s = nullptr;
    ui::ScriptedServices* script = nullptr;
    int menuShown = 0;
    MainMenuHook mainMenu;
};

TEST_F(BasicData, EmptyTableOpensWithTheDefaults)
{
    Program().UnitIsSI = false;
    Open();
    EXPECT_EQ(s->windowTitle(), "ZELKOVA  ver 1.41　1．基本データ");
    EXPECT_EQ(s->txt工事名->text(), "");
    EXPECT_EQ(s->txtCase->text(), "1");
    EXPECT_EQ(s->txtE->text(), "21000");
    EXPECT_EQ(s->txtγ->text(), "8100");
    EXPECT_EQ(s->txtGravity->text(), "9.80665");
    EXPECT_TRUE(s->opnSelectG[0]->isChecked());
    EXPECT_TRUE(Program().UnitIsSI);
    EXPECT_EQ(s->lblCurrentUnit->text(), " SI");
    EXPECT_EQ(s->cmdDataTrans->text(), "CGS単位に変換");
    EXPECT_EQ(s->lblPYe->text(), "(kN/cm2)");
    EXPECT_EQ(s->Label11->text(), "RCの場合は 900、Sの場合は 8100(kN/cm2)");
    EXPECT_EQ(s->lblCase->text(), "荷重ケース数 (1 ～ 10)");
    EXPECT_EQ(s->Cmd登録->toolTip(), "この画面で実行したデータの編集を決定します");
    EXPECT_FALSE(s->ScreenDatabase);   // open only while loading, converting and registering
    EXPECT_EQ(s->txtGravity->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(s->cmdDataTrans->focusPolicy(), Qt::ClickFocus);
}

TEST_F(BasicData, RegisterStoresOneRowAndTheMenuShowsTheProject)
{
    mainMenu.Replace(nullptr);   // the real main menu
    Open();
    Retype(s->txt工事名, "  Bridge A ");
    FocusOut(s->txt工事名);
    EXPECT_EQ(s->txt工事名->text(), "Bridge A");
    Click(s->Cmd登録);
    EXPECT_TRUE(script->messages.isEmpty()) << script->messages.join("\n").toStdString();
    EXPECT_EQ(Rows("基本データ", {"工事名", "設計者", "Note", "Case", "E", "γ", "Unit"}, ""),
              QStringList{"Bridge A| | |1|21000|8100|True"});
    EXPECT_FALSE(QFile::exists(kBackupDatabase));
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "False");
    ASSERT_TRUE(MainMenuLoaded());
    EXPECT_EQ(MainMenuForm().lblConstructionName->text(), "Bridge A");
}

TEST_F(BasicData, RegisterRefusesAMissingProjectName)
{
    Open();
    Click(s->Cmd登録);
    EXPECT_EQ(script->messages, QStringList{Info("工事名が入力されていません")});
    EXPECT_TRUE(s->IsLoaded());
    s->txt工事名->setText("**********");
    Click(s->Cmd登録);
    EXPECT_EQ(script->messages.last(), Info("工事名が不正です。他の工事名を入力して下さい。"));
    EXPECT_TRUE(Rows("基本データ", {"工事名"}, "").isEmpty());
}

TEST_F(BasicData, OneSpaceShowsEmptyAndIsStoredAgain)
{
    StoreBasicRow("False");
    Open();
    EXPECT_EQ(s->txt工事名->text(), "Tower");
    EXPECT_EQ(s->txt設計者->text(), "");
    EXPECT_EQ(s->txtCase->text(), "2");
    EXPECT_FALSE(Program().UnitIsSI);
    EXPECT_EQ(s->lblCurrentUnit->text(), " CGS");
    EXPECT_EQ(s->cmdDataTrans->text(), "SI単位に変換");
    EXPECT_EQ(s->Label11->text(), "RCの場合は 90、Sの場合は 810(t/cm2)");
    s->Cmd登録_Click();
    EXPECT_EQ(Rows("基本データ", {"設計者", "Note", "Unit"}, ""), QStringList{" | |False"});
}

TEST_F(BasicData, KeysOfTheEntryBoxes)
{
    Open();
    Click(s->txtCase);
    s->txtCase->clear();
    Type(s->txtCase, "1.a5");
    EXPECT_EQ(s->txtCase->text(), "15");
    EXPECT_EQ(script->beeps, 2);
    SendKey(s->txtCase, Qt::Key_Escape, "\x1b");   // refused as any other key
    EXPECT_EQ(s->txtCase->text(), "15");
    EXPECT_EQ(script->beeps, 3);
    SendKey(s->txtCase, Qt::Key_Down);
    EXPECT_EQ(s->focusWidget(), s->txtE);
    SendKey(s->txtγ, Qt::Key_Return);
    EXPECT_EQ(s->focusWidget(), s->txt工事名);
    SendKey(s->txt工事名, Qt::Key_Up);
    EXPECT_EQ(s->focusWidget(), s->txtγ);
    Click(s->txtGravity);
    s->txtGravity->clear();
    Type(s->txtGravity, "9.8");
    FocusOut(s->txtGravity);
    EXPECT_EQ(s->txtGravity->text(), "9.80000");
    Click(s->opnSelectG[1], QPoint(6, s->opnSelectG[1]->height() / 2));
    EXPECT_EQ(s->txtGravity->text(), "10.00000");
    Click(s->opnSelectG[0], QPoint(6, s->opnSelectG[0]->height() / 2));
    EXPECT_EQ(s->txtGravity->text(), "9.80665");
}

// ---- unit conversion ----------------------------------------------------------

class Conversion : public BasicData {
protected:
    void SetUp() override
    {
        BasicData::SetUp();
        StoreBasicRow("True");
        AppendRows("材料定数1", {"No_", "E", "γ", "A", "順"},
                   {{Variant::Integer(1), Variant::Double(2100), Variant::Double(900), Variant::Double(12.5), Variant::Integer(1)},
                    {Variant::Integer(2), Variant(), Variant::Double(810), Variant::Double(3), Variant::Integer(2)}});
        AppendRows("材料定数2", {"No_", "TYP", "fld_01", "E", "γ", "順"},
                   {{Variant::Integer(1001), Variant::Integer(2), Variant::Double(300), Variant::Double(21000), Variant::Double(8100),
                     Variant::Integer(1)}});
        AppendRows("節点拘束形状", {"No_", "u", "v", "w", "θx", "θy", "θz", "順"},
                   {{Variant::Integer(1), Variant::Text("拘束"), Variant::Text("自由"), Variant::Text("500.000"),
                     Variant::Text("1234.567"), Variant::Text("0.004"), Variant::Text("自由"), Variant::Integer(1)}});
        AppendRows("要素端部形状", {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", "順"},
                   {{Variant::Integer(1), Variant::Text("剛"), Variant::Text("123"), Variant::Text("剛"), Variant::Text("ピン"),
                     Variant::Text("250.000"), Variant::Text("剛"), Variant::Integer(1)}});
        std::vector<std::vector<Variant>> loads;
        int16_t no = 1;
        for (int typ : types) {
            std::vector<Variant> row{Variant::Integer(no), Variant::Integer(int16_t(typ)), Variant::Integer(1), Variant::Text("z 部材系")};
            for (int k = 1; k <= 7; ++k) row.push_back(Variant::Double(10 * k + 0.5));
            row.push_back(Variant::Integer(no));
            loads.push_back(row);
            ++no;
        }
        QStringList fields{"No_", "TYP", "Case", "座標系"};
        for (int k = 1; k <= 7; ++k) fields << QStringLiteral("fld_%1").arg(k, 2, 10, QLatin1Char('0'));
        fields << "順";
        AppendRows("荷重形状", fields, loads);
        AddNodes(2);
        reg::SaveSetting("Public", "AnalyzeFinish", "True");
    }

    // Load parameters with a force unit, by type.
    static bool Converted(int typ, int k)
    {
        switch (typ) {
        case 1: return k <= 6;
        case 2: return true;
        case 3: case 4: case 14: case 8: return k == 1;
        case 5: case 15: case 6: case 16: return k <= 2;
        case 7: case 17: case 9: case 19: return k <= 3;
        case 10: case 20: return k == 1 || k == 3;
        default: return false;
        }
    }
    std::vector<std::vector<double>> Loads()
    {
        std::vector<std::vector<double>> out;
        QStringList fields;
        for (int k = 1; k <= 7; ++k) fields << QStringLiteral("fld_%1").arg(k, 2, 10, QLatin1Char('0'));
        for (const QString& r : Rows("荷重形状", fields)) {
            std::vector<double> v;
            for (const QString& t : r.split('|')) v.push_back(t.toDouble());
            out.push_back(v);
        }
        return out;
    }
    void Convert(const QString& gravity)
    {
        s->txtGravity->setText(gravity);
        script->answers = {ui::Answer::Yes};
        Click(s->cmdDataTrans);
    }

    const std::vector<int> types{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15, 16, 17, 18, 19, 20, 11};
};

TEST_F(Conversion, SiToGravitationalAndBackGivesEveryFieldBack)
{
    Open();
    const QString nodesBefore = Rows("節点座標1", {"No_", "X", "Y", "Z"}).join(';');
    const auto before = Loads();
    Convert("9.80665");
    EXPECT_EQ(script->messages,
              QStringList{Question("重力定数：9.80665 m/s2 でCGS単位に変換します。よろしいですか？\r\n"
                                   "単位変換した後は現在のデータに対して計算処理を実行して下さい。")});
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "False");
    EXPECT_FALSE(Program().UnitIsSI);
    EXPECT_EQ(s->lblCurrentUnit->text(), " CGS");
    EXPECT_EQ(s->lblPG->text(), "(t/cm2)");
    EXPECT_EQ(s->txtE->text(), "2100");
    EXPECT_EQ(s->txtγ->text(), "810");
    EXPECT_TRUE(s->isEnabled());

    const auto cgs = Loads();
    for (size_t r = 0; r < types.size(); ++r)
        for (int k = 1; k <= 7; ++k) {
            const double expected = Converted(types[r], k) ? before[r][k - 1] / 9.80665 : before[r][k - 1];
            EXPECT_NEAR(cgs[r][k - 1], expected, std::fabs(expected) * 1e-6) << "type " << types[r] << " P" << k;
        }
    EXPECT_EQ(Rows("材料定数1", {"E", "γ", "A"}), QStringList({"210|90|12.5", "|81|3"}));
    EXPECT_EQ(Rows("材料定数2", {"E", "γ", "fld_01"}), QStringList{"2100|810|300"});
    EXPECT_EQ(Rows("節点拘束形状", {"u", "v", "w", "θx", "θy", "θz"}), QStringList{"拘束|自由|50.98581|125.8908|0.0004078865|自由"});
    EXPECT_EQ(Rows("要素端部形状", {"xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR"}), QStringList{"剛|123|剛|ピン|25.4929|剛"});
    EXPECT_EQ(Rows("基本データ", {"Unit"}, ""), QStringList{"True"});   // the row changes only on register

    script->messages.clear();
    Convert("9.80665");
    EXPECT_EQ(script->messages.first(),
              Question("重力定数：9.80665 m/s2 でSI単位に変換します。よろしいですか？\r\n"
                       "単位変換した後は現在のデータに対して計算処理を実行して下さい。"));
    EXPECT_TRUE(Program().UnitIsSI);
    EXPECT_EQ(s->txtE->text(), "21000");
    const auto back = Loads();
    for (size_t r = 0; r < types.size(); ++r)
        for (int k = 1; k <= 7; ++k) {
            const float stored = static_cast<float>(before[r][k - 1]);
            EXPECT_NEAR(back[r][k - 1], stored, std::fabs(stored) * 2e-7 * 4) << "type " << types[r] << " P" << k;
            if (!Converted(types[r], k)) {
                EXPECT_EQ(back[r][k - 1], before[r][k - 1]);
            }
        }
    EXPECT_EQ(Rows("材料定数1", {"E", "γ"}), QStringList({"2100|900", "|810"}));
    EXPECT_EQ(Rows("材料定数2", {"E", "γ"}), QStringList{"21000|8100"});
    // Springs come back at their precision, the small one a spring still.
    const QStringList springs = Rows("節点拘束形状", {"w", "θx", "θy"}).first().split('|');
    EXPECT_NEAR(springs[0].toDouble(), 500, 0.006);
    EXPECT_NEAR(springs[1].toDouble(), 1234.567, 0.006);
    EXPECT_NEAR(springs[2].toDouble(), 0.004, 1e-9);
    EXPECT_EQ(Rows("節点座標1", {"No_", "X", "Y", "Z"}).join(';'), nodesBefore);

    s->Cmd登録_Click();
    EXPECT_EQ(Rows("基本データ", {"Unit", "E"}, ""), QStringList{"True|21000"});
}

TEST_F(Conversion, TenMetresPerSecondSquared)
{
    Open();
    Click(s->opnSelectG[1], QPoint(6, s->opnSelectG[1]->height() / 2));
    Convert(s->txtGravity->text());
    EXPECT_EQ(Rows("節点拘束形状", {"w"}), QStringList{"50.000"});
    EXPECT_EQ(Loads()[1][0], 1.05);   // type 2: 10.5 / 10
    s->Cmd登録_Click();
    EXPECT_EQ(Rows("基本データ", {"Unit", "E", "γ"}, ""), QStringList{"False|2100|810"});
}

TEST_F(Conversion, InvalidGravityIsRefusedBeforeTheQuestion)
{
    Open();
    const QString before = testenv::FileHash(kWorkingDatabase);
    for (const char* g : {"0", "", "-9.8", "abc", "1e400"}) {
        s->txtGravity->setText(g);
        script->messages.clear();
        Click(s->cmdDataTrans);
        EXPECT_EQ(script->messages, QStringList{Info("入力した重力定数の値が不正です")}) << g;
    }
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), before);
    EXPECT_TRUE(Program().UnitIsSI);
    // Nothing changed: a cancel leaves the results current.
    s->cmdCancel_Click();
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "True");
}

TEST_F(Conversion, AnsweringNoConvertsNothing)
{
    Open();
    const QString before = testenv::FileHash(kWorkingDatabase);
    s->txtGravity->setText("9.80665");
    script->answers = {ui::Answer::No};
    Click(s->cmdDataTrans);
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), before);
    EXPECT_TRUE(Program().UnitIsSI);
    EXPECT_EQ(s->txtE->text(), "21000");
}

TEST_F(Conversion, FailureRollsBackAndRestoresTheScreen)
{
    inputtest::Exec("UPDATE \"基本データ\" SET \"Unit\" = 'False'");
    // A modulus that does not fit a Single once multiplied by 10.
    inputtest::Exec("UPDATE \"材料定数2\" SET \"E\" = ?", {Variant::Double(3e38)});
    Open();
    ASSERT_FALSE(Program().UnitIsSI);
    const QStringList before = Rows("材料定数1", {"E", "γ"}) + Rows("節点拘束形状", {"w"}) + Rows("材料定数2", {"E"});
    const auto loads = Loads();
    const QString e = s->txtE->text();
    Convert("9.80665");
    EXPECT_EQ(script->messages.last(), Exclamation(kDatabaseAccess));
    EXPECT_EQ(Rows("材料定数1", {"E", "γ"}) + Rows("節点拘束形状", {"w"}) + Rows("材料定数2", {"E"}), before);
    EXPECT_EQ(Loads(), loads);
    EXPECT_FALSE(Program().UnitIsSI);
    EXPECT_EQ(s->lblCurrentUnit->text(), " CGS");
    EXPECT_EQ(s->cmdDataTrans->text(), "SI単位に変換");
    EXPECT_EQ(s->txtE->text(), e);
    EXPECT_TRUE(s->isEnabled());
}

TEST_F(Conversion, CancelAfterAConversionRestoresEveryTable)
{
    const QString untouched = testenv::FileHash(kWorkingDatabase);
    reg::SaveSetting("Public", "AnalyzeFinish", "True");
    reg::Sync();
    auto onDisk = [] { return testenv::SettingOnDisk("AnalyzeFinish"); };
    Open();
    Convert("9.80665");
    EXPECT_EQ(onDisk(), "False");
    s->cmdCancel_Click();
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), untouched);
    EXPECT_EQ(reg::GetSetting("Public", "AnalyzeFinish"), "False");   // written when confirmed
    EXPECT_EQ(onDisk(), "False");
    EXPECT_EQ(menuShown, 1);
}

}  // namespace
