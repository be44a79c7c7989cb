#pragma once
// frmRoundHistory's controls as data, in twips, for its first size; how each follows the window
// when it is resized, and the columns of its list.

#include <vector>

#include "ui/window-utils/control_table.h"
#include "ui/window-utils/report_list.h"
#include "ui/window-utils/sizable_window.h"

namespace tarvello::ui::round_history_window {

// The client area it opens with: wider than the preview's, so that the Rounds' words read
// without scrolling.
constexpr int kClientWidthTwips = 12600;
constexpr int kClientHeightTwips = 4710;

enum ControlId : int {
    kLblRounds = 100,
    kLblNote,
    kLvwRounds,
    kCmdPreviewUndo,
    kLblWhy,
    kCmdForget,
    kCmdCopy,
    kCmdRefresh,
    kCmdClose,
};

const std::vector<ControlSpec>& Controls();
const std::vector<Anchor>& Anchors();
// When, What, Quote, Written, State.
const std::vector<ColumnSpec>& Columns();

}  // namespace tarvello::ui::round_history_window
