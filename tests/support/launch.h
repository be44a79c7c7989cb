#pragma once
// Driving another program from outside: starting it, waiting (bounded) until its main window is
// up and answers, finding its windows, closing it. Shared by the tests, the demo's drivers and
// the benchmarks, so that there is one way to find another process's windows.

#include <windows.h>

#include <string>

#include "ui/window-utils/scoped_win.h"

namespace tarvello::launch {

struct Started {
    ui::ScopedHandleKernel process;
    ui::ScopedHandleKernel thread;
    DWORD processId = 0;
};

// Starts the program in workDir (the caller's folder when empty). Throws std::runtime_error.
Started Start(const std::wstring& exe, const std::wstring& arguments,
              const std::wstring& workDir = {});

// A visible top-level window of the process with that caption (any caption when empty);
// message boxes and other dialogs are left out. nullptr when there is none.
HWND FindTopWindow(DWORD processId, const std::wstring& caption);

// A visible dialog (message box) of the process, nullptr when there is none.
HWND FindDialog(DWORD processId);

// The first top-level window of the process of that window class, shown or not.
HWND FindWindowOfClass(DWORD processId, const std::wstring& windowClass);

// Waits until the process has its window visible and the window's thread answers a sent
// message: the moment a user can work with it. Throws when the process ends first or when
// timeoutMs passes.
HWND WaitUntilReady(const Started& started, const std::wstring& caption, DWORD timeoutMs);

// Asks the window to close and waits for the process, ending it by force after timeoutMs.
// Returns the exit code (or a note that it had to be ended) in `exitCode`; true when the
// process ended by itself.
bool CloseAndWait(const Started& started, HWND window, DWORD timeoutMs, DWORD& exitCode);

// A window's text, and the texts of the dialog's static controls, for messages.
std::wstring WindowText(HWND window);
std::wstring DialogText(HWND dialog);

// What the clipboard holds as text (what a program's Copy put there); empty when nothing.
std::wstring ClipboardText();

// UTF-8 for consoles and exception messages, and back.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& utf8);

}  // namespace tarvello::launch
