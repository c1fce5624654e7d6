// Pictures of the frame diagram window for a person to look at: the portal
// frame, the largest building from three views, and searches with their red
// marks. Written where ZELKOVA_SCREENSHOTS points (run under a real X
// server), otherwise into the test's folder.
#include "common/Screenshot.h"
#include "diagram/FrameDiagramSupport.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

using namespace frametest;

namespace {

void Prepare()
{
    const auto mainMenu = screentest::PrepareScreenTest();
    inputtest::AppendRows("基本データ", {"工事名", "設計者", "Note", "Unit", "Case", "E", "γ"},
                          {{T("事務所棟 新築工事"), T("山田 太郎"), T("第2案"), T("True"), I(1), S(20500), S(7900)}});
}

void ViewFrom(frmラーメン図* w, const char* theta, const char* phi)
{
    SetBox(w, "txtθf", QString::fromUtf8(theta));
    SetBox(w, "txtφf", QString::fromUtf8(phi));
    SetBox(w, "txtzoom", QStringLiteral("-1"));
    w->cmdDRAW_Click();
}

TEST(FrameDiagramScreenshots, PortalFrame)
{
    Prepare();
    AddPortalFrame();
    frmラーメン図* w = OpenDiagram();
    ASSERT_TRUE(w->IsLoaded());
    testenv::SaveScreenshot(w, "frame-portal.png");
}

TEST(FrameDiagramScreenshots, BuildingFromThreeViews)
{
    Prepare();
    AddBuilding();
    frmラーメン図* w = OpenDiagram();
    ASSERT_TRUE(w->IsLoaded());
    testenv::SaveScreenshot(w, "frame-building-default.png");
    ViewFrom(w, "90", "270");
    testenv::SaveScreenshot(w, "frame-building-front.png");
    w->chkDrawEle->setChecked(false);
    ViewFrom(w, "30", "220");
    testenv::SaveScreenshot(w, "frame-building-above.png");
}

TEST(FrameDiagramScreenshots, SearchesMarkedRed)
{
    Prepare();
    AddPortalFrame();
    AddRestraintType(1, {"拘束", "拘束", "拘束", "拘束", "拘束", "拘束"});
    AddPlacement("節点拘束配置", 1, {1}, {1, 4});
    AddEndType(1, {"剛", "ピン", "ピン"});
    AddPlacement("要素端部配置", 1, {1, 1}, {2});
    frmラーメン図* w = OpenDiagram();
    ASSERT_TRUE(w->IsLoaded());
    w->SSTab1->setCurrentIndex(1);
    for (QLineEdit* b : {w->txtxt1, w->txtyt1, w->txtzt1, w->txtθxt1, w->txtθyt1, w->txtθzt1}) b->setText("拘束");
    w->cmd拘束_Click();
    w->lst節点番号->setCurrentRow(1);
    w->txt節点番号->setText("2");
    w->cmd節点_Click();
    testenv::SaveScreenshot(w, "frame-search-nodes.png");

    w->SSTab1->setCurrentIndex(2);
    w->txt要素番号->setText("2");
    w->cmd要素_Click();
    testenv::SaveScreenshot(w, "frame-search-member.png");
}

}  // namespace
