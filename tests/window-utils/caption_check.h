#pragma once
// Whether a window shows every caption whole as Wine draws its controls: each caption measured
// in the control's own font, as drawn, within the room its control gives it.

#include <windows.h>

namespace tarvello::ui::testing {

// Fails for every caption cut off, every two controls whose drawings overlap without one holding
// the other, every caption outside the client area, and a window larger than a 1280 × 1024
// screen (less its taskbar) at 150 %. `dpi`: the one the window is laid out for.
void ExpectCaptionsWhole(HWND window, int dpi);

// Sends `window`, laid out for `from` DPI, the WM_DPICHANGED of a move to a monitor at `dpi`
// (Wine never sends it: its monitors share one DPI) with its rectangle scaled and moved by 10
// pixels; checks that it took that corner and that its controls' fonts follow.
void ExpectFollowsDpi(HWND window, int from, int dpi);

}  // namespace tarvello::ui::testing
