// A pass as the window runs it: the wait cursor, the progress, the watch over input and closes,
// and afterwards the one message about how it went and the close that was asked for.

#include <exception>

#include "engine/numbers/text_util.h"
#include "engine/passes/describe_failure.h"
#include "ui/main-window/frm_main.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/regional.h"
#include "ui/window-utils/scoped_win.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

std::optional<PassOutcome> frmMain::RunWatched(PassWatch::Activity activity, const PassBody& body) {
    std::optional<PassOutcome> outcome;
    PassReport report;
    PassWatch::Close close = PassWatch::Close::None;
    {
        ScopedCursor wait(reinterpret_cast<LPCWSTR>(IDC_WAIT));
        PassMessages messages(*this);
        PassWatch watch(hwnd_, progress_.Handle(main_window::kLblProgress), cmdClose, activity);
        watch_ = &watch;
        try {
            outcome = body(messages, watch);
            report = DescribePassOutcome(*outcome, UserNumberFormat());
        } catch (const std::exception& e) {
            report.text =
                u"An unexpected error occurred: " + ShortenedText(TextFromUtf8(e.what()), 200);
        } catch (...) {
            report.text = u"An unexpected error occurred.";
        }
        watch_ = nullptr;
        // Clicks and keys that piled up while the host was busy were meant for a window that
        // could not answer; played back now they would start a second Round. The watch takes
        // them as it takes them between line items, so that a close among them still counts.
        watch.TakeInput();
        close = watch.closeAsked();
    }
    UpdateUndoItem();
    // Told after the cursor and the progress are gone, so the message box is not shown under a
    // wait cursor; and before any close, while the window is there to own it.
    if (!report.text.empty()) {
        ShowError(ToWide(report.text),
                  report.tone == PassReport::Tone::Error ? MB_ICONERROR : MB_ICONINFORMATION);
    }
    switch (close) {
        case PassWatch::Close::Command:
            cmdClose_Click();
            return std::nullopt;
        case PassWatch::Close::Window:
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
            return std::nullopt;
        case PassWatch::Close::None:
            break;
    }
    return outcome;
}

}  // namespace tarvello::ui
