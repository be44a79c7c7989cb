#include "ui/window-utils/module1.h"

namespace tarvello::ui::Module1 {

void SetFormOnTop(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace tarvello::ui::Module1
