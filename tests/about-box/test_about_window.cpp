// The About box as a window: its texts and layout at 96 DPI, the ways it closes, its modality
// over the owner, and the System Info button inside it.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "box_driver.h"
#include "identity/identity.h"
#include "launch_probe.h"
#include "recording_presenter.h"
#include "ui/about-box/about_box_layout.h"
#include "ui/about-box/frm_about.h"

namespace tarvello::ui {
namespace {

using test::BoxDriver;
using test::FindBox;

std::wstring Text(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

HWND Child(int id) {
    return GetDlgItem(FindBox(), id);
}

// A child's rectangle in the box's client coordinates, as "name x,y wxh".
std::string Placement(const char* name, int id) {
    RECT r{};
    GetWindowRect(Child(id), &r);
    MapWindowPoints(nullptr, FindBox(), reinterpret_cast<POINT*>(&r), 2);
    std::ostringstream out;
    out << name << " " << r.left << "," << r.top << " " << r.right - r.left << "x"
        << r.bottom - r.top;
    return out.str();
}

class AboutBox : public ::testing::Test {
protected:
    // Opens a fresh box, runs the queued steps inside its loop and returns when it has closed.
    void Open(SysInfoSettings settings = {}) {
        driver_.ArmGuard();
        frmAbout box(driver_.owner(), messages_, std::move(settings));
        box.Form_Load();
        driver_.DisarmGuard();
        EXPECT_FALSE(driver_.guardFired()) << "the box did not close";
    }

    BoxDriver driver_;
    test::RecordingPresenter messages_;
};

TEST_F(AboutBox, ShowsItsTexts) {
    std::vector<std::wstring> texts;
    driver_.Then([&] {
        texts = {Text(FindBox()),
                 Text(Child(about_box::kLblTitle)),
                 Text(Child(about_box::kLblVersion)),
                 Text(Child(about_box::kLblDescription)),
                 Text(Child(about_box::kLblDisclaimer)),
                 Text(Child(about_box::kCmdOK)),
                 Text(Child(about_box::kCmdSysInfo))};
    });
    driver_.Then([] { DestroyWindow(FindBox()); });
    Open();
    const std::vector<std::wstring> expected = {
        L"About Tarvello Rounding Utility",
        L"Tarvello Rounding Utility",
        L"Version " TARVELLO_VERSION_DOTTED,
        L"This utility is designed to help Tarvello users round by either nearest multiple or "
        L"decimal place.",
        L"Brellwick Technologies, Inc. does not take responsibility for this utility. "
        L"Brellwick Technologies, Inc. does not support this utility.",
        L"OK",
        L"&System Info...",
    };
    EXPECT_EQ(expected, texts);
}

TEST_F(AboutBox, LaysOutItsControlsInPixelsAt96Dpi) {
    std::vector<std::string> placements;
    SIZE client{};
    driver_.Then([&] {
        RECT r{};
        GetClientRect(FindBox(), &r);
        client = {r.right, r.bottom};
        placements = {
            Placement("picIcon", about_box::kPicIcon),
            Placement("cmdOK", about_box::kCmdOK),
            Placement("cmdSysInfo", about_box::kCmdSysInfo),
            Placement("Line1(1)", about_box::kLine1Element1),
            Placement("lblDescription", about_box::kLblDescription),
            Placement("lblTitle", about_box::kLblTitle),
            Placement("Line1(0)", about_box::kLine1Element0),
            Placement("lblVersion", about_box::kLblVersion),
            Placement("lblDisclaimer", about_box::kLblDisclaimer),
        };
    });
    driver_.Then([] { DestroyWindow(FindBox()); });
    Open();
    EXPECT_EQ(382, client.cx);
    EXPECT_EQ(237, client.cy);
    const std::vector<std::string> expected = {
        "picIcon 16,16 32x32",  "cmdOK 283,175 84x23",         "cmdSysInfo 284,205 83x23",
        "Line1(1) 6,163 371x1", "lblDescription 70,75 259x78", "lblTitle 70,16 259x32",
        "Line1(0) 7,164 370x2", "lblVersion 70,52 259x15",     "lblDisclaimer 17,175 258x55",
    };
    EXPECT_EQ(expected, placements);
}

// The look of a fixed dialog, centred, with OK as the focused default button and word-wrapping
// labels in the stock dialog font.
TEST_F(AboutBox, OpensCentredAsAFixedDialogWithOkFocused) {
    LONG_PTR style = 0, exStyle = 0, labelStyle = 0;
    RECT frame{};
    HWND focus = nullptr, ok = nullptr;
    LRESULT okCode = 0;
    HICON icon = nullptr;
    LOGFONTW labelFont{}, stockFont{};
    driver_.Then([&] {
        HWND box = FindBox();
        style = GetWindowLongPtrW(box, GWL_STYLE);
        exStyle = GetWindowLongPtrW(box, GWL_EXSTYLE);
        GetWindowRect(box, &frame);
        focus = GetFocus();
        ok = Child(about_box::kCmdOK);
        okCode = SendMessageW(ok, WM_GETDLGCODE, 0, 0);
        icon = reinterpret_cast<HICON>(SendMessageW(Child(about_box::kPicIcon), STM_GETICON, 0, 0));
        labelStyle = GetWindowLongPtrW(Child(about_box::kLblDescription), GWL_STYLE);
        auto font = reinterpret_cast<HFONT>(
            SendMessageW(Child(about_box::kLblDescription), WM_GETFONT, 0, 0));
        GetObjectW(font, sizeof(labelFont), &labelFont);
    });
    driver_.Then([] { DestroyWindow(FindBox()); });
    Open();

    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stockFont), &stockFont);
    EXPECT_EQ(0, style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_NE(0, style & WS_CAPTION);
    EXPECT_NE(0, exStyle & WS_EX_DLGMODALFRAME);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs(frame.left + frame.right - screenWidth), 1);
    EXPECT_LE(std::abs(frame.top + frame.bottom - screenHeight), 1);
    EXPECT_EQ(ok, focus);
    EXPECT_NE(0, okCode & DLGC_DEFPUSHBUTTON);
    EXPECT_NE(nullptr, icon);
    EXPECT_EQ(SS_LEFT, labelStyle & SS_TYPEMASK) << "left-aligned, wrapping at words";
    EXPECT_EQ(std::wstring(stockFont.lfFaceName), std::wstring(labelFont.lfFaceName));
    EXPECT_EQ(stockFont.lfHeight, labelFont.lfHeight);
}

// The etched rule: a grey line with a white two-pixel line just below it.
TEST_F(AboutBox, DrawsTheRuleGreyAboveWhite) {
    std::vector<COLORREF> column;
    driver_.Then([&] {
        HWND box = FindBox();
        HDC screen = GetDC(box);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 382, 237);
        HGDIOBJ old = SelectObject(memory, bitmap);
        test::CopyClient(box, memory);
        for (int y = 162; y <= 166; ++y) column.push_back(GetPixel(memory, 200, y));
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(box, screen);
    });
    driver_.Then([] { DestroyWindow(FindBox()); });
    Open();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::vector<COLORREF> expected = {face, RGB(128, 128, 128), RGB(255, 255, 255),
                                            RGB(255, 255, 255), face};
    EXPECT_EQ(expected, column);
}

// Over an always-on-top owner the box must not open beneath it.
TEST_F(AboutBox, JoinsTheTopMostBandOfItsOwner) {
    SetWindowPos(driver_.owner(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    LONG_PTR exStyle = 0;
    driver_.Then([&] {
        exStyle = GetWindowLongPtrW(FindBox(), GWL_EXSTYLE);
        DestroyWindow(FindBox());
    });
    Open();
    EXPECT_NE(0, exStyle & WS_EX_TOPMOST);
}

struct CloseCase {
    const char* name;
    std::function<void()> close;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

class AboutBoxCloses : public AboutBox, public ::testing::WithParamInterface<CloseCase> {};

// While the box is open the owner takes no input; afterwards the box is gone and the owner is
// enabled and active again.
TEST_P(AboutBoxCloses, DiscardsTheBoxAndGivesTheOwnerBack) {
    HWND seen = nullptr;
    bool ownerEnabledWhileOpen = true;
    driver_.Then([&] {
        seen = FindBox();
        ownerEnabledWhileOpen = IsWindowEnabled(driver_.owner()) != FALSE;
        GetParam().close();
    });
    Open();
    EXPECT_NE(nullptr, seen);
    EXPECT_FALSE(ownerEnabledWhileOpen);
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_TRUE(IsWindowEnabled(driver_.owner()));
    EXPECT_EQ(driver_.owner(), GetActiveWindow());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AboutBoxCloses,
    ::testing::Values(
        CloseCase{"OkButton", [] { SendMessageW(Child(about_box::kCmdOK), BM_CLICK, 0, 0); }},
        CloseCase{"Enter", [] { test::PressKey(VK_RETURN); }},
        CloseCase{"Escape", [] { test::PressKey(VK_ESCAPE); }},
        CloseCase{"TitleBarClose", [] { PostMessageW(FindBox(), WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

TEST_F(AboutBox, OpensAnewEachTimeWithTheSameTexts) {
    std::vector<std::vector<std::wstring>> openings;
    std::vector<HWND> boxes;
    for (int i = 0; i < 3; ++i) {
        driver_.Then([&] {
            boxes.push_back(FindBox());
            openings.push_back({Text(FindBox()), Text(Child(about_box::kLblVersion)),
                                Text(Child(about_box::kLblDisclaimer))});
            test::PressKey(VK_ESCAPE);
        });
        Open();
    }
    ASSERT_EQ(3u, openings.size());
    EXPECT_EQ(openings[0], openings[1]);
    EXPECT_EQ(openings[0], openings[2]);
    EXPECT_EQ(L"About Tarvello Rounding Utility", openings[0][0]);
    for (HWND box : boxes) EXPECT_FALSE(IsWindow(box));
}

// A quit request while the box is open ends the box and reaches the program's own loop.
TEST_F(AboutBox, QuitWhileOpenEndsTheBoxAndIsPassedOn) {
    driver_.Then([] { PostQuitMessage(3); });
    Open();
    EXPECT_EQ(nullptr, FindBox());
    EXPECT_TRUE(IsWindowEnabled(driver_.owner()));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
}

// With no tool to be found, System Info (Alt+S, a click, or Enter while it has the focus)
// tells the user over the box, and the box stays open.
TEST_F(AboutBox, SystemInfoLeavesTheBoxOpen) {
    test::ScratchKey emptyKey;
    SysInfoSettings settings;
    settings.root = emptyKey.root();
    settings.pathKey = emptyKey.Path("MSINFO");
    settings.folderKey = emptyKey.Path("Location");
    std::vector<bool> openAfter;
    HWND box = nullptr;
    driver_.Then([&] {
        box = FindBox();
        test::PressAltKey(L's');
    });
    driver_.Then([&] {
        openAfter.push_back(IsWindowVisible(FindBox()) != FALSE);
        SendMessageW(Child(about_box::kCmdSysInfo), BM_CLICK, 0, 0);
    });
    driver_.Then([&] {
        openAfter.push_back(IsWindowVisible(FindBox()) != FALSE);
        SetFocus(Child(about_box::kCmdSysInfo));
        test::PressKey(VK_RETURN);
    });
    driver_.Then([&] {
        openAfter.push_back(IsWindowVisible(FindBox()) != FALSE);
        test::PressKey(VK_ESCAPE);
    });
    Open(settings);
    std::vector<HWND> messageOwners;
    for (const test::Shown& shown : messages_.shown) messageOwners.push_back(shown.owner);
    EXPECT_EQ(std::vector<HWND>(3, box), messageOwners);
    EXPECT_EQ(std::vector<bool>(3, true), openAfter);
}

}  // namespace
}  // namespace tarvello::ui
