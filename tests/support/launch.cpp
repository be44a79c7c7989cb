#include "tests/support/launch.h"

#include <stdexcept>
#include <vector>

#include "engine/numbers/text_util.h"
#include "tests/support/process_start.h"

namespace tarvello::launch {
namespace {

constexpr wchar_t kDialogClass[] = L"#32770";

std::wstring ClassOf(HWND window) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    return cls;
}

// What a top-level window must be to be found; empty texts match anything.
struct Search {
    DWORD processId;
    std::wstring windowClass;
    std::wstring caption;
    bool visibleOnly;
    bool dialogs;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s->processId) return TRUE;
    if (s->visibleOnly && !IsWindowVisible(window)) return TRUE;
    const std::wstring cls = ClassOf(window);
    if (!s->windowClass.empty() ? cls != s->windowClass : (cls == kDialogClass) != s->dialogs) {
        return TRUE;
    }
    if (!s->caption.empty() && WindowText(window) != s->caption) return TRUE;
    s->found = window;
    return FALSE;
}

HWND Find(Search search) {
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0) {
        auto* text = reinterpret_cast<std::wstring*>(param);
        std::wstring t = WindowText(child);
        if (!t.empty()) *text += (text->empty() ? L"" : L" | ") + t;
    }
    return TRUE;
}

}  // namespace

std::string Narrow(const std::wstring& text) {
    return Utf8Of(Text(text.begin(), text.end()));
}

std::wstring Widen(const std::string& utf8) {
    const Text text = TextFromUtf8(utf8);
    return std::wstring(text.begin(), text.end());
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    // Read through a sent message with a bound, so a hung window cannot hang the caller.
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &got)) {
        return {};
    }
    return text;
}

std::wstring DialogText(HWND dialog) {
    std::wstring text;
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&text));
    return WindowText(dialog) + L": " + text;
}

Started Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& workDir) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!StartProcess(exe.c_str(), buffer.data(), FALSE,
                      workDir.empty() ? nullptr : workDir.c_str(), &si, &pi)) {
        throw std::runtime_error("cannot start " + Narrow(exe) + ": error " +
                                 std::to_string(GetLastError()));
    }
    Started s;
    s.process.reset(pi.hProcess);
    s.thread.reset(pi.hThread);
    s.processId = pi.dwProcessId;
    return s;
}

HWND FindTopWindow(DWORD processId, const std::wstring& caption) {
    return Find({processId, L"", caption, true, false});
}

HWND FindDialog(DWORD processId) {
    return Find({processId, L"", L"", true, true});
}

HWND FindWindowOfClass(DWORD processId, const std::wstring& windowClass) {
    return Find({processId, windowClass, L"", false, false});
}

HWND WaitUntilReady(const Started& started, const std::wstring& caption, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    // Returns at once for a program that never reads input; the window search below decides.
    WaitForInputIdle(started.process.get(), timeoutMs);
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            throw std::runtime_error("no window \"" + Narrow(caption) + "\" within " +
                                     std::to_string(timeoutMs) + " ms");
        }
        const DWORD left = static_cast<DWORD>(deadline - now);
        if (HWND window = FindTopWindow(started.processId, caption)) {
            DWORD_PTR ignored = 0;
            if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, left, &ignored)) {
                return window;
            }
        }
        // The process handle is the pause: one millisecond, or at once when it has ended.
        if (WaitForSingleObject(started.process.get(), 1) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(started.process.get(), &code);
            throw std::runtime_error("the program ended with code " + std::to_string(code) +
                                     " before its window was ready");
        }
    }
}

bool CloseAndWait(const Started& started, HWND window, DWORD timeoutMs, DWORD& exitCode) {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(started.process.get(), timeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(started.process.get(), 1);
        WaitForSingleObject(started.process.get(), timeoutMs);
    }
    exitCode = 0;
    GetExitCodeProcess(started.process.get(), &exitCode);
    return ended;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace tarvello::launch
