#pragma once
// The program's icon at the sizes a window shows it at its DPI: the title bar's and the
// taskbar's, and a picture's. The executable carries it drawn for every size from 16 to 256
// pixels (app/app.ico); a program without it (a test) shows the platform's.

#include <windows.h>

#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui {

// The icon drawn for `size` × `size` pixels, owned by the caller.
ScopedIcon LoadProgramIcon(int size);

// A window's two icons, again whenever its DPI changes.
class WindowIcons {
public:
    // Gives `window` the icons of `dpi`, and lets go of those it had.
    void SetOn(HWND window, int dpi);
    HICON BigIcon() const { return big_.get(); }
    HICON SmallIcon() const { return small_.get(); }

private:
    ScopedIcon big_;
    ScopedIcon small_;
};

}  // namespace tarvello::ui
