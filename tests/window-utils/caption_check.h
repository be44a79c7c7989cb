#pragma once
// Whether a window shows every caption whole, as Wine draws its controls: each caption measured
// in the control's own font, as drawn, within the room its control gives it.

#include <windows.h>

namespace tarvello::ui::testing {

// Fails the test for every caption cut off, every two controls that overlap without one holding
// the other, every captioned control outside the client area, and a window larger than a
// 1280 × 1024 screen (less its taskbar) at 150 %. `dpi`: the one the window is laid out for.
void ExpectCaptionsWhole(HWND window, int dpi);

// Sends `window`, laid out for `from` DPI, the WM_DPICHANGED of a move to a monitor at `dpi`,
// with the window's rectangle scaled as the system suggests it (Wine itself never sends it: all
// its monitors have one DPI); checks that the window took the suggested corner and that its
// controls' fonts follow the DPI.
void ExpectFollowsDpi(HWND window, int from, int dpi);

}  // namespace tarvello::ui::testing
