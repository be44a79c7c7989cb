#pragma once
// Starting a program from a test or a driver. Under Wine a process start now and then fails with
// ERROR_INTERNAL_ERROR while the machine is busy starting others (tests run side by side): the
// start is tried again a few times before that failure counts.

#include <windows.h>

namespace tarvello::launch {

inline BOOL StartProcess(const wchar_t* exe, wchar_t* commandLine, BOOL inheritHandles,
                         const wchar_t* workDir, STARTUPINFOW* start, PROCESS_INFORMATION* info) {
    for (int tries = 1;; ++tries) {
        if (CreateProcessW(exe, commandLine, nullptr, nullptr, inheritHandles, 0, nullptr, workDir,
                           start, info)) {
            return TRUE;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR || tries == 3) return FALSE;
        Sleep(250);
    }
}

}  // namespace tarvello::launch
