#pragma once
// The DPI of each window: the program is per-monitor aware, so a window on a monitor at 150 %
// is drawn at 144 DPI while one beside it at 100 % is drawn at 96. The functions of newer
// systems are looked up when first used, so that the program still starts where they are
// missing; there a window has its monitor's DPI (Windows 8.1 and the first Windows 10), or the
// system's (before Windows 8.1).

#include <windows.h>

namespace tarvello::ui {

// The DPI of the screen as the system was started with.
int SystemDpi();

// The DPI `hwnd` is drawn at; the system's for null.
int WindowDpi(HWND hwnd);

// The DPI of the windows on `monitor`: its own where each monitor has one (Windows 8.1 on), the
// system's elsewhere and for null.
int MonitorDpi(HMONITOR monitor);

// A system metric (SM_CXSMICON, SM_CXMENUCHECK, ...) at `dpi`.
int MetricForDpi(int index, int dpi);

// The size of the window that has a client area of `client` at `dpi` (menu bar, caption and
// borders of that DPI around it).
SIZE FrameForClient(SIZE client, DWORD style, bool menu, DWORD exStyle, int dpi);

// Gives `window` the client size `client` at its top-left corner as it stands. A menu bar that
// takes another height than the one allowed for (it wraps) is made up for.
void SetClientSize(HWND window, SIZE client, int dpi);

}  // namespace tarvello::ui
