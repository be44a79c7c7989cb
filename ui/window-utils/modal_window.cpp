#include "ui/window-utils/modal_window.h"

#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/twips.h"

namespace tarvello::ui {

int SizeAndCentre(HWND window, int widthTwips, int heightTwips, DWORD style, DWORD exStyle) {
    const int dpi = WindowDpi(window);
    RECT frame{0, 0, TwipsToPixels(widthTwips, dpi), TwipsToPixels(heightTwips, dpi)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return dpi;
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
