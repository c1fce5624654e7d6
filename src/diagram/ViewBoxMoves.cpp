#include "diagram/ViewBoxMoves.h"

#include "diagram/UpDownControl.h"
#include "diagram/ViewParameterFile.h"
#include "platform/Runtime.h"
#include "platform/Ui.h"

#include <QLineEdit>

#include <cmath>
#include <cstring>

namespace diagram {

namespace {

struct NamedMoves {
    const char* box;
    FocusMoves moves;
};

// Up and Down run round the ring rf, θf, φf, X, Y, zoom, CoordX, CoordY,
// CoordSize; Left and Right cross between the position and the axis boxes.
const NamedMoves kMoves[] = {
    {"txtrf", {kAxisSizeBox, "txtθf", kAxisSizeBox, "txtθf"}},
    {"txtθf", {"txtrf", "txtφf", "txtrf", "txtφf"}},
    {"txtφf", {"txtθf", "txtX", "txtθf", "txtX"}},
    {"txtX", {"txtφf", "txtY", "txtφf", "txtCoordX"}},
    {"txtY", {"txtX", "txtzoom", "txtX", "txtCoordY"}},
    {"txtzoom", {"txtY", "txtCoordX", "txtY", kAxisSizeBox}},
    {"txtCoordX", {"txtzoom", "txtCoordY", "txtX", "txtCoordY"}},
    {"txtCoordY", {"txtCoordX", kAxisSizeBox, "txtY", kAxisSizeBox}},
    {kAxisSizeBox, {"txtCoordY", "txtrf", "txtzoom", "txtrf"}},
};

}  // namespace

const FocusMoves& ViewBoxMoves(const char* box)
{
    static const FocusMoves kNone;
    for (const NamedMoves& m : kMoves)
        if (std::strcmp(m.box, box) == 0) return m.moves;
    return kNone;
}

bool StepBoxValue(QLineEdit* box, float step, double min, double max)
{
    const double value = rt::Val(box->text()) + static_cast<double>(step);
    if (value < min || value > max) return false;
    box->setText(box->objectName() == QLatin1String(kAxisSizeBox) ? rt::Format(value, QStringLiteral("0.0"))
                                                                   : rt::CStrDouble(value));
    return true;
}

void ClampToUpDownRange(QLineEdit* box, const UpDownControl& spin)
{
    const double value = rt::Val(box->text());
    if (!(value > spin.Max() || value < spin.Min())) return;
    ui::Beep();
    box->setText(rt::CStrInt(std::llround(value > spin.Max() ? spin.Max() : spin.Min())));
}

}  // namespace diagram
