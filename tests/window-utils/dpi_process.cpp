#include "tests/window-utils/dpi_process.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui::testing {

int RunAgainAtDpi(int dpi) {
    ScopedKey desktop;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, desktop.put(), nullptr);
    DWORD before = 0, size = sizeof(before);
    const bool had = RegGetValueW(desktop.get(), nullptr, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                                  &before, &size) == ERROR_SUCCESS;
    const auto set = [&](DWORD value) {
        RegSetValueExW(desktop.get(), L"LogPixels", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&value), sizeof(value));
    };
    set(static_cast<DWORD>(dpi));
    std::wstring command = std::wstring(GetCommandLineW()) + L" " + kChildFlag;
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    PROCESS_INFORMATION child{};
    DWORD code = 1;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                       &child)) {
        ScopedHandleKernel process(child.hProcess), thread(child.hThread);
        // Less than the test's own timeout: the value is put back however the child hangs.
        if (WaitForSingleObject(process.get(), 200000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "the tests at %d DPI did not end in time\n", dpi);
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), INFINITE);
        }
        GetExitCodeProcess(process.get(), &code);
    }
    had ? set(before) : void(RegDeleteValueW(desktop.get(), L"LogPixels"));
    return static_cast<int>(code);
}

}  // namespace tarvello::ui::testing
