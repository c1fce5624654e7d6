// The node coordinates screen and the node lookup window.
#pragma once

#include "input/ListScreen.h"
#include "input/LookupWindow.h"

const ListScreenDescription& NodeScreen();
const LookupDescription& NodeLookup();
CheckVerdict CheckNodeInput(const CheckInputs& in);

class frm節点座標1 : public ListScreen {
public:
    frm節点座標1();
};
