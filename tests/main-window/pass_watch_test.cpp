// A long Round as the user sees it: "Rounding row N of M" in the header band after about half a
// second, changing at most about ten times a second and gone afterwards; Escape or Close
// stopping it between two line items, with one message saying where.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/main-window/window_test_support.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui::testing {
namespace {

class PassWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        loaded.Load(settings.Location());
        progress = GetDlgItem(loaded.controls.hwnd(), main_window::kLblProgress);
        loaded.pass.writes = 40;
        loaded.pass.pausePerRowMs = 25;
    }
    ScratchSettings settings;
    LoadedWindow loaded;
    HWND progress = nullptr;
};

TEST_F(PassWatchTest, ProgressShowsAfterHalfASecondAtMostTenTimesASecondAndGoesAway) {
    std::vector<std::wstring> seen;
    ULONGLONG start = GetTickCount64();
    ULONGLONG firstShown = 0;
    loaded.pass.afterRow = [&](int) {
        if (!IsWindowVisible(progress)) return;
        if (!firstShown) firstShown = GetTickCount64();
        const std::wstring text = WindowText(progress);
        if (seen.empty() || seen.back() != text) seen.push_back(text);
    };
    EXPECT_FALSE(IsWindowVisible(progress));
    Click(loaded.controls.cmdRound);
    const ULONGLONG took = GetTickCount64() - start;

    ASSERT_FALSE(seen.empty());
    EXPECT_GE(firstShown - start, 450u);
    EXPECT_LE(seen.size(), took / 100 + 1) << "more than ten a second";
    EXPECT_GE(seen.size(), 2u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        int row = -1, of = -1;
        ASSERT_EQ(swscanf(seen[i].c_str(), L"Rounding row %d of %d", &row, &of), 2)
            << Utf8Of(ToText(seen[i]));
        EXPECT_EQ(of, 40);
    }
    EXPECT_FALSE(IsWindowVisible(progress));
    EXPECT_EQ(WindowText(progress), L"");
    EXPECT_TRUE(loaded.messages.shown.empty());
}

TEST_F(PassWatchTest, EscapeStopsTheRoundAtTheNextLineItemAndSaysWhere) {
    loaded.pass.afterRow = [&](int row) {
        if (row == 9) PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    Click(loaded.controls.cmdRound);
    ASSERT_EQ(loaded.messages.shown.size(), 1u);
    EXPECT_NE(loaded.messages.shown[0].text.find(L"Rounding stopped at row 10 of 40, as you asked."
                                                 L" 10 line items had already been rounded"),
              std::wstring::npos)
        << Utf8Of(ToText(loaded.messages.shown[0].text));
    EXPECT_TRUE(IsWindow(loaded.controls.hwnd()));

    // Outside a Round, Escape does nothing at all.
    loaded.messages.shown.clear();
    PressKey(loaded.controls.hwnd(), VK_ESCAPE);
    EXPECT_TRUE(loaded.messages.shown.empty());
    EXPECT_EQ(loaded.pass.calls.size(), 1u);
}

// Every way to close during a Round stops it after the line item in hand, says where, and then
// closes: the Close command saves the placement, the windowing system's own closes do not.
TEST_F(PassWatchTest, EveryCloseStopsTheRoundSaysWhereAndThenCloses) {
    struct Case {
        const char* name;
        std::function<void(const WindowControls&)> ask;
        bool saved;
    };
    const LPARAM alt = 1 | (1 << 29);
    const Case cases[] = {
        {"the Close button",
         [](const WindowControls& w) {
             PostMessageW(w.cmdClose, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
         },
         true},
        {"Alt+C", [&](const WindowControls&) { PostMessageW(GetFocus(), WM_SYSKEYDOWN, 'C', alt); },
         true},
        {"Alt+F4",
         [&](const WindowControls&) { PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F4, alt); },
         false},
        {"the title bar's close",
         [](const WindowControls& w) { PostMessageW(w.hwnd(), WM_NCLBUTTONDOWN, HTCLOSE, 0); },
         false},
        {"a close posted from outside",
         [](const WindowControls& w) { PostMessageW(w.hwnd(), WM_CLOSE, 0, 0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchSettings fresh;
        LoadedWindow round;
        round.Load(fresh.Location());
        round.pass.writes = 40;
        round.pass.afterRow = [&](int row) {
            if (row == 4) c.ask(round.controls);
        };
        const HWND window = round.controls.hwnd();
        Click(round.controls.cmdRound);
        PumpMessages(window);
        EXPECT_EQ(round.messages.shown.size(), 1u);
        if (round.messages.shown.size() != 1) continue;
        EXPECT_NE(round.messages.shown[0].text.find(L"stopped at row 5 of 40"), std::wstring::npos)
            << Utf8Of(ToText(round.messages.shown[0].text));
        EXPECT_EQ(round.messages.shown[0].owner, window);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(fresh.Get(L"Top").has_value(), c.saved);
    }
}

}  // namespace
}  // namespace tarvello::ui::testing
