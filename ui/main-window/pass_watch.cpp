#include "ui/main-window/pass_watch.h"

#include <string>

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
    const std::wstring text =
        activity_ == Activity::Round
            ? L"Rounding row " + std::to_wstring(row) + L" of " + std::to_wstring(count)
            : L"Undoing line item " + std::to_wstring(position + 1) + L" of " +
                  std::to_wstring(count) + L" (row " + std::to_wstring(row) + L")";
    SetWindowTextW(progressLine_, text.c_str());
    if (!shown_) ShowWindow(progressLine_, SW_SHOWNA);
    shown_ = true;
    AnnounceLiveRegionChange(progressLine_);
    // The thread is busy with the pass: the line is painted now or not at all.
    UpdateWindow(progressLine_);
    taskbar_.Show(static_cast<std::uint64_t>(position), static_cast<std::uint64_t>(count));
}

bool PassWatch::StopRequested() {
    // Keys and clicks that came meanwhile are taken off the queue, never played back (the window
    // asks once more when the pass has ended); what they asked for is looked at now.
    MSG input;
    while (PeekMessageW(&input, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) Consider(input);
    while (PeekMessageW(&input, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) Consider(input);
    while (PeekMessageW(&input, window_, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, PM_REMOVE)) {
        Consider(input);
    }
    return stopAsked_;
}

void PassWatch::RequestStop(bool thenClose) {
    stopAsked_ = true;
    closeAsked_ = closeAsked_ || thenClose;
}

void PassWatch::Consider(const MSG& input) {
    switch (input.message) {
        case WM_KEYDOWN:
            if (input.wParam == VK_ESCAPE) RequestStop(false);
            break;
        case WM_SYSKEYDOWN:
            // Alt+C, the Close button's access key.
            if (input.wParam == 'C') RequestStop(true);
            break;
        case WM_LBUTTONUP:
            if (input.hwnd == closeButton_) RequestStop(true);
            break;
        case WM_NCLBUTTONDOWN:
            if (input.wParam == HTCLOSE) {
                stopAsked_ = true;
                windowCloseAsked_ = true;
            }
            break;
        default:
            break;
    }
}

}  // namespace tarvello::ui
