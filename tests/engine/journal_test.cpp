// The journal behind the history of Rounds: what a Round hands to it before each write is
// enough to undo the Round after the program was killed at any moment; what it cannot read is
// passed over; it is open only while a pass writes; it stays bounded; two copies share it.
#include <functional>
#include <string>
#include <vector>

#include "engine/journal/journal_syntax.h"
#include "engine/journal/journal_text.h"
#include "engine/passes/describe_failure.h"
#include "engine/passes/undo_last_round.h"
#include "memory_journal.h"
#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

// The program ending in the middle of a pass: nothing of it runs any more.
struct Killed {};

const RoundingRequest kNearest5{5, RoundedPrice::UnitPrice, RoundingMethod::Nearest,
                                RowChoice::All};
const RoundingRequest kExtendedTo10{10, RoundedPrice::ExtendedPrice, RoundingMethod::Nearest,
                                    RowChoice::All};

class JournalTest : public PassTest {
protected:
    // Modifiers with a tab, quotes and a lone surrogate in them, as the journal must keep them.
    void ArrangeQuote() {
        PassTest::ArrangeQuote({u"List -10%", u"Rate\tB", Text(u"\xD800 x"), u"Promo \"x\""});
    }
    // A pass of a copy of the program; however it ends, the journal is closed again.
    PassOutcome Round(RoundHistory& history, const RoundingRequest& request) {
        const PassOutcome outcome =
            RoundLineItems(request, host, messages, {}, PassHooks{&history, nullptr});
        EXPECT_FALSE(journal.open) << "the journal was left open";
        return outcome;
    }
    PassOutcome Undo(RoundHistory& history) {
        history.Refresh();
        const PassOutcome outcome = UndoLastRound(history, host, messages);
        EXPECT_FALSE(journal.open) << "the journal was left open";
        return outcome;
    }
    // Runs `pass` once to count its host calls, then again, from `reset`, killed before each of
    // them in turn; `check` sees what a restarted copy makes of it.
    template <typename Pass, typename Reset, typename Check>
    void KillBeforeEveryCall(Pass pass, Reset reset, Check check) {
        reset();
        pass();
        const std::size_t calls = host.log.size();
        for (std::size_t killAt = 0; killAt <= calls; ++killAt) {
            SCOPED_TRACE("killed before host call " + std::to_string(killAt));
            reset();
            std::size_t call = 0;
            host.fault = [&](const std::string&, int, const Text&) {
                if (call++ == killAt) throw Killed();
            };
            try {
                pass();
            } catch (const Killed&) {
            }
            host.fault = nullptr;
            check();
        }
    }

    MemoryJournal journal;
};

// Killed after any number of host calls (the writes of the line item in hand included), the
// next start gives back every line item written.
TEST_F(JournalTest, ARoundKilledAtAnyPointIsUndoneAfterARestart) {
    KillBeforeEveryCall(
        [&] {
            RoundHistory history(journal);
            Round(history, kNearest5);
        },
        [&] {
            host = RecordingHost();
            ArrangeQuote();
            journal = MemoryJournal();
        },
        [&] {
            RoundHistory restarted(journal);
            Undo(restarted);
            EXPECT_EQ(host.items, before);
        });
}

// An Undo cut off anywhere leaves the rest to the next start; a line item cut off between its
// two writes back holds either price, and is finished.
TEST_F(JournalTest, AnUndoKilledAtAnyPointGivesBackTheRestAfterARestart) {
    ArrangeQuote();
    {
        RoundHistory history(journal);
        Round(history, kNearest5);
    }
    const std::string roundOnly = journal.text;
    const std::vector<LineItem> rounded = host.items;
    KillBeforeEveryCall(
        [&] {
            RoundHistory history(journal);
            Undo(history);
        },
        [&] {
            journal.text = roundOnly;
            host.items = rounded;
            host.log.clear();
        },
        [&] {
            RoundHistory restarted(journal);
            Undo(restarted);
            EXPECT_EQ(host.items, before);
            EXPECT_EQ(restarted.UndoableCount(), 0);
        });
}

TEST_F(JournalTest, UndoStepsBackThroughEarlierRoundsAfterARestart) {
    ArrangeQuote();
    {
        RoundHistory first(journal);
        Round(first, kNearest5);
        Round(first, kExtendedTo10);
    }
    RoundHistory restarted(journal);
    restarted.Refresh();
    EXPECT_EQ(restarted.UndoableCount(), 4);
    // The second Round wrote the prices the first had left: nothing to write back.
    EXPECT_EQ(Undo(restarted).checked.alreadySo.size(), 4u);
    EXPECT_EQ(restarted.UndoableCount(), 4) << "the Round before comes next";
    {
        RoundHistory again(journal);
        EXPECT_EQ(Undo(again).written, 4);
        EXPECT_EQ(again.UndoableCount(), 0);
    }
    EXPECT_EQ(host.items, before);
}

// After a restart, another quote in the place of the one rounded gets nothing, however much of
// it is the same; once the rounded quote is back, Undo gives it back.
TEST_F(JournalTest, AfterARestartAnotherQuoteInItsPlaceIsKnownForAnother) {
    const RoundingRequest currentRow{5, RoundedPrice::UnitPrice, RoundingMethod::Nearest,
                                     RowChoice::Current};
    const struct {
        const char* name;
        RoundingRequest request;
        std::function<void(std::vector<LineItem>&)> other;
    } cases[] = {
        {"a line item where the heading was", kNearest5,
         [](std::vector<LineItem>& items) { items[2] = PricedItem(3, 3, 1); }},
        {"half of the prices written", kNearest5,
         [](std::vector<LineItem>& items) { items[3] = items[4] = PricedItem(99, 198, 2); }},
        {"the row written as it was left, the others of other quantities", currentRow,
         [](std::vector<LineItem>& items) {
             for (std::size_t row : {1, 3, 4}) items[row][u"QtyTotal"] = Variant::Double(7);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host = RecordingHost();
        ArrangeQuote();
        journal = MemoryJournal();
        {
            RoundHistory history(journal);
            Round(history, c.request);
        }
        const std::vector<LineItem> rounded = host.items;
        c.other(host.items);
        const std::vector<LineItem> other = host.items;

        RoundHistory restarted(journal);
        EXPECT_EQ(Undo(restarted).status, PassOutcome::Status::DocumentChanged);
        EXPECT_EQ(host.items, other);
        host.items = rounded;
        EXPECT_GT(Undo(restarted).written, 0);
        EXPECT_EQ(host.items, before);
    }
}

TEST_F(JournalTest, WhatCannotBeReadWholeIsPassedOver) {
    const std::string header = JournalHeader();
    const std::string newer = journal_syntax::Checked("tarvello-rounding-journal\t4");
    RoundRecord round;
    round.id = "ab12";
    round.began = "2026-12-07 10:00:00";
    round.lineItemCount = 5;
    WrittenLineItem item;
    item.row = 3;
    item.unitPriceBefore = Variant::Double(12.5);
    item.modifierBefore = Variant::FromText(u"List");
    item.unitPriceWritten = 10;
    item.quantity = Variant::Double(2);
    const std::string roundLine = RoundLine(round), itemLine = ItemLine("ab12", item);
    const std::string written = WrittenLine("ab12", 3, 15);
    std::string damaged = itemLine;
    damaged[damaged.find("12.5")] = '7';
    struct Case {
        const char* name;
        std::string text;
        std::size_t rounds, items;
        bool newer, written;
    };
    const Case cases[] = {
        {"missing or empty", "", 0, 0, false, false},
        {"whole", header + roundLine + itemLine + written, 1, 1, false, true},
        {"a torn last line", header + roundLine + itemLine + written.substr(0, 16), 1, 1, false,
         false},
        {"a torn line ended when the journal was opened again, and more after it",
         header + roundLine + itemLine + written.substr(0, 16) + kCutOffEnding + written, 1, 1,
         false, true},
        {"a damaged line", header + roundLine + damaged, 1, 0, false, false},
        {"garbage around it",
         "\x01\xff garbage\n" + header + roundLine + "item\tzz\t1\n" + itemLine + "\t\t\n", 1, 1,
         false, false},
        {"an item of no Round read", header + itemLine + written, 0, 0, false, false},
        {"a newer version", newer + roundLine + itemLine, 0, 0, true, false},
        {"the second version's lines, taken over",
         journal_syntax::Checked("tarvello-rounding-journal\t2") + roundLine + itemLine + written,
         1, 1, false, true},
        {"a damaged line that claims a newer version",
         header + "tarvello-rounding-journal\t4\t00000000\n" + roundLine + itemLine, 1, 1, false,
         false},
        {"the earlier version's lines",
         "tarvello-rounding-journal\t1\nround\tab12\tx\tdocument 0\tline items 5\r\n"
         "item\tab12\t3\t12.5\t\"List\"\t10\nwritten\tab12\t3\t1",
         1, 1, false, false},
        {"the earlier version's torn line, ended when opened again",
         "tarvello-rounding-journal\t1\nround\tab12\tx\tdocument 0\tline items 5\n"
         "item\tab12\t3\t12.5\t\"List\"\t10\nwritten\tab12\t3\t1" +
             std::string(kCutOffEnding) + header + written,
         1, 1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const JournalContents contents = ReadJournal(c.text);
        EXPECT_EQ(contents.rounds.size(), c.rounds);
        EXPECT_EQ(contents.newerVersion, c.newer);
        if (contents.rounds.empty()) continue;
        ASSERT_EQ(contents.rounds[0].items.size(), c.items);
        if (c.items == 0) continue;
        EXPECT_EQ(contents.rounds[0].items[0].written, c.written);
        // Never "left at 1" from the line cut off.
        if (c.written) {
            EXPECT_EQ(contents.rounds[0].items[0].unitPriceWritten, 15);
        }
    }
}

TEST_F(JournalTest, AJournalThatCannotBeWrittenIsAskedAboutAndNeverWrittenPast) {
    ArrangeQuote();
    journal.refuseOpen = "the folder could not be made";
    RoundHistory refused(journal);
    EXPECT_EQ(Round(refused, kNearest5).status, PassOutcome::Status::Declined);
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(Narrow(messages.asked[0]),
              "Edit > Undo Round would not be able to give this Round back: its record cannot "
              "be written to memory (the folder could not be made).\n\nRound without Undo?");
    EXPECT_EQ(host.items, before) << "declined: the host is not even asked";
    messages.answer = true;
    EXPECT_EQ(Round(refused, kNearest5).written, 4);
    EXPECT_EQ(refused.UndoableCount(), 0) << "rounded without Undo, as agreed";

    journal = MemoryJournal();
    journal.text = journal_syntax::Checked("tarvello-rounding-journal\t9");
    RoundHistory newer(journal);
    messages.asked.clear();
    messages.answer = false;
    Round(newer, kNearest5);
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_NE(messages.asked[0].find(u"newer version"), Text::npos);

    // The disk fills up with the first line item's "written" mark: after a restart that line item
    // is one whose write may or may not have reached the host, and is given back all the same.
    host = RecordingHost();
    ArrangeQuote();
    journal = MemoryJournal();
    journal.appendsLeft = 4;  // the header, the Round, what it is and the first record
    {
        RoundHistory full(journal);
        full.Refresh();
        EXPECT_EQ(Round(full, kNearest5).status, PassOutcome::Status::Failed);
    }
    journal.appendsLeft = -1;
    RoundHistory restarted(journal);
    EXPECT_EQ(Undo(restarted).written, 1);
    EXPECT_EQ(host.items, before);

    // The disk fills up, whole or in the middle of a line, with the second line item's record:
    // that line item is left as it was, and so is the rest.
    for (const bool torn : {false, true}) {
        host = RecordingHost();
        ArrangeQuote();
        journal = MemoryJournal();
        journal.appendsLeft = torn ? -1 : 4;
        RoundHistory full(journal);
        full.Refresh();
        host.fault = [&](const std::string&, int row, const Text&) {
            if (torn && row == 1) journal.tearNextAppend = true;  // as its record goes down
        };
        const PassOutcome outcome = Round(full, kNearest5);
        ASSERT_EQ(outcome.status, PassOutcome::Status::Failed);
        EXPECT_EQ(outcome.written, 1);
        EXPECT_EQ(host.items[1], before[1]) << "a line item its record could not be kept for";
        EXPECT_EQ(Narrow(DescribeRoundFailure(*outcome.failure)),
                  "Rounding stopped at row 1: the record that lets Edit > Undo Round give it back "
                  "could not be written (the disk is full), so it was left as it was. 1 line "
                  "item had already been rounded; the rest were left unchanged.");
    }
}

// Undo that cannot record what it gives back asks first; what it gives back then still counts
// once the journal is read again, so the same Round is not offered twice.
TEST_F(JournalTest, AnUndoThatCannotRecordAsksFirstAndRemembersWhatItGaveBack) {
    ArrangeQuote();
    RoundHistory history(journal);
    Round(history, kNearest5);
    journal.refuseOpen = "access is denied";

    EXPECT_EQ(Undo(history).status, PassOutcome::Status::Declined);
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_NE(messages.asked[0].find(u"Undo anyway?"), Text::npos);
    EXPECT_EQ(history.UndoableCount(), 4);

    messages.answer = true;
    EXPECT_EQ(Undo(history).written, 4);
    EXPECT_EQ(host.items, before);
    ++journal.generation;  // rewritten by another copy: read again from its start
    history.Refresh();
    EXPECT_EQ(history.UndoableCount(), 0);
}

TEST_F(JournalTest, TheJournalIsRewrittenBoundedWhileNoOtherCopyWritesIt) {
    ArrangeQuote();
    RoundHistory history(journal);
    journal.heldByAnother = true;
    for (std::size_t i = 0; i < 2 * RoundHistory::kKeptRounds; ++i) Round(history, kNearest5);
    EXPECT_EQ(journal.replaced, 0) << "rewritten under another copy's hands";
    journal.heldByAnother = false;
    Round(history, kNearest5);
    EXPECT_EQ(journal.replaced, 1);
    const JournalContents kept = ReadJournal(journal.text);
    EXPECT_EQ(kept.rounds.size(), RoundHistory::kKeptRounds);
    EXPECT_EQ(kept.skipped, 0u);
    EXPECT_EQ(kept.rounds.back().lineTypes, (std::vector<std::int16_t>{1, 1, 2, 1, 1}));
    EXPECT_EQ(kept.rounds.back().quantities, std::vector<Variant>(4, Variant::Double(2)));
    EXPECT_EQ(history.UndoableCount(), 4);
}

// Two copies write their Rounds into one journal, line by line in turn: each reads back whole.
TEST_F(JournalTest, TwoCopiesWritingAtOnceLoseNothingOfEachOther) {
    RoundHistory first(journal), second(journal);
    std::string why;
    ASSERT_TRUE(first.OpenJournal(why));
    ASSERT_TRUE(second.OpenJournal(why));
    first.RoundBegun(0, 5);
    second.RoundBegun(1, 3);
    for (std::int16_t row = 0; row < 3; ++row) {
        for (RoundHistory* copy : {&first, &second}) {
            WrittenLineItem item;
            item.row = row;
            item.unitPriceBefore = Variant::Double(row);
            copy->Writing(item);
            copy->Written(row + 0.5);
        }
    }
    first.CloseJournal();
    second.CloseJournal();
    const JournalContents contents = ReadJournal(journal.text);
    ASSERT_EQ(contents.rounds.size(), 2u);
    EXPECT_EQ(contents.rounds[0].items.size(), 3u);
    EXPECT_EQ(contents.rounds[1].items.size(), 3u);
    EXPECT_EQ(contents.rounds[1].documentIndex, 1);
    EXPECT_EQ(contents.skipped, 0u);
    first.Refresh();
    EXPECT_EQ(first.NextUndo()->documentIndex, 1) << "the other copy's Round is the newest";
}

}  // namespace
}  // namespace tarvello::testing
