// The menu's analysis command run from outside through zelkova-probe, with the
// OK of the progress window answered by the script.
#include "AnalysisTestModel.h"

#include "common/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include "common/Probe.h"

using namespace antest;

using testenv::Matching;
using testenv::RunProbe;
using testenv::Value;

namespace {

QString Prepare(const QString& name, const Model& m)
{
    const QString dir = testenv::MakeDir(name);
    const testenv::InFolder in(dir);
    m.WriteDatabase();
    return dir;
}

Model Cantilever()
{
    Model m;
    m.AddNode(1, 0, 0, 0).restraint = kFix;
    m.AddNode(2, 4, 0, 0);
    m.AddMember(1, 1, 2);
    m.NodalLoad(2, 1, 0, -10, 0);
    return m;
}

}  // namespace

TEST(ProbeAnalyse, RunsTheMenuCommand)
{
    const QString dir = Prepare(QStringLiteral("good"), Cantilever());
    const QStringList out = RunProbe(dir, {QStringLiteral("analyse")});
    EXPECT_TRUE(Matching(out, QStringLiteral("message=")).isEmpty()) << out.join("\n").toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("setting=Public/AnalyzeFinish=True"))) << out.join("\n").toStdString();
    for (const char* f : {"sm", "si", "eq", "ka", "sk"}) EXPECT_FALSE(QFile::exists(dir + "/" + f)) << f;
}

TEST(ProbeAnalyse, ReportsAFailedCheck)
{
    Model m = Cantilever();
    m.nodes[0].restraint = {1, 1, 1, 1, 1, 0};   // free to turn about Z under a Y load
    const QString dir = Prepare(QStringLiteral("bad"), m);
    const QStringList out = RunProbe(dir, {QStringLiteral("analyse")});
    const QStringList messages = Matching(out, QStringLiteral("message="));
    ASSERT_EQ(messages.size(), 1) << out.join("\n").toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("剛性がありません"))) << messages[0].toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("setting=Public/AnalyzeFinish=False"))) << out.join("\n").toStdString();
    for (const char* f : {"sm", "si", "eq", "ka", "sk"}) EXPECT_FALSE(QFile::exists(dir + "/" + f)) << f;
}
