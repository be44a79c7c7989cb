#pragma once
// How a window's layout table makes room for texts that need more than it gives them. The table
// is laid out for 96 DPI, and text does not grow in proportion with the DPI: at 120 or 144 DPI a
// caption can need more than its control's width, scaled. Only such a control grows, and the
// rest make room for it by one rule, the same along both axes (across, then down):
//
// 1. A box takes what its text needs where that is more than it has.
// 2. A box moves on by as much as the far edges of the boxes before it moved: those of the same
//    container that end where it starts or before, and lie beside it across the axis.
// 3. Far edges that line up in the table stay lined up: the box that did not grow grows with
//    the one that did (two frames one above the other stay as wide as each other).
// 4. A frame keeps the room its table gives between its farthest box and its own far edge, and
//    so does the window, measured over the boxes that end inside it; a box that reaches the
//    window's far edge, or beyond (a band, a rule), grows with the window, which gives its text
//    the room it needs too.
// 5. The boxes that end at the far edge of the others, short of it by no more than the room the
//    window keeps there, stay so when that edge moves on, together with every box beside them
//    across the axis, unless one of those grew or moved (the buttons below two frames stay
//    lined up with the frames).
//
// When nothing needs more than it has, nothing moves: at 96 DPI the table's geometry stays as it
// is. Portable (no <windows.h>), so that the rule is tested on its own.

#include <vector>

namespace tarvello::ui {

struct FitBox {
    int id;
    int container;  // the id of the frame that holds the box, 0 for the window
    // In pixels, relative to the container (the window's client area for container 0).
    int left, top, width, height;
    // What the box's text needs along each axis; 0 for nothing.
    int needWidth = 0;
    int needHeight = 0;
};

struct FitSize {
    int width, height;
};

// Grows and moves `boxes` by the rule above and gives the window's client size, which is at
// least `client`.
FitSize FitLayout(std::vector<FitBox>& boxes, FitSize client);

}  // namespace tarvello::ui
