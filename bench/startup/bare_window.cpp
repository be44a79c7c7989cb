// The yardstick for start-up: one empty window of the utility's outer size (client area
// 5400 x 4440 twips below a menu bar, fixed border, centred), and nothing else.
//
// Built a second time as bare_window_libs, which first sets up what the utility sets up
// before its window (a COM apartment, the version 6 common controls), so that the cost of
// those libraries can be told apart from the utility's own work.
//
// Built a third time as bare_window_controls: the window with the libraries and the main
// window's twenty controls, made from the same table by the same code as the utility's, and
// nothing of the program itself (no commands, settings, menu, icon or top-most band). It tells
// what any window with this layout costs to start from what the utility adds to it.
#include <windows.h>
#ifdef BARE_WINDOW_WITH_LIBRARIES
#include <commctrl.h>
#include <objbase.h>
#endif
#ifdef BARE_WINDOW_WITH_CONTROLS
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/control_factory.h"
#include "ui/window-utils/twips.h"
#endif

namespace {

#ifdef BARE_WINDOW_WITH_CONTROLS
tarvello::ui::ControlSet layoutControls;
#endif

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
#ifdef BARE_WINDOW_WITH_CONTROLS
    if (message == WM_CTLCOLORSTATIC) {
        if (HBRUSH brush = layoutControls.ControlBrush(reinterpret_cast<HDC>(wParam),
                                                       reinterpret_cast<HWND>(lParam))) {
            return reinterpret_cast<LRESULT>(brush);
        }
    }
#endif
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifdef BARE_WINDOW_WITH_LIBRARIES
    const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
#endif
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TarvelloBareWindow";
    if (!RegisterClassW(&wc)) return 1;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r{0, 0, 5400 / 15, 4440 / 15};
    AdjustWindowRectEx(&r, style, TRUE, 0);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Bare Window", style,
                                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
#ifdef BARE_WINDOW_WITH_CONTROLS
    namespace layout = tarvello::ui::main_window;
    layoutControls.Create(window, layout::Controls(), tarvello::ui::WindowDpi(window),
                          layout::kWindowFont);
    layoutControls.Fit();
#endif
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
#ifdef BARE_WINDOW_WITH_LIBRARIES
    if (apartment) CoUninitialize();
#endif
    return static_cast<int>(msg.wParam);
}
