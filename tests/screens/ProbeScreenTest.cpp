// The input screens driven from outside through the real start-up: the menu
// gives way to a screen and comes back when the screen ends.
#include "common/TestEnv.h"
#include "core/ProgramState.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include "common/Probe.h"

using testenv::After;
using testenv::RunProbe;
using testenv::Value;

namespace {

TEST(ProbeScreens, BasicDataThenNodesThroughTheMenu)
{
    const QString dir = testenv::MakeDir("probe-screens");
    QStringList out = RunProbe(dir, {"dispatch:10201", "screen", "type:txt工事名=Bridge", "press:Cmd登録", "dump", "screen"});
    EXPECT_EQ(After(out, "screen=").value(0), "frm基本データ|ZELKOVA  ver 1.41　1．基本データ");
    EXPECT_TRUE(After(out, "box=").contains("txtE|21000"));
    EXPECT_EQ(After(out, "project="), QStringList{"Bridge"});
    EXPECT_EQ(After(out, "menu="), QStringList{"loaded"});
    EXPECT_EQ(After(out, "screen=").value(1), "none");
    EXPECT_FALSE(out.contains("ended"));
    EXPECT_TRUE(After(out, "message=").isEmpty()) << out.join('\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir + "/ZelkovaMT.mdb"));

    out = RunProbe(dir, {"dispatch:10202", "type:txtX=2.5", "key:txtX=Down", "key:txtNo=Down", "screen", "press:Cmd登録", "dump"});
    EXPECT_TRUE(After(out, "box=").contains("txtNo|3"));
    EXPECT_TRUE(After(out, "item=").value(1).startsWith("1|1|")) << out.join(QChar(10)).toStdString();
    EXPECT_FALSE(out.contains("ended"));

    // Cancel gives the menu back with the nodes as they were.
    out = RunProbe(dir, {"dispatch:10202", "press:cmdAllDelete", "press:cmdCancel", "dump"});
    EXPECT_EQ(After(out, "message=").size(), 1);
    EXPECT_TRUE(After(out, "item=").value(1).startsWith("1|1|"));
}

TEST(ProbeScreens, FailedBackupLeavesTheMenuInCharge)
{
    const QString dir = testenv::MakeDir("probe-backup");
    ASSERT_TRUE(QDir().mkpath(dir + "/ZelkovaMT.mdb/held"));   // the copy cannot be written
    QStringList out = RunProbe(dir, {"dispatch:10201", "dump", "screen"});
    EXPECT_EQ(After(out, "message=").size(), 1);
    EXPECT_TRUE(After(out, "message=").value(0).startsWith("exclamation|データベースにアクセスできません。"));
    EXPECT_EQ(After(out, "menu="), QStringList{"loaded"});
    EXPECT_EQ(After(out, "enabled="), QStringList{"1"});
    EXPECT_EQ(After(out, "screen="), QStringList{"none"});
}

}  // namespace
