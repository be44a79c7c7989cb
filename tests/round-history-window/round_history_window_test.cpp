// Round History as the user meets it: it opens on the Round chosen, its buttons follow the Round
// chosen in the list with the reason beside a greyed Preview Undo, Enter does nothing while that
// is greyed, and Forget asks first, No leaving everything as it was.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "tests/about-box/recording_presenter.h"
#include "tests/support/launch.h"
#include "tests/support/modal_driver.h"
#include "ui/round-history-window/frm_round_history.h"
#include "ui/round-history-window/round_history_layout.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {
namespace {

using namespace round_history_window;

HWND Child(int id) {
    return GetDlgItem(test::FindModal(frmRoundHistory::kClassName), id);
}

// Two Rounds of one quote, both able to be undone: the newer one in the older one's way.
HistoryView TwoRoundsOfOneQuote() {
    std::vector<RoundRecord> rounds(2);
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        rounds[i].id = i == 0 ? "older" : "newer";
        rounds[i].began = i == 0 ? "2026-12-07 09:15:00" : "2026-12-07 14:03:22";
        rounds[i].lineItemCount = 3;
        rounds[i].items.resize(2);
    }
    HistoryView view;
    for (auto round = rounds.rbegin(); round != rounds.rend(); ++round) {
        view.standings.push_back(StandingOf(*round, rounds));
        view.standings.back().state = RoundStanding::State::CanBeUndone;
    }
    view.chosen = "older";
    return view;
}

TEST(RoundHistoryWindow, TheButtonsFollowTheRoundChosenAndForgetAsksFirst) {
    test::ModalDriver driver(frmRoundHistory::kClassName);
    test::RecordingPresenter messages;
    struct Seen {
        bool previewUndo, forget;
        std::wstring why;
    };
    const auto seen = [] {
        return Seen{IsWindowEnabled(Child(kCmdPreviewUndo)) != FALSE,
                    IsWindowEnabled(Child(kCmdForget)) != FALSE, WindowText(Child(kLblWhy))};
    };
    Seen older{}, newer{};
    bool openAfterEnter = false, openAfterNo = false;
    driver.Then([&] {
        older = seen();
        // What the dialog manager sends for Enter: Preview Undo is the default button, greyed.
        SendMessageW(test::FindModal(frmRoundHistory::kClassName), WM_COMMAND,
                     MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    driver.Then([&] {
        openAfterEnter = test::FindModal(frmRoundHistory::kClassName) != nullptr;
        ListView_SetItemState(Child(kLvwRounds), 0, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        newer = seen();
        // Every step is queued before the window opens: what a step does must be done in it.
        SendMessageW(Child(kCmdForget), BM_CLICK, 0, 0);  // answered No
    });
    driver.Then([&] {
        openAfterNo = test::FindModal(frmRoundHistory::kClassName) != nullptr;
        messages.answer = true;
        PostMessageW(Child(kCmdForget), BM_CLICK, 0, 0);
    });
    driver.ArmGuard();
    const HistoryView view = TwoRoundsOfOneQuote();
    frmRoundHistory window(driver.owner(), view, NumberFormat(), messages);
    const HistoryChoice choice = window.Form_Load();
    driver.DisarmGuard();
    ASSERT_FALSE(driver.guardFired()) << "Round History did not close";

    EXPECT_FALSE(older.previewUndo) << "the older Round went back before the newer one";
    EXPECT_TRUE(older.forget);
    EXPECT_EQ(older.why.rfind(L"Undo or forget the Round of ", 0), 0u) << launch::Narrow(older.why);
    EXPECT_TRUE(openAfterEnter) << "Enter previewed a Round that may not go back yet";
    EXPECT_TRUE(newer.previewUndo);
    EXPECT_EQ(newer.why, L"");
    EXPECT_TRUE(openAfterNo) << "No to the question forgot the Round";
    ASSERT_EQ(messages.shown.size(), 2u) << "one question for each Forget";
    EXPECT_EQ(messages.shown[0].type, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(choice.action, HistoryChoice::Action::Forget);
    EXPECT_EQ(choice.id, "newer");
}

}  // namespace
}  // namespace tarvello::ui
