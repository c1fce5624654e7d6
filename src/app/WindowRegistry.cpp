#include "app/WindowRegistry.h"

#include "app/frmMainmenu.h"
#include "core/WindowHelpers.h"
#include "diagram/FrameDiagramWindow.h"
#include "input/InputControls.h"
#include "input/InputStart.h"
#include "input/LookupWindow.h"
#include "loads/LoadCombinationWindow.h"
#include "loads/LoadPlacementScreen.h"
#include "loads/LoadShapeLookup.h"
#include "loads/LoadShapeScreen.h"
#include "loads/LoadTypeLegend.h"
#include "screens/BasicDataScreen.h"
#include "screens/MemberEndScreens.h"
#include "screens/MemberScreen.h"
#include "screens/NodeScreen.h"
#include "screens/RestraintScreens.h"
#include "screens/SectionScreens.h"
#include "screens/SectionTypeFigure.h"

void RegisterProgramWindows()
{
    InstallMainMenuShower([] { MainMenuForm().Show(); });

    // The input screens in menu order.
    RegisterInputScreen(BasicDataScreen());
    for (const ListScreenDescription* s :
         {&NodeScreen(), &SectionPropertiesScreen(), &SectionShapesScreen(), &MemberScreen(), &RestraintTypeScreen(),
          &RestraintPlacementScreen(), &MemberEndTypeScreen(), &MemberEndPlacementScreen(), &LoadShapeScreen(), &LoadPlacementScreen()})
        RegisterInputScreen(s->screen);
    // Item 13: the load names and combinations, opened as the screens are.
    RegisterInputScreen(LoadCombinationScreen());

    // The windows opened beside them.
    for (const LookupDescription* l : {&NodeLookup(), &MemberLookup(), &RestraintTypeLookup(), &MemberEndTypeLookup(), &LoadShapeLookup()})
        RegisterLookupWindow(*l);
    RegisterWindow(ScreenLoadTypeFigure, QStringLiteral("frm荷重形状図"), [] { return new frm荷重形状図(); });
    RegisterWindow(ScreenSectionTypeFigure, QStringLiteral("frm部材形状図"), [] { return new frm部材形状図(); });
    RegisterWindow(ScreenFrameDiagram, QStringLiteral("frmラーメン図"), [] { return new frmラーメン図(); });
}
