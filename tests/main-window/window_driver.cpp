// RoundThroughWindow: starts the utility (or finds the running one) and performs one Round
// through its window from outside, with window messages as a user's clicks and keys would
// send them. Used by scripts/demo.
//
//   RoundThroughWindow.exe [--start UTILITY.exe] [--method Decimal|Nearest|RoundUp]
//                          [--amount TEXT] [--field UnitPrice|ExtendedPrice]
//                          [--rows Current|Selected|All] [--preview]
//   RoundThroughWindow.exe --apply        (presses Apply in the open preview)
//   RoundThroughWindow.exe [--start UTILITY.exe] --undo   (chooses Edit > Undo Round)
//   RoundThroughWindow.exe --rules        (Edit > Price Rules, three bands typed, left open)
//   RoundThroughWindow.exe --open-rules   (Edit > Price Rules, left open as it opened)
//   RoundThroughWindow.exe --preview-rules   (presses Preview in the open Price Rules window)
//   RoundThroughWindow.exe --close-rules  (presses Close in the open Price Rules window)
//   RoundThroughWindow.exe --total AMOUNT (Edit > Round to a Total, AMOUNT typed, previewed)
//   RoundThroughWindow.exe --history      (Edit > Round History, its list printed, left open)
//   RoundThroughWindow.exe --close-history  (presses Close in the open Round History window)
//   RoundThroughWindow.exe --close        (presses the utility's Close button)
//   RoundThroughWindow.exe --close-host   (closes the stand-in host's window)
//
// With --preview it chooses Edit > Preview Round instead of pressing Round, prints the totals,
// presses Copy and prints what the clipboard then holds, and leaves the preview open.
//
// Leaves the utility running. Exit codes: 0 the Round came back with no message box up;
// 1 bad command line; 2 the utility could not be started or found; 3 the Round did not come
// back (a message box is up: its text is printed); 4 a message box is up after the Round.

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "tests/main-window/history_window.h"
#include "tests/main-window/pricing_driver.h"
#include "tests/main-window/remote_window.h"
#include "tests/support/process_start.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/preview-window/preview_layout.h"
#include "ui/price-rules-window/price_rules_layout.h"
#include "ui/round-history-window/round_history_layout.h"

using namespace tarvello::ui::testing;
using namespace tarvello::ui::main_window;

namespace {

HWND StartUtility(const std::wstring& path, DWORD* processId) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!tarvello::launch::StartProcess(nullptr, commandLine.data(), FALSE, nullptr, &si, &pi)) {
        return nullptr;
    }
    // The window exists once the program first waits for input.
    WaitForInputIdle(pi.hProcess, 60000);
    *processId = pi.dwProcessId;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return FindWindowOfClass(pi.dwProcessId, L"TarvelloRoundingMain");
}

int CloseWindowOf(const wchar_t* windowClass, int closeButton) {
    HWND window = FindWindowW(windowClass, nullptr);
    if (!window) return Fail(2, std::wstring(L"no window of class ") + windowClass);
    if (closeButton) return SendBounded(GetDlgItem(window, closeButton), BM_CLICK) ? 0 : 3;
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}

// The utility's window: started afresh when `start` names it, else the running one's.
HWND UtilityWindow(const std::wstring& start, DWORD* processId) {
    if (!start.empty()) return StartUtility(start, processId);
    HWND window = FindWindowW(L"TarvelloRoundingMain", nullptr);
    if (window) GetWindowThreadProcessId(window, processId);
    return window;
}

// Waits (bounded) for a window of that class to show, or to go.
HWND WaitForWindow(const wchar_t* windowClass, bool toCome) {
    HWND found = nullptr;
    for (int i = 0; i < 600; ++i, Sleep(50)) {
        found = FindWindowW(windowClass, nullptr);
        if ((found != nullptr && IsWindowVisible(found)) == toCome) return found;
    }
    return found;
}

// Edit > Preview Round, by its command: the preview opens, shows its totals, and its Copy puts
// the table on the clipboard.
int PreviewInWindow(HWND window, DWORD processId) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(kMnuEditPreview, 0), 0);
    return PrintPreview(processId);
}

// Apply in the open preview; the Apply runs once the preview has gone.
int ApplyInPreview() {
    HWND preview = FindWindowW(L"TarvelloPreview", nullptr);
    if (!preview) return Fail(2, L"no preview is open");
    DWORD processId = 0;
    GetWindowThreadProcessId(preview, &processId);
    PostMessageW(GetDlgItem(preview, tarvello::ui::preview_window::kCmdApply), BM_CLICK, 0, 0);
    if (WaitForWindow(L"TarvelloPreview", false)) return Fail(3, L"the preview stays open");
    // A quote of a few dozen line items is written in well under this.
    Sleep(1000);
    std::wstring shown = MessageBoxText(processId);
    if (!shown.empty()) return Fail(4, L"the utility says: " + shown);
    std::wprintf(L"Apply: the previewed prices were written\n");
    return 0;
}

// Edit > Undo Round, by its command: Wine shows no other process a window's menu.
int UndoInWindow(const std::wstring& start) {
    DWORD processId = 0;
    HWND window = UtilityWindow(start, &processId);
    if (!window) return Fail(2, L"the utility's window is not there");
    if (!SendBounded(window, WM_COMMAND, MAKEWPARAM(kMnuEditUndo, 0))) {
        return Fail(3, L"Undo did not come back: " + MessageBoxText(processId));
    }
    std::wstring shown = MessageBoxText(processId);
    if (!shown.empty()) return Fail(4, L"the utility says: " + shown);
    std::wprintf(L"Undo Round: every line item the Round wrote was restored\n");
    return 0;
}

// Edit > Round History, by its command: the window opens and its Copy puts the list on the
// clipboard.
int HistoryInWindow() {
    DWORD processId = 0;
    HWND window = UtilityWindow(L"", &processId);
    if (!window) return Fail(2, L"the utility's window is not there");
    HWND history = OpenHistory(window, processId);
    if (!history) return Fail(3, L"no Round History came: " + MessageBoxText(processId));
    std::wprintf(L"Round History lists:\n%ls", HistoryList(history).c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"--undo") return UndoInWindow(L"");
    if (argc == 4 && std::wstring(argv[1]) == L"--start" && std::wstring(argv[3]) == L"--undo") {
        return UndoInWindow(argv[2]);
    }
    if (argc == 2 && std::wstring(argv[1]) == L"--apply") return ApplyInPreview();
    if (argc >= 2 &&
        (std::wstring(argv[1]) == L"--rules" || std::wstring(argv[1]) == L"--total" ||
         std::wstring(argv[1]) == L"--preview-rules" || std::wstring(argv[1]) == L"--open-rules")) {
        DWORD processId = 0;
        HWND window = UtilityWindow(L"", &processId);
        if (!window) return Fail(2, L"the utility's window is not there");
        const std::wstring mode = argv[1];
        if (mode == L"--rules") return RulesInWindow(window, processId);
        if (mode == L"--open-rules") return OpenRules(window, processId);
        if (mode == L"--preview-rules") return PreviewRules(processId);
        if (argc != 3) return Fail(1, L"--total needs an amount");
        return NewTotalInWindow(window, processId, argv[2]);
    }
    if (argc == 2 && std::wstring(argv[1]) == L"--close") {
        return CloseWindowOf(L"TarvelloRoundingMain", kCmdClose);
    }
    if (argc == 2 && std::wstring(argv[1]) == L"--close-rules") {
        return CloseWindowOf(L"TarvelloPriceRules", tarvello::ui::price_rules_window::kCmdClose);
    }
    if (argc == 2 && std::wstring(argv[1]) == L"--history") return HistoryInWindow();
    if (argc == 2 && std::wstring(argv[1]) == L"--close-history") {
        return CloseWindowOf(L"TarvelloRoundHistory",
                             tarvello::ui::round_history_window::kCmdClose);
    }
    if (argc == 2 && std::wstring(argv[1]) == L"--close-host") {
        return CloseWindowOf(L"TarvelloStandinWindow", 0);
    }
    std::map<std::wstring, std::wstring> options = {
        {L"--method", L"Nearest"}, {L"--amount", L"5"}, {L"--field", L"UnitPrice"},
        {L"--rows", L"All"},       {L"--start", L""},
    };
    bool preview = false;
    for (int i = 1; i < argc; i += 2) {
        if (std::wstring(argv[i]) == L"--preview") {
            preview = true;
            --i;
            continue;
        }
        if (!options.count(argv[i]) || i + 1 >= argc) {
            return Fail(1, std::wstring(L"unknown or incomplete option ") + argv[i]);
        }
        options[argv[i]] = argv[i + 1];
    }
    const std::map<std::wstring, std::pair<int, int>> methods = {
        {L"Decimal", {kOptDecimal, kTxtDecimalPlaces}},
        {L"Nearest", {kOptNearest, kTxtNearest}},
        {L"RoundUp", {kOptRoundUp, kTxtNearestRoundUp}},
    };
    const std::map<std::wstring, int> fields = {{L"UnitPrice", kOptUnitPrice},
                                                {L"ExtendedPrice", kOptExtendedPrice}};
    const std::map<std::wstring, int> rows = {
        {L"Current", kOptCurrentRow}, {L"Selected", kOptSelectedRows}, {L"All", kOptAllRows}};
    if (!methods.count(options[L"--method"]) || !fields.count(options[L"--field"]) ||
        !rows.count(options[L"--rows"])) {
        return Fail(1, L"--method, --field or --rows names no option of the window");
    }

    DWORD processId = 0;
    HWND window = UtilityWindow(options[L"--start"], &processId);
    if (!window) return Fail(2, L"the utility's window is not there");

    auto [method, box] = methods.at(options[L"--method"]);
    // Choose the method (which takes the focus to its box), replace the amount, choose the
    // field and the rows, press Round.
    if (!SendBounded(GetDlgItem(window, method), BM_CLICK) ||
        !SendBounded(GetDlgItem(window, box), EM_SETSEL, 0, -1) ||
        !Type(GetDlgItem(window, box), options[L"--amount"]) ||
        !SendBounded(GetDlgItem(window, fields.at(options[L"--field"])), BM_CLICK) ||
        !SendBounded(GetDlgItem(window, rows.at(options[L"--rows"])), BM_CLICK)) {
        return Fail(3, L"the window did not answer: " + MessageBoxText(processId));
    }
    if (preview) return PreviewInWindow(window, processId);
    if (!SendBounded(GetDlgItem(window, kCmdRound), BM_CLICK)) {
        return Fail(3, L"Round did not come back: " + MessageBoxText(processId));
    }
    std::wstring shown = MessageBoxText(processId);
    if (!shown.empty()) return Fail(4, L"the utility says: " + shown);
    std::wprintf(L"Round: %ls %ls on %ls, rows %ls\n", options[L"--method"].c_str(),
                 options[L"--amount"].c_str(), options[L"--field"].c_str(),
                 options[L"--rows"].c_str());
    return 0;
}
