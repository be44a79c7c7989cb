// Every control of the main window and the About box reads against what lies behind it, in the
// default colours and in a white-on-black contrast theme: the colours each window gives a
// control when it asks (WM_CTLCOLOR*), or the system's answer where the window passes it on.

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <utility>

#include "tests/about-box/box_driver.h"
#include "tests/about-box/recording_presenter.h"
#include "tests/main-window/window_test_support.h"
#include "tests/window-utils/system_colours.h"
#include "ui/about-box/about_box_layout.h"
#include "ui/about-box/frm_about.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/contrast_ratio.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui::testing {
namespace {

namespace mw = main_window;
namespace ab = about_box;

enum class Box { Main, About };
enum class Check { Text, Rule };

struct Control {
    const char* name;
    Box box;
    int id;
    UINT message;  // the one the control sends for its colours
    Check check;
    int under = 0;  // a rule: the control it lies on (0: the window's own background)
};

constexpr UINT kStatic = WM_CTLCOLORSTATIC;
constexpr UINT kEdit = WM_CTLCOLOREDIT;
constexpr UINT kButton = WM_CTLCOLORBTN;

const Control kControls[] = {
    {"Label4", Box::Main, mw::kLabel4, kStatic, Check::Text},
    {"Label5", Box::Main, mw::kLabel5, kStatic, Check::Text},
    {"Line2", Box::Main, mw::kLine2, kStatic, Check::Rule, mw::kLabel4},
    {"Line1", Box::Main, mw::kLine1, kStatic, Check::Rule, mw::kLabel4},
    {"Frame2", Box::Main, mw::kFrame2, kStatic, Check::Text},
    {"optUnitPrice", Box::Main, mw::kOptUnitPrice, kStatic, Check::Text},
    {"optExtendedPrice", Box::Main, mw::kOptExtendedPrice, kStatic, Check::Text},
    {"Frame1", Box::Main, mw::kFrame1, kStatic, Check::Text},
    {"optDecimal", Box::Main, mw::kOptDecimal, kStatic, Check::Text},
    {"txtDecimalPlaces", Box::Main, mw::kTxtDecimalPlaces, kEdit, Check::Text},
    {"optNearest", Box::Main, mw::kOptNearest, kStatic, Check::Text},
    {"txtNearest", Box::Main, mw::kTxtNearest, kEdit, Check::Text},
    {"optRoundUp", Box::Main, mw::kOptRoundUp, kStatic, Check::Text},
    {"txtNearestRoundUp", Box::Main, mw::kTxtNearestRoundUp, kEdit, Check::Text},
    {"Frame3", Box::Main, mw::kFrame3, kStatic, Check::Text},
    {"optCurrentRow", Box::Main, mw::kOptCurrentRow, kStatic, Check::Text},
    {"optSelectedRows", Box::Main, mw::kOptSelectedRows, kStatic, Check::Text},
    {"optAllRows", Box::Main, mw::kOptAllRows, kStatic, Check::Text},
    {"cmdRound", Box::Main, mw::kCmdRound, kButton, Check::Text},
    {"cmdClose", Box::Main, mw::kCmdClose, kButton, Check::Text},
    {"lblProgress", Box::Main, mw::kLblProgress, kStatic, Check::Text},
    {"lblFixedNote", Box::Main, mw::kLblFixedNote, kStatic, Check::Text},
    {"picIcon", Box::About, ab::kPicIcon, kStatic, Check::Text},
    {"cmdOK", Box::About, ab::kCmdOK, kButton, Check::Text},
    {"cmdSysInfo", Box::About, ab::kCmdSysInfo, kButton, Check::Text},
    {"Line1(1)", Box::About, ab::kLine1Element1, kStatic, Check::Rule},
    {"lblDescription", Box::About, ab::kLblDescription, kStatic, Check::Text},
    {"lblTitle", Box::About, ab::kLblTitle, kStatic, Check::Text},
    // The highlight of the etched rule shows beside its shadow.
    {"Line1(0)", Box::About, ab::kLine1Element0, kStatic, Check::Rule, ab::kLine1Element1},
    {"lblVersion", Box::About, ab::kLblVersion, kStatic, Check::Text},
    {"lblDisclaimer", Box::About, ab::kLblDisclaimer, kStatic, Check::Text},
};

struct Given {
    COLORREF text, back, brush;
};

// Asks as the control would, on a fresh memory DC: what the answer leaves unset stays black text
// on white.
Given Ask(HWND window, const Control& control) {
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(window, control.message, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, control.id))));
    Given given{GetTextColor(dc), GetBkColor(dc), BrushColour(brush)};
    DeleteDC(dc);
    return given;
}

class Contrast : public ::testing::TestWithParam<Theme> {
protected:
    void AskEvery(Box box, HWND window) {
        background[box] = ClassBackground(window);
        for (const Control& c : kControls) {
            if (c.box == box) given[{box, c.id}] = Ask(window, c);
        }
    }
    std::map<std::pair<Box, int>, Given> given;
    std::map<Box, COLORREF> background;
};

TEST_P(Contrast, EveryControlStandsOutFromWhatLiesBehindIt) {
    ScopedTheme theme(GetParam());
    {
        ScratchSettings settings;
        LoadedWindow main;
        main.Load(settings.Location());
        AskEvery(Box::Main, main.controls.hwnd());
    }
    test::BoxDriver driver;
    test::RecordingPresenter messages;
    driver.Then([&] {
        AskEvery(Box::About, test::FindBox());
        DestroyWindow(test::FindBox());
    });
    driver.ArmGuard();
    frmAbout(driver.owner(), messages).Form_Load();
    driver.DisarmGuard();

    for (const Control& c : kControls) {
        SCOPED_TRACE(c.name);
        const Given& g = given.at({c.box, c.id});
        if (c.check == Check::Text) {
            // WCAG 2.1, 1.4.3: 4.5 to 1 for text, against both the text's own background and
            // the brush the rest of the control is filled with.
            EXPECT_GE(ContrastRatio(g.text, g.back), 4.5)
                << Describe(g.text) << " on " << Describe(g.back);
            EXPECT_GE(ContrastRatio(g.text, g.brush), 4.5)
                << Describe(g.text) << " on " << Describe(g.brush);
        } else {
            const COLORREF under = c.under ? given.at({c.box, c.under}).brush : background[c.box];
            EXPECT_GE(ContrastRatio(g.brush, under), 1.5)
                << Describe(g.brush) << " on " << Describe(under);
        }
    }
}

// What reaches the screen under the program's visual style, which draws frame captions in a
// colour of its own: each caption has pixels that stand out from the face.
TEST_P(Contrast, EveryFrameCaptionShowsOnTheScreen) {
    ScopedTheme theme(GetParam());
    ScratchSettings settings;
    LoadedWindow main;
    main.Load(settings.Location());
    HWND window = main.controls.hwnd();
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC dc = GetDC(window);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (HWND frame : {main.controls.Frame1, main.controls.Frame2, main.controls.Frame3}) {
        RECT r{};
        GetWindowRect(frame, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        int standingOut = 0;
        for (int y = r.top; y < r.top + 12; ++y) {
            for (int x = r.left + 6; x < r.left + 70; ++x) {
                if (ContrastRatio(GetPixel(dc, x, y), face) >= 4.5) ++standingOut;
            }
        }
        EXPECT_GE(standingOut, 20) << "the caption of " << Utf8Of(ToText(WindowText(frame)));
    }
    ReleaseDC(window, dc);
}

INSTANTIATE_TEST_SUITE_P(Themes, Contrast, ::testing::Values(Theme{"Default", {}}, WhiteOnBlack()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ContrastTable, NamesEveryControlOfBothWindows) {
    std::set<std::pair<Box, int>> layout, table;
    for (const auto& row : mw::Controls()) layout.insert({Box::Main, row.id});
    for (const auto& row : mw::ProgressControls()) layout.insert({Box::Main, row.id});
    for (const auto& row : ab::Controls()) layout.insert({Box::About, row.id});
    for (const Control& c : kControls) table.insert({c.box, c.id});
    EXPECT_EQ(layout, table);
}

}  // namespace
}  // namespace tarvello::ui::testing
