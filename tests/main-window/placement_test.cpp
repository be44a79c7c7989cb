// Where the window opens, and what Close (and only Close) remembers.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "tests/main-window/window_test_support.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/main-window/placement_text.h"

namespace tarvello::ui::testing {
namespace {

class PlacementTest : public ::testing::Test {
protected:
    POINT Opened() {
        loaded.Load(settings.Location());
        RECT r;
        GetWindowRect(loaded.window->hwnd(), &r);
        return {r.left, r.top};
    }
    RECT WindowRect() {
        RECT r;
        GetWindowRect(loaded.window->hwnd(), &r);
        return r;
    }
    // Where a centred window of this size lies, in pixels at 96 DPI.
    static POINT Centred(const RECT& window) {
        int width = window.right - window.left;
        int height = window.bottom - window.top;
        double left = (GetSystemMetrics(SM_CXSCREEN) * 15.0 - width * 15.0) / 2 / 15;
        double top = (GetSystemMetrics(SM_CYSCREEN) * 15.0 - height * 15.0) / 2 / 15;
        return {static_cast<LONG>(std::lround(left)), static_cast<LONG>(std::lround(top))};
    }
    std::vector<std::optional<std::wstring>> Stored() {
        return {settings.Get(L"Left"), settings.Get(L"Top"), settings.Get(L"Height"),
                settings.Get(L"Width")};
    }

    ScratchSettings settings;
    LoadedWindow loaded;
};

struct StoredCase {
    const char* name;
    const wchar_t* top;   // null: no value
    const wchar_t* left;  // null: no value
    bool centred;
    POINT at;  // when not centred
};

TEST_F(PlacementTest, StoredTopAndLeftPlaceTheWindowOrItIsCentred) {
    const StoredCase cases[] = {
        {"empty store", nullptr, nullptr, true, {}},
        {"top 0", L"0", L"450", true, {}},
        {"negative top", L"-15", L"450", true, {}},
        {"stored place", L"300", L"450", false, {30, 20}},
        {"off the screen", L"1500", L"-3000", false, {-200, 100}},
        {"top without left", L"1500", nullptr, false, {0, 100}},
        {"half twips go to even: 22.5 -> 22", L"22.5", L"0", false, {0, 1}},
        {"half twips go to even: 37.5 -> 38", L"37.5", L"0", false, {0, 3}},
        {"damaged top", L"abc", L"450", true, {}},
        {"top beyond 32 bits", L"99999999999", L"450", true, {}},
        {"damaged left", L"1500", L"zz", false, {0, 100}},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchSettings store;
        if (c.top) store.Put(L"Top", c.top);
        if (c.left) store.Put(L"Left", c.left);
        LoadedWindow window;
        window.Load(store.Location());
        RECT r;
        GetWindowRect(window.window->hwnd(), &r);
        POINT expected = c.centred ? Centred(r) : c.at;
        EXPECT_EQ((std::vector<LONG>{r.left, r.top}), (std::vector<LONG>{expected.x, expected.y}));
        EXPECT_TRUE(GetWindowLongPtrW(window.window->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
}

TEST_F(PlacementTest, ATopStoredAsANumberRatherThanTextCountsAsMissing) {
    settings.PutNumber(L"Top", 1500);
    POINT at = Opened();
    POINT centred = Centred(WindowRect());
    EXPECT_EQ((std::vector<LONG>{at.x, at.y}), (std::vector<LONG>{centred.x, centred.y}));
}

TEST_F(PlacementTest, StoredSizeIsNeverReadBack) {
    settings.Put(L"Height", L"15");
    settings.Put(L"Width", L"99999");
    Opened();
    RECT client;
    GetClientRect(loaded.window->hwnd(), &client);
    EXPECT_EQ((std::vector<LONG>{client.right, client.bottom}), (std::vector<LONG>{360, 296}));
}

TEST_F(PlacementTest, CloseButtonStoresTheOuterPlaceAndSizeInTwipsAndEndsTheWindow) {
    settings.Put(L"Top", L"1500");
    settings.Put(L"Left", L"3000");
    Opened();
    RECT r = WindowRect();
    Click(loaded.controls.cmdClose);
    EXPECT_FALSE(loaded.window->hwnd());
    const std::vector<std::optional<std::wstring>> expected = {
        L"3000", L"1500", std::to_wstring((r.bottom - r.top) * 15),
        std::to_wstring((r.right - r.left) * 15)};
    EXPECT_EQ(Stored(), expected);
}

TEST_F(PlacementTest, FileCloseAndAltCAreTheCloseCommand) {
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "File > Close" : "Alt+C");
        ScratchSettings store;
        LoadedWindow window;
        window.Load(store.Location());
        HWND hwnd = window.window->hwnd();
        RECT r;
        GetWindowRect(hwnd, &r);
        if (way == 0) {
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(main_window::kMnuFileClose, 0), 0);
        } else {
            PressAltKey(hwnd, L'c');
        }
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(store.Get(L"Left"), std::to_wstring(r.left * 15));
        EXPECT_EQ(store.Get(L"Top"), std::to_wstring(r.top * 15));
        EXPECT_EQ(store.Get(L"Width"), std::to_wstring((r.right - r.left) * 15));
    }
}

TEST_F(PlacementTest, ClosingByTheTitleBarOrAltF4SavesNothing) {
    settings.Put(L"Top", L"1500");
    Opened();
    HWND hwnd = loaded.window->hwnd();
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages(nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    const std::vector<std::optional<std::wstring>> expected = {std::nullopt, L"1500", std::nullopt,
                                                               std::nullopt};
    EXPECT_EQ(Stored(), expected);
}

TEST(PlacementTextTest, AtMostSevenSignificantDigitsAndTheSeparatorOnlyForAFraction) {
    struct Case {
        float value;
        const wchar_t* separator;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L".", L"0"},
        {1500, L".", L"1500"},
        {-45, L".", L"-45"},
        {1234.5f, L",", L"1234,5"},
        {0.25f, L".", L"0.25"},
        {-0.5f, L",", L"-0,5"},
        {12345678, L".", L"12345680"},
        {1234567.25f, L".", L"1234567"},
        {5400, L",", L"5400"},
        {7.125f, L".", L"7.125"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlacementText(c.value, c.separator), c.text) << c.value;
    }
}

}  // namespace
}  // namespace tarvello::ui::testing
