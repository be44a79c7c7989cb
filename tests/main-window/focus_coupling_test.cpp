// Choosing a method takes the user to its amount; going into an amount chooses its method.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/main-window/window_test_support.h"

namespace tarvello::ui::testing {
namespace {

class FocusCouplingTest : public ::testing::Test {
protected:
    void SetUp() override { loaded.Load(settings.Location()); }
    WindowControls& w() { return loaded.controls; }
    bool On(HWND option) { return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::vector<bool> Methods() {
        return {On(w().optDecimal), On(w().optNearest), On(w().optRoundUp)};
    }

    ScratchSettings settings;
    LoadedWindow loaded;
};

TEST_F(FocusCouplingTest, ChoosingAMethodWithTheMouseGoesToItsAmountWithTheValueSelected) {
    struct Case {
        const char* name;
        HWND WindowControls::*option;
        HWND WindowControls::*box;
        std::vector<bool> methods;
    };
    const Case cases[] = {
        {"nearest", &WindowControls::optNearest, &WindowControls::txtNearest, {false, true, false}},
        {"round up",
         &WindowControls::optRoundUp,
         &WindowControls::txtNearestRoundUp,
         {false, false, true}},
        {"decimal, already on",
         &WindowControls::optDecimal,
         &WindowControls::txtDecimalPlaces,
         {true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedWindow fresh;
        fresh.Load(settings.Location());
        WindowControls& win = fresh.controls;
        Click(win.*(c.option));
        EXPECT_EQ(GetFocus(), win.*(c.box));
        EXPECT_EQ(Selection(win.*(c.box)), (std::pair<DWORD, DWORD>{0, 1}));
        EXPECT_EQ((std::vector<bool>{On(win.optDecimal), On(win.optNearest), On(win.optRoundUp)}),
                  c.methods);
    }
}

TEST_F(FocusCouplingTest, UpToThreeCharactersFromTheCaretAreSelected) {
    SetText(w().txtNearest, L"123456");
    SendMessageW(w().txtNearest, EM_SETSEL, 2, 2);
    Click(w().optNearest);
    EXPECT_EQ(GetFocus(), w().txtNearest);
    EXPECT_EQ(Selection(w().txtNearest), (std::pair<DWORD, DWORD>{2, 5}));
}

TEST_F(FocusCouplingTest, GoingIntoAnAmountChoosesItsMethodAndTheFocusStaysThere) {
    Click(w().optNearest);
    ASSERT_EQ(Methods(), (std::vector<bool>{false, true, false}));
    SetFocus(w().txtDecimalPlaces);
    PumpMessages(w().hwnd());
    EXPECT_EQ(Methods(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(GetFocus(), w().txtDecimalPlaces);

    SetFocus(w().txtNearestRoundUp);
    PumpMessages(w().hwnd());
    EXPECT_EQ(Methods(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(GetFocus(), w().txtNearestRoundUp);
}

TEST_F(FocusCouplingTest, OneTabFromRoundAtStartChoosesNearestWithItsValueSelected) {
    ASSERT_EQ(GetFocus(), w().cmdRound);
    PressKey(w().hwnd(), VK_TAB);
    EXPECT_EQ(GetFocus(), w().txtNearest);
    EXPECT_EQ(Methods(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(Selection(w().txtNearest), (std::pair<DWORD, DWORD>{0, 1}));
    Click(w().cmdRound);
    ASSERT_EQ(loaded.pass.calls.size(), 1u);
    EXPECT_EQ(loaded.pass.calls[0].Method, u"Nearest");
    EXPECT_EQ(loaded.pass.calls[0].Amount, 5);
}

TEST_F(FocusCouplingTest, ArrowKeysMoveWithinAFrameAndChooseAsAClickWould) {
    SetFocus(w().optAllRows);
    PumpMessages(w().hwnd());
    PressKey(w().hwnd(), VK_DOWN);  // All Rows (14) -> Selected Rows (15)
    EXPECT_EQ(GetFocus(), w().optSelectedRows);
    EXPECT_TRUE(On(w().optSelectedRows));
    EXPECT_FALSE(On(w().optAllRows));
    PressKey(w().hwnd(), VK_DOWN);  // wraps to Current Row (13)
    EXPECT_TRUE(On(w().optCurrentRow));
    EXPECT_FALSE(On(w().optSelectedRows));

    // In the method frame the chosen method takes the focus on to its amount.
    SetFocus(w().optDecimal);
    PumpMessages(w().hwnd());
    PressKey(w().hwnd(), VK_DOWN);  // Decimal (6) -> Up to Nearest Multiple (16)
    EXPECT_EQ(Methods(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(GetFocus(), w().txtNearestRoundUp);
}

TEST_F(FocusCouplingTest, OptionsOfTheOtherFramesKeepTheFocusAndLeaveTheMethodAlone) {
    Click(w().optUnitPrice);
    EXPECT_EQ(GetFocus(), w().optUnitPrice);
    EXPECT_FALSE(On(w().optExtendedPrice));
    EXPECT_EQ(Methods(), (std::vector<bool>{true, false, false}));
    // The frame's one tab stop is now the option that is on.
    EXPECT_TRUE(GetWindowLongPtrW(w().optUnitPrice, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongPtrW(w().optExtendedPrice, GWL_STYLE) & WS_TABSTOP);
}

}  // namespace
}  // namespace tarvello::ui::testing
