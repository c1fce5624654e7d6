// The legend of the load types: one picture per type with the meaning and
// unit of P1..P7 in the model's unit system.
#pragma once

#include "platform/Forms.h"

#include <QWidget>
#include <array>

class QLabel;
class QScrollArea;

// The diagram of one load type (1..10, panel order), drawn to its size.
class LoadTypePicture : public QWidget {
public:
    LoadTypePicture(int panel, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int panel_;
};

class frm荷重形状図 : public forms::Form {
public:
    frm荷重形状図();

    QScrollArea* VSViewPort1 = nullptr;
    std::array<LoadTypePicture*, 10> Pictures{};
    std::array<QLabel*, 10> Legends{};   // lbl_01 .. lbl_10

    // The legend texts of a panel (1..10) in either unit system.
    static QString LegendText(int panel, bool si);

protected:
    void Form_Load() override;
};
