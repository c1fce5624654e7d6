// The basic data screen: project name, designer, remark, load cases, common
// moduli, and the conversion of the stored model between SI and
// gravitational units.
#pragma once

#include "input/InputRecords.h"
#include "input/InputScreen.h"
#include "input/InputStart.h"
#include "input/InputValidation.h"

const InputScreenDescription& BasicDataScreen();
CheckVerdict CheckBasicDataInput(const CheckInputs& in);
// The values of the one row: the boxes' texts and the unit flag.
FieldValues BasicDataValues(const BoxTexts& texts, bool unitIsSI);

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frm基本データ : public InputScreen {
public:
    frm基本データ();

    QLineEdit* txt工事名;
    QLineEdit* txt設計者;
    QLineEdit* txtNote;
    QLineEdit* txtCase;
    QLineEdit* txtE;
    QLineEdit* txtγ;
    QLineEdit* txtGravity;
    QLabel* lblCase;
    QLabel* lblPYe;
    QLabel* lblPG;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label11;
    QLabel* lblCurrentUnit;
    QGroupBox* Frame2;
    QRadioButton* opnSelectG[2];
    QPushButton* cmdDataTrans;
    QPushButton* Cmd登録;
    QPushButton* cmdCancel;

    void cmdDataTrans_Click() { ConvertUnits(); }
    void Cmd登録_Click();
    void cmdCancel_Click() { CancelInput(); }
    void opnSelectG_Click(int index);

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadBasicData();
    void ShowUnitLabels();
    void ConvertUnits();
    // The stored model into the units now chosen; passes failures on.
    void ConvertTables(double gravity);
};
