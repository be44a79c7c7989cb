#pragma once
// frmNewTotal's controls as data, in twips.

#include <vector>

#include "ui/window-utils/control_table.h"

namespace tarvello::ui::new_total_window {

// Client area in twips.
constexpr int kClientWidthTwips = 5520;
constexpr int kClientHeightTwips = 2715;

// Child ids; IDOK and IDCANCEL stay free for what the dialog manager sends on Enter and Escape.
enum ControlId : int {
    kLblTotalNow = 100,
    kLblExplanation,
    kLblNewTotal,
    kTxtNewTotal,
    kLblStep,
    kTxtStep,
    kCmdPreview,
    kCmdClose,
};

// One row per control; the tab order is New total, the step, Preview, Close.
const std::vector<ControlSpec>& Controls();

}  // namespace tarvello::ui::new_total_window
