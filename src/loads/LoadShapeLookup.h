// The load shape lookup beside the load placement screen.
#pragma once

#include "input/LookupWindow.h"

class frm荷重形状参照 : public LookupWindow {
public:
    frm荷重形状参照();
};
