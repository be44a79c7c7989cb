#include "ui/window-utils/program_icons.h"

#include <utility>

#include "identity/resource_ids.h"
#include "ui/window-utils/dpi.h"

namespace tarvello::ui {

ScopedIcon LoadProgramIcon(int size) {
    // Not shared: a shared icon is the one first loaded, whatever size is asked for later.
    ScopedIcon icon(static_cast<HICON>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TARVELLO_ICON_ID), IMAGE_ICON, size, size, 0)));
    if (!icon) {
        // The platform's own icons are loaded only shared; the copy is ours.
        auto shared = static_cast<HICON>(
            LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, size, size, LR_SHARED));
        if (shared) icon.reset(CopyIcon(shared));
    }
    return icon;
}

void WindowIcons::SetOn(HWND window, int dpi) {
    ScopedIcon bigIcon = LoadProgramIcon(MetricForDpi(SM_CXICON, dpi));
    ScopedIcon smallIcon = LoadProgramIcon(MetricForDpi(SM_CXSMICON, dpi));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    // The window no longer shows the icons it had.
    big_ = std::move(bigIcon);
    small_ = std::move(smallIcon);
}

}  // namespace tarvello::ui
