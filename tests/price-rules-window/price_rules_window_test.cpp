// The Price Rules window as the user meets it: its controls in tab order, the examples beside the
// rows as they are typed, one message box for what does not read, and what it gives back; and
// the rules the organisation sets, read from a file that changes and goes while the window is
// open.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/about-box/recording_presenter.h"
#include "tests/support/modal_driver.h"
#include "ui/price-rules-window/frm_price_rules.h"
#include "ui/price-rules-window/price_rules_layout.h"
#include "ui/window-utils/accessible_names.h"
#include "ui/window-utils/scoped_win.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {
namespace {

using namespace price_rules_window;
using Col = BandColumn;
using Focus = std::optional<std::pair<std::size_t, RulesField>>;

const NumberFormat kPoint{u"."}, kComma{u","};

HWND Window() {
    return test::FindModal(frmPriceRules::kClassName);
}

HWND Child(int id) {
    return GetDlgItem(Window(), id);
}

struct Names : AccessibleProperties {
    void SetName(HWND control, const std::wstring& name) override { of[control] = name; }
    void SetDescription(HWND, const std::wstring&) override {}
    void SetPoliteLiveRegion(HWND) override {}
    void LiveRegionChanged(HWND) override {}
    void Clear(HWND) override {}
    std::map<HWND, std::wstring> of;
};

// A control as tabbing meets it: its kind, what it shows and what screen readers call it.
std::wstring Seen(HWND control, const Names& names) {
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    std::wstring seen = kind;
    if (seen == L"Edit" && (style & ES_READONLY)) seen += L" read-only";
    if (seen == L"Button" && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen = L"DefaultButton";
    if (seen == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) seen = L"CheckBox";
    if (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) seen += L" checked";
    const auto name = names.of.find(control);
    return seen + L" '" + WindowText(control) + L"' " +
           (name == names.of.end() ? L"" : name->second);
}

std::wstring Example(std::vector<PriceBand> bands, std::size_t band) {
    PriceRules rules;
    rules.bands = std::move(bands);
    return ToWide(BandExample(rules, band, kPoint));
}

class PriceRulesWindow : public ::testing::Test {
protected:
    std::optional<RulesChosen> Open(
        RulesTexts typed, const NumberFormat& format = kPoint, Focus focus = std::nullopt,
        std::optional<OrganisationRulesInput> organisation = std::nullopt) {
        driver_.ArmGuard();
        frmPriceRules window(driver_.owner(), std::move(typed), format, messages_, focus,
                             std::move(organisation));
        std::optional<RulesChosen> chosen = window.Form_Load();
        ownChosen_ = window.OwnRulesChosen();
        driver_.DisarmGuard();
        EXPECT_FALSE(driver_.guardFired()) << "the window did not close";
        return chosen;
    }
    bool ownChosen_ = false;
    test::ModalDriver driver_{frmPriceRules::kClassName};
    test::RecordingPresenter messages_;
};

TEST_F(PriceRulesWindow, TabsThroughTheRowsThenTheGuardsAndButtonsShowingTheDefaults) {
    Names names;
    ScopedAccessibleProperties seam{names};
    const RulesTexts defaults = DefaultRulesTexts(kPoint);
    std::vector<std::wstring> expected, seen;
    for (std::size_t row = 0; row < kBandRows; ++row) {
        const BandTexts& band = defaults.bands[row];
        const std::wstring n = L"Band " + std::to_wstring(row + 1);
        expected.push_back(row ? L"Edit '" + ToWide(band.from) + L"' " + n + L" From"
                               : L"Edit read-only '0' Band 1 From");
        expected.push_back(L"Edit '" + ToWide(band.step) + L"' " + n + L" Step");
        expected.push_back(L"Edit '" + ToWide(band.ending) + L"' " + n + L" Ending");
        expected.push_back(L"ComboBox '" + ToWide(NameOf(band.direction)) + L"' " + n +
                           L" Direction");
    }
    expected.insert(expected.end(),
                    {L"CheckBox checked 'Never round a price to zero' ",
                     L"Edit '' Leave line items whose price would change by more than",
                     L"DefaultButton '&Preview...' ", L"Button 'Close' ", L"Price Rules"});
    driver_.Then([&] {
        for (HWND at = GetFocus(); seen.size() < expected.size() - 1;
             at = GetNextDlgTabItem(GetParent(at), at, FALSE)) {
            seen.push_back(Seen(at, names));
        }
        seen.push_back(WindowText(Window()));
        test::PressKey(VK_ESCAPE);
    });
    Open(defaults);
    std::rotate(expected.begin(), expected.begin() + 1, expected.end() - 1);  // it opens on Step
    EXPECT_EQ(seen, expected);
}

TEST_F(PriceRulesWindow, ExamplesFollowEachChangeAndRowsThatDoNotReadShowNone) {
    const auto band = [](const char16_t* from, const char16_t* step, RuleDirection direction) {
        return PriceBand{*Decimal::FromText(from), *Decimal::FromText(step), {}, direction};
    };
    // A second band from 12 cuts the first short: its example in place is not its example alone.
    const PriceBand up = band(u"0", u"1", RuleDirection::Up), second = band(u"12", u"5", {});
    const struct {
        std::function<void()> change;
        std::wstring first, second;
    } steps[] = {
        {[] { SetWindowTextW(Child(BandControlId(0, Col::Step)), L"1"); },
         Example({band(u"0", u"1", {})}, 0), L""},
        {[] {
             HWND list = Child(BandControlId(0, Col::Direction));
             SendMessageW(
                 list, CB_SETCURSEL,
                 SendMessageW(list, CB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>(L"Up")), 0);
             SendMessageW(GetParent(list), WM_COMMAND,
                          MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(list));
         },
         Example({up}, 0), L""},
        {[] { SetWindowTextW(Child(BandControlId(1, Col::Step)), L"5"); }, Example({up}, 0), L""},
        {[] { SetWindowTextW(Child(BandControlId(1, Col::From)), L"12"); },
         Example({up, second}, 0), Example({up, second}, 1)},
    };
    for (const auto& step : steps) {
        driver_.Then([&] {
            step.change();
            EXPECT_EQ(WindowText(Child(BandControlId(0, Col::Example))), step.first);
            EXPECT_EQ(WindowText(Child(BandControlId(1, Col::Example))), step.second);
        });
    }
    driver_.Then([] { test::PressKey(VK_ESCAPE); });
    Open(DefaultRulesTexts(kPoint));
}

TEST_F(PriceRulesWindow, WhatDoesNotReadIsOneMessageWithTheFocusOnItsFieldSelected) {
    const struct {
        const char* name;
        std::function<void(RulesTexts&)> type;
        int field;
    } cases[] = {
        {"a Step not a number", [](RulesTexts& t) { t.bands[2].step = u"abc"; },
         BandControlId(2, Col::Step)},
        {"an Ending not below its Step", [](RulesTexts& t) { t.bands[0].ending = u"0.05"; },
         BandControlId(0, Col::Ending)},
        {"a From not above band 1",
         [](RulesTexts& t) {
             t.bands[1] = {u"0", u"1", u""};
         },
         BandControlId(1, Col::From)},
        {"a percent not above 0", [](RulesTexts& t) { t.maxChangePercent = u"0"; }, kTxtMaxChange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RulesTexts typed = DefaultRulesTexts(kPoint);
        c.type(typed);
        int focused = 0;
        LRESULT selection = 0, whole = -1;
        HWND window = nullptr;
        driver_.Then([&] {
            window = Window();
            SendMessageW(Child(kCmdPreview), BM_CLICK, 0, 0);
            focused = GetDlgCtrlID(GetFocus());
            selection = SendMessageW(GetFocus(), EM_GETSEL, 0, 0);
            whole = MAKELRESULT(0, GetWindowTextLengthW(GetFocus()));
            test::PressKey(VK_ESCAPE);
        });
        messages_.shown.clear();
        EXPECT_FALSE(Open(typed));
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].owner, window);
        EXPECT_EQ(messages_.shown[0].type, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(messages_.shown[0].caption, L"Tarvello Rounding Utility");
        EXPECT_EQ(focused, c.field);
        EXPECT_EQ(selection, whole) << "the field's text is selected";
    }
}

TEST_F(PriceRulesWindow, PreviewGivesBackTheRulesAndTextsWhileClosingGivesNothing) {
    RulesTexts comma;
    comma.bands[0] = {u"0", u"0,05", u"", RuleDirection::Up};
    comma.bands[3] = {u"12,5", u"0,5", u"0,49", RuleDirection::Down};
    comma.neverToZero = false;
    comma.maxChangePercent = u"7,5";
    const struct {
        const char* name;
        std::function<void()> press;
        bool gives;
        Focus focus;
    } cases[] = {
        {"Enter", [] { test::PressKey(VK_RETURN); }, true, {}},
        {"Alt+P", [] { test::PressAltKey(L'p'); }, true, {}},
        {"Escape", [] { test::PressKey(VK_ESCAPE); }, false, Focus{{2, RulesField::Ending}}},
        {"Close", [] { SendMessageW(Child(kCmdClose), BM_CLICK, 0, 0); }, false, {}},
        {"title bar", [] { PostMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0); }, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int focused = 0;
        driver_.Then([&] { focused = GetDlgCtrlID(GetFocus()); });
        driver_.Then(c.press);
        const std::optional<RulesChosen> chosen = Open(comma, kComma, c.focus);
        EXPECT_EQ(focused, c.focus ? FieldControlId(c.focus->first, c.focus->second)
                                   : BandControlId(0, Col::Step));
        ASSERT_EQ(chosen.has_value(), c.gives);
        if (!chosen) continue;
        EXPECT_TRUE(chosen->typed == comma);
        ASSERT_EQ(chosen->rules.bands.size(), 2u);
        EXPECT_EQ(chosen->rules.bands[1].ending, Decimal(49, 2));
        EXPECT_EQ(chosen->rules.maxChangePercent, Decimal(75, 1));
    }
    EXPECT_TRUE(messages_.shown.empty());
}

// Closing over rules that do not read asks once: No, the default, goes back to the field at
// fault; Yes drops them.
TEST_F(PriceRulesWindow, ClosingOverRulesThatDoNotReadAsksOnceWhetherToDropThem) {
    int focused = 0;
    driver_.Then([&] {
        SetWindowTextW(Child(BandControlId(2, Col::Step)), L"abc");
        SendMessageW(Child(kCmdClose), BM_CLICK, 0, 0);
        focused = GetDlgCtrlID(GetFocus());
        messages_.answer = true;
        SendMessageW(Child(kCmdClose), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(Open(DefaultRulesTexts(kPoint)));
    EXPECT_EQ(focused, BandControlId(2, Col::Step));
    EXPECT_EQ(messages_.shown.size(), 2u) << "one question at each close";
}

// ---- the rules the organisation sets ----

// Handles what comes to the window (its reads and timers), not the steps queued after this one,
// until it is in `state` (for a bounded time).
bool PumpUntil(const std::function<bool()>& state) {
    for (const ULONGLONG end = GetTickCount64() + 20000; !state() && GetTickCount64() < end;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, Window(), 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return state();
}

RulesTexts StepOf(const char16_t* step) {
    RulesTexts typed = DefaultRulesTexts(kPoint);
    typed.bands[0].step = step;
    return typed;
}

// A file of rules as a colleague saves it: whole, in place of the one before.
struct RulesFile {
    RulesFile() {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        path = std::string(folder) + "org-price-rules-" + std::to_string(GetCurrentProcessId());
    }
    ~RulesFile() { DeleteFileA(path.c_str()); }
    void Save(const char16_t* step) const {
        std::ofstream(path + ".new", std::ios::binary) << PriceRulesFileText(StepOf(step), kPoint);
        MoveFileExA((path + ".new").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    OrganisationRulesInput Input(bool allowUserRules = false) const {
        return {{RulesSource::Kind::File, TextFromUtf8(path), {}},
                [at = path] {
                    std::ifstream in(at, std::ios::binary);
                    if (!in) return RulesRead{std::nullopt, u"it is not there"};
                    return RulesRead{std::string(std::istreambuf_iterator<char>(in), {}), u""};
                },
                allowUserRules};
    }
    std::string path;
};

bool ReadOnly(HWND box) {
    return GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY;
}
bool PreviewOffered() {
    return IsWindowEnabled(Child(kCmdPreview));
}
std::wstring StepShown() {
    return WindowText(Child(BandControlId(0, Col::Step)));
}

// Read off the window's thread: a share that does not answer keeps the window waiting no more
// than a moment, and it opens saying the rules are being read. Then read-only; a change to the
// file shows while the window is open; a file gone is said, its rules not shown and no preview
// offered, until it is back.
TEST_F(PriceRulesWindow, TheOrganisationsRulesAreReadAsideShownReadOnlyAndFollowTheirFile) {
    RulesFile file;
    file.Save(u"1");
    OrganisationRulesInput input = file.Input();
    const auto answer =
        std::make_shared<ScopedHandleKernel>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    input.read = [answer, read = input.read] {
        WaitForSingleObject(answer->get(), 60000);
        return read();
    };
    driver_.Then([&] {
        EXPECT_EQ(WindowText(Child(kLblSource)).rfind(L"Reading the price rules", 0), 0u);
        EXPECT_FALSE(PreviewOffered());
        SetEvent(answer->get());
        EXPECT_TRUE(PumpUntil([] { return PreviewOffered() && StepShown() == L"1"; }));
        EXPECT_TRUE(ReadOnly(Child(BandControlId(1, Col::From))));
        EXPECT_FALSE(IsWindowEnabled(Child(BandControlId(0, Col::Direction))));
        file.Save(u"2");
        EXPECT_TRUE(PumpUntil([] { return StepShown() == L"2"; }));
        DeleteFileA(file.path.c_str());
        EXPECT_TRUE(PumpUntil([] { return !PreviewOffered(); }));
        EXPECT_EQ(WindowText(Child(kLblSource)),
                  L"Your organisation's price rules could not be read from " +
                      ToWide(TextFromUtf8(file.path)) +
                      L": it is not there. Preview is unavailable until they can be read.");
        EXPECT_EQ(StepShown(), L"");
        SendMessageW(Window(), WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(Window()) << "Enter previews nothing";
        file.Save(u"5");
        EXPECT_TRUE(PumpUntil([] { return PreviewOffered() && StepShown() == L"5"; }));
        test::PressKey(VK_RETURN);
    });
    const RulesTexts own = StepOf(u"0.5");
    const std::optional<RulesChosen> chosen = Open(own, kPoint, std::nullopt, input);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(chosen->organisation);
    EXPECT_EQ(chosen->rules.bands.at(0).step, Decimal(5, 0));
    EXPECT_TRUE(chosen->typed == own) << "the user's own, as they were";
    EXPECT_TRUE(messages_.shown.empty());
}

// Allowed their own too, the user chooses between the two at the top: the organisation's to look
// at, their own to type in, each kept as it was while the other is shown.
TEST_F(PriceRulesWindow, WhereTheirOwnAreAllowedTheUserChoosesBetweenThem) {
    RulesFile file;
    file.Save(u"1");
    driver_.Then([&] {
        EXPECT_EQ(IsDlgButtonChecked(Window(), kOptOrganisation), BST_CHECKED);
        EXPECT_TRUE(ReadOnly(Child(BandControlId(0, Col::Step))));
        SendMessageW(Child(kOptOwn), BM_CLICK, 0, 0);
        EXPECT_EQ(StepShown(), L"0.5");
        EXPECT_FALSE(ReadOnly(Child(BandControlId(0, Col::Step))));
        SetWindowTextW(Child(BandControlId(0, Col::Step)), L"0.25");
        SendMessageW(Child(kOptOrganisation), BM_CLICK, 0, 0);
        EXPECT_EQ(StepShown(), L"1");
        SendMessageW(Child(kOptOwn), BM_CLICK, 0, 0);
        EXPECT_EQ(StepShown(), L"0.25");
        test::PressKey(VK_RETURN);
    });
    const std::optional<RulesChosen> chosen =
        Open(StepOf(u"0.5"), kPoint, std::nullopt, file.Input(true));
    ASSERT_TRUE(chosen);
    EXPECT_FALSE(chosen->organisation);
    EXPECT_TRUE(chosen->typed == StepOf(u"0.25"));
    EXPECT_TRUE(ownChosen_) << "the next opening starts on the user's own";
}

}  // namespace
}  // namespace tarvello::ui
