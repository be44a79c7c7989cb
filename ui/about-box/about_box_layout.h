#pragma once
// The About box's controls as data, in twips.

#include <windows.h>

#include <vector>

#include "ui/window-utils/control_table.h"

namespace tarvello::ui::about_box {

// Client area in twips.
constexpr int kClientWidthTwips = 5730;
constexpr int kClientHeightTwips = 3555;

// Child ids; IDOK and IDCANCEL stay free for what the dialog manager sends on Enter and Escape.
enum ControlId : int {
    kPicIcon = 100,
    kCmdOK = 101,
    kCmdSysInfo = 108,
    kLine1Element1 = 102,
    kLblDescription = 103,
    kLblTitle = 104,
    kLine1Element0 = 105,
    kLblVersion = 106,
    kLblDisclaimer = 107,
};

// One row per control, in the order the controls are created.
const std::vector<ControlSpec>& Controls();

}  // namespace tarvello::ui::about_box
