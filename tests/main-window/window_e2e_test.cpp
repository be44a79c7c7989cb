// The real program beside the real stand-in host, driven from outside as a user would:
// choose "Nearest Multiple of", type 10, choose "Unit Price", press Round; then the prices
// the host holds are the rounded ones.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/main-window/remote_window.h"
#include "tests/support/standin_process.h"
#include "ui/main-window/main_window_layout.h"

namespace tarvello::ui::testing {
namespace {

using tarvello::testing::StandinProcess;
using tarvello::testing::TempDir;

std::wstring UtilityPath() {
    return ToWindowsPath(TARVELLO_ROUNDING_EXE);
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// Runs the utility for one test and ends it by its title bar, which saves nothing.
class Utility {
public:
    bool Start(std::wstring* error) {
        std::wstring commandLine = L"\"" + UtilityPath() + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &si, &process_)) {
            *error = L"cannot start " + commandLine;
            return false;
        }
        // The window exists once the program waits for input for the first time.
        WaitForInputIdle(process_.hProcess, 60000);
        window_ = FindWindowOfClass(process_.dwProcessId, L"TarvelloRoundingMain");
        if (!window_) *error = L"the utility's window did not appear";
        return window_ != nullptr;
    }
    ~Utility() {
        if (!process_.hProcess) return;
        if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    bool WaitExit(DWORD ms) const {
        return WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
    }
    DWORD ProcessId() const { return process_.dwProcessId; }
    HWND Window() const { return window_; }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

std::vector<std::vector<std::wstring>> Rows(const std::wstring& csv) {
    std::vector<std::vector<std::wstring>> rows;
    size_t start = 0;
    while (start < csv.size()) {
        size_t end = csv.find(L'\n', start);
        std::wstring line =
            csv.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty()) {
            std::vector<std::wstring> cells;
            size_t from = 0;
            for (;;) {
                size_t comma = line.find(L',', from);
                cells.push_back(line.substr(
                    from, comma == std::wstring::npos ? std::wstring::npos : comma - from));
                if (comma == std::wstring::npos) break;
                from = comma + 1;
            }
            rows.push_back(cells);
        }
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return rows;
}

TEST(WindowEndToEnd, NearestTenOnTheUnitPriceThroughTheWindow) {
    std::wstring error;
    std::optional<TempDir> dir = TempDir::Create(&error);
    ASSERT_TRUE(dir) << Narrow(error);
    std::wstring quote = dir->WriteFile(L"quote.csv",
                                        "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n"
                                        "1,Widget,3,12,5%\n"
                                        "2,Heading,,,\n"
                                        "1,Gadget,2,16.5,\n"
                                        "1,Bolt,4,125,net\n");
    std::optional<StandinProcess> host = StandinProcess::Start({L"--quote", quote}, &error);
    ASSERT_TRUE(host) << Narrow(error);

    Utility utility;
    ASSERT_TRUE(utility.Start(&error)) << Narrow(error);
    using namespace main_window;
    HWND nearest = utility.Control(kOptNearest);
    HWND amount = utility.Control(kTxtNearest);
    ASSERT_TRUE(nearest && amount);

    // Choosing the method takes the focus to its box with "5" selected; typing replaces it.
    ASSERT_TRUE(SendBounded(nearest, BM_CLICK));
    ASSERT_TRUE(Type(amount, L"10"));
    EXPECT_EQ(RemoteText(amount), L"10");
    ASSERT_TRUE(SendBounded(utility.Control(kOptUnitPrice), BM_CLICK));
    bool rounded = SendBounded(utility.Control(kCmdRound), BM_CLICK);
    ASSERT_TRUE(rounded) << "Round did not come back; the utility shows: "
                         << Narrow(MessageBoxText(utility.ProcessId()));
    EXPECT_EQ(MessageBoxText(utility.ProcessId()), L"");

    // Unit price and price modifier of each row, as the host now holds them.
    std::vector<std::vector<std::wstring>> dump = Rows(host->ReadDump());
    std::vector<std::wstring> prices;
    for (size_t i = 1; i < dump.size(); ++i) {
        ASSERT_GE(dump[i].size(), 5u);
        prices.push_back(dump[i][1] + L" " + dump[i][3] + L" [" + dump[i][4] + L"]");
    }
    // 16.5 becomes 16 (halves to even) before it goes to the nearest 10; 125 lies halfway and
    // goes up.
    const std::vector<std::wstring> expected = {L"Widget 10 []", L"Heading  []", L"Gadget 20 []",
                                                L"Bolt 130 []"};
    EXPECT_EQ(prices, expected) << Narrow(host->ReadDump());

    // Close, pressed from outside, ends the program.
    ASSERT_TRUE(SendBounded(utility.Control(kCmdClose), BM_CLICK));
    EXPECT_TRUE(utility.WaitExit(20000));
    EXPECT_TRUE(host->Close());
}

}  // namespace
}  // namespace tarvello::ui::testing
