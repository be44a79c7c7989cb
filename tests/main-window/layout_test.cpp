// What the user sees when the window opens: places, captions, looks, states, tab order, focus.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "identity/identity.h"
#include "tests/main-window/window_test_support.h"
#include "ui/window-utils/twips.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui::testing {
namespace {

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(WindowDpi(nullptr), 96) << "the pixel figures below are for 96 DPI";
        loaded.Load(settings.Location());
    }
    WindowControls& w() { return loaded.controls; }
    RECT ClientRectOf(HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, w().hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    ScratchSettings settings;
    LoadedWindow loaded;
};

struct Placed {
    const char* name;
    HWND WindowControls::*control;
    const wchar_t* windowClass;
    const wchar_t* caption;
    int x, y, width, height;  // pixels in the client area at 96 DPI
};

TEST_F(LayoutTest, EveryControlSitsWhereTheLayoutPutsItWithItsCaption) {
    const Placed expected[] = {
        {"Label4", &WindowControls::Label4, L"Static", L"", -8, 0, 441, 49},
        {"Label5", &WindowControls::Label5, L"Static", L"Tarvello Rounding Utility", 8, 8, 385, 41},
        {"Line2", &WindowControls::Line2, L"Static", L"", 0, 0, 368, 1},
        {"Line1", &WindowControls::Line1, L"Static", L"", 0, 48, 368, 1},
        {"Frame2", &WindowControls::Frame2, L"Button", L"Field to Round", 8, 56, 345, 57},
        {"optUnitPrice", &WindowControls::optUnitPrice, L"Button", L"Unit Price", 32, 72, 201, 17},
        {"optExtendedPrice", &WindowControls::optExtendedPrice, L"Button", L"Extended Price", 32,
         88, 201, 17},
        {"Frame1", &WindowControls::Frame1, L"Button", L"Rounding Method", 8, 120, 185, 137},
        {"optDecimal", &WindowControls::optDecimal, L"Button", L"Number of Decimal Places", 32, 136,
         145, 17},
        {"txtDecimalPlaces", &WindowControls::txtDecimalPlaces, L"Edit", L"0", 88, 152, 33, 19},
        {"optNearest", &WindowControls::optNearest, L"Button", L"Nearest Multiple of", 32, 176, 121,
         17},
        {"txtNearest", &WindowControls::txtNearest, L"Edit", L"5", 88, 192, 33, 19},
        {"optRoundUp", &WindowControls::optRoundUp, L"Button", L"Up to Nearest Multiple of", 32,
         216, 145, 17},
        {"txtNearestRoundUp", &WindowControls::txtNearestRoundUp, L"Edit", L"1", 88, 232, 33, 19},
        {"Frame3", &WindowControls::Frame3, L"Button", L"What to Round", 200, 120, 153, 137},
        {"optCurrentRow", &WindowControls::optCurrentRow, L"Button", L"Current Row", 216, 136, 121,
         17},
        {"optSelectedRows", &WindowControls::optSelectedRows, L"Button", L"Selected Rows", 216, 152,
         121, 17},
        {"optAllRows", &WindowControls::optAllRows, L"Button", L"All Rows", 216, 168, 121, 17},
        {"cmdRound", &WindowControls::cmdRound, L"Button", L"&Round", 184, 264, 79, 25},
        {"cmdClose", &WindowControls::cmdClose, L"Button", L"&Close", 272, 264, 79, 25},
    };
    for (const Placed& p : expected) {
        SCOPED_TRACE(p.name);
        HWND control = w().*(p.control);
        ASSERT_TRUE(IsWindow(control));
        EXPECT_TRUE(IsWindowVisible(control));
        wchar_t cls[64];
        GetClassNameW(control, cls, 64);
        EXPECT_EQ(_wcsicmp(cls, p.windowClass), 0) << std::string(cls, cls + wcslen(cls));
        EXPECT_EQ(WindowText(control), p.caption);
        RECT r = ClientRectOf(control);
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  (std::vector<int>{p.x, p.y, p.width, p.height}));
    }
}

TEST_F(LayoutTest, WindowHasTheTitleAFixedBorderAMenuAndTheClientSize) {
    EXPECT_EQ(WindowText(w().hwnd()), L"" TARVELLO_TITLE);
    RECT client;
    GetClientRect(w().hwnd(), &client);
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 296);
    LONG_PTR style = GetWindowLongPtrW(w().hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongPtrW(w().hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    HMENU bar = GetMenu(w().hwnd());
    ASSERT_NE(bar, nullptr);
    auto text = [](HMENU menu, int position) {
        wchar_t buffer[64] = {};
        GetMenuStringW(menu, position, buffer, 64, MF_BYPOSITION);
        return std::wstring(buffer);
    };
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(text(bar, 0), L"&File");
    EXPECT_EQ(text(bar, 1), L"&Edit");
    EXPECT_EQ(text(bar, 2), L"&Help");
    EXPECT_EQ(text(GetSubMenu(bar, 0), 0), L"Close");
    EXPECT_EQ(text(GetSubMenu(bar, 1), 0), L"&Preview Round...");
    EXPECT_EQ(text(GetSubMenu(bar, 1), 1), L"&Undo Round");
    EXPECT_EQ(text(GetSubMenu(bar, 1), 2), L"Round &History...\tCtrl+Shift+H");
    EXPECT_EQ(text(GetSubMenu(bar, 1), 4), L"Price &Rules...");
    EXPECT_EQ(text(GetSubMenu(bar, 1), 5), L"Round to a &Total...");
    EXPECT_EQ(text(GetSubMenu(bar, 2), 0), L"&About");
}

TEST_F(LayoutTest, OptionsTextsButtonsAndFontsStartAsTheLayoutSays) {
    auto on = [](HWND option) { return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    EXPECT_EQ((std::vector<bool>{on(w().optDecimal), on(w().optNearest), on(w().optRoundUp)}),
              (std::vector<bool>{true, false, false}));
    EXPECT_EQ((std::vector<bool>{on(w().optUnitPrice), on(w().optExtendedPrice)}),
              (std::vector<bool>{false, true}));
    EXPECT_EQ(
        (std::vector<bool>{on(w().optCurrentRow), on(w().optSelectedRows), on(w().optAllRows)}),
        (std::vector<bool>{false, false, true}));
    for (HWND button : {w().cmdRound, w().cmdClose}) {
        EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    }

    auto font = [](HWND control) {
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf,
                   &lf);
        return lf;
    };
    LOGFONTW body = font(w().optDecimal);
    EXPECT_STREQ(body.lfFaceName, L"Tahoma");
    EXPECT_EQ(body.lfHeight, -11);
    EXPECT_EQ(body.lfWeight, FW_NORMAL);
    LOGFONTW title = font(w().Label5);
    EXPECT_STREQ(title.lfFaceName, L"Tahoma");
    EXPECT_EQ(title.lfHeight, -24);
    EXPECT_EQ(title.lfWeight, 700);
    EXPECT_STREQ(font(w().Label4).lfFaceName, L"MS Sans Serif");
}

TEST_F(LayoutTest, HeaderBandIsWhiteUnderTheTitleAndTheRulesUseTheInactiveCaptionColour) {
    HDC dc = GetDC(w().hwnd());
    auto brushColour = [&](HWND control) {
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(w().hwnd(), WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(control)));
        LOGBRUSH lb{};
        GetObjectW(brush, sizeof lb, &lb);
        return lb.lbColor;
    };
    EXPECT_EQ(brushColour(w().Label4), RGB(255, 255, 255));
    EXPECT_EQ(brushColour(w().Label5), RGB(255, 255, 255));
    EXPECT_EQ(brushColour(w().Line1), GetSysColor(COLOR_INACTIVECAPTION));
    EXPECT_EQ(brushColour(w().Line2), GetSysColor(COLOR_INACTIVECAPTION));
    ReleaseDC(w().hwnd(), dc);

    // The rules lie on the band and the title on the band: nothing above them hides them.
    auto above = [](HWND a, HWND b) {  // true when a is above b in the z-order
        for (HWND h = GetWindow(b, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV)) {
            if (h == a) return true;
        }
        return false;
    };
    EXPECT_TRUE(above(w().Label5, w().Label4));
    EXPECT_TRUE(above(w().Line1, w().Label4));
    EXPECT_TRUE(above(w().Line2, w().Label4));
}

TEST_F(LayoutTest, FocusStartsOnRoundAndTabFollowsTabIndexWithEachFrameOneStop) {
    EXPECT_EQ(GetFocus(), w().cmdRound);
    const std::vector<std::pair<HWND, const char*>> named = {
        {w().cmdRound, "cmdRound"},
        {w().txtNearest, "txtNearest"},
        {w().optDecimal, "optDecimal"},
        {w().txtDecimalPlaces, "txtDecimalPlaces"},
        {w().cmdClose, "cmdClose"},
        {w().optExtendedPrice, "optExtendedPrice"},
        {w().optAllRows, "optAllRows"},
        {w().txtNearestRoundUp, "txtNearestRoundUp"},
        {w().optNearest, "optNearest"},
        {w().optRoundUp, "optRoundUp"},
        {w().optUnitPrice, "optUnitPrice"},
        {w().optCurrentRow, "optCurrentRow"},
        {w().optSelectedRows, "optSelectedRows"},
    };
    auto name = [&](HWND h) -> std::string {
        for (const auto& n : named) {
            if (n.first == h) return n.second;
        }
        return "other";
    };
    std::vector<std::string> order;
    HWND at = w().cmdRound;
    for (int i = 0; i < 9; ++i) {
        order.push_back(name(at));
        at = GetNextDlgTabItem(w().hwnd(), at, FALSE);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"cmdRound", "txtNearest", "optDecimal",
                                               "txtDecimalPlaces", "cmdClose", "optExtendedPrice",
                                               "optAllRows", "txtNearestRoundUp", "cmdRound"}));
}

}  // namespace
}  // namespace tarvello::ui::testing
