// A theme changed while the windows are open: they repaint themselves in it at once, and let go
// of the brushes of the old colours.

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/about-box/box_driver.h"
#include "tests/about-box/recording_presenter.h"
#include "tests/main-window/window_test_support.h"
#include "tests/window-utils/system_colours.h"
#include "ui/about-box/frm_about.h"

namespace tarvello::ui::testing {
namespace {

struct ThemeMessage {
    const char* name;
    UINT message;
};

const ThemeMessage kThemeMessages[] = {
    {"WM_SYSCOLORCHANGE", WM_SYSCOLORCHANGE},
    {"WM_THEMECHANGED", WM_THEMECHANGED},
    {"WM_SETTINGCHANGE", WM_SETTINGCHANGE},
};

// Paints a mark at `at` (client coordinates) behind the window's back, as the old colours
// would stand there, then sends the theme message: the colour left at the mark, read before
// any message has been pumped.
COLORREF AfterMarkAndMessage(HWND window, POINT at, UINT message) {
    HDC dc = GetDC(window);
    SetPixel(dc, at.x, at.y, RGB(255, 0, 0));
    const COLORREF marked = GetPixel(dc, at.x, at.y);
    SendMessageW(window, message, 0, 0);
    const COLORREF after = GetPixel(dc, at.x, at.y);
    ReleaseDC(window, dc);
    EXPECT_EQ(marked, RGB(255, 0, 0)) << "the mark was not painted";
    return after;
}

TEST(ThemeChange, RepaintsBothWindowsAtOnce) {
    ScratchSettings settings;
    LoadedWindow main;
    main.Load(settings.Location());
    for (const ThemeMessage& m : kThemeMessages) {
        SCOPED_TRACE(m.name);
        // On the header band, left of the title.
        EXPECT_EQ(Describe(AfterMarkAndMessage(main.controls.hwnd(), {3, 20}, m.message)),
                  Describe(GetSysColor(COLOR_WINDOW)));
    }

    test::BoxDriver driver;
    test::RecordingPresenter messages;
    driver.Then([&] {
        for (const ThemeMessage& m : kThemeMessages) {
            SCOPED_TRACE(m.name);
            // On the face, between the icon and the title.
            EXPECT_EQ(Describe(AfterMarkAndMessage(test::FindBox(), {60, 20}, m.message)),
                      Describe(GetSysColor(COLOR_BTNFACE)));
        }
        DestroyWindow(test::FindBox());
    });
    driver.ArmGuard();
    frmAbout(driver.owner(), messages).Form_Load();
    driver.DisarmGuard();
}

TEST(ThemeChange, MakesTheBrushesAgainInTheNewColours) {
    ScratchSettings settings;
    LoadedWindow main;
    main.Load(settings.Location());
    HDC dc = CreateCompatibleDC(nullptr);
    auto bandBrush = [&] {
        return reinterpret_cast<HBRUSH>(
            SendMessageW(main.controls.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(main.controls.Label4)));
    };
    HBRUSH before = bandBrush();
    ASSERT_EQ(GetObjectType(before), static_cast<DWORD>(OBJ_BRUSH));
    {
        ScopedTheme theme(WhiteOnBlack());
        EXPECT_EQ(GetObjectType(before), 0u) << "the brush of the old colour is still held";
        EXPECT_EQ(Describe(BrushColour(bandBrush())), Describe(RGB(0, 0, 0)));
    }
    DeleteDC(dc);
}

}  // namespace
}  // namespace tarvello::ui::testing
