// The member screen: member number, i-end and j-end nodes, section number.
#pragma once

#include "input/ListScreen.h"

class frm要素情報 : public ListScreen {
public:
    frm要素情報();
};
