// The load screens opened from the main menu through the real start-up.
#include "common/Probe.h"
#include "common/TestEnv.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using testenv::After;
using testenv::RunProbe;

namespace {

TEST(ProbeLoads, MenuItemsTenAndElevenOpenTheLoadScreens)
{
    const QString dir = testenv::MakeDir("probe-loads");
    QStringList out = RunProbe(dir, {"dispatch:10201", "type:txt工事名=Bridge", "press:Cmd登録"});
    out = RunProbe(dir, {"dispatch:10210", "screen", "type:txtP(1)=-7.5", "key:txtP(1)=Down", "press:Cmd登録", "dump"});
    EXPECT_EQ(After(out, "screen=").value(0), "frm荷重形状|ZELKOVA  ver 1.41　10．荷重形状");
    EXPECT_TRUE(After(out, "message=").isEmpty()) << out.join('\n').toStdString();
    EXPECT_EQ(After(out, "menu="), QStringList{"loaded"});
    EXPECT_FALSE(QFileInfo::exists(dir + "/ZelkovaMT.mdb"));

    out = RunProbe(dir, {"dispatch:10211", "screen", "press:cmdRefer荷重形状データ", "press:cmdCancel", "dump"});
    EXPECT_EQ(After(out, "screen=").value(0), "frm荷重配置|ZELKOVA  ver 1.41　11．荷重形状配置");
    EXPECT_TRUE(After(out, "message=").isEmpty()) << out.join('\n').toStdString();   // the shape is there
    EXPECT_EQ(After(out, "menu="), QStringList{"loaded"});

    // Without load shapes the lookup says so.
    out = RunProbe(dir, {"dispatch:10210", "press:cmdAllDelete", "press:Cmd登録", "dispatch:10211", "press:cmdRefer荷重形状データ",
                         "press:cmdCancel"});
    EXPECT_EQ(After(out, "message=").value(1), "information|荷重形状データが登録されていません") << out.join('\n').toStdString();
}

}  // namespace
