#include "screens/Screens.h"

#include "input/InputControls.h"
#include "screens/BasicDataScreen.h"
#include "screens/MemberEndScreens.h"
#include "screens/NodeScreen.h"
#include "screens/RestraintScreens.h"

void RegisterInputScreens()
{
    RegisterScreenFactory(QStringLiteral("frm基本データ"), [] { return new frm基本データ(); });
    RegisterScreenFactory(QStringLiteral("frm節点座標1"), [] { return new frm節点座標1(); });
    RegisterScreenFactory(QStringLiteral("frm節点拘束形状"), [] { return new frm節点拘束形状(); });
    RegisterScreenFactory(QStringLiteral("frm節点拘束配置"), [] { return new frm節点拘束配置(); });
    RegisterScreenFactory(QStringLiteral("frm要素端部形状"), [] { return new frm要素端部形状(); });
    RegisterScreenFactory(QStringLiteral("frm要素端部配置"), [] { return new frm要素端部配置(); });
}
