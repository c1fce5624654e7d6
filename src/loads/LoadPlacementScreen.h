// The load placement screen: load shapes put on nodes or members, with row
// numbers the screen assigns itself.
#pragma once

#include "input/ListScreen.h"

const ListScreenDescription& LoadPlacementScreen();
CheckVerdict CheckLoadPlacementInput(const CheckInputs& in);

class frm荷重配置 : public ListScreen {
public:
    frm荷重配置();

    QLineEdit* txt荷重形状 = nullptr;
    QPushButton* cmdRefer荷重形状データ = nullptr;
    QLineEdit* txt(int index) const { return Boxes[static_cast<size_t>(index) + 1]; }

    // After a delete the shape box has the focus.
    void cmd削除_Click() override;
};
