#include "ui/new-total-window/new_total_layout.h"

namespace tarvello::ui::new_total_window {

namespace {

using K = ControlKind;

// A box of an amount, to the right of its label, whose caption is its name to screen readers.
ControlSpec AmountBox(int id, const wchar_t* name, int top, int tabIndex, int label) {
    ControlSpec row{id, name, K::TextBox, 0, nullptr, 2760, top, 2503, 285, tabIndex};
    row.labelledBy = label;
    return row;
}

}  // namespace

const std::vector<ControlSpec>& Controls() {
    static const std::vector<ControlSpec> controls = {
        {kLblTotalNow, L"lblTotalNow", K::Label, 0, nullptr, 240, 240, 5040, 255, -1},
        {kLblExplanation, L"lblExplanation", K::Label, 0,
         L"The sum of the extended prices of the line items of type 1 in the rows chosen in the "
         L"main window.",
         240, 540, 5040, 435, -1},
        {kLblNewTotal, L"lblNewTotal", K::Label, 0, L"New total", 240, 1170, 2400, 255, -1},
        AmountBox(kTxtNewTotal, L"txtNewTotal", 1125, 0, kLblNewTotal),
        {kLblStep, L"lblStep", K::Label, 0, L"Unit prices in steps of", 240, 1575, 2400, 255, -1},
        AmountBox(kTxtStep, L"txtStep", 1530, 1, kLblStep),
        {kCmdPreview, L"cmdPreview", K::PushButton, 0, L"&Preview...", 2760, 2100, 1183, 375, 2},
        {kCmdClose, L"cmdClose", K::PushButton, 0, L"Close", 4080, 2100, 1183, 375, 3},
    };
    return controls;
}

}  // namespace tarvello::ui::new_total_window
