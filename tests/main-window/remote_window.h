#pragma once
// Driving the utility's window from another process, as a user would: find it, click its
// buttons and options, type into its boxes, read what a message box says.

#include <windows.h>

#include <string>

#include "tests/support/launch.h"

namespace tarvello::ui::testing {

using launch::FindWindowOfClass;

// Sends a message and waits a bounded time for the other process to handle it. False when
// it did not come back in time (for instance because a message box is up).
bool SendBounded(HWND to, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

// The text of a control of another process (GetWindowText would not ask it).
std::wstring RemoteText(HWND control);

// Keys typed into a control, one WM_CHAR each.
bool Type(HWND control, const std::wstring& keys);

// The texts of a message box the process is showing, joined by " | "; empty when none.
std::wstring MessageBoxText(DWORD processId);

// Waits (bounded) for the process to show a message box; null when none came.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);

// A build path as Windows sees it under Wine (Z: is the Unix root).
std::wstring ToWindowsPath(const std::string& path);

}  // namespace tarvello::ui::testing
