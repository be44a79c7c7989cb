// Edit > Round History as the main window runs it: Ctrl+Shift+H opens it; a quote that cannot be
// read is said in the window, not in a box before it; the window opens again on the Round chosen
// after each choice; Forget reads nothing of the quote again, Refresh and an Apply do; Apply of
// the preview gives the Round back through the history.

#include <gtest/gtest.h>

#include "tests/main-window/window_test_support.h"

namespace tarvello::ui::testing {
namespace {

using Action = HistoryChoice::Action;
using State = RoundStanding::State;

TEST(HistoryCommandTest, EachChoiceIsDoneAndTheWindowOpensAgainOnItsRound) {
    ScratchSettings settings;
    LoadedWindow loaded;
    loaded.Load(settings.Location());
    loaded.pass.writes = 2;
    Click(loaded.controls.cmdRound);
    Click(loaded.controls.cmdRound);
    const std::vector<RoundRecord> rounds = loaded.history.Rounds();
    ASSERT_EQ(rounds.size(), 2u);
    const std::string older = rounds[0].id, newer = rounds[1].id;
    loaded.pass.reachesDocument = false;
    loaded.historyChoices = {{Action::Refresh, older},
                             {Action::Forget, newer},
                             {Action::PreviewUndo, older},
                             {Action::Close, older}};

    SetFocus(loaded.controls.optAllRows);
    PressHolding(loaded.controls.hwnd(), 'H', {VK_CONTROL, VK_SHIFT});

    const std::vector<HistoryView>& shown = loaded.historyShown;
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(Utf8Of(shown[0].notRead), Utf8Of(kNoDocumentText));
    EXPECT_TRUE(loaded.messages.shown.empty()) << "the quote not read was said in a box";
    EXPECT_EQ(shown[1].chosen, older);
    EXPECT_EQ(shown[2].chosen, newer);
    ASSERT_EQ(shown[2].standings.size(), 2u);
    EXPECT_EQ(shown[2].standings[0].state, State::Forgotten);
    EXPECT_EQ(loaded.pass.lookCalls, 3) << "the first look, Refresh and after Apply: not Forget";
    ASSERT_EQ(loaded.previewed.size(), 1u);
    EXPECT_EQ(loaded.previewed[0].kind, PlanKind::Undo);
    EXPECT_EQ(loaded.previewed[0].undoOf, older);
    EXPECT_EQ(loaded.history.UndoableCount(), 0)
        << "the older Round given back, the newer forgotten";
    EXPECT_EQ(shown[3].standings[1].state, State::Undone);
}

}  // namespace
}  // namespace tarvello::ui::testing
