#include "ui/window-utils/dpi.h"

#include <shellscalingapi.h>

namespace tarvello::ui {

namespace {

// A function of `module` that older systems lack, or null there.
template <typename Function>
Function FunctionOf(HMODULE module, const char* name) {
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

template <typename Function>
Function User32Function(const char* name) {
    return FunctionOf<Function>(GetModuleHandleW(L"user32.dll"), name);
}

// Shcore is not loaded with the program (and is missing before Windows 8.1): loaded for its
// GetDpiForMonitor when first needed, and kept for the rest of the run.
using MonitorDpiFunction = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);
MonitorDpiFunction ShcoreMonitorDpi() {
    HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return FunctionOf<MonitorDpiFunction>(shcore, "GetDpiForMonitor");
}

}  // namespace

int SystemDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND hwnd) {
    static const auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (!hwnd) return SystemDpi();
    const UINT dpi = forWindow ? forWindow(hwnd) : 0;
    if (dpi) return static_cast<int>(dpi);
    // Windows 8.1 and the first Windows 10 lack GetDpiForWindow, yet draw a per-monitor aware
    // window at the DPI of its monitor.
    return MonitorDpi(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

int MonitorDpi(HMONITOR monitor) {
    static const auto forMonitor = ShcoreMonitorDpi();
    UINT x = 0, y = 0;
    if (monitor && forMonitor && SUCCEEDED(forMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && y) {
        return static_cast<int>(y);
    }
    return SystemDpi();
}

int MetricForDpi(int index, int dpi) {
    static const auto forDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

SIZE FrameForClient(SIZE client, DWORD style, bool menu, DWORD exStyle, int dpi) {
    static const auto adjust =
        User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    if (adjust) {
        adjust(&frame, style, menu, exStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&frame, style, menu, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void SetClientSize(HWND window, SIZE client, int dpi) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const bool menu = GetMenu(window) != nullptr && !(style & WS_CHILD);
    const SIZE frame = FrameForClient(client, style, menu, exStyle, dpi);
    SetWindowPos(window, nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT actual;
    GetClientRect(window, &actual);
    if (actual.right != client.cx || actual.bottom != client.cy) {
        SetWindowPos(window, nullptr, 0, 0, frame.cx + client.cx - actual.right,
                     frame.cy + client.cy - actual.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace tarvello::ui
