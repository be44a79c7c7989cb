#pragma once
// Round History driven from another process, as a user would: opened from the main window, its
// list read through its own Copy, its buttons pressed, its question answered.

#include <windows.h>

#include <string>

namespace tarvello::ui::testing {

// Edit > Round History in `utility`, and the window once it shows (null when none came).
HWND OpenHistory(HWND utility, DWORD processId);

// The Round History window that shows once `gone` has gone (it opens again after each choice):
// null when none came in time.
HWND WaitForHistory(DWORD processId, HWND gone = nullptr);

// The list as its Copy puts it on the clipboard: a header line and a line per Round, tabs apart.
std::wstring HistoryList(HWND history);

// Presses a button of the window; the window it opens next (or none, for Close) is the caller's
// to wait for.
void PressInHistory(HWND history, int button);

// Answers the question the process shows (Forget's) with Yes; false when none came.
bool AnswerYes(DWORD processId);

}  // namespace tarvello::ui::testing
