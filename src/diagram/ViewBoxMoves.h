#pragma once

// Where Up, Down (and Enter), Left and Right move the focus among the nine
// boxes of a drawing's eye, position, zoom and axis indicator. The frame
// diagram window and the preview's layout mode lay these boxes out alike.

namespace diagram {

struct FocusMoves {
    const char* up = nullptr;
    const char* down = nullptr;
    const char* left = nullptr;
    const char* right = nullptr;
};

// The moves of the view box named `box`; none (all null) for any other box,
// the look-at boxes included, whose arrow keys act as in a plain text box.
const FocusMoves& ViewBoxMoves(const char* box);

}  // namespace diagram
