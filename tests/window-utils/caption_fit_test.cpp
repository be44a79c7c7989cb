// Every window at 144 DPI, as a user at 150 % scaling opens it, then moved to monitors at 192,
// 120 and 96 DPI: every caption whole as Wine draws its controls, measured in the control's own
// font as drawn, nothing overlapping, everything inside the window.
//
// The tests run in a child started at 144 DPI. Wine takes a program's DPI as it starts from
// HKCU\Control Panel\Desktop LogPixels (before HKLM\...\Hardware Profiles\Current\Software\Fonts
// LogPixels): it is set for the child and put back once the child has ended. Any program started
// meanwhile in the prefix would get it too: the test runs alone.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/pricing/new_total_input.h"
#include "engine/pricing/price_rules_form.h"
#include "tests/about-box/recording_presenter.h"
#include "tests/main-window/window_test_support.h"
#include "tests/support/modal_driver.h"
#include "tests/support/process_start.h"
#include "ui/about-box/frm_about.h"
#include "ui/new-total-window/frm_new_total.h"
#include "ui/preview-window/frm_preview.h"
#include "ui/price-rules-window/frm_price_rules.h"
#include "ui/price-rules-window/price_rules_layout.h"
#include "ui/round-history-window/frm_round_history.h"
#include "ui/window-utils/dpi.h"
#include "ui/window-utils/scoped_win.h"
#include "ui/window-utils/text_ink.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui::testing {
namespace {

const NumberFormat kPoint{u"."};
// What the child is started with, last on its command line.
constexpr const wchar_t* kChildFlag = L"--tarvello-at-dpi";

std::vector<HWND> VisibleControls(HWND window) {
    std::vector<HWND> controls;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c)) controls.push_back(c);
    }
    return controls;
}

RECT RectIn(HWND window, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Is(HWND control, const wchar_t* windowClass) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return _wcsicmp(name, windowClass) == 0;
}

HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// A caption as Wine draws it at `dpi`: where its pixels fall, and the room its control gives
// them (an option's circle or box and half a digit before it, a frame's 7 pixels on either
// side, a button's frame and border).
struct Caption {
    RECT drawn, room;
    bool covers;  // what it draws is all it covers: a label's, an option's
};
std::optional<Caption> CaptionOf(HWND window, HWND control, int dpi) {
    const std::wstring text = WindowText(control);
    const RECT r = RectIn(window, control);
    const HFONT font = FontOf(control);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (text.empty()) return std::nullopt;
    if (Is(control, L"Static") && (style & SS_TYPEMASK) != SS_ICON) {
        const bool wraps = r.bottom - r.top >= 2 * LineHeight(font);
        const SIZE ink = TextInk(font, text, wraps ? DT_WORDBREAK | DT_EXPANDTABS : DT_SINGLELINE,
                                 wraps ? r.right - r.left : 0);
        return Caption{{r.left, r.top, r.left + ink.cx, r.top + ink.cy}, r, true};
    }
    if (!Is(control, L"Button")) return std::nullopt;
    const bool option =
        (style & BS_TYPEMASK) == BS_RADIOBUTTON || (style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
    const int inset = option ? 12 * dpi / 96 + 1 + DigitWidth(font) / 2
                      : (style & BS_TYPEMASK) == BS_GROUPBOX ? 7
                                                             : 3;
    const SIZE ink = TextInk(font, text, DT_SINGLELINE);
    const int top = r.top + (r.bottom - r.top - LineHeight(font)) / 2;
    return Caption{{r.left + inset, top, r.left + inset + ink.cx, top + ink.cy},
                   {r.left + inset, r.top, r.right - (option ? 0 : inset), r.bottom},
                   option};
}

// What a control covers: a label's or an option's caption where it is drawn (the table lets an
// option reach into the box below it, and the title into the band's rule), any other's whole.
RECT Covered(HWND window, HWND control, int dpi) {
    RECT r = RectIn(window, control);
    const auto caption = CaptionOf(window, control, dpi);
    return caption && caption->covers
               ? RECT{r.left, caption->drawn.top, caption->drawn.right, caption->drawn.bottom}
               : r;
}

bool Within(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

void ExpectHeadersWhole(HWND list, int dpi) {
    HWND header = ListView_GetHeader(list);
    for (int column = 0; column < Header_GetItemCount(header); ++column) {
        wchar_t name[64] = {};
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT;
        item.pszText = name;
        item.cchTextMax = 64;
        ListView_GetColumn(list, column, &item);
        // Wine's header keeps three edges' widths free on either side of a caption.
        EXPECT_LE(
            TextInk(FontOf(header), name, DT_SINGLELINE).cx + 6 * MetricForDpi(SM_CXEDGE, dpi),
            ListView_GetColumnWidth(list, column))
            << "the header of column " << column << " is cut off";
    }
}

// Fails for every caption cut off, every two controls whose drawings overlap without one holding
// the other, every caption outside the client area, and a window larger than a 1280 × 1024
// screen (less its taskbar) at 150 %. `dpi`: the one the window is laid out for.
void ExpectCaptionsWhole(HWND window, int dpi) {
    const std::vector<HWND> controls = VisibleControls(window);
    ASSERT_FALSE(controls.empty());
    RECT client;
    GetClientRect(window, &client);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const int id = GetDlgCtrlID(controls[i]);
        if (Is(controls[i], WC_LISTVIEWW)) ExpectHeadersWhole(controls[i], dpi);
        if (const auto caption = CaptionOf(window, controls[i], dpi)) {
            EXPECT_GT(caption->drawn.right, caption->drawn.left) << "control " << id;
            EXPECT_TRUE(Within(caption->drawn, caption->room)) << "control " << id << " cut off";
            EXPECT_TRUE(Within(caption->drawn, client)) << "control " << id << " outside";
        }
        const RECT covered = Covered(window, controls[i], dpi);
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const RECT other = Covered(window, controls[j], dpi);
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &covered, &other) && !EqualRect(&both, &covered) &&
                         !EqualRect(&both, &other))
                << "controls " << id << " and " << GetDlgCtrlID(controls[j]) << " overlap";
        }
    }
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_LE(frame.right - frame.left, 1280);
    EXPECT_LE(frame.bottom - frame.top, 1024 - 60);
}

// Sends `window`, laid out for `from` DPI, the WM_DPICHANGED of a move to a monitor at `dpi`
// (Wine never sends it: its monitors share one DPI) with its rectangle scaled and moved by 10
// pixels; checks that it took that corner and that its controls' fonts follow.
void ExpectFollowsDpi(HWND window, int from, int dpi) {
    std::map<HWND, int> lines;
    for (HWND c : VisibleControls(window)) {
        if (!WindowText(c).empty()) lines[c] = LineHeight(FontOf(c));
    }
    RECT r;
    GetWindowRect(window, &r);
    RECT suggested{r.left + 10, r.top + 10, r.left + 10 + MulDiv(r.right - r.left, dpi, from),
                   r.top + 10 + MulDiv(r.bottom - r.top, dpi, from)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(window, &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top}),
              (std::vector<LONG>{suggested.left, suggested.top}));
    for (const auto& [control, height] : lines) {
        EXPECT_NEAR(LineHeight(FontOf(control)), MulDiv(height, dpi, from), 2)
            << "the font of control " << GetDlgCtrlID(control) << " is not of " << dpi << " DPI";
    }
}

void ExpectWholeAtEveryDpi(HWND window) {
    ExpectCaptionsWhole(window, 144);
    int from = 144;
    for (int dpi : {192, 120, 96}) {
        SCOPED_TRACE(::testing::Message() << "moved to " << dpi << " DPI");
        ExpectFollowsDpi(window, from, dpi);
        ExpectCaptionsWhole(window, dpi);
        from = dpi;
    }
}

class AtDpi144 : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SystemDpi(), 144) << "the program did not start at 144 DPI"; }
    // Opens a modal window through `open` and checks it from inside its loop, after `typed`,
    // then closes it.
    void ExpectModalWhole(
        const wchar_t* windowClass, const std::function<void(HWND)>& open,
        const std::function<void(HWND)>& typed = [](HWND) {}) {
        test::ModalDriver driver(windowClass);
        driver.Then([&] {
            typed(test::FindModal(windowClass));
            ExpectWholeAtEveryDpi(test::FindModal(windowClass));
            DestroyWindow(test::FindModal(windowClass));
        });
        driver.ArmGuard();
        open(driver.owner());
        EXPECT_FALSE(driver.guardFired());
    }
    test::RecordingPresenter messages_;
};

TEST_F(AtDpi144, MainWindow) {
    ScratchSettings settings;
    LoadedWindow main;
    main.Load(settings.Location());
    ExpectWholeAtEveryDpi(main.controls.hwnd());
    // Back at 96 DPI, the table's own geometry.
    RECT client;
    GetClientRect(main.controls.hwnd(), &client);
    EXPECT_EQ((std::vector<LONG>{client.right, client.bottom}), (std::vector<LONG>{360, 296}));
}

// The place kept between runs is in twips of the DPI the window is drawn at: stored at 150 %, it
// opens there; moved to a monitor at 100 % and closed, it keeps twips of 96 DPI.
TEST_F(AtDpi144, PlacementIsKeptInTwipsOfTheWindowsDpi) {
    ScratchSettings settings;
    settings.Put(L"Top", L"1500");
    settings.Put(L"Left", L"3000");
    LoadedWindow main;
    main.Load(settings.Location());
    RECT r;
    GetWindowRect(main.controls.hwnd(), &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top}), (std::vector<LONG>{300, 150}));
    ExpectFollowsDpi(main.controls.hwnd(), 144, 96);  // to 10 pixels right of and below it
    Click(main.controls.cmdClose);
    EXPECT_EQ(settings.Get(L"Left").value_or(L""), L"4650");
    EXPECT_EQ(settings.Get(L"Top").value_or(L""), L"2400");
}

TEST_F(AtDpi144, ModalWindows) {
    ExpectModalWhole(frmAbout::kClassName,
                     [&](HWND owner) { frmAbout(owner, messages_).Form_Load(); });
    RoundPlan plan;
    plan.items.resize(1);
    ExpectModalWhole(frmPreview::kClassName,
                     [&](HWND owner) { frmPreview(owner, plan, kPoint, messages_).Form_Load(); });
    const auto openRules = [&](HWND owner) {
        frmPriceRules(owner, DefaultRulesTexts(kPoint), kPoint, messages_).Form_Load();
    };
    ExpectModalWhole(frmPriceRules::kClassName, openRules);
    // An example of many digits, typed while the window is open, gets the room it needs and
    // gives it back once it is short again.
    ExpectModalWhole(frmPriceRules::kClassName, openRules, [](HWND rules) {
        using namespace price_rules_window;
        const auto type = [rules](const wchar_t* from, const wchar_t* step) {
            SetDlgItemTextW(rules, BandControlId(4, BandColumn::Step), step);
            SetDlgItemTextW(rules, BandControlId(4, BandColumn::From), from);
            RECT client;
            GetClientRect(rules, &client);
            return client.right;
        };
        const LONG opened = type(L"", L"");
        EXPECT_GT(type(L"1234567890.5", L"0.001"), opened);
        EXPECT_EQ(type(L"", L""), opened);
        type(L"1234567890.5", L"0.001");
    });
    ExpectModalWhole(frmNewTotal::kClassName, [&](HWND owner) {
        frmNewTotal(owner, u"4,321.09", DefaultNewTotalTexts(kPoint), kPoint, messages_)
            .Form_Load();
    });
    // A Round given back whole: the reason beside the greyed Preview Undo.
    HistoryView history;
    history.standings.resize(1);
    history.standings[0].state = RoundStanding::State::Undone;
    ExpectModalWhole(frmRoundHistory::kClassName, [&](HWND owner) {
        frmRoundHistory(owner, history, kPoint, messages_).Form_Load();
    });
}

// Starts this program again with kChildFlag at `dpi`; gives its exit code.
int RunAgainAtDpi(int dpi) {
    ScopedKey desktop;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, desktop.put(), nullptr);
    DWORD before = 0, size = sizeof(before);
    const bool had = RegGetValueW(desktop.get(), nullptr, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                                  &before, &size) == ERROR_SUCCESS;
    const auto set = [&](DWORD value) {
        RegSetValueExW(desktop.get(), L"LogPixels", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&value), sizeof(value));
    };
    set(static_cast<DWORD>(dpi));
    std::wstring command = std::wstring(GetCommandLineW()) + L" " + kChildFlag;
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    PROCESS_INFORMATION child{};
    DWORD code = 1;
    if (launch::StartProcess(nullptr, command.data(), TRUE, nullptr, &start, &child)) {
        ScopedHandleKernel process(child.hProcess), thread(child.hThread);
        // Less than the test's own timeout: the value is put back however the child hangs.
        if (WaitForSingleObject(process.get(), 200000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "the tests at %d DPI did not end in time\n", dpi);
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), INFINITE);
        }
        GetExitCodeProcess(process.get(), &code);
    }
    had ? set(before) : void(RegDeleteValueW(desktop.get(), L"LogPixels"));
    return static_cast<int>(code);
}

}  // namespace
}  // namespace tarvello::ui::testing

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || std::wcscmp(argv[argc - 1], tarvello::ui::testing::kChildFlag) != 0) {
        return tarvello::ui::testing::RunAgainAtDpi(144);
    }
    --argc;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
