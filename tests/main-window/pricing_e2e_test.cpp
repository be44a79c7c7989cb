// Price rules and a new total through the real program beside the real stand-in, driven from
// outside as a user would: typed into their windows, previewed, applied, and undone.

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cwchar>
#include <optional>
#include <string>

#include "engine/policy/organisation_policy.h"
#include "host/com_host_link.h"
#include "host/com_raii.h"
#include "identity/identity.h"
#include "tests/main-window/remote_window.h"
#include "tests/main-window/utility_process.h"
#include "tests/support/standin_process.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/new-total-window/new_total_layout.h"
#include "ui/preview-window/preview_layout.h"
#include "ui/price-rules-window/price_rules_layout.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui::testing {
namespace {

using tarvello::testing::StandinProcess;

class PricingEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetJournal();
        std::wstring error;
        host_ = StandinProcess::Start({L"--quote", ToWindowsPath(TARVELLO_SAMPLE_QUOTE)}, &error);
        ASSERT_TRUE(host_) << Narrow(error);
        before_ = CsvRows(host_->ReadDump());
        ASSERT_TRUE(utility_.Start(&error)) << Narrow(error);
    }
    void Choose(int command) {
        PostMessageW(utility_.Window(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    HWND WaitForWindow(const wchar_t* windowClass) {
        for (const ULONGLONG deadline = GetTickCount64() + 60000; GetTickCount64() < deadline;
             Sleep(50)) {
            // Shown once every text is in place.
            HWND window = FindWindowOfClass(utility_.ProcessId(), windowClass);
            if (window && IsWindowVisible(window)) return window;
        }
        ADD_FAILURE() << "no window of class " << Narrow(windowClass)
                      << "; the utility shows: " << Narrow(MessageBoxText(utility_.ProcessId()));
        return nullptr;
    }
    static bool SetText(HWND box, const wchar_t* text) {
        return SendBounded(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    // Applies the preview that opens, and gives the host's document once Apply has written it
    // (it writes for some seconds after the preview has closed).
    Rows ApplyPreview(const wchar_t* caption) {
        HWND preview = WaitForWindow(L"TarvelloPreview");
        if (!preview) return before_;
        EXPECT_EQ(RemoteText(preview), caption);
        EXPECT_EQ(CsvRows(host_->ReadDump()), before_) << "a preview wrote";
        PostMessageW(GetDlgItem(preview, preview_window::kCmdApply), BM_CLICK, 0, 0);
        Rows last = before_;
        for (const ULONGLONG deadline = GetTickCount64() + 60000; GetTickCount64() < deadline;
             Sleep(1000)) {
            const Rows now = CsvRows(host_->ReadDump());
            if (now != before_ && now == last) return now;
            last = now;
        }
        return last;
    }
    void UndoAll() {
        Choose(main_window::kMnuEditUndo);
        EXPECT_EQ(WaitForDocument(*host_, before_), before_) << "Undo";
        EXPECT_EQ(MessageBoxText(utility_.ProcessId()), L"");
    }
    // The dump's unit price and extended price of a row (a description may hold a comma).
    static double Cell(const std::vector<std::wstring>& row, std::size_t fromEnd) {
        return std::wcstod(row[row.size() - fromEnd].c_str(), nullptr);
    }
    // Steps of 1 ending in .99 up to 100, of 10 ending in 9 above, applied to many unit prices.
    void ExpectEndings(const Rows& after) const {
        int written = 0;
        for (std::size_t i = 1; i < after.size(); ++i) {
            if (after[i][0] != L"1") continue;
            const double unit = Cell(after[i], 3);
            const double cents = std::round(unit * 100);
            EXPECT_TRUE(unit < 100 ? std::fmod(cents, 100) == 99 : std::fmod(cents, 1000) == 900)
                << "row " << i - 1 << ": " << unit;
            written += Cell(before_[i], 3) != unit;
        }
        EXPECT_GT(written, 8);
    }

    host::ComApartment apartment_;
    std::optional<StandinProcess> host_;
    Rows before_;
    Utility utility_;
};

// Steps of 1 ending in .99 up to 100, steps of 10 ending in 9 above, on the unit price.
TEST_F(PricingEndToEnd, RulesTypedIntoTheirWindowArePreviewedAppliedAndUndone) {
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kOptUnitPrice), BM_CLICK));
    Choose(main_window::kMnuEditPriceRules);
    HWND rules = WaitForWindow(L"TarvelloPriceRules");
    ASSERT_TRUE(rules);
    using price_rules_window::BandColumn;
    const auto box = [&](std::size_t row, BandColumn column) {
        return GetDlgItem(rules, price_rules_window::BandControlId(row, column));
    };
    ASSERT_TRUE(SetText(box(0, BandColumn::Step), L"1"));
    ASSERT_TRUE(SetText(box(0, BandColumn::Ending), L"0.99"));
    ASSERT_TRUE(SetText(box(1, BandColumn::From), L"100"));
    ASSERT_TRUE(SetText(box(1, BandColumn::Step), L"10"));
    ASSERT_TRUE(SetText(box(1, BandColumn::Ending), L"9"));
    // Closed, they are kept in their file, which the window opens with again.
    ASSERT_TRUE(SendBounded(GetDlgItem(rules, price_rules_window::kCmdClose), BM_CLICK));
    Choose(main_window::kMnuEditPriceRules);
    ASSERT_TRUE(rules = WaitForWindow(L"TarvelloPriceRules"));
    EXPECT_EQ(RemoteText(box(1, BandColumn::Ending)), L"9");
    PostMessageW(GetDlgItem(rules, price_rules_window::kCmdPreview), BM_CLICK, 0, 0);
    ExpectEndings(ApplyPreview(L"Preview by Price Rules"));
    EXPECT_EQ(MessageBoxText(utility_.ProcessId()), L"");
    UndoAll();
}

// The same rules set by the organisation, in a file the machine's policy key names (set before
// the utility starts, taken away after): Price Rules shows them read-only under the line that
// says where they come from, previews and applies them, and keeps no rules of the user's.
class PolicyEndToEnd : public PricingEndToEnd {
protected:
    void SetUp() override {
        std::wstring error;
        ASSERT_TRUE(dir_ = tarvello::testing::TempDir::Create(&error)) << Narrow(error);
        RulesTexts rules = DefaultRulesTexts(NumberFormat{});
        rules.bands[0] = {u"0", u"1", u"0.99"};
        rules.bands[1] = {u"100", u"10", u"9"};
        file_ = dir_->WriteFile(L"price-rules.txt", PriceRulesFileText(rules, NumberFormat{}));
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey,
                                  ToWide(NameOf(PolicySetting::PriceRulesFile)).c_str(), REG_SZ,
                                  file_.c_str(),
                                  static_cast<DWORD>((file_.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        PricingEndToEnd::SetUp();
    }
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey); }
    static constexpr const wchar_t* kKey = L"" TARVELLO_POLICY_KEY;
    std::optional<tarvello::testing::TempDir> dir_;
    std::wstring file_;
};

TEST_F(PolicyEndToEnd, TheOrganisationsRulesAreShownReadOnlyPreviewedAndNotKept) {
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kOptUnitPrice), BM_CLICK));
    Choose(main_window::kMnuEditPriceRules);
    HWND rules = WaitForWindow(L"TarvelloPriceRules");
    ASSERT_TRUE(rules);
    EXPECT_EQ(RemoteText(GetDlgItem(rules, price_rules_window::kLblSource)),
              L"Set by your organisation, from " + file_ + L". They cannot be changed here.");
    HWND step = GetDlgItem(
        rules, price_rules_window::BandControlId(1, price_rules_window::BandColumn::Step));
    EXPECT_EQ(RemoteText(step), L"10");
    EXPECT_TRUE(GetWindowLongPtrW(step, GWL_STYLE) & ES_READONLY);
    PostMessageW(GetDlgItem(rules, price_rules_window::kCmdPreview), BM_CLICK, 0, 0);
    ExpectEndings(ApplyPreview(L"Preview by Price Rules"));
    EXPECT_EQ(MessageBoxText(utility_.ProcessId()), L"");
    EXPECT_EQ(GetFileAttributesW(KeptRulesPath().c_str()), INVALID_FILE_ATTRIBUTES)
        << "no rules of the user's kept";
    UndoAll();
}

// "Make it a round figure": the next hundred above the total now, to the cent.
TEST_F(PricingEndToEnd, ANewTotalTypedIntoItsWindowIsWhatTheQuoteComesTo) {
    Choose(main_window::kMnuEditNewTotal);
    HWND total = WaitForWindow(L"TarvelloNewTotal");
    ASSERT_TRUE(total);
    double now = 0;
    ASSERT_EQ(std::swscanf(RemoteText(GetDlgItem(total, new_total_window::kLblTotalNow)).c_str(),
                           L"Total now: %lf", &now),
              1);
    const double target = std::ceil(now / 100 + 1) * 100;
    ASSERT_TRUE(SetText(GetDlgItem(total, new_total_window::kTxtNewTotal),
                        std::to_wstring(static_cast<long long>(target)).c_str()));
    PostMessageW(GetDlgItem(total, new_total_window::kCmdPreview), BM_CLICK, 0, 0);
    const Rows after = ApplyPreview(L"Preview of a New Total");
    double hostTotal = 0;
    for (std::size_t i = 1; i < after.size(); ++i) {
        if (after[i][0] == L"1") hostTotal += Cell(after[i], 1);
    }
    EXPECT_NEAR(hostTotal, target, 1e-6) << "the host's own total";
    EXPECT_EQ(MessageBoxText(utility_.ProcessId()), L"");
    UndoAll();
}

// Every price of a new total depends on every line item: a quantity changed between the preview
// and Apply, nothing is written, one message says why, and the window opens again as typed.
TEST_F(PricingEndToEnd, ANewTotalWritesNothingOnceALineItemChangedSinceThePreview) {
    std::wstring error;
    const std::optional<tarvello::testing::TempDir> dir =
        tarvello::testing::TempDir::Create(&error);
    ASSERT_TRUE(dir && host_->Close());
    host_ = StandinProcess::Start(
        {L"--quote", dir->WriteFile(L"three.csv",
                                    "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n"
                                    "1,A,1,10,\n1,B,1,10,\n1,C,1,10,\n")},
        &error);
    ASSERT_TRUE(host_) << Narrow(error);
    Choose(main_window::kMnuEditNewTotal);
    HWND total = WaitForWindow(L"TarvelloNewTotal");
    ASSERT_TRUE(total && SetText(GetDlgItem(total, new_total_window::kTxtNewTotal), L"60"));
    PostMessageW(GetDlgItem(total, new_total_window::kCmdPreview), BM_CLICK, 0, 0);
    HWND preview = WaitForWindow(L"TarvelloPreview");
    ASSERT_TRUE(preview);
    Variant five = Variant::Double(5);
    std::int16_t row = 2;
    host::ComHostLink().Attach()->LineItemSetValue(row, u"QtyTotal", five);
    const Rows changed = CsvRows(host_->ReadDump());
    PostMessageW(GetDlgItem(preview, preview_window::kCmdApply), BM_CLICK, 0, 0);

    HWND box = WaitForMessageBox(utility_.ProcessId(), 60000);
    EXPECT_EQ(MessageBoxText(utility_.ProcessId()),
              L"OK | Nothing was written: the quote has changed since the preview (row 2: its "
              L"total quantity), and every price of the new total depends on it. Preview shows "
              L"it again as it is now.");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    total = WaitForWindow(L"TarvelloNewTotal");
    ASSERT_TRUE(total);
    EXPECT_EQ(RemoteText(GetDlgItem(total, new_total_window::kTxtNewTotal)), L"60");
    EXPECT_EQ(MessageBoxText(utility_.ProcessId()), L"");
    EXPECT_EQ(CsvRows(host_->ReadDump()), changed);
    PostMessageW(GetDlgItem(total, new_total_window::kCmdClose), BM_CLICK, 0, 0);
}

}  // namespace
}  // namespace tarvello::ui::testing
