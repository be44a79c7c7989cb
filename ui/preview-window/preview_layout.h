#pragma once
// frmPreview's controls as data, in twips, for its first size; and how each follows the window
// when it is resized.

#include <vector>

#include "ui/window-utils/control_table.h"

namespace tarvello::ui::preview_window {

// The client area it opens with: wider than the main window, so that the seven columns read
// without scrolling.
constexpr int kClientWidthTwips = 10800;
constexpr int kClientHeightTwips = 5400;

enum ControlId : int {
    kLvwLineItems = 100,
    kLblNothing,
    kLblTotals,
    kCmdApply,
    kCmdCopy,
    kCmdCancel,
};

const std::vector<ControlSpec>& Controls();

// Which edges of the client area a control keeps its distance to when the window is resized: a
// control held to both left and right (or top and bottom) grows with the window.
struct Anchor {
    int id;
    bool left, top, right, bottom;
};
const std::vector<Anchor>& Anchors();

// The columns of the list, left to right, with the width each opens with at least, in twips;
// numbers are right-aligned.
// Room beside a header's text, for its margins and the sort mark's place.
constexpr int kColumnPaddingTwips = 360;
struct ColumnSpec {
    int widthTwips;
    bool number;
};
const std::vector<ColumnSpec>& Columns();

}  // namespace tarvello::ui::preview_window
