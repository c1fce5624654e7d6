// The whole run from the project database to the result tables, its checks
// and their messages, and the progress window.
#include "AnalysisTestModel.h"

#include "analysis/AnalysisState.h"
#include "analysis/AnalysisTables.h"
#include "analysis/LoadVectors.h"
#include "app/RunAnalysis.h"
#include "analysis/SolveFrame.h"
#include "core/frmAnalyze.h"
#include "common/TestEnv.h"
#include "platform/Database.h"
#include "platform/SafeFileFaults.h"
#include "platform/Settings.h"
#include "core/ProgramState.h"

#include <QApplication>
#include <QFile>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <map>

using namespace antest;
using rt::Variant;

namespace {

using Row = std::map<QString, Variant>;

std::vector<Row> ReadRows(const QString& table)
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    dao::RecordsetPtr rs = db->OpenRecordset(table);
    std::vector<Row> rows;
    if (rs->RecordCount() > 0) {
        rs->MoveFirst();
        while (!rs->EOF_()) {
            Row r;
            for (int i = 0; i < rs->FieldCount(); ++i) r[rs->FieldName(i)] = rs->Field(i);
            rows.push_back(r);
            rs->MoveNext();
        }
    }
    rs->Close();
    db->Close();
    return rows;
}

void Execute(const QString& sql)
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    db->Execute(sql);
    db->Close();
}

const QStringList kResultTables = {QStringLiteral("材料定数0"), QStringLiteral("Analyze等価節点荷重"),
                                   QStringLiteral("Analyze部材応力"), QStringLiteral("Analyze節点変位"),
                                   QStringLiteral("Analyze支点反力")};

// A row in every result table that a failed run must leave in place.
void PutSentinels()
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    for (const QString& t : kResultTables) db->AppendRows(t, {"No_"}, {{Variant::Integer(999)}});
    db->Close();
}

void ExpectSentinelsOnly()
{
    for (const QString& t : kResultTables) {
        const auto rows = ReadRows(t);
        ASSERT_EQ(rows.size(), 1u) << t.toStdString();
        EXPECT_EQ(rows[0].at("No_").toInteger(), 999) << t.toStdString();
    }
}

bool AnyScratchFile()
{
    for (const char* f : {"sm", "si", "eq", "ka", "sk"})
        if (QFile::exists(QString::fromLatin1(f))) return true;
    return false;
}

QString AnalyzeFinish() { return reg::GetSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish")); }

// A loaded cantilever with a beam: two cases.
Model BaseModel()
{
    Model m;
    m.cases = 2;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 4, 0, 0);
    m.AddNode(3, 4, 3, 0);
    m.AddMember(1, 1, 2);
    m.AddMember(2, 2, 3);
    m.NodalLoad(2, 1, 0, -10, 0);
    m.MemberLoad({2}, 2, 3, QStringLiteral("Z 絶対系"), {0, -2});
    return m;
}

}  // namespace

TEST(RunAnalysis, WritesEveryResultTable)
{
    testenv::ResetScript();
    const Model m = BaseModel();
    m.WriteDatabase();
    reg::SaveSetting("Public", "AnalyzeFinish", "False");
    RunAnalysis();
    EXPECT_TRUE(testenv::Script().messages.isEmpty()) << testenv::Script().messages.join("\n").toStdString();
    EXPECT_EQ(AnalyzeFinish(), QStringLiteral("True"));
    EXPECT_FALSE(AnyScratchFile());
    EXPECT_TRUE(Program().NodeNo.empty());
    EXPECT_EQ(Program().NodeRow[1], 0);

    const auto disp = ReadRows(QStringLiteral("Analyze節点変位"));
    ASSERT_EQ(disp.size(), 6u);   // nodes in display order, cases ascending
    EXPECT_EQ(disp[2].at("No_").toInteger(), 2);
    EXPECT_EQ(disp[2].at("Case").toInteger(), 1);
    EXPECT_NEAR(disp[2].at(QStringLiteral("⊿Y")).toDouble(), -0.533333, 1e-6);
    EXPECT_EQ(disp[0].at(QStringLiteral("⊿Y")).toDouble(), 0.0);

    const auto forces = ReadRows(QStringLiteral("Analyze部材応力"));
    ASSERT_EQ(forces.size(), 4u);
    EXPECT_EQ(forces[0].at("No_").toInteger(), 1);
    EXPECT_EQ(forces[0].at("iTan").toInteger(), 1);
    EXPECT_EQ(forces[0].at("jTan").toInteger(), 2);
    EXPECT_NEAR(forces[0].at("iQy").toDouble(), 10, 1e-5);
    EXPECT_NEAR(forces[0].at("iMz").toDouble(), 4000, 1e-3);
    EXPECT_EQ(forces[0].at("cMz").toDouble(), 0.0);   // no member load on it
    // member 2 in case 2: uniform load along −Z over 3 m: cMy of the span
    EXPECT_NE(forces[3].at("cMy").toDouble(), 0.0);

    const auto reactions = ReadRows(QStringLiteral("Analyze支点反力"));
    ASSERT_EQ(reactions.size(), 6u);
    EXPECT_NEAR(reactions[0].at("PY").toDouble(), 10, 1e-5);
    EXPECT_NEAR(reactions[1].at("PZ").toDouble(), 6, 1e-5);
    for (int k = 2; k < 6; ++k) EXPECT_EQ(reactions[k].at("PZ").toDouble(), 0.0);

    const auto equiv = ReadRows(QStringLiteral("Analyze等価節点荷重"));
    ASSERT_EQ(equiv.size(), 1u);   // only member 2 in case 2 carries a member load
    EXPECT_EQ(equiv[0].at("No_").toInteger(), 2);
    EXPECT_EQ(equiv[0].at("Case").toInteger(), 2);
    EXPECT_NEAR(equiv[0].at("iQz").toDouble(), -3, 1e-6);
    EXPECT_NEAR(equiv[0].at("cMy").toDouble(), -225, 1e-4);

    const auto sections = ReadRows(QStringLiteral("材料定数0"));
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_NEAR(sections[0].at("Iyy").toDouble(), kIyy, 1e-3);
    EXPECT_TRUE(sections[0].at(QStringLiteral("ν")).isNull());
}

TEST(RunAnalysis, ShowsEachCheckAndChangesNothing)
{
    struct Case {
        const char* name;
        std::function<void()> breakIt;
        QString message;
    };
    const QString CRLF = QStringLiteral("\r\n");
    const QString info = QStringLiteral("message=information|"), excl = QStringLiteral("message=exclamation|");
    auto sql = [](const char* s) {
        return [s] {
            for (const QString& part : QString::fromUtf8(s).split(QStringLiteral("; "))) Execute(part);
        };
    };
    const std::vector<Case> cases = {
        {"no nodes", sql("DELETE FROM \"節点座標1\""), info + QStringLiteral("節点データがに登録されていないので計算を終了します")},
        {"no members", sql("DELETE FROM \"要素情報\""), info + QStringLiteral("部材データが「部材配置」に登録されていないので計算を終了します")},
        {"restraint type", sql("UPDATE \"節点拘束配置\" SET \"拘束形状\" = 9"),
         info + QStringLiteral("「節点拘束条件」で入力した拘束条件　9") + CRLF + QStringLiteral("入力した拘束条件が「節点拘束条件」に登録されていないので計算を終了します")},
        {"restraint node", sql("UPDATE \"節点拘束配置\" SET \"fld_03\" = 77"),
         info + QStringLiteral("「節点拘束配置」で入力した節点番号　77") + CRLF + QStringLiteral("入力した節点番号が「節点座標」に登録されていないので計算を終了します")},
        {"i end type", sql("UPDATE \"要素端部配置\" SET \"i端部形状\" = 8"),
         info + QStringLiteral("「部材端部配置」で入力したｉ端部条件　8") + CRLF + QStringLiteral("入力したｉ端部条件が「部材端部条件」に登録されていないので計算を終了します")},
        {"j end type", sql("UPDATE \"要素端部配置\" SET \"j端部形状\" = 8"),
         info + QStringLiteral("「部材端部配置」で入力したｊ端部条件　8") + CRLF + QStringLiteral("入力したｊ端部条件が「部材端部条件」に登録されていないので計算を終了します")},
        {"end member", sql("UPDATE \"要素端部配置\" SET \"fld_05\" = 44"),
         info + QStringLiteral("「部材端部配置」で入力した部材番号　44") + CRLF + QStringLiteral("入力した部材番号が「部材配置」に登録されていないので計算を終了します")},
        {"section", sql("UPDATE \"要素情報\" SET \"材料番号\" = 500 WHERE \"No_\" = 2"),
         info + QStringLiteral("「部材配置」で入力した形状番号　500") + CRLF + QStringLiteral("入力した形状番号が「部材形状1」「部材形状2」のどちらにも登録されていないので計算を終了します")},
        {"shape section", sql("UPDATE \"要素情報\" SET \"材料番号\" = 1001 WHERE \"No_\" = 2"),
         info + QStringLiteral("「部材配置」で入力した形状番号　1001") + CRLF + QStringLiteral("入力した形状番号が「部材形状1」「部材形状2」のどちらにも登録されていないので計算を終了します")},
        {"load shape", sql("UPDATE \"荷重配置\" SET \"荷重形状\" = 5 WHERE \"No_\" = 1"),
         info + QStringLiteral("「荷重配置」で入力した荷重形状 5") + CRLF + QStringLiteral("入力した荷重形状が｢荷重形状｣に登録されていないので計算を終了します")},
        {"load node", sql("UPDATE \"荷重配置\" SET \"fld_04\" = 66 WHERE \"No_\" = 1"),
         info + QStringLiteral("「荷重配置」で入力した節点番号　66") + CRLF + QStringLiteral("入力した節点番号が「節点座標」に登録されていないので計算を終了します")},
        {"load member", sql("UPDATE \"荷重配置\" SET \"fld_02\" = 55 WHERE \"No_\" = 2"),
         info + QStringLiteral("「荷重配置」で入力した部材番号　55") + CRLF + QStringLiteral("入力した部材番号が「部材配置」に登録されていないので計算を終了します")},
        {"load member of an unused case", sql("UPDATE \"荷重形状\" SET \"Case\" = 7 WHERE \"No_\" = 2; UPDATE \"荷重配置\" SET \"fld_02\" = 55 WHERE \"No_\" = 2"),
         info + QStringLiteral("「荷重配置」で入力した部材番号　55") + CRLF + QStringLiteral("入力した部材番号が「部材配置」に登録されていないので計算を終了します")},
        {"zero length loaded", sql("UPDATE \"節点座標1\" SET \"X\" = 4, \"Y\" = 0 WHERE \"No_\" = 3"),
         excl + QStringLiteral("ERROR：部材番号=2 の部材長が 0 または 0 以下になっています。")},
        {"zero length", sql("UPDATE \"節点座標1\" SET \"X\" = 4, \"Y\" = 0 WHERE \"No_\" = 3; DELETE FROM \"荷重配置\" WHERE \"No_\" = 2"),
         excl + QStringLiteral("ERROR：部材番号=2 の部材長が 0 または 0 以下になっています。")},
        {"same node at both ends", sql("UPDATE \"要素情報\" SET \"jTan\" = 2 WHERE \"No_\" = 2; DELETE FROM \"荷重配置\" WHERE \"No_\" = 2"),
         excl + QStringLiteral("ERROR：部材番号=2 の両端の節点番号が同じになっています。")},
        {"projection", sql("UPDATE \"荷重形状\" SET \"座標系\" = 'Y 絶対系' WHERE \"No_\" = 2"),
         excl + QStringLiteral("ERROR：部材番号=2はX-Z平面への投影長さが 0 のため、絶対系Ｙ方向荷重(形状番号2)の設定は無効です。")},
        // Guards for data the input screens never produce.
        {"member end not a node", sql("UPDATE \"要素情報\" SET \"jTan\" = 9 WHERE \"No_\" = 2"),
         info + QStringLiteral("「部材配置」で入力した部材番号　2") + CRLF + QStringLiteral("端部の節点番号　9 が「節点座標」に登録されていないので計算を終了します")},
        {"node number beyond the arrays", sql("UPDATE \"節点座標1\" SET \"No_\" = 301 WHERE \"No_\" = 3"),
         info + QStringLiteral("「節点座標」で入力した節点番号　301") + CRLF + QStringLiteral("節点番号が 1 ～ 300 の範囲にないので計算を終了します")},
        {"member number beyond the arrays", sql("UPDATE \"要素情報\" SET \"No_\" = 600 WHERE \"No_\" = 2"),
         info + QStringLiteral("「部材配置」で入力した部材番号　600") + CRLF + QStringLiteral("部材番号が 1 ～ 500 の範囲にないので計算を終了します")},
        {"no case count", sql("DELETE FROM \"基本データ\""), info + QStringLiteral("基本データが登録されていないので計算を終了します")},
        {"case count 11", sql("UPDATE \"基本データ\" SET \"Case\" = 11"),
         info + QStringLiteral("基本データの荷重ケース数　11") + CRLF + QStringLiteral("荷重ケース数が 1 ～ 10 の範囲にないので計算を終了します")},
        {"case count 0", sql("UPDATE \"基本データ\" SET \"Case\" = 0"),
         info + QStringLiteral("基本データの荷重ケース数　0") + CRLF + QStringLiteral("荷重ケース数が 1 ～ 10 の範囲にないので計算を終了します")},
        {"restraint text", sql("UPDATE \"節点拘束形状\" SET \"v\" = 'ばね'"),
         info + QStringLiteral("「節点拘束条件」で入力した拘束条件　1") + CRLF + QStringLiteral("拘束条件「ばね」が拘束・自由・数値のどれでもないので計算を終了します")},
        {"end text", sql("UPDATE \"要素端部形状\" SET \"yMWR\" = 'x1'"),
         info + QStringLiteral("「部材端部条件」で入力した端部条件　1") + CRLF + QStringLiteral("端部条件「x1」が剛・ピン・数値のどれでもないので計算を終了します")},
        {"section type", [] {
             Execute(QStringLiteral("INSERT INTO \"材料定数2\" (\"No_\", \"TYP\", \"fld_01\", \"fld_02\", \"E\", \"γ\", \"順\") VALUES (1001, 7, 100, 100, 20000, 8000, 1)"));
             Execute(QStringLiteral("UPDATE \"要素情報\" SET \"材料番号\" = 1001 WHERE \"No_\" = 2"));
         },
         info + QStringLiteral("「部材形状2」で入力した形状番号　1001") + CRLF + QStringLiteral("断面の種類　7 が 1 ～ 6 のどれでもないので計算を終了します")},
        {"zero divisor", [] {
             Execute(QStringLiteral("INSERT INTO \"材料定数2\" (\"No_\", \"TYP\", \"fld_01\", \"fld_02\", \"E\", \"γ\", \"順\") VALUES (1001, 1, 0, 0, 20000, 8000, 1)"));
             Execute(QStringLiteral("UPDATE \"要素情報\" SET \"材料番号\" = 1001 WHERE \"No_\" = 2"));
         },
         info + QStringLiteral("「部材形状2」で入力した形状番号　1001") + CRLF + QStringLiteral("断面の寸法から断面性能を計算できないので計算を終了します")},
        // The frame can turn about Z on its support; the elimination meets the
        // missing stiffness at the last equation of that mechanism.
        {"unstable", sql("UPDATE \"節点拘束形状\" SET \"θz\" = '自由'"),
         excl + QStringLiteral("ERROR：節点番号=3 のθz方向の剛性がありません（構造が不安定です）。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testenv::ResetScript();
        Model m = BaseModel();
        m.members[1].endJ = {1, 1, 1, 1, 0, 1};    // an end placement to break
        m.nodes[0].restraint = kFix;
        m.placements[0].targets = {2, 3};          // nodal load on two nodes
        m.WriteDatabase();
        Execute(QStringLiteral("UPDATE \"節点拘束配置\" SET \"fld_02\" = 0"));
        PutSentinels();
        c.breakIt();
        reg::SaveSetting("Public", "AnalyzeFinish", "True");
        RunAnalysis();
        ASSERT_EQ(testenv::Script().messages.size(), 1) << testenv::Script().messages.join("\n").toStdString();
        EXPECT_EQ(testenv::Script().messages[0], c.message);
        EXPECT_EQ(AnalyzeFinish(), QStringLiteral("False"));
        EXPECT_FALSE(AnyScratchFile());
        ExpectSentinelsOnly();
    }
}

TEST(RunAnalysis, PlacementRowsApplyEveryNonZeroSlot)
{
    // Slots 0, 2, 0, 3: both nodes are fixed; the last row in display order wins.
    testenv::ResetScript();
    Model m;
    m.AddNode(1, 0, 0, 0);
    m.AddNode(2, 4, 0, 0);
    m.AddNode(3, 8, 0, 0);
    m.AddMember(1, 1, 2);
    m.AddMember(2, 2, 3);
    m.NodalLoad(2, 1, 0, 0, 0);
    m.WriteDatabase();
    Execute(QStringLiteral("INSERT INTO \"節点拘束形状\" (\"No_\", \"u\", \"v\", \"w\", \"θx\", \"θy\", \"θz\", \"順\") VALUES "
                           "(1, '拘束', '拘束', '拘束', '拘束', '拘束', '拘束', 1), (2, '自由', '拘束', '拘束', '拘束', '拘束', '拘束', 2)"));
    Execute(QStringLiteral("INSERT INTO \"節点拘束配置\" (\"No_\", \"拘束形状\", \"fld_01\", \"fld_02\", \"fld_03\", \"fld_04\", \"fld_05\", \"順\") VALUES "
                           "(1, 1, 0, 1, 0, 3, 0, 2), (2, 2, 3, 0, 0, 0, 0, 1)"));
    Execute(QStringLiteral("UPDATE \"荷重形状\" SET \"fld_01\" = 5, \"fld_02\" = -10"));
    Execute(QStringLiteral("INSERT INTO \"荷重配置\" (\"No_\", \"荷重形状\", \"fld_01\", \"fld_02\", \"fld_03\", \"順\") VALUES (2, 1, 0, 0, 3, 2)"));
    RunAnalysis();
    ASSERT_TRUE(testenv::Script().messages.isEmpty()) << testenv::Script().messages.join("\n").toStdString();
    const auto reactions = ReadRows(QStringLiteral("Analyze支点反力"));
    // Node 3 is fixed in X by row 1, which comes after row 2 in display order;
    // its own load (slot 3) is carried there.
    ASSERT_EQ(reactions.size(), 3u);
    EXPECT_NEAR(reactions[0].at("PY").toDouble() + reactions[2].at("PY").toDouble(), 20, 1e-4);
    EXPECT_NE(reactions[2].at("PX").toDouble(), 0.0);
    EXPECT_NEAR(reactions[0].at("PX").toDouble() + reactions[2].at("PX").toDouble(), -10, 1e-4);
}

TEST(RunAnalysis, SectionsInUseAndShapeSections)
{
    testenv::ResetScript();
    Model m = BaseModel();
    m.members[0].section = 12;
    m.members[1].section = 1001;
    m.WriteDatabase();
    Execute(QStringLiteral("INSERT INTO \"材料定数1\" (\"No_\", \"E\", \"γ\", \"A\", \"Ixx\", \"Iyy\", \"Izz\", \"順\") VALUES "
                           "(12, 20000, 8000, 100, 5000, 10000, 20000, 2), (13, 1, 1, 1, 1, 1, 1, 3)"));
    // 100 × 100 × 3.2 tube, no corner radius, φx = 0.5 halves Iyy.
    Execute(QStringLiteral("INSERT INTO \"材料定数2\" (\"No_\", \"TYP\", \"fld_01\", \"fld_02\", \"fld_03\", \"fld_04\", \"fld_05\", \"φx\", \"φy\", \"E\", \"γ\", \"順\") VALUES "
                           "(1001, 4, 100, 100, 3.2, 0, 0, 0.5, 0, 20500, 7900, 2)"));
    RunAnalysis();
    ASSERT_TRUE(testenv::Script().messages.isEmpty()) << testenv::Script().messages.join("\n").toStdString();
    const auto s = ReadRows(QStringLiteral("材料定数0"));
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].at("No_").toInteger(), 12);
    EXPECT_EQ(s[0].at(QStringLiteral("順")).toInteger(), 2);
    EXPECT_EQ(s[1].at("No_").toInteger(), 1001);
    EXPECT_EQ(s[1].at(QStringLiteral("順")).toInteger(), 5);
    const double d = 10, t = 0.32;
    EXPECT_NEAR(s[1].at("Ixx").toDouble(), 2 * t * std::pow(d - t, 4) / (2 * d - 2 * t), 1e-3);
    EXPECT_NEAR(s[1].at("Ixx").toDouble(), 290, 2);
    const double I = (std::pow(d, 4) - std::pow(d - 2 * t, 4)) / 12;
    EXPECT_NEAR(s[1].at("Iyy").toDouble(), I / 2, 1e-3);
    EXPECT_NEAR(s[1].at("Izz").toDouble(), I, 1e-3);
    EXPECT_NEAR(s[1].at("E").toDouble(), 20500, 1e-3);
}

TEST(RunAnalysis, StagesMarkTwentyThreeMilestones)
{
    struct Counter : AnalysisProgressSink {
        int milestones = 0;
        void Milestone() override { ++milestones; }
        void Bar1(int, int) override {}
        void Bar2(bool, int, int) override {}
    } counter;
    testenv::ResetScript();
    BaseModel().WriteDatabase();
    AnalysisState run;
    run.progress = &counter;
    ReadCaseCountForAnalysis(run);
    LoadStructureModel(run);
    EXPECT_EQ(counter.milestones, 5);
    BuildLoadVectors(run);
    EXPECT_EQ(counter.milestones, 11);
    SolveFrame(run);
    EXPECT_EQ(counter.milestones, 23);
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
}

TEST(RunAnalysis, ProgressWindow)
{
    testenv::ResetScript();
    Program().ProgramVersion = QStringLiteral("1.41");
    ShowAnalysisProgress(QStringLiteral("START"));
    frmAnalyze* f = AnalyzeForm();
    EXPECT_EQ(f->Caption(), QStringLiteral("ZELKOVA ver1.41"));
    EXPECT_EQ(f->Command1->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(f->Label1->text(), QStringLiteral("計算中．．．"));
    EXPECT_TRUE(Program().StartAck);
    EXPECT_EQ(AnalysisProgress().ProgressStep, 8);
    for (int k = 0; k < 23; ++k) AnalysisProgress().Milestone();
    EXPECT_EQ(f->Bar->value(), 184);
    Program().FinishAck = true;   // a click left over from before does not end the wait early
    ShowAnalysisProgress(QStringLiteral("FINISH"));
    EXPECT_EQ(f->Command1->text(), QStringLiteral("OK"));
    EXPECT_EQ(f->Bar->value(), 200);
    EXPECT_TRUE(Program().FinishAck);
    // Progress updates repaint a few dozen times a second at most, the bars
    // included: a bar shows its new value at the window's next repaint, not
    // at once.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } barPaints;
    f->Bar->setValue(0);
    f->ProgressBar1->installEventFilter(&barPaints);
    f->Bar->installEventFilter(&barPaints);
    QElapsedTimer clock;
    clock.start();
    const int before = f->RepaintCount();
    for (int k = 0; k < 100000; ++k) AnalysisProgress().Bar1(100000, k);
    for (int k = 0; k < 25; ++k) AnalysisProgress().Milestone();   // each moves the bar by 4 %
    const double seconds = clock.elapsed() / 1000.0;
    const int repaints = f->RepaintCount() - before;
    EXPECT_LE(repaints, 2 + 25 * seconds);
    EXPECT_LE(barPaints.paints, 2 * repaints);
    EXPECT_EQ(f->ProgressBar1->value(), 99999);
    EXPECT_EQ(f->Bar->value(), 200);
    QFile("sm").open(QIODevice::WriteOnly);
    FinishAnalysis();
    EXPECT_FALSE(QFile::exists("sm"));
    EXPECT_EQ(forms::FindLoadedForm(QStringLiteral("frmAnalyze")), nullptr);
}

TEST(RunAnalysis, LoaderRowsAndConditionValues)
{
    testenv::ResetScript();
    Model m;
    m.AddNode(5, 0, 0, 0).restraint = {1, 0, 250, 1, 1, 1};
    m.AddNode(1, 4, 0, 0);
    m.AddNode(3, 8, 0, 0);
    m.AddMember(7, 1, 3);
    m.AddMember(2, 5, 1).endJ = {1, 1, 1, 1, 0, 2000};
    m.WriteDatabase();
    // An empty yMWR counts as rigid in its own column only; "1" reads as fixed.
    Execute(QStringLiteral("UPDATE \"要素端部形状\" SET \"yMWR\" = NULL, \"zMWR\" = '2000' WHERE \"No_\" = 2"));
    Execute(QStringLiteral("UPDATE \"節点拘束形状\" SET \"u\" = '1'"));
    AnalysisState run;
    ReadCaseCountForAnalysis(run);
    LoadStructureModel(run);
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
    const FrameModel& model = run.model;
    ASSERT_EQ(model.NodeNo.size(), 4u);
    EXPECT_EQ(model.NodeNo[1], 5);
    EXPECT_EQ(model.NodeNo[2], 1);
    EXPECT_EQ(model.NodeNo[3], 3);
    EXPECT_EQ(model.NodeRow[5], 1);
    EXPECT_EQ(model.NodeRow[1], 2);
    EXPECT_EQ(model.MemberRow[7], 1);
    EXPECT_EQ(model.MemberRow[2], 2);
    EXPECT_EQ(model.members[1].iRow, 2);
    EXPECT_EQ(model.members[1].jRow, 3);
    EXPECT_EQ(model.nodes[1].restraint[0], 1.0);
    EXPECT_EQ(model.nodes[1].restraint[1], 0.0);
    EXPECT_EQ(model.nodes[1].restraint[2], 250.0);
    EXPECT_EQ(model.nodes[2].restraint[0], 0.0);
    EXPECT_EQ(model.members[2].endJ.aboutY, 1.0);     // j-end yMWR empty: rigid
    EXPECT_EQ(model.members[2].endJ.aboutZ, 2000.0);  // j-end zMWR
    EXPECT_EQ(model.members[1].endJ.aboutY, 1.0);     // a member without end placement: rigid
    EXPECT_EQ(model.HalfBand, 12);
    EXPECT_EQ(model.RowWidth, 13);
}

TEST(RunAnalysis, ADatabaseErrorEndsTheRunAsFailed)
{
    // A table missing before the loads, and a result table that cannot take
    // its rows after the first four have been written: every table keeps its
    // rows, the result tables change together or not at all.
    for (const char* sql : {"DROP TABLE \"荷重配置\"", "ALTER TABLE \"Analyze支点反力\" RENAME COLUMN \"PX\" TO \"QX\""}) {
        SCOPED_TRACE(sql);
        testenv::ResetScript();
        BaseModel().WriteDatabase();
        PutSentinels();
        Execute(QString::fromUtf8(sql));
        reg::SaveSetting("Public", "AnalyzeFinish", "True");
        RunAnalysis();
        ASSERT_EQ(testenv::Script().messages.size(), 1);
        EXPECT_TRUE(testenv::Script().messages[0].startsWith(QStringLiteral("message=exclamation|計算中にエラーが発生したので計算を終了します")));
        EXPECT_EQ(AnalyzeFinish(), QStringLiteral("False"));
        EXPECT_FALSE(AnyScratchFile());
        ExpectSentinelsOnly();
    }
}

// The run rewrites the result tables: when the flag cannot first be stored
// False, a crash or a failed run would leave them offered as current. The
// run does not start, the results stay as they were, and the user is told.
TEST(RunAnalysis, NoRunStartsWhileTheResultsFlagCannotBeStored)
{
    BaseModel().WriteDatabase();
    PutSentinels();
    reg::SaveSetting("Public", "AnalyzeFinish", "True");
    ASSERT_TRUE(reg::Sync());
    {
        files::InjectedWriteFailure full(files::FailingStep::Write, 0, reg::FilePath());
        RunAnalysis();
    }
    ASSERT_EQ(testenv::Script().messages.size(), 1);
    EXPECT_TRUE(testenv::Script().messages[0].startsWith(
        QStringLiteral("message=exclamation|設定を保存できないため、計算を実行できません。\r\n")));
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(qobject_cast<frmAnalyze*>(w));   // no progress shown
    ExpectSentinelsOnly();
    EXPECT_FALSE(AnyScratchFile());
    EXPECT_EQ(AnalyzeFinish(), QStringLiteral("True"));
    EXPECT_EQ(testenv::SettingOnDisk(QStringLiteral("AnalyzeFinish")), QStringLiteral("True"));
}

TEST(RunAnalysis, FinalWaitEndsOnOkOrOnClosingTheWindow)
{
    // Without the script the wait is the user's: a click on OK, or the
    // window's close box, ends it.
    for (bool viaClose : {false, true}) {
        ui::SetCurrent(std::make_shared<ui::RealServices>());
        ShowAnalysisProgress(QStringLiteral("START"));
        frmAnalyze* f = AnalyzeForm();
        QTimer::singleShot(50, f, [f, viaClose] {
            if (viaClose) f->close();
            else f->Command1->click();
        });
        ShowAnalysisProgress(QStringLiteral("FINISH"));
        EXPECT_TRUE(Program().FinishAck);
        EXPECT_TRUE(f->isVisible());   // the run, not the user, unloads it
        FinishAnalysis();
        testenv::ResetScript();
    }
}
