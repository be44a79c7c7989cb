#pragma once
// The keyboard handling of the program's message loops: a window's shortcut keys first, then
// Tab, arrow keys, Enter, Escape and Alt+access keys through the dialog manager; other typed
// characters do not go to the dialog manager.

#include <windows.h>

#include <cwchar>

namespace tarvello::ui {

// The window property that holds a window's shortcut keys (an accelerator table it owns).
inline constexpr wchar_t kShortcutsProperty[] = L"TarvelloShortcuts";

// True while a text box of `dialog` has the focus: it keeps its own keys (Ctrl+Z undoes typing,
// Ctrl+C copies) ahead of the window's shortcuts.
inline bool TextBoxHasFocus(HWND dialog) {
    HWND focus = GetFocus();
    if (!focus || !IsChild(dialog, focus)) return false;
    wchar_t cls[16] = {};
    GetClassNameW(focus, cls, 16);
    return _wcsicmp(cls, L"Edit") == 0;
}

// Returns true when `msg` has been handled as a shortcut or by the dialog manager. A plain
// character typed while a button or option has the focus would otherwise count as that
// control's access key: "r" alone would run a Round and "c" would close the program. Access
// keys take Alt (WM_SYSCHAR).
inline bool HandleDialogKeys(HWND dialog, MSG* msg) {
    if (auto shortcuts = static_cast<HACCEL>(GetPropW(dialog, kShortcutsProperty))) {
        if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) &&
            !TextBoxHasFocus(dialog) && TranslateAcceleratorW(dialog, shortcuts, msg)) {
            return true;
        }
    }
    if (msg->message == WM_CHAR && msg->wParam != L'\t' && msg->wParam != L'\r' &&
        msg->wParam != 0x1B) {
        return false;
    }
    return IsDialogMessageW(dialog, msg) != FALSE;
}

}  // namespace tarvello::ui
