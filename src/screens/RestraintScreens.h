// The restraint type screen and the restraint placement screen.
#pragma once

#include "input/ListScreen.h"

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
