#include "ui/preview-window/preview_layout.h"

namespace tarvello::ui::preview_window {

namespace {

using K = ControlKind;

}  // namespace

const std::vector<ControlSpec>& Controls() {
    static const std::vector<ControlSpec> controls = {
        {kLvwLineItems, L"lvwLineItems", K::ListView, 0, nullptr, 120, 120, 10560, 4140, 0},
        {kLblNothing, L"lblNothing", K::Label, 0, nullptr, 240, 240, 10320, 600, -1},
        {kLblTotals, L"lblTotals", K::Label, 0, nullptr, 120, 4350, 10560, 480, -1},
        {kCmdApply, L"cmdApply", K::PushButton, 0, L"&Apply", 6960, 4905, 1183, 375, 1},
        {kCmdCopy, L"cmdCopy", K::PushButton, 0, L"&Copy", 8235, 4905, 1183, 375, 2},
        {kCmdCancel, L"cmdCancel", K::PushButton, 0, L"Cancel", 9510, 4905, 1183, 375, 3},
    };
    return controls;
}

const std::vector<Anchor>& Anchors() {
    static const std::vector<Anchor> anchors = {
        {kLvwLineItems, true, true, true, true}, {kLblNothing, true, true, true, false},
        {kLblTotals, true, false, true, true},   {kCmdApply, false, false, true, true},
        {kCmdCopy, false, false, true, true},    {kCmdCancel, false, false, true, true},
    };
    return anchors;
}

const std::vector<ColumnSpec>& Columns() {
    // Row, Quantity, Unit Price, New Unit Price, Extended Price, New Extended Price, Modifier,
    // Note.
    static const std::vector<ColumnSpec> columns = {
        {720, true},  {1140, true}, {1320, true},  {1800, true},
        {1440, true}, {1680, true}, {1200, false}, {1200, false},
    };
    return columns;
}

}  // namespace tarvello::ui::preview_window
