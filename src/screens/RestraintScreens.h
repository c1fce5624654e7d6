// The restraint type screen, the restraint placement screen and the lookup
// window of the restraint types.
#pragma once

#include "input/ListScreen.h"
#include "input/LookupWindow.h"

const ListScreenDescription& RestraintTypeScreen();
const ListScreenDescription& RestraintPlacementScreen();
const LookupDescription& RestraintTypeLookup();
CheckVerdict CheckRestraintShapeInput(const CheckInputs& in);
CheckVerdict CheckRestraintPlacementInput(const CheckInputs& in);

class frm節点拘束形状 : public ListScreen {
public:
    frm節点拘束形状();
    void ShowSpringUnitLabel();

protected:
    void Form_Load() override;
};

class frm節点拘束配置 : public ListScreen {
public:
    frm節点拘束配置();
};
