#pragma once

// Where Up, Down (and Enter), Left and Right move the focus among the nine
// boxes of a drawing's eye, position, zoom and axis indicator, and the range
// check of a box when it is left. The frame diagram window and the preview's
// layout mode lay these boxes out alike.

class QLineEdit;

namespace diagram {

class UpDownControl;

struct FocusMoves {
    const char* up = nullptr;
    const char* down = nullptr;
    const char* left = nullptr;
    const char* right = nullptr;
};

// The moves of the view box named `box`; none (all null) for any other box,
// the look-at boxes included, whose arrow keys act as in a plain text box.
const FocusMoves& ViewBoxMoves(const char* box);

// One arrow step of a box beside a spin control, for the frame diagram
// window and the preview's layout mode alike: the box's leading number plus
// `step`, summed in double precision. The step is single precision, as the
// spin controls give it, so a tenth is a little more than 0.1 and 0.1 cannot
// step down to 0. A sum outside min..max refuses the step whole (false,
// nothing changes); otherwise the box shows the sum, the axis-size box with
// one decimal, and the caller redraws as its setting asks.
bool StepBoxValue(QLineEdit* box, float step, double min, double max);

// A number beyond the limits of the spin control beside the box beeps and
// gives way to the limit it passed, written as a whole number; the window
// redraws afterwards as its own setting asks.
void ClampToUpDownRange(QLineEdit* box, const UpDownControl& spin);

}  // namespace diagram
