// A whole model entered through the input screens from outside, analysed
// through the menu, and its result checked against the closed form.
#include "common/Probe.h"
#include "common/TestEnv.h"
#include "platform/Database.h"

#include <gtest/gtest.h>

using testenv::Matching;
using testenv::RunProbe;
using testenv::Value;

TEST(EndToEnd, CantileverEnteredThroughTheScreensDeflectsAsPLCubedOver3EI)
{
    const QString dir = testenv::MakeDir(QStringLiteral("e2e"));
    const QList<QStringList> steps = {
        {"dispatch:10201", "type:txt工事名=片持ち梁", "type:txtE=20000", "type:txtγ=8000", "press:Cmd登録"},
        {"dispatch:10202", "type:txtNo=1", "press:cmd追加", "type:txtNo=2", "type:txtX=4", "press:cmd追加", "press:Cmd登録"},
        {"dispatch:10203", "type:txtNo=1", "type:txtA=100", "type:txtIxx=5000", "type:txtIyy=10000", "type:txtK=20000",
         "type:txtE=20000", "type:txtγ=8000", "press:cmd追加", "press:Cmd登録"},
        {"dispatch:10205", "type:txtNo=1", "type:txtIT=1", "type:txtJT=2", "type:txt材料番号=1", "press:cmd追加",
         "press:Cmd登録"},
        {"dispatch:10206", "type:txtNo=1", "press:cmd追加", "press:Cmd登録"},   // all six fixed by default
        {"dispatch:10207", "type:txt拘束形状=1", "type:txt節点番号(0)=1", "press:cmd追加", "press:Cmd登録"},
        {"dispatch:10210", "type:txtNo=1", "type:txtTYP=1", "type:txtCase=1", "select:cbo座標系=X 絶対系",
         "type:txtP(2)=-10", "press:cmd追加", "press:Cmd登録"},
        {"dispatch:10211", "type:txt荷重形状=1", "type:txt(1)=2", "press:cmd追加", "press:Cmd登録"},
    };
    for (const QStringList& step : steps) {
        const QStringList out = RunProbe(dir, step);
        EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty()) << out.join('\n').toStdString();
        EXPECT_TRUE(Matching(out, QStringLiteral("error=")).isEmpty()) << out.join('\n').toStdString();
    }
    const QStringList out = RunProbe(dir, {QStringLiteral("analyse"), QStringLiteral("dump")});
    EXPECT_EQ(Value(out, QStringLiteral("setting")), QStringLiteral("Public/AnalyzeFinish=True"));
    EXPECT_EQ(Value(out, QStringLiteral("project")), QStringLiteral("片持ち梁"));

    auto db = dao::Database::Open(dir + QStringLiteral("/Zelkova.mdb"));
    auto rs = db->OpenRecordset(QStringLiteral("Analyze節点変位"));
    rs->FindFirst(QStringLiteral("No_ = 2"));
    ASSERT_FALSE(rs->NoMatch());
    // 10 kN · 400³ cm³ / (3 · 20000 kN/cm² · 20000 cm⁴)
    EXPECT_NEAR(rs->Field(QStringLiteral("⊿Y")).toDouble(), -0.533333, 1e-6);
    EXPECT_NEAR(rs->Field(QStringLiteral("⊿θz")).toDouble(), -0.002, 1e-8);
    auto reaction = db->OpenRecordset(QStringLiteral("Analyze支点反力"));
    reaction->FindFirst(QStringLiteral("No_ = 1"));
    ASSERT_FALSE(reaction->NoMatch());
    EXPECT_NEAR(reaction->Field(QStringLiteral("PY")).toDouble(), 10.0, 1e-6);
    EXPECT_NEAR(reaction->Field(QStringLiteral("MZ")).toDouble(), 4000.0, 1e-3);
}
