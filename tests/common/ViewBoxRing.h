// Where the arrow keys are to move the focus from each of the nine view
// boxes, as the frame diagram window and the preview's layout mode show them.
#pragma once

namespace testenv {

struct ViewBoxRingStep {
    const char* from;
    const char* up;
    const char* down;   // Enter moves here too
    const char* left;
    const char* right;
};

inline constexpr ViewBoxRingStep kViewBoxRing[] = {
    {"txtrf", "txtCoordSize", "txtθf", "txtCoordSize", "txtθf"},
    {"txtθf", "txtrf", "txtφf", "txtrf", "txtφf"},
    {"txtφf", "txtθf", "txtX", "txtθf", "txtX"},
    {"txtX", "txtφf", "txtY", "txtφf", "txtCoordX"},
    {"txtY", "txtX", "txtzoom", "txtX", "txtCoordY"},
    {"txtzoom", "txtY", "txtCoordX", "txtY", "txtCoordSize"},
    {"txtCoordX", "txtzoom", "txtCoordY", "txtX", "txtCoordY"},
    {"txtCoordY", "txtCoordX", "txtCoordSize", "txtY", "txtCoordSize"},
    {"txtCoordSize", "txtCoordY", "txtrf", "txtzoom", "txtrf"},
};

}  // namespace testenv
