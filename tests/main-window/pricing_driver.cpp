#include "tests/main-window/pricing_driver.h"

#include <cstdio>
#include <string>

#include "tests/main-window/remote_window.h"
#include "tests/support/launch.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/new-total-window/new_total_layout.h"
#include "ui/preview-window/preview_layout.h"
#include "ui/price-rules-window/price_rules_layout.h"

namespace tarvello::ui::testing {
int Fail(int code, const std::wstring& text) {
    std::fwprintf(stderr, L"RoundThroughWindow: %ls\n", text.c_str());
    return code;
}

namespace {

// Waits (bounded) for the utility's window of that class.
HWND WaitForWindowOf(DWORD processId, const wchar_t* windowClass) {
    for (int i = 0; i < 600; ++i, Sleep(50)) {
        HWND found = FindWindowOfClass(processId, windowClass);
        if (found && IsWindowVisible(found)) return found;
    }
    return nullptr;
}

bool SetText(HWND box, const std::wstring& text) {
    return SendBounded(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

int PrintPreview(DWORD processId) {
    HWND preview = WaitForWindowOf(processId, L"TarvelloPreview");
    if (!preview) return Fail(3, L"no preview came: " + MessageBoxText(processId));
    std::wprintf(L"%ls: %ls\n", RemoteText(preview).c_str(),
                 RemoteText(GetDlgItem(preview, preview_window::kLblTotals)).c_str());
    if (!SendBounded(GetDlgItem(preview, preview_window::kCmdCopy), BM_CLICK)) {
        return Fail(3, L"Copy did not come back");
    }
    std::wprintf(L"Copy put on the clipboard:\n%ls", launch::ClipboardText().c_str());
    return 0;
}

// A console of the C locale prints no arrow: the examples' "→" as "->".
std::wstring ForConsole(std::wstring text) {
    for (std::size_t at; (at = text.find(L'\u2192')) != std::wstring::npos;) {
        text.replace(at, 1, L"->");
    }
    return text;
}

namespace {

HWND ChoosePriceRules(HWND utility, DWORD processId) {
    PostMessageW(utility, WM_COMMAND, MAKEWPARAM(main_window::kMnuEditPriceRules, 0), 0);
    HWND rules = WaitForWindowOf(processId, L"TarvelloPriceRules");
    if (!rules) Fail(3, L"no Price Rules window came: " + MessageBoxText(processId));
    return rules;
}

}  // namespace

int OpenRules(HWND utility, DWORD processId) {
    HWND rules = ChoosePriceRules(utility, processId);
    if (!rules) return 3;
    const std::wstring line = RemoteText(GetDlgItem(rules, price_rules_window::kLblSource));
    if (!line.empty()) std::wprintf(L"Price Rules: %ls\n", line.c_str());
    return 0;
}

int RulesInWindow(HWND utility, DWORD processId) {
    // The rules round the unit price: the field chosen in the main window.
    if (!SendBounded(GetDlgItem(utility, main_window::kOptUnitPrice), BM_CLICK)) {
        return Fail(3, L"the utility's window did not answer");
    }
    HWND rules = ChoosePriceRules(utility, processId);
    if (!rules) return 3;
    using price_rules_window::BandColumn;
    struct Band {
        const wchar_t *from, *step, *ending;
        int direction;  // 0 Nearest, 1 Up, 2 Down
    };
    // Cash steps for cheap items, .99 endings from 10, x9 endings from 100, rounded up.
    const Band bands[] = {
        {L"0", L"0.05", L"", 0}, {L"10", L"1", L"0.99", 0}, {L"100", L"10", L"9", 1}};
    for (std::size_t row = 0; row < 3; ++row) {
        const auto box = [&](BandColumn column) {
            return GetDlgItem(rules, price_rules_window::BandControlId(row, column));
        };
        if ((row > 0 && !SetText(box(BandColumn::From), bands[row].from)) ||
            !SetText(box(BandColumn::Step), bands[row].step) ||
            !SetText(box(BandColumn::Ending), bands[row].ending) ||
            !SendBounded(box(BandColumn::Direction), CB_SETCURSEL, bands[row].direction) ||
            !SendBounded(rules, WM_COMMAND,
                         MAKEWPARAM(price_rules_window::BandControlId(row, BandColumn::Direction),
                                    CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(box(BandColumn::Direction)))) {
            return Fail(3, L"the Price Rules window did not answer");
        }
    }
    for (std::size_t row = 0; row < 3; ++row) {
        const HWND example =
            GetDlgItem(rules, price_rules_window::BandControlId(row, BandColumn::Example));
        std::wprintf(
            L"Price rules on the unit price, band %zu: from %ls, steps of %ls, ending %ls, "
            L"%ls; for example %ls\n",
            row + 1, bands[row].from, bands[row].step,
            *bands[row].ending ? bands[row].ending : L"none",
            bands[row].direction ? L"up" : L"nearest", ForConsole(RemoteText(example)).c_str());
    }
    return 0;
}

int PreviewRules(DWORD processId) {
    HWND rules = FindWindowOfClass(processId, L"TarvelloPriceRules");
    if (!rules) return Fail(2, L"no Price Rules window is open");
    PostMessageW(GetDlgItem(rules, price_rules_window::kCmdPreview), BM_CLICK, 0, 0);
    return PrintPreview(processId);
}

int NewTotalInWindow(HWND utility, DWORD processId, const std::wstring& newTotal) {
    PostMessageW(utility, WM_COMMAND, MAKEWPARAM(main_window::kMnuEditNewTotal, 0), 0);
    HWND total = WaitForWindowOf(processId, L"TarvelloNewTotal");
    if (!total) return Fail(3, L"no Round to a Total window came: " + MessageBoxText(processId));
    std::wprintf(L"Round to a Total: %ls; new total %ls\n",
                 RemoteText(GetDlgItem(total, new_total_window::kLblTotalNow)).c_str(),
                 newTotal.c_str());
    if (!SetText(GetDlgItem(total, new_total_window::kTxtNewTotal), newTotal)) {
        return Fail(3, L"the Round to a Total window did not answer");
    }
    PostMessageW(GetDlgItem(total, new_total_window::kCmdPreview), BM_CLICK, 0, 0);
    return PrintPreview(processId);
}

}  // namespace tarvello::ui::testing
