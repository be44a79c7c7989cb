// Round History's words and rules without a window: each state as the list says it, what the
// buttons may do and why not, the table Copy makes, and the list after Forget without a second
// look at the quote.

#include "ui/round-history-window/history_list.h"

#include <gtest/gtest.h>

#include "engine/numbers/text_util.h"

namespace tarvello::ui {
namespace {

using State = RoundStanding::State;

// "14:03" for the short form, "2026-12-07 14:03:22 local" for the whole one.
Text When(const std::string& utc, bool whole) {
    return TextFromUtf8(whole ? utc + " local" : utc.substr(11, 5));
}

// A Round of 4 line items on document 0 of 12 line items, `dealt` of them dealt with (`left`
// of those left), made at `hhmm` o'clock.
RoundRecord Round(const std::string& id, const char* hhmm, int dealt = 0, int left = 0) {
    RoundRecord round;
    round.id = id;
    round.began = std::string("2026-12-07 ") + hhmm + ":22";
    round.lineItemCount = 12;
    round.what = "Nearest multiple of 5, unit price, all rows";
    round.items.resize(4);
    for (int row = 0; row < 4; ++row) {
        round.items[row].written = true;
        round.items[row].dealtWith = row < dealt;
        round.items[row].left = row < left;
    }
    return round;
}

// Where `round` stands among `rounds`, as looked at.
RoundStanding Standing(const RoundRecord& round, State state, int holding = 0,
                       const std::vector<RoundRecord>& rounds = {}) {
    RoundStanding standing = StandingOf(round, rounds.empty() ? std::vector{round} : rounds);
    if (standing.state == State::NotLooked) standing.state = state;
    standing.holding = holding;
    return standing;
}

TEST(HistoryList, EachStateInWordsAndTheListAsATable) {
    const std::pair<RoundStanding, const char*> cases[] = {
        {Standing(Round("a", "14:03"), State::CanBeUndone, 4), "can be undone"},
        {Standing(Round("a", "14:03"), State::CanBeUndone, 2),
         "can be undone; 2 of 4 changed since"},
        {Standing(Round("a", "14:03", 1), State::PartlyUndone, 3), "partly undone (1 of 4)"},
        {Standing(Round("a", "14:03", 4), State::Undone), "undone"},
        {Standing(Round("a", "14:03", 4, 2), State::Undone),
         "undone; 2 line items left as they had changed"},
        {Standing(Round("a", "14:03"), State::Forgotten), "forgotten"},
        {Standing(Round("a", "14:03"), State::OtherQuote), "its quote is not the open one"},
        {Standing(Round("a", "14:03"), State::Moved), "line items seem to have moved since"},
        {Standing(Round("a", "14:03"), State::NotLooked), "not known: the open quote was not read"},
    };
    for (const auto& [standing, text] : cases) EXPECT_EQ(Utf8Of(StateText(standing)), text);

    // An older record says not what it was; a formula-looking text pastes as text.
    RoundRecord old = Round("b", "09:15");
    old.what.clear();
    RoundRecord total = Round("c", "14:03");
    total.what = "=New total -5";
    const std::vector<HistoryRow> rows = {RowOf(Standing(total, State::CanBeUndone, 4), When),
                                          RowOf(Standing(old, State::OtherQuote), When)};
    EXPECT_EQ(Utf8Of(HistoryTable(rows, NumberFormat())),
              "When\tWhat\tQuote\tWritten\tState\r\n"
              "2026-12-07 14:03:22 local\t'=New total -5\tdocument 0, 12 line items\t4\tcan be "
              "undone\r\n2026-12-07 09:15:22 local\tRound\tdocument 0, 12 line items\t4\tits "
              "quote is not the open one\r\n");
}

TEST(HistoryList, PreviewUndoOnlyForWhatCanGoBackInOrderAndForgetWhileUndoWouldGiveBack) {
    // Two Rounds on the same quote: the newer one is in the older one's way.
    std::vector<RoundRecord> rounds = {Round("old", "09:15"), Round("new", "14:03")};
    const auto in = [&](int i, State state) { return Standing(rounds[i], state, 0, rounds); };
    const std::vector<RoundStanding> all = {in(1, State::CanBeUndone), in(0, State::CanBeUndone)};
    RoundRecord forgotten = rounds[0];
    forgotten.forgotten = true;
    const struct {
        RoundStanding chosen;
        bool previewUndo, forget;
        const char* why;
    } cases[] = {
        {all[0], true, true, ""},
        {all[1], false, true,
         "Undo or forget the Round of 14:03 first: it is newer, on the same "
         "quote."},
        {in(1, State::Moved), true, true, ""},
        {in(1, State::PartlyUndone), true, true, ""},
        {in(1, State::OtherQuote), false, true, "Its quote is not the one open in Tarvello."},
        {in(1, State::NotLooked), false, true, "The quote open in Tarvello was not read: Refresh."},
        // What gives nothing back says so, whatever is newer.
        {Standing(Round("old", "09:15", 4), State::Undone, 0,
                  {Round("old", "09:15", 4), rounds[1]}),
         false, false, "Nothing is left to give back."},
        {Standing(forgotten, State::Forgotten, 0, {forgotten, rounds[1]}), false, false,
         "Forgotten: it gives nothing back."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8Of(StateText(c.chosen)));
        const HistoryButtons buttons = ButtonsFor(c.chosen, all, When);
        EXPECT_EQ(buttons.previewUndo, c.previewUndo);
        EXPECT_EQ(buttons.forget, c.forget);
        EXPECT_EQ(Utf8Of(buttons.why), c.why);
    }
    EXPECT_EQ(Utf8Of(ForgetQuestion(all[0], When)),
              "Forget the Round of 14:03 (Nearest multiple of 5, unit price, all rows)?\n\nEdit > "
              "Undo Round will no longer give back its 4 line items and moves on to the Round "
              "before it. Round History goes on showing it, as forgotten.");
}

// Forget reads nothing of the quote: the forgotten Round says so, the one it stood in the way of
// may go back now, and the rest stand as last read.
TEST(HistoryList, AfterForgetTheRoundsStandAsLastReadButForWhatForgettingChanged) {
    std::vector<RoundRecord> rounds = {Round("other", "08:00"), Round("old", "09:15"),
                                       Round("new", "14:03")};
    rounds[0].documentIndex = 3;
    const std::vector<RoundStanding> looked = {Standing(rounds[2], State::Moved, 0, rounds),
                                               Standing(rounds[1], State::CanBeUndone, 3, rounds),
                                               Standing(rounds[0], State::OtherQuote, 0, rounds)};
    ASSERT_EQ(looked[1].inTheWay, "new");

    rounds[2].forgotten = true;
    const std::vector<RoundStanding> after = StandAgain(looked, rounds);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].state, State::Forgotten);
    EXPECT_EQ(after[1].state, State::CanBeUndone);
    EXPECT_EQ(after[1].holding, 3);
    EXPECT_EQ(after[1].inTheWay, "");
    EXPECT_EQ(after[2].state, State::OtherQuote);
}

}  // namespace
}  // namespace tarvello::ui
