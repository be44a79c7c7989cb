#pragma once
// Texts between Windows (wchar_t, 16 bits here) and the engine (char16_t): the same code
// units, copied. Conversions from and to 8-bit text are the engine's (engine/numbers/text_util.h).

#include <windows.h>

#include <string>

#include "engine/numbers/text_util.h"
#include "engine/numbers/variant.h"

namespace tarvello::ui {

inline Text ToText(const std::wstring& wide) {
    return Text(wide.begin(), wide.end());
}
inline std::wstring ToWide(const Text& text) {
    return std::wstring(text.begin(), text.end());
}
// UTF-8 (and so ASCII: constants, exception messages) for Windows.
inline std::wstring ToWide(const std::string& utf8) {
    return ToWide(TextFromUtf8(utf8));
}

// The whole text of a window or control.
inline std::wstring WindowText(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace tarvello::ui
