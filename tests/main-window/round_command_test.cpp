// The request each combination of options and texts hands to the pass, and what the user is
// told when a Round cannot be made.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/passes/describe_failure.h"
#include "identity/identity.h"
#include "tests/main-window/window_test_support.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/regional.h"
#include "ui/window-utils/run_guarded.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui::testing {
namespace {

class RoundCommandTest : public ::testing::Test {
protected:
    void SetUp() override { loaded.Load(settings.Location()); }
    WindowControls& w() { return loaded.controls; }
    // A number as the user types it, with their own decimal separator.
    static std::wstring Typed(const std::wstring& number) {
        std::wstring separator = ToWide(UserNumberFormat().decimalSeparator);
        std::wstring text;
        for (wchar_t c : number) {
            if (c == L'.') {
                text += separator;
            } else {
                text += c;
            }
        }
        return text;
    }

    ScratchSettings settings;
    LoadedWindow loaded;
};

struct RequestCase {
    const char* name;
    std::function<void(WindowControls&)> choose;
    std::vector<PassCall> expected;
};

TEST_F(RoundCommandTest, EachChoiceHandsItsRequestToThePass) {
    const RequestCase cases[] = {
        {"right after start", [](WindowControls&) {}, {{0, u"ExtendedPrice", u"Decimal", u"All"}}},
        {"decimal 10 passes",
         [](WindowControls& w) { SetText(w.txtDecimalPlaces, L"10"); },
         {{10, u"ExtendedPrice", u"Decimal", u"All"}}},
        {"decimal 10.01 is declined",
         [](WindowControls& w) { SetText(w.txtDecimalPlaces, Typed(L"10.01")); },
         {}},
        {"decimal 11 is declined",
         [](WindowControls& w) { SetText(w.txtDecimalPlaces, L"11"); },
         {}},
        {"decimal -3 stays -3",
         [](WindowControls& w) { SetText(w.txtDecimalPlaces, L"-3"); },
         {{-3, u"ExtendedPrice", u"Decimal", u"All"}}},
        {"decimal 2.5 stays 2.5",
         [](WindowControls& w) { SetText(w.txtDecimalPlaces, Typed(L"2.5")); },
         {{2.5, u"ExtendedPrice", u"Decimal", u"All"}}},
        {"letters in an unused box",
         [](WindowControls& w) {
             SetText(w.txtNearest, L"abc");
             SetText(w.txtNearestRoundUp, L"");
             SetText(w.txtDecimalPlaces, L"2");
         },
         {{2, u"ExtendedPrice", u"Decimal", u"All"}}},
        {"nearest 0",
         [](WindowControls& w) {
             Click(w.optNearest);
             SetText(w.txtNearest, L"0");
             SetText(w.txtDecimalPlaces, L"99");
         },
         {{0, u"ExtendedPrice", u"Nearest", u"All"}}},
        {"nearest -5",
         [](WindowControls& w) {
             Click(w.optNearest);
             SetText(w.txtNearest, L"-5");
         },
         {{-5, u"ExtendedPrice", u"Nearest", u"All"}}},
        {"round up 7 on the unit price of the selected rows",
         [](WindowControls& w) {
             Click(w.optRoundUp);
             SetText(w.txtNearestRoundUp, L"7");
             Click(w.optUnitPrice);
             Click(w.optSelectedRows);
         },
         {{7, u"UnitPrice", u"RoundUp", u"Selected"}}},
        {"current row",
         [](WindowControls& w) { Click(w.optCurrentRow); },
         {{0, u"ExtendedPrice", u"Decimal", u"Current"}}},
        {"all rows again after another choice",
         [](WindowControls& w) {
             Click(w.optCurrentRow);
             Click(w.optAllRows);
             Click(w.optUnitPrice);
             Click(w.optExtendedPrice);
         },
         {{0, u"ExtendedPrice", u"Decimal", u"All"}}},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedWindow fresh;
        fresh.Load(settings.Location());
        c.choose(fresh.controls);
        Click(fresh.controls.cmdRound);
        EXPECT_EQ(fresh.pass.calls, c.expected)
            << "got " << Describe(fresh.pass.calls) << " expected " << Describe(c.expected);
        EXPECT_TRUE(fresh.messages.shown.empty());
    }
}

TEST_F(RoundCommandTest, RoundReadsTheControlsAfreshOnEveryPress) {
    Click(w().cmdRound);
    SetText(w().txtDecimalPlaces, L"3");
    Click(w().cmdRound);
    Click(w().optNearest);
    Click(w().cmdRound);
    const std::vector<PassCall> expected = {{0, u"ExtendedPrice", u"Decimal", u"All"},
                                            {3, u"ExtendedPrice", u"Decimal", u"All"},
                                            {5, u"ExtendedPrice", u"Nearest", u"All"}};
    EXPECT_EQ(loaded.pass.calls, expected) << Describe(loaded.pass.calls);
}

TEST_F(RoundCommandTest, AltRPressesRoundAndEnterOrEscapePressNothing) {
    PressAltKey(w().hwnd(), L'r');
    EXPECT_EQ(loaded.pass.calls.size(), 1u);
    // Neither button is the default or the cancel button, wherever the focus is.
    SetFocus(w().txtDecimalPlaces);
    PressKey(w().hwnd(), VK_RETURN);
    PressKey(w().hwnd(), VK_ESCAPE);
    SetFocus(w().cmdClose);
    PressKey(w().hwnd(), VK_RETURN);
    PressKey(w().hwnd(), VK_ESCAPE);
    EXPECT_EQ(loaded.pass.calls.size(), 1u);
    EXPECT_TRUE(IsWindow(w().hwnd()));
    EXPECT_FALSE(settings.Get(L"Top").has_value());
}

TEST_F(RoundCommandTest, LettersTypedWithoutAltPressNoButton) {
    // The focus starts on Round: "r" must not round and "c" must not close.
    ASSERT_EQ(GetFocus(), w().cmdRound);
    for (wchar_t letter : {L'r', L'R', L'c', L'C'}) TypeCharacter(w().hwnd(), letter);
    SetFocus(w().optAllRows);
    for (wchar_t letter : {L'r', L'c'}) TypeCharacter(w().hwnd(), letter);
    EXPECT_TRUE(loaded.pass.calls.empty()) << Describe(loaded.pass.calls);
    EXPECT_TRUE(IsWindow(w().hwnd()));
    EXPECT_FALSE(settings.Get(L"Top").has_value());
    // Typed into an amount box, the same letters are text.
    SetFocus(w().txtNearest);
    SendMessageW(w().txtNearest, EM_SETSEL, 0, -1);
    TypeCharacter(w().hwnd(), L'c');
    EXPECT_EQ(WindowText(w().txtNearest), L"c");
}

TEST_F(RoundCommandTest, AnAmountThatIsNotANumberIsNamedAndNothingIsSent) {
    const std::wstring texts[] = {L"abc", L"", std::wstring(L"1") + std::wstring(400, L'0')};
    for (const std::wstring& text : texts) {
        SCOPED_TRACE(std::string(text.begin(), text.end()).substr(0, 10));
        loaded.messages.shown.clear();
        SetText(w().txtDecimalPlaces, text);
        Click(w().cmdRound);
        EXPECT_TRUE(loaded.pass.calls.empty());
        ASSERT_EQ(loaded.messages.shown.size(), 1u);
        const ShownMessage& m = loaded.messages.shown[0];
        EXPECT_EQ(m.text, ToWide(DescribeUnreadableAmount(ToText(text), UserNumberFormat())));
        EXPECT_EQ(m.title, L"" TARVELLO_TITLE);
        EXPECT_EQ(m.icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(m.owner, w().hwnd());
    }
    EXPECT_TRUE(IsWindow(w().hwnd()));
}

TEST_F(RoundCommandTest, AFailedPassIsToldOnceAndTheWaitCursorIsGoneAfterwards) {
    HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    HCURSOR wait = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
    SetCursor(arrow);
    PassFailure failure(FailureCause::DivisionByZero, "total quantity is 0");
    failure.row = 3;
    failure.written = 2;
    failure.step = PassStep::LineItemGetValue;
    failure.field = LineItemField::QtyTotal;
    HCURSOR during = nullptr;
    loaded.pass.during = [&](MessageSink&) {
        during = GetCursor();
        throw failure;
    };
    Click(w().cmdRound);
    EXPECT_EQ(during, wait);
    EXPECT_EQ(GetCursor(), arrow);
    ASSERT_EQ(loaded.messages.shown.size(), 1u);
    EXPECT_EQ(loaded.messages.shown[0].text, ToWide(DescribeRoundFailure(failure)));
    EXPECT_EQ(loaded.messages.shown[0].title, L"" TARVELLO_TITLE);
    EXPECT_EQ(loaded.messages.shown[0].icon, static_cast<UINT>(MB_ICONERROR));

    // The window stays usable: the next Round goes through.
    loaded.pass.during = nullptr;
    Click(w().cmdRound);
    EXPECT_EQ(loaded.pass.calls.size(), 2u);
    EXPECT_EQ(loaded.messages.shown.size(), 1u);
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(RoundCommandTest, ThePassOwnMessagesReachTheUserAsTheyAre) {
    loaded.pass.during = [](MessageSink& messages) { messages.ShowError(kHostNotRunningText); };
    Click(w().cmdRound);
    ASSERT_EQ(loaded.messages.shown.size(), 1u);
    EXPECT_EQ(loaded.messages.shown[0].text, ToWide(Text(kHostNotRunningText)));
    EXPECT_EQ(loaded.messages.shown[0].title, L"" TARVELLO_TITLE);
    EXPECT_EQ(loaded.messages.shown[0].icon, static_cast<UINT>(MB_ICONERROR));
}

// Messages sent from outside still arrive while the host is being called.
TEST_F(RoundCommandTest, WhatArrivesDuringARoundWaitsForItsEnd) {
    const HWND window = w().hwnd();
    bool stillThere = false;
    LRESULT endSession = TRUE;
    loaded.pass.during = [&](MessageSink&) {
        SendMessageW(w().cmdRound, BM_CLICK, 0, 0);              // no second Round inside the first
        PostMessageW(window, WM_SYSCHAR, L'r', 1 | (1u << 29));  // nor one played back later
        SendMessageW(window, WM_CLOSE, 0, 0);
        endSession = SendMessageW(window, WM_QUERYENDSESSION, 0, 0);
        stillThere = IsWindow(window) && IsWindowEnabled(window);
    };
    Click(w().cmdRound);
    PumpMessages(window);
    EXPECT_EQ(loaded.pass.calls.size(), 1u) << Describe(loaded.pass.calls);
    EXPECT_TRUE(stillThere);
    EXPECT_EQ(endSession, FALSE);
    // The close came from the windowing system: it happens once the Round is over, unsaved.
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(settings.Get(L"Top").has_value());
}

TEST_F(RoundCommandTest, ACloseCommandDuringARoundSavesAndClosesAfterIt) {
    const HWND window = w().hwnd();
    bool stillThere = false;
    loaded.pass.during = [&](MessageSink&) {
        SendMessageW(w().cmdClose, BM_CLICK, 0, 0);
        stillThere = IsWindow(window);
    };
    Click(w().cmdRound);
    PumpMessages(window);
    EXPECT_TRUE(stillThere);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(settings.Get(L"Top").has_value());
}

// The message comes first, while the window is there to own it; the close follows.
TEST_F(RoundCommandTest, AnUnexpectedErrorAfterACloseIsToldBeforeTheWindowGoes) {
    const HWND window = w().hwnd();
    loaded.pass.during = [&](MessageSink&) {
        SendMessageW(w().cmdClose, BM_CLICK, 0, 0);
        throw std::runtime_error("out of memory");
    };
    Click(w().cmdRound);
    PumpMessages(window);
    ASSERT_EQ(loaded.messages.shown.size(), 1u);
    EXPECT_TRUE(loaded.messages.shown[0].ownerWasWindow);
    EXPECT_EQ(loaded.messages.shown[0].text, L"An unexpected error occurred: out of memory");
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(settings.Get(L"Top").has_value());
}

TEST_F(RoundCommandTest, HelpAboutOpensTheBoxEachTimeOverTheWindow) {
    SendMessageW(w().hwnd(), WM_COMMAND, MAKEWPARAM(main_window::kMnuHelpAbout, 0), 0);
    SendMessageW(w().hwnd(), WM_COMMAND, MAKEWPARAM(main_window::kMnuHelpAbout, 0), 0);
    EXPECT_EQ(loaded.aboutOwners, (std::vector<HWND>{w().hwnd(), w().hwnd()}));
}

}  // namespace
}  // namespace tarvello::ui::testing

namespace tarvello::ui::testing {
namespace {

// Whatever ends the program early is told in one box under its title.
TEST(RunGuardedTest, WhateverEscapesTheProgramIsToldOnce) {
    struct Case {
        std::function<int()> program;
        int exitCode;
        const wchar_t* told;
    };
    const Case cases[] = {
        {[] { return 0; }, 0, nullptr},
        {[]() -> int { throw std::runtime_error("no window"); }, 1,
         L"The program could not start: no window"},
        {[]() -> int { throw 42; }, 1,
         L"The program could not start because of an unexpected error."},
    };
    for (const Case& c : cases) {
        RecordingMessageBoxes messages;
        EXPECT_EQ(RunGuarded(c.program, messages), c.exitCode);
        ASSERT_EQ(messages.shown.size(), c.told ? 1u : 0u);
        if (!c.told) continue;
        EXPECT_EQ(messages.shown[0].text, c.told);
        EXPECT_EQ(messages.shown[0].title, L"" TARVELLO_TITLE);
        EXPECT_EQ(messages.shown[0].icon, static_cast<UINT>(MB_ICONERROR));
    }
}

}  // namespace
}  // namespace tarvello::ui::testing
