#include "tests/main-window/remote_window.h"

namespace tarvello::ui::testing {

bool SendBounded(HWND to, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(to, msg, wParam, lParam, SMTO_NORMAL, 60000, &result) != 0;
}

std::wstring RemoteText(HWND control) {
    wchar_t buffer[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL,
                        5000, &copied);
    return buffer;
}

bool Type(HWND control, const std::wstring& keys) {
    for (wchar_t c : keys) {
        if (!SendBounded(control, WM_CHAR, c, 1)) return false;
    }
    return true;
}

std::wstring MessageBoxText(DWORD processId) {
    HWND box = FindWindowOfClass(processId, L"#32770");
    if (!box) return L"";
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring part = RemoteText(child);
        if (part.empty()) continue;
        if (!text.empty()) text += L" | ";
        text += part;
    }
    return text;
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        HWND box = FindWindowOfClass(processId, L"#32770");
        if ((box && IsWindowVisible(box)) || GetTickCount64() >= deadline) return box;
        Sleep(20);
    }
}

std::wstring ToWindowsPath(const std::string& path) {
    std::wstring windows(path.begin(), path.end());
    if (!windows.empty() && windows[0] == L'/') windows = L"Z:" + windows;
    for (wchar_t& c : windows) {
        if (c == L'/') c = L'\\';
    }
    return windows;
}

}  // namespace tarvello::ui::testing
