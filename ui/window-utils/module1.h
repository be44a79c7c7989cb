#pragma once
// Helpers shared by the program's windows.

#include <windows.h>

namespace tarvello::ui::Module1 {

// Puts the window into the top-most band, keeping its place and size. A failure leaves the
// window simply not top-most, so the result is not looked at.
void SetFormOnTop(HWND window);

}  // namespace tarvello::ui::Module1
