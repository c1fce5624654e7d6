#include "app/WindowRegistry.h"

#include "app/frmMainmenu.h"
#include "core/WindowHelpers.h"
#include "diagram/FrameDiagramWindow.h"

#include "input/InputControls.h"
#include "loads/LoadPlacementScreen.h"
#include "loads/LoadShapeLookup.h"
#include "loads/LoadShapeScreen.h"
#include "loads/LoadTypeLegend.h"
#include "screens/BasicDataScreen.h"
#include "input/LookupWindow.h"
#include "screens/MemberEndScreens.h"
#include "screens/MemberScreen.h"
#include "screens/NodeScreen.h"
#include "screens/RestraintScreens.h"
#include "screens/SectionScreens.h"
#include "screens/SectionTypeFigure.h"

void RegisterProgramWindows()
{
    InstallMainMenuShower([] { MainMenuForm().Show(); });
    RegisterScreenFactory(QStringLiteral("frm基本データ"), [] { return new frm基本データ(); });
    RegisterScreenFactory(QStringLiteral("frm節点座標1"), [] { return new frm節点座標1(); });
    RegisterScreenFactory(QStringLiteral("frm節点座標参照"), [] { return new frm節点座標参照(); });
    RegisterScreenFactory(QStringLiteral("frm要素情報参照"), [] { return new frm要素情報参照(); });
    RegisterScreenFactory(QStringLiteral("frm節点拘束形状参照"), [] { return new frm節点拘束形状参照(); });
    RegisterScreenFactory(QStringLiteral("frm要素端部形状参照"), [] { return new frm要素端部形状参照(); });
    RegisterScreenFactory(QStringLiteral("frm荷重形状"), [] { return new frm荷重形状(); });
    RegisterScreenFactory(QStringLiteral("frm荷重形状図"), [] { return new frm荷重形状図(); });
    RegisterScreenFactory(QStringLiteral("frm荷重配置"), [] { return new frm荷重配置(); });
    RegisterScreenFactory(QStringLiteral("frm荷重形状参照"), [] { return new frm荷重形状参照(); });
    RegisterScreenFactory(QStringLiteral("frm節点拘束形状"), [] { return new frm節点拘束形状(); });
    RegisterScreenFactory(QStringLiteral("frm節点拘束配置"), [] { return new frm節点拘束配置(); });
    RegisterScreenFactory(QStringLiteral("frm要素端部形状"), [] { return new frm要素端部形状(); });
    RegisterScreenFactory(QStringLiteral("frm要素端部配置"), [] { return new frm要素端部配置(); });
    RegisterScreenFactory(QStringLiteral("frm材料定数1"), [] { return new frm材料定数1(); });
    RegisterScreenFactory(QStringLiteral("frm材料定数2"), [] { return new frm材料定数2(); });
    RegisterScreenFactory(QStringLiteral("frm部材形状図"), [] { return new frm部材形状図(); });
    RegisterScreenFactory(QStringLiteral("frm要素情報"), [] { return new frm要素情報(); });
    RegisterScreenFactory(QStringLiteral("frmラーメン図"), [] { return new frmラーメン図(); });
}
