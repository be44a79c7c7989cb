#pragma once
// The real program as the end-to-end tests run it, beside the real stand-in: started, driven
// from outside, ended by its title bar or killed; and the host's document as CSV rows.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/standin_process.h"

namespace tarvello::ui::testing {

std::string Narrow(const std::wstring& text);

// Runs the utility for one test and ends it by its title bar, which saves nothing.
class Utility {
public:
    Utility() = default;
    ~Utility();
    Utility(const Utility&) = delete;
    Utility& operator=(const Utility&) = delete;

    bool Start(std::wstring* error);
    // Ends it at once, as Task Manager or a power cut would: nothing of it runs any more.
    void Kill();
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    bool WaitExit(DWORD ms) const;
    DWORD ProcessId() const { return process_.dwProcessId; }
    HWND Window() const { return window_; }

private:
    void Release();

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// Forgets every Round the utility kept in this Wine prefix, and the price rules it kept: each
// test begins with none.
void ForgetJournal();
// Where the utility keeps the user's own price rules.
std::wstring KeptRulesPath();

using Rows = std::vector<std::vector<std::wstring>>;
Rows CsvRows(const std::wstring& csv);

// Polls the host's document until it holds `expected`, for a bounded time; what it holds then.
Rows WaitForDocument(tarvello::testing::StandinProcess& host, const Rows& expected);

}  // namespace tarvello::ui::testing
