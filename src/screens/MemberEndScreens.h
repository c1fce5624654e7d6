// The member-end condition type screen and the member-end placement screen.
#pragma once

#include "input/ListScreen.h"

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
