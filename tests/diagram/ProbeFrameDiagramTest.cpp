// The probe's picture of the frame diagram: opened from the node screen's
// button, drawn, and its shown page written as a PNG file.
#include "diagram/FrameDiagramSupport.h"

#include "common/Probe.h"

#include <QFile>
#include <QImage>

using testenv::After;
using testenv::RunProbe;
using namespace frametest;

namespace {

TEST(ProbeFrameDiagram, SavesTheShownPageOfThePortal)
{
    const auto mainMenu = screentest::PrepareScreenTest();
    inputtest::AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
                          {{T("門形"), T(" "), T(" "), T("True"), I(1), S(20500), S(7900)}});
    AddPortalFrame();
    const QString file = testenv::WorkDir() + "/portal.png";
    QStringList out = RunProbe(testenv::WorkDir(), {"dispatch:10202", "ramen-png:" + file});
    EXPECT_EQ(After(out, "ramen="), QStringList{"ZELKOVA  ver 1.41　フレーム図"}) << out.join('\n').toStdString();
    EXPECT_EQ(After(out, "ramen-page="), QStringList{"6|6|13"});
    EXPECT_EQ(After(out, "png="), QStringList{file + "|1123x794"});
    EXPECT_TRUE(After(out, "message=").isEmpty());
    const QImage page(file);
    EXPECT_EQ(page.size(), QSize(1123, 794));

    // Without nodes the drawing asks whether to stop; the probe answers Yes.
    inputtest::Exec("DELETE FROM \"節点座標1\"");
    // The first run ended with the node screen open: its backup copy, which a
    // new start would offer back, goes.
    QFile::remove(testenv::WorkDir() + "/ZelkovaMT.mdb");
    out = RunProbe(testenv::WorkDir(), {"ramen-png:" + file});
    EXPECT_EQ(After(out, "message=").value(0),
              "question|節点データが入力されていません。ラーメン図の作成を終了しますか？");
    EXPECT_EQ(After(out, "ramen="), QStringList{"closed"});
}

}  // namespace
