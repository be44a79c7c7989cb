#include "tests/window-utils/dpi_process.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui::testing {

namespace {

// The user's LogPixels, set while it lives and then put back as it was (or taken away).
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key_.put(), nullptr);
        DWORD size = sizeof(before_);
        had_ = RegGetValueW(key_.get(), nullptr, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &before_,
                            &size) == ERROR_SUCCESS;
        Set(dpi);
    }
    ~ScopedLogPixels() { had_ ? Set(before_) : void(RegDeleteValueW(key_.get(), L"LogPixels")); }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

private:
    void Set(DWORD dpi) {
        RegSetValueExW(key_.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi),
                       sizeof(dpi));
    }
    ScopedKey key_;
    DWORD before_ = 0;
    bool had_ = false;
};

}  // namespace

int RunAgainAtDpi(int dpi) {
    ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
    std::wstring command = std::wstring(GetCommandLineW()) + L" " + kChildFlag;
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &start, &child)) {
        return 1;
    }
    ScopedHandleKernel process(child.hProcess), thread(child.hThread);
    // Less than the test's own timeout, so that the value is put back however the child hangs.
    DWORD code = 1;
    if (WaitForSingleObject(process.get(), 200000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "the tests at %d DPI did not end in time\n", dpi);
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), INFINITE);
    } else {
        GetExitCodeProcess(process.get(), &code);
    }
    return static_cast<int>(code);
}

}  // namespace tarvello::ui::testing
