// The two section screens: sections given by their properties (numbers up
// to 999) and sections given by shape type and dimensions (1001 to 9999).
#pragma once

#include "input/ListScreen.h"

const ListScreenDescription& SectionPropertiesScreen();
const ListScreenDescription& SectionShapesScreen();
CheckVerdict CheckMaterial1Input(const CheckInputs& in);
CheckVerdict CheckMaterial2Input(const CheckInputs& in);

// What both section screens share: the common moduli of the basic data, shown
// under the modulus boxes and put in place of a zero Young's modulus, and the
// unit captions of the two moduli.
class SectionScreen : public ListScreen {
public:
    explicit SectionScreen(ListScreenDescription description);

    float CommonE = 0;
    float CommonG = 0;
    QLabel* lblCommonE = nullptr;
    QLabel* lblCommonγ = nullptr;

protected:
    void Form_Load() override;
    void PrepareNew() override;
    void BoxLostFocus(size_t i, QLineEdit* box) override;
    bool RunCheck() override;
    void ShowModulusUnitLabels();
    // Adds a line of static text at `top` (twips) under the entry boxes.
    QLabel* AddStaticText(const QString& text, double left, double top, double width);
};

class frm材料定数1 : public SectionScreen {
public:
    frm材料定数1();
};

class frm材料定数2 : public SectionScreen {
public:
    frm材料定数2();

    // Colours and enables the dimension boxes for the type in txtTYP.
    void MarkUsedSectionParameters();
    void ShowRecord() override;
    void PrepareNew() override;

protected:
    double ProposedNumber(int16_t max) const override;
    QLineEdit* NextInRing(size_t i, bool forward) const override;
    void BoxLostFocus(size_t i, QLineEdit* box) override;
};
