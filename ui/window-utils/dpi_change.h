#pragma once
// What a window of fixed size does when the system tells it that its DPI has changed
// (WM_DPICHANGED: it was moved to a monitor with other scaling, or its monitor's scaling was
// changed): it takes the rectangle the system suggests, its controls take fonts and a layout of
// the new DPI, and its client area the size that layout needs, from the suggested corner.

#include <windows.h>

#include <initializer_list>

#include "ui/window-utils/control_factory.h"

namespace tarvello::ui {

// The new DPI a WM_DPICHANGED names.
inline int DpiOfChange(WPARAM wParam) {
    return HIWORD(wParam);
}

// Moves and sizes `window` to the rectangle a WM_DPICHANGED suggests.
void TakeSuggestedRect(HWND window, LPARAM lParam);

// All of the above for WM_DPICHANGED; the first set decides the client area. Gives the new DPI.
int FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam,
                    std::initializer_list<ControlSet*> sets);

}  // namespace tarvello::ui
