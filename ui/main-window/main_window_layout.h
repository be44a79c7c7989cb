#pragma once
// frmMain's controls and menus as data, in twips.

#include <vector>

#include "ui/window-utils/control_table.h"

namespace tarvello::ui::main_window {

// Child ids start above IDOK and IDCANCEL, which the dialog manager sends for Enter and Escape.
enum ControlId : int {
    kLabel4 = 100,
    kLabel5,
    kLine2,
    kLine1,
    kFrame2,
    kOptUnitPrice,
    kOptExtendedPrice,
    kFrame1,
    kOptDecimal,
    kTxtDecimalPlaces,
    kOptNearest,
    kTxtNearest,
    kOptRoundUp,
    kTxtNearestRoundUp,
    kFrame3,
    kOptCurrentRow,
    kOptSelectedRows,
    kOptAllRows,
    kCmdRound,
    kCmdClose,
    // Not part of the layout: a line of small text in the header band while a pass runs.
    kLblProgress,
    // Not part of the layout: under the frames, where the organisation fixed some choices.
    kLblFixedNote,
};

enum MenuId : int {
    kMnuFileClose = 200,
    kMnuHelpAbout,
    kMnuEditUndo,
    kMnuEditPreview,
    kMnuEditPriceRules,
    kMnuEditNewTotal,
    kMnuEditRoundHistory,
};

// The client area below the menu bar.
constexpr int kClientWidthTwips = 5400;
constexpr int kClientHeightTwips = 4440;

// Controls without a font of their own.
inline constexpr FontSpec kWindowFont = kProgramFont;

const std::vector<ControlSpec>& Controls();

// The progress line: in the header band, under the title and above its bottom rule, so
// that no control of the layout moves. Hidden while no pass runs. And the note that the greyed
// choices are the organisation's, beside the buttons: hidden where it fixed none.
const std::vector<ControlSpec>& ProgressControls();

}  // namespace tarvello::ui::main_window
