#include "ui/window-utils/modal_window.h"

#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/twips.h"

namespace tarvello::ui {

RECT OwnersMonitor(HWND owner) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &info)) {
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return info.rcMonitor;
}

void SizeAndCentre(HWND window, SIZE client, int dpi) {
    SetClientSize(window, client, dpi);
    RECT frame;
    GetWindowRect(window, &frame);
    const RECT monitor = OwnersMonitor(GetWindow(window, GW_OWNER));
    const int x = monitor.left + (monitor.right - monitor.left - (frame.right - frame.left)) / 2;
    const int y = monitor.top + (monitor.bottom - monitor.top - (frame.bottom - frame.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RunModalLoop(HWND window) {
    MSG msg;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (!HandleDialogKeys(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

LRESULT KeepFocusOnActivate(HWND window, WPARAM wParam, LPARAM lParam, HWND& lastFocus,
                            HWND first) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) lastFocus = focus;
        return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
    }
    HWND focus = lastFocus ? lastFocus : first;
    if (focus) SetFocus(focus);
    return 0;
}

LRESULT DefaultButtonAnswer(const ControlSet& controls, int defaultId) {
    const ControlSpec* focused = controls.RowOf(GetFocus());
    const int id = focused && focused->kind == ControlKind::PushButton ? focused->id : defaultId;
    return MAKELRESULT(id, DC_HASDEFID);
}

}  // namespace tarvello::ui
