// The node coordinates screen.
#pragma once

#include "input/ListScreen.h"

class frm節点座標1 : public ListScreen {
public:
    frm節点座標1();
};

