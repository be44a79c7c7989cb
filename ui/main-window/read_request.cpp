// The controls become one rounding request for a pass; what the window says about it, and the
// pass's own messages and question.

#include <optional>

#include "engine/numbers/rounding.h"
#include "engine/numbers/text_util.h"
#include "engine/passes/describe_failure.h"
#include "ui/main-window/frm_main.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/regional.h"
#include "ui/window-utils/scoped_win.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

void frmMain::PassMessages::ShowError(const Text& message) {
    // The pass is still under way, with the wait cursor up; the box is read with the arrow.
    ScopedCursor arrow(reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_.ShowError(ToWide(message));
}

bool frmMain::PassMessages::Ask(const Text& question) {
    ScopedCursor arrow(reinterpret_cast<LPCWSTR>(IDC_ARROW));
    return window_.messages_.Ask(window_.hwnd_, ToWide(question), L"" TARVELLO_TITLE);
}

void frmMain::ShowError(const std::wstring& text, UINT icon) {
    messages_.Show(hwnd_, text, L"" TARVELLO_TITLE, icon);
}

// Only the chosen method's box is read; an amount that is not a number is reported here and
// never reaches the host.
std::optional<RoundingRequest> frmMain::ReadRequest() {
    RoundingRequest request;
    HWND box = nullptr;
    if (IsOn(optNearest)) {
        request.Method = RoundingMethod::Nearest;
        box = txtNearest;
    } else if (IsOn(optRoundUp)) {
        request.Method = RoundingMethod::RoundUp;
        box = txtNearestRoundUp;
    } else if (IsOn(optDecimal)) {
        request.Method = RoundingMethod::Decimal;
        box = txtDecimalPlaces;
    } else {
        return std::nullopt;  // the method frame always has one option on
    }
    const Text typed = ToText(WindowText(box));
    const NumberFormat format = UserNumberFormat();
    try {
        request.Amount = ReadNumber(typed, format);
    } catch (const EngineError&) {
        ShowError(ToWide(DescribeUnreadableAmount(typed, format)));
        return std::nullopt;
    }
    // More than 10 decimal places is declined without a word, before the host is reached.
    if (request.Method == RoundingMethod::Decimal && request.Amount > 10) return std::nullopt;

    request.RowScope = ReadRows();
    request.PriceField = ReadPriceField();
    return request;
}

RowChoice frmMain::ReadRows() const {
    return IsOn(optCurrentRow)     ? RowChoice::Current
           : IsOn(optSelectedRows) ? RowChoice::Selected
                                   : RowChoice::All;
}

RoundedPrice frmMain::ReadPriceField() const {
    return IsOn(optUnitPrice) ? RoundedPrice::UnitPrice : RoundedPrice::ExtendedPrice;
}

}  // namespace tarvello::ui
