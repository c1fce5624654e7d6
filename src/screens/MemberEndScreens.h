// The member-end condition type screen, the member-end placement screen and
// the lookup window of the member-end types.
#pragma once

#include "input/ListScreen.h"
#include "input/LookupWindow.h"

const ListScreenDescription& MemberEndTypeScreen();
const ListScreenDescription& MemberEndPlacementScreen();
const LookupDescription& MemberEndTypeLookup();
CheckVerdict CheckEndShapeInput(const CheckInputs& in);
CheckVerdict CheckEndPlacementInput(const CheckInputs& in);

class frm要素端部形状 : public ListScreen {
public:
    frm要素端部形状();
    void ShowSpringUnitLabel();

protected:
    void Form_Load() override;
};

class frm要素端部配置 : public ListScreen {
public:
    frm要素端部配置();
};
