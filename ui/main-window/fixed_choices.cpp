// The choices the organisation fixed (engine/policy/organisation_policy.h): set as it set them and
// greyed, each saying why to screen readers, with a note beside the buttons that says it to
// everyone; Round to a Total greyed in the menu, its caption saying why.

#include <initializer_list>

#include "engine/numbers/text_util.h"
#include "ui/main-window/frm_main.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

using namespace main_window;

namespace {

constexpr const wchar_t* kWhy = L"Set by your organisation.";

}  // namespace

void frmMain::ShowFixedChoices() {
    HWND note = progress_.Handle(kLblFixedNote);
    ShowWindow(note, fixed_.Any() ? SW_SHOWNA : SW_HIDE);
    if (!fixed_.Any()) return;
    progress_.Fit();
    const auto grey = [this](std::initializer_list<HWND> controls) {
        for (HWND control : controls) {
            EnableWindow(control, FALSE);
            accessible_.Describe(control, kWhy);
        }
    };
    // An option group fixed: its choice on, every option of it greyed.
    const auto fix = [&](HWND on, std::initializer_list<HWND> group) {
        controls_.SetOptionOn(GetDlgCtrlID(on));
        grey(group);
    };
    if (fixed_.method) {
        const struct {
            RoundingMethod method;
            HWND option, box;
        } methods[] = {{RoundingMethod::Decimal, optDecimal, txtDecimalPlaces},
                       {RoundingMethod::Nearest, optNearest, txtNearest},
                       {RoundingMethod::RoundUp, optRoundUp, txtNearestRoundUp}};
        for (const auto& m : methods) {
            if (m.method != *fixed_.method) {
                grey({m.box});
                continue;
            }
            fix(m.option, {optDecimal, optNearest, optRoundUp});
            if (fixed_.amount) {
                SetWindowTextW(m.box, ToWide(*fixed_.amount).c_str());
                grey({m.box});
            }
        }
    }
    if (fixed_.field) {
        fix(*fixed_.field == RoundedPrice::UnitPrice ? optUnitPrice : optExtendedPrice,
            {optUnitPrice, optExtendedPrice});
    }
    if (fixed_.rows) {
        fix(*fixed_.rows == RowChoice::Current    ? optCurrentRow
            : *fixed_.rows == RowChoice::Selected ? optSelectedRows
                                                  : optAllRows,
            {optCurrentRow, optSelectedRows, optAllRows});
    }
    if (fixed_.roundToTotalOff) {
        std::wstring caption = L"Round to a &Total... (turned off by your organisation)";
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING | MIIM_STATE;
        item.dwTypeData = caption.data();
        item.fState = MFS_GRAYED;
        SetMenuItemInfoW(GetMenu(hwnd_), kMnuEditNewTotal, FALSE, &item);
    }
}

}  // namespace tarvello::ui
