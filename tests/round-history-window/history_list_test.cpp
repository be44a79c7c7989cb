// Round History's words and rules without a window: each state as the list says it, what the
// buttons may do and why not, the table Copy makes, and the list after Forget without a second
// look at the quote.

#include "ui/round-history-window/history_list.h"

#include <gtest/gtest.h>

#include "engine/numbers/text_util.h"

namespace tarvello::ui {
namespace {

using State = RoundStanding::State;

std::string Narrow(const Text& text) {
    return Utf8Of(text);
}

// "14:03" for the short form, "2026-12-07 14:03:22 local" for the whole one.
Text When(const std::string& utc, bool whole) {
    return TextFromUtf8(whole ? utc + " local" : utc.substr(11, 5));
}

// A Round of `items` line items on document 0 of 12 line items, `dealt` of them dealt with.
RoundRecord Round(const std::string& id, const std::string& began, int items, int dealt = 0,
                  int left = 0) {
    RoundRecord round;
    round.id = id;
    round.began = began;
    round.lineItemCount = 12;
    round.what = "Nearest multiple of 5, unit price, all rows";
    for (int row = 0; row < items; ++row) {
        WrittenLineItem item;
        item.row = static_cast<std::int16_t>(row);
        item.written = true;
        item.dealtWith = row < dealt;
        item.left = row < left;
        round.items.push_back(item);
    }
    return round;
}

RoundStanding Standing(RoundRecord round, State state, int holding = 0) {
    RoundStanding standing = StandingOf(round, {round});
    standing.state = state;
    standing.holding = holding;
    return standing;
}

TEST(HistoryList, EachStateInWords) {
    const struct {
        RoundStanding standing;
        const char* text;
    } cases[] = {
        {Standing(Round("a", "2026-12-07 14:03:22", 5), State::CanBeUndone, 5), "can be undone"},
        {Standing(Round("a", "2026-12-07 14:03:22", 5), State::CanBeUndone, 3),
         "can be undone; 2 of 5 changed since"},
        {Standing(Round("a", "2026-12-07 14:03:22", 5, 2), State::PartlyUndone, 3),
         "partly undone (2 of 5)"},
        {Standing(Round("a", "2026-12-07 14:03:22", 5, 5), State::Undone), "undone"},
        {Standing(Round("a", "2026-12-07 14:03:22", 5, 5, 2), State::Undone),
         "undone; 2 line items left as they had changed"},
        {Standing(Round("a", "2026-12-07 14:03:22", 5), State::Forgotten), "forgotten"},
        {Standing(Round("a", "2026-12-07 14:03:22", 5), State::OtherQuote),
         "its quote is not the open one"},
        {Standing(Round("a", "2026-12-07 14:03:22", 5), State::Moved),
         "line items seem to have moved since"},
        {Standing(Round("a", "2026-12-07 14:03:22", 5), State::NotLooked),
         "not known: the open quote was not read"},
    };
    for (const auto& c : cases) EXPECT_EQ(Narrow(StateText(c.standing)), c.text);

    // An older record says neither what it was nor, unreadable, when.
    RoundRecord old = Round("b", "yesterday", 3);
    old.what.clear();
    const HistoryRow row = RowOf(Standing(old, State::CanBeUndone, 3), When);
    EXPECT_EQ(Narrow(row.cells[kWhat]), "Round");
    EXPECT_EQ(Narrow(row.cells[kQuote]), "document 0, 12 line items");
    EXPECT_EQ(Narrow(row.cells[kWritten]), "3");
}

TEST(HistoryList, PreviewUndoOnlyForWhatCanGoBackInOrderAndForgetWhileUndoWouldGiveBack) {
    // Two Rounds on the same quote: the newer one is in the older one's way.
    const std::vector<RoundRecord> rounds = {Round("old", "2026-12-07 09:15:00", 4),
                                             Round("new", "2026-12-07 14:03:22", 4)};
    const auto standing = [&](const RoundRecord& round, State state) {
        RoundStanding s = StandingOf(round, rounds);
        s.state = state;
        return s;
    };
    const std::vector<RoundStanding> all = {standing(rounds[1], State::CanBeUndone),
                                            standing(rounds[0], State::CanBeUndone)};
    const struct {
        RoundStanding chosen;
        bool previewUndo, forget;
        const char* why;
    } cases[] = {
        {all[0], true, true, ""},
        {all[1], false, true,
         "Undo or forget the Round of 14:03 first: it is newer, on the same quote."},
        {standing(rounds[1], State::Moved), true, true, ""},
        {standing(rounds[1], State::PartlyUndone), true, true, ""},
        {standing(rounds[1], State::OtherQuote), false, true,
         "Its quote is not the one open in Tarvello."},
        {standing(rounds[1], State::NotLooked), false, true,
         "The quote open in Tarvello was not read: Refresh."},
        // What gives nothing back says so, whatever is newer.
        {Standing(Round("old", "2026-12-07 09:15:00", 4, 4), State::Undone), false, false,
         "Nothing is left to give back."},
        {[&] {
             RoundRecord forgotten = rounds[0];
             forgotten.forgotten = true;
             return StandingOf(forgotten, {forgotten, rounds[1]});
         }(),
         false, false, "Forgotten: it gives nothing back."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(StateText(c.chosen)));
        const HistoryButtons buttons = ButtonsFor(c.chosen, all, When);
        EXPECT_EQ(buttons.previewUndo, c.previewUndo);
        EXPECT_EQ(buttons.forget, c.forget);
        EXPECT_EQ(Narrow(buttons.why), c.why);
    }
    EXPECT_EQ(Narrow(ForgetQuestion(all[0], When)),
              "Forget the Round of 14:03 (Nearest multiple of 5, unit price, all rows)?\n\nEdit > "
              "Undo Round will no longer give back its 4 line items and moves on to the Round "
              "before it. Round History goes on showing it, as forgotten.");
}

TEST(HistoryList, CopyPastesAsATableWithFormulaLookingTextsAsText) {
    RoundRecord round = Round("a", "2026-12-07 14:03:22", 2);
    round.what = "=New total -5";
    const std::vector<HistoryRow> rows = {RowOf(Standing(round, State::CanBeUndone, 2), When)};
    EXPECT_EQ(Narrow(HistoryTable(rows, NumberFormat())),
              "When\tWhat\tQuote\tWritten\tState\r\n"
              "2026-12-07 14:03:22 local\t'=New total -5\tdocument 0, 12 line items\t2\tcan be "
              "undone\r\n");
}

// Forget reads nothing of the quote: the forgotten Round says so, the one it stood in the way of
// may go back now, and the rest stand as last read.
TEST(HistoryList, AfterForgetTheRoundsStandAsLastReadButForWhatForgettingChanged) {
    std::vector<RoundRecord> rounds = {Round("other", "2026-12-07 08:00:00", 2),
                                       Round("old", "2026-12-07 09:15:00", 4),
                                       Round("new", "2026-12-07 14:03:22", 4)};
    rounds[0].documentIndex = 3;
    std::vector<RoundStanding> looked;
    for (auto round = rounds.rbegin(); round != rounds.rend(); ++round) {
        looked.push_back(StandingOf(*round, rounds));
    }
    looked[0].state = State::Moved;
    looked[1].state = State::CanBeUndone;
    looked[1].holding = 3;
    looked[2].state = State::OtherQuote;
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
