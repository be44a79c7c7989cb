#pragma once
// Text onto the clipboard, as Unicode text.

#include <windows.h>

#include <string>

namespace tarvello::ui {

// Replaces what the clipboard holds with `text`, on behalf of `owner`. False when the clipboard
// could not be had (another program holds it open) or the memory could not be allocated.
inline bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    if (void* target = GlobalLock(memory)) {
        CopyMemory(target, text.c_str(), bytes);
        GlobalUnlock(memory);
    }
    // Another program may have it open for a moment: a few tries.
    bool open = false;
    for (int attempt = 0; attempt < 5 && !(open = OpenClipboard(owner) != FALSE); ++attempt) {
        Sleep(20);
    }
    bool placed = false;
    if (open) {
        placed = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        CloseClipboard();
    }
    // Once placed, the clipboard owns the memory.
    if (!placed) GlobalFree(memory);
    return placed;
}

}  // namespace tarvello::ui
