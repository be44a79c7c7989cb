// The Round command: the controls become one rounding request for the pass.

#include <exception>
#include <optional>
#include <utility>

#include "engine/describe_failure.h"
#include "engine/rounding.h"
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

    request.RowScope = IsOn(optCurrentRow)     ? RowChoice::Current
                       : IsOn(optSelectedRows) ? RowChoice::Selected
                                               : RowChoice::All;
    request.PriceField = IsOn(optUnitPrice) ? RoundedPrice::UnitPrice : RoundedPrice::ExtendedPrice;
    return request;
}

void frmMain::cmdRound_Click() {
    std::optional<RoundingRequest> request = ReadRequest();
    if (!request) return;
    RunPass(PassWatch::Activity::Round, [&](MessageSink& messages, PassWatch& watch) {
        // A Round stopped part-way is undone as far as it got: what it wrote is kept however
        // it ends.
        UndoRecord record;
        try {
            lastRound_ = pass_.RoundLineItems(*request, messages, PassHooks{&record, &watch});
        } catch (...) {
            KeepForUndo(std::move(record));
            throw;
        }
        KeepForUndo(std::move(record));
        if (lastRound_->status == RoundOutcome::Status::Stopped) {
            return std::optional<Told>(
                {DescribeStoppedRound(*lastRound_), static_cast<UINT>(MB_ICONINFORMATION)});
        }
        return std::optional<Told>();
    });
}

void frmMain::RunPass(PassWatch::Activity activity, const PassBody& body) {
    std::optional<Told> told;
    std::exception_ptr unexpected;
    {
        ScopedCursor wait(reinterpret_cast<LPCWSTR>(IDC_WAIT));
        PassMessages messages(*this);
        PassWatch watch(hwnd_, progress_.Handle(main_window::kLblProgress), cmdClose, activity);
        watch_ = &watch;
        passRunning_ = true;
        try {
            told = body(messages, watch);
        } catch (const RoundFailure& stopped) {
            told = Told{DescribeRoundFailure(stopped)};
        } catch (...) {
            unexpected = std::current_exception();
        }
        watch_ = nullptr;
        // Clicks and keys that piled up while the host was busy were meant for a window that
        // could not answer; played back now they would start a second Round. The watch takes
        // them as it takes them between line items, so that a Close among them still counts.
        watch.StopRequested();
        passRunning_ = false;
        // A Close that came as input during the pass (the button, Alt+C, the title bar).
        if (afterRound_ == AfterRound::Nothing && watch.closeAsked()) {
            afterRound_ = AfterRound::CloseCommand;
        }
        if (afterRound_ == AfterRound::Nothing && watch.windowCloseAsked()) {
            afterRound_ = AfterRound::CloseWindow;
        }
    }
    UpdateUndoItem();
    // Told after the cursor and the progress are gone, so the message box is not shown under
    // a wait cursor.
    if (told && !told->text.empty()) ShowError(ToWide(told->text), told->icon);
    const AfterRound after = std::exchange(afterRound_, AfterRound::Nothing);
    if (after == AfterRound::CloseCommand) cmdClose_Click();
    if (after == AfterRound::CloseWindow) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    if (unexpected) std::rethrow_exception(unexpected);
}

}  // namespace tarvello::ui
