#pragma once
// Finding another process's top-level window by its class. Header-only so that drivers built
// without the test support library (the demo's RoundThroughWindow) can use it too.

#include <windows.h>

#include <cwchar>

namespace tarvello::testing {

// The first top-level window of `windowClass` that belongs to the process, or null.
inline HWND TopWindowOf(DWORD processId, const wchar_t* windowClass) {
    struct Search {
        DWORD processId;
        const wchar_t* windowClass;
        HWND found;
    } search{processId, windowClass, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t cls[64] = {};
            GetClassNameW(hwnd, cls, 64);
            if (owner != s->processId || std::wcscmp(cls, s->windowClass) != 0) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace tarvello::testing
