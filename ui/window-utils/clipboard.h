#pragma once
// Text onto the clipboard, as Unicode text.

#include <windows.h>

#include <string>

#include "identity/identity.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui {

enum class ClipboardCopy {
    Copied,
    // The clipboard could not be opened (another program held it through every try) or would
    // not take the text.
    ClipboardUnavailable,
    // The memory for the text could not be had or written.
    NoMemory,
};

struct GlobalMemoryTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL h) { GlobalFree(h); }
};
using ScopedGlobalMemory = ScopedHandle<HGLOBAL, GlobalMemoryTraits>;

// Replaces what the clipboard holds with `text`, written into `memory`: a movable block of at
// least (text.size() + 1) * sizeof(wchar_t) bytes, which this takes over. The text is written
// before the clipboard is touched, so a block that cannot be written leaves the clipboard as it
// was; the block is freed unless the clipboard has taken it.
inline ClipboardCopy CopyTextToClipboard(HWND owner, const std::wstring& text, HGLOBAL memory) {
    ScopedGlobalMemory block(memory);
    if (!block) return ClipboardCopy::NoMemory;
    void* target = GlobalLock(block.get());
    if (!target) return ClipboardCopy::NoMemory;
    CopyMemory(target, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block.get());

    // Another program may have it open for a moment: a few tries.
    bool open = false;
    for (int attempt = 0; attempt < 5 && !(open = OpenClipboard(owner) != FALSE); ++attempt) {
        Sleep(20);
    }
    if (!open) return ClipboardCopy::ClipboardUnavailable;
    const bool placed =
        EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block.get()) != nullptr;
    CloseClipboard();
    if (!placed) return ClipboardCopy::ClipboardUnavailable;
    // Once placed, the clipboard owns the memory.
    block.release();
    return ClipboardCopy::Copied;
}

// The same, into memory of its own, on behalf of `owner`.
inline ClipboardCopy CopyTextToClipboard(HWND owner, const std::wstring& text) {
    return CopyTextToClipboard(owner, text,
                               GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
}

// Copies `text`, or says in a message box owned by `owner` why it could not: "<what> could not be
// put on the clipboard: ..." with what to do about it.
inline void CopyOrTell(HWND owner, const std::wstring& text, const std::wstring& what,
                       MessagePresenter& messages) {
    const wchar_t* why = nullptr;
    switch (CopyTextToClipboard(owner, text)) {
        case ClipboardCopy::Copied:
            return;
        case ClipboardCopy::ClipboardUnavailable:
            why =
                L"the clipboard could not be opened; another program may be using it. Try Copy "
                L"again in a moment.";
            break;
        case ClipboardCopy::NoMemory:
            why =
                L"there was not enough memory for its text. Close some programs or windows and "
                L"try Copy again.";
            break;
    }
    messages.Show(owner, what + L" could not be put on the clipboard: " + why, L"" TARVELLO_TITLE,
                  MB_ICONERROR);
}

}  // namespace tarvello::ui
