#include "tests/window-utils/dpi_process.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui::testing {

namespace {

// Less than the test's own timeout, so that the value is put back however the child hangs.
constexpr DWORD kChildTimeoutMs = 200000;

// The user's LogPixels set for as long as it lives, and put back (or taken away) after.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key_.put(), nullptr);
        DWORD value = 0, size = sizeof(value), type = 0;
        if (RegQueryValueExW(key_.get(), L"LogPixels", nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
            type == REG_DWORD) {
            before_ = value;
        }
        Set(dpi);
    }
    ~ScopedLogPixels() {
        if (before_) {
            Set(*before_);
        } else {
            RegDeleteValueW(key_.get(), L"LogPixels");
        }
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

private:
    void Set(DWORD dpi) {
        RegSetValueExW(key_.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi),
                       sizeof(dpi));
    }
    ScopedKey key_;
    std::optional<DWORD> before_;
};

}  // namespace

int RunAgainAtDpi(int dpi) {
    ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
    std::wstring command = std::wstring(GetCommandLineW()) + L" " + kChildFlag;
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &start, &child)) {
        std::fprintf(stderr, "could not start the tests again at %d DPI\n", dpi);
        return 1;
    }
    ScopedHandleKernel process(child.hProcess), thread(child.hThread);
    DWORD code = 1;
    if (WaitForSingleObject(process.get(), kChildTimeoutMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "the tests at %d DPI did not end in time\n", dpi);
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), INFINITE);
    } else {
        GetExitCodeProcess(process.get(), &code);
    }
    return static_cast<int>(code);
}

}  // namespace tarvello::ui::testing
