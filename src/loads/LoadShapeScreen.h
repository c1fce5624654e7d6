// The load shape screen: the list screen with a load-case filter, the
// coordinate-system list and parameter boxes enabled by load type.
#pragma once

#include "input/ListScreen.h"

const ListScreenDescription& LoadShapeScreen();
CheckVerdict CheckLoadShapeInput(const CheckInputs& in);

class QComboBox;

class frm荷重形状 : public ListScreen {
public:
    frm荷重形状();

    QComboBox* cbo座標系 = nullptr;
    QComboBox* cbo荷重ケース数 = nullptr;
    QLabel* lblCase = nullptr;
    QPushButton* cmdReferType = nullptr;
    QLineEdit* txtTYP = nullptr;
    QLineEdit* txtCase = nullptr;
    QLineEdit* txtP(int index) const { return Boxes[static_cast<size_t>(index) + 2]; }

    void FillCoordinateSystemList();
    void FillCaseFilterList();
    void RefreshCaseFilterList();
    void ApplyCaseFilter(const QString& caseText);
    void ShowBasicDataCaseCount();
    void EnableMoveButtons(bool enable);
    void MarkUsedLoadParameters();

    void PrepareNew() override;
    void ShowRecord() override;
    bool InsertRow() override;
    void BindScreenRecordset(bool emptied) override;
    void RowsEmptied() override;
    void RowUpdated() override;
    // Choosing an entry of the case filter list.
    void cbo荷重ケース数_Click();

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QLineEdit* NextInRing(size_t i, bool forward) const override;

private:
    void PlaceControls();
    void TypeBoxLeft();
    // Opens the table afresh on ScreenDatabase with the case filter and 順 order.
    void OpenFiltered();
    QString FilterText() const;
};
