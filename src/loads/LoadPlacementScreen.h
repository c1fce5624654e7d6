// The load placement screen: load shapes put on nodes or members, with row
// numbers the screen assigns itself.
#pragma once

#include "screens/ListScreen.h"

class frm荷重配置 : public ListScreen {
public:
    frm荷重配置();

    QLineEdit* txt荷重形状 = nullptr;
    QPushButton* cmdRefer荷重形状データ = nullptr;
    QLineEdit* txt(int index) const { return Boxes[static_cast<size_t>(index) + 1]; }

    void PrepareNew() override;
    void ShowRecord() override;
    bool InsertRow() override;
    bool UpdateRow() override;
    void cmd削除_Click() override;
    void DBGrid_RowColChange() override;

protected:
    void AfterLoad() override;
    QLineEdit* NextInRing(size_t i, bool forward) const override;

private:
    void PlaceControls();
    // False (with the message) when no load shape has the number in txt荷重形状.
    bool ShapeExists();
};
