#pragma once
// The keyboard handling of the program's message loops: Tab, arrow keys, Enter, Escape and
// Alt+access keys go through the dialog manager; other typed characters do not.

#include <windows.h>

namespace tarvello::ui {

// Returns true when the dialog manager has handled `msg`. A plain character typed while a
// button or option has the focus would otherwise count as that control's access key: "r"
// alone would run a Round and "c" would close the program. Access keys take Alt (WM_SYSCHAR).
inline bool HandleDialogKeys(HWND dialog, MSG* msg) {
    if (msg->message == WM_CHAR && msg->wParam != L'\t' && msg->wParam != L'\r' &&
        msg->wParam != 0x1B) {
        return false;
    }
    return IsDialogMessageW(dialog, msg) != FALSE;
}

}  // namespace tarvello::ui
