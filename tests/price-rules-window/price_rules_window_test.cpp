// The Price Rules window as the user meets it: its controls in tab order, the examples beside the
// rows as they are typed, one message box for what does not read, and what it gives back.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/about-box/recording_presenter.h"
#include "tests/support/modal_driver.h"
#include "ui/price-rules-window/frm_price_rules.h"
#include "ui/price-rules-window/price_rules_layout.h"
#include "ui/window-utils/accessible_names.h"
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
    std::optional<RulesChosen> Open(RulesTexts typed, const NumberFormat& format = kPoint,
                                    Focus focus = std::nullopt) {
        driver_.ArmGuard();
        frmPriceRules window(driver_.owner(), std::move(typed), format, messages_, focus);
        std::optional<RulesChosen> chosen = window.Form_Load();
        driver_.DisarmGuard();
        EXPECT_FALSE(driver_.guardFired()) << "the window did not close";
        return chosen;
    }
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

}  // namespace
}  // namespace tarvello::ui
