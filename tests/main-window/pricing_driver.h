#pragma once
// The demo's driver for Edit > Price Rules and Edit > Round to a Total: typed into their windows
// from outside, previewed, the preview's totals and Copy printed, and the preview left open for
// --apply (window_driver.cpp).

#include <windows.h>

#include <string>

namespace tarvello::ui::testing {

// Opens Price Rules, types three bands with endings into it and leaves it open, for a picture.
int RulesInWindow(HWND utility, DWORD processId);
// Opens Price Rules and leaves it open as it opened, for a picture; prints the line that says
// where the organisation's rules come from, when it shows one.
int OpenRules(HWND utility, DWORD processId);
// Presses Preview in the open Price Rules window and prints the preview.
int PreviewRules(DWORD processId);
// Opens Round to a Total, prints the total now, types `newTotal` and previews it.
int NewTotalInWindow(HWND utility, DWORD processId, const std::wstring& newTotal);

// Says why on standard error and gives back `code`: the driver's exit code.
int Fail(int code, const std::wstring& text);

// Prints the open preview's caption, totals and what its Copy puts on the clipboard.
int PrintPreview(DWORD processId);

}  // namespace tarvello::ui::testing
