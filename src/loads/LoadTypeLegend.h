// The legend of the load types: one picture per type with the meaning and
// unit of P1..P7 in the model's unit system.
#pragma once

#include "platform/Forms.h"

#include <QLabel>
#include <QStringList>
#include <QWidget>
#include <array>

class QScrollArea;

// Lines of a legend text `width` character cells wide, broken at the blanks
// between its items (and between words only where an item is too long).
QStringList WrapLegendText(const QString& text, int width);
constexpr int kLegendCells = 16;

// A legend label: its text as set, drawn in lines of kLegendCells cells.
class LegendLabel : public QLabel {
public:
    explicit LegendLabel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

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
