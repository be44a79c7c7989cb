#pragma once
// frmPreview's controls as data, in twips, for its first size; and how each follows the window
// when it is resized.

#include <vector>

#include "ui/window-utils/control_table.h"
#include "ui/window-utils/report_list.h"
#include "ui/window-utils/sizable_window.h"

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

// How each control follows the window when it is resized.
const std::vector<Anchor>& Anchors();

// The columns of the list, left to right, with the width each opens with at least.
const std::vector<ColumnSpec>& Columns();

}  // namespace tarvello::ui::preview_window
