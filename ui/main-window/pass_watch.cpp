#include "ui/main-window/pass_watch.h"

#include <string>

#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/accessible_names.h"

namespace tarvello::ui {

namespace {

// Progress shows once a pass has taken this long, and changes at most this often.
constexpr ULONGLONG kShowAfterMs = 500;
constexpr ULONGLONG kUpdateEveryMs = 100;

}  // namespace

PassWatch::PassWatch(HWND window, HWND progressLine, HWND closeButton, Activity activity)
    : window_(window),
      progressLine_(progressLine),
      closeButton_(closeButton),
      activity_(activity),
      taskbar_(window),
      started_(GetTickCount64()) {}

PassWatch::~PassWatch() {
    if (shown_ && IsWindow(progressLine_)) {
        ShowWindow(progressLine_, SW_HIDE);
        SetWindowTextW(progressLine_, L"");
    }
}

void PassWatch::AtLineItem(std::int32_t row, std::int32_t position, std::int32_t count) {
    const ULONGLONG now = GetTickCount64();
    if (now - started_ < kShowAfterMs || (shown_ && now - lastShown_ < kUpdateEveryMs)) return;
    lastShown_ = now;
    // A Round and its preview go row by row; Undo and Apply through their own line items.
    const std::wstring of = std::to_wstring(row) + L" of " + std::to_wstring(count);
    const std::wstring item = L"line item " + std::to_wstring(position + 1) + L" of " +
                              std::to_wstring(count) + L" (row " + std::to_wstring(row) + L")";
    std::wstring text;
    switch (activity_) {
        case Activity::Round:
            text = L"Rounding row " + of;
            break;
        case Activity::Preview:
            text = L"Previewing row " + of;
            break;
        case Activity::Undo:
            text = L"Undoing " + item;
            break;
        case Activity::Apply:
            text = L"Applying " + item;
            break;
        case Activity::Look:
            // Round History looks at one kept Round at a time.
            text = L"Looking at Round " + std::to_wstring(position + 1) + L" of " +
                   std::to_wstring(count);
            break;
    }
    SetWindowTextW(progressLine_, text.c_str());
    if (!shown_) ShowWindow(progressLine_, SW_SHOWNA);
    shown_ = true;
    AnnounceLiveRegionChange(progressLine_);
    // The thread is busy with the pass: the line is painted now or not at all.
    UpdateWindow(progressLine_);
    taskbar_.Show(static_cast<std::uint64_t>(position), static_cast<std::uint64_t>(count));
}

bool PassWatch::LookForStop() {
    TakeInput();
    return stopAsked_;
}

void PassWatch::TakeInput() {
    MSG input;
    while (PeekMessageW(&input, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) Consider(input);
    while (PeekMessageW(&input, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) Consider(input);
    while (PeekMessageW(&input, window_, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, PM_REMOVE)) {
        Consider(input);
    }
    // A close posted from outside (what "End task" sends) would wait for the whole pass.
    while (PeekMessageW(&input, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE)) Consider(input);
    // Of the system commands only a close is taken; the rest wait their turn.
    while (PeekMessageW(&input, window_, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE) &&
           (input.wParam & 0xFFF0) == SC_CLOSE) {
        PeekMessageW(&input, window_, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE);
        Consider(input);
    }
}

bool PassWatch::TakeMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_CLOSE:
            AskToClose(Close::Window);
            return true;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != SC_CLOSE) return false;
            AskToClose(Close::Window);
            return true;
        case WM_QUERYENDSESSION:
            // Signing out would cut the pass off part-way: it stops first, then the window closes.
            AskToClose(Close::Window);
            result = FALSE;
            return true;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if ((id == main_window::kCmdClose && HIWORD(wParam) == BN_CLICKED) ||
                id == main_window::kMnuFileClose) {
                AskToClose(Close::Command);
            }
            return true;  // no Round, Undo or About box inside a pass
        }
        default:
            return false;
    }
}

void PassWatch::AskToClose(Close how) {
    stopAsked_ = true;
    if (close_ == Close::None) close_ = how;
}

void PassWatch::Consider(const MSG& input) {
    switch (input.message) {
        case WM_KEYDOWN:
            if (input.wParam == VK_ESCAPE) stopAsked_ = true;
            break;
        case WM_SYSKEYDOWN:
            // Alt+C, the Close button's access key; Alt+F4, the windowing system's close.
            if (input.wParam == 'C') AskToClose(Close::Command);
            if (input.wParam == VK_F4) AskToClose(Close::Window);
            break;
        case WM_LBUTTONUP:
            if (input.hwnd == closeButton_) AskToClose(Close::Command);
            break;
        case WM_NCLBUTTONDOWN:
            if (input.wParam == HTCLOSE) AskToClose(Close::Window);
            break;
        case WM_CLOSE:
            AskToClose(Close::Window);
            break;
        case WM_SYSCOMMAND:
            AskToClose(Close::Window);
            break;
        default:
            break;
    }
}

}  // namespace tarvello::ui
