// The member screen (member number, i-end and j-end nodes, section number)
// and the member lookup window.
#pragma once

#include "input/ListScreen.h"
#include "input/LookupWindow.h"

const ListScreenDescription& MemberScreen();
const LookupDescription& MemberLookup();
CheckVerdict CheckElementInput(const CheckInputs& in);

class frm要素情報 : public ListScreen {
public:
    frm要素情報();
};
