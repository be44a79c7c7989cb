// The journal behind the history of Rounds: what a Round hands to it before each write is
// enough to undo the Round after the program was killed at any moment; what it cannot read is
// passed over; it stays bounded; two copies of the program share it.
#include <string>
#include <vector>

#include "engine/describe_failure.h"
#include "engine/journal_text.h"
#include "engine/undo_last_round.h"
#include "memory_journal.h"
#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

// The program ending in the middle of a Round: nothing of it runs any more.
struct Killed {};

const RoundingRequest kNearest5{5, RoundedPrice::UnitPrice, RoundingMethod::Nearest,
                                RowChoice::All};
const RoundingRequest kExtendedTo10{10, RoundedPrice::ExtendedPrice, RoundingMethod::Nearest,
                                    RowChoice::All};

class JournalTest : public PassTest {
protected:
    // Modifiers with a tab and quotes in them, as the journal must keep them.
    void ArrangeQuote() { PassTest::ArrangeQuote({u"List -10%", u"Rate\tB", u"", u"Promo \"x\""}); }
    // A copy of the program, started afresh over the journal.
    PassOutcome Round(RoundHistory& history, const RoundingRequest& request) {
        std::string why;
        EXPECT_TRUE(history.ReadyToWrite(why)) << why;
        return RoundLineItems(request, host, messages, {}, PassHooks{&history, nullptr});
    }
    PassOutcome Undo(RoundHistory& history) {
        std::string why;
        history.ReadyToWrite(why);
        return UndoLastRound(history, host, messages);
    }

    MemoryJournal journal;
};

// Killed after any number of host calls (the writes of the line item in hand included), the
// next start gives back every line item written.
TEST_F(JournalTest, ARoundKilledAtAnyPointIsUndoneAfterARestart) {
    ArrangeQuote();
    {
        RoundHistory probe(journal);
        Round(probe, kNearest5);
    }
    const std::size_t calls = host.log.size();
    for (std::size_t killAt = 0; killAt <= calls; ++killAt) {
        SCOPED_TRACE("killed before host call " + std::to_string(killAt));
        host = RecordingHost();
        ArrangeQuote();
        journal = MemoryJournal();
        std::size_t call = 0;
        host.fault = [&](const std::string&, int, const Text&) {
            if (call++ == killAt) throw Killed();
        };
        try {
            RoundHistory history(journal);
            Round(history, kNearest5);
        } catch (const Killed&) {
        }
        host.fault = nullptr;

        RoundHistory restarted(journal);
        Undo(restarted);
        EXPECT_EQ(host.items, before);
    }
}

TEST_F(JournalTest, UndoStepsBackThroughEarlierRoundsAfterARestart) {
    ArrangeQuote();
    {
        RoundHistory first(journal);
        Round(first, kNearest5);
        Round(first, kExtendedTo10);
    }
    RoundHistory restarted(journal);
    EXPECT_EQ(restarted.UndoableCount(), 4);
    EXPECT_EQ(Undo(restarted).written, 4);
    EXPECT_EQ(restarted.UndoableCount(), 4) << "the Round before comes next";
    {
        RoundHistory again(journal);
        EXPECT_EQ(Undo(again).written, 4);
        EXPECT_EQ(again.UndoableCount(), 0);
    }
    EXPECT_EQ(host.items, before);
}

// An Undo cut off part-way leaves the rest to the next start; a line item cut off between its
// two writes back holds either price, and is finished.
TEST_F(JournalTest, AnUndoKilledPartWayGivesBackTheRestAfterARestart) {
    ArrangeQuote();
    {
        RoundHistory history(journal);
        Round(history, kNearest5);
    }
    for (const std::size_t killAt : {2u, 3u, 4u, 5u, 7u}) {  // in the second line item's reads
        SCOPED_TRACE("Undo killed before host call " + std::to_string(killAt));
        const std::string roundOnly = journal.text;
        const std::vector<LineItem> rounded = host.items;
        std::size_t call = 0;
        host.fault = [&](const std::string& operation, int, const Text&) {
            if (operation.rfind("LineItem", 0) == 0 && operation != "LineItemCount" &&
                call++ == killAt) {
                throw Killed();
            }
        };
        try {
            RoundHistory history(journal);
            Undo(history);
        } catch (const Killed&) {
        }
        host.fault = nullptr;
        RoundHistory restarted(journal);
        Undo(restarted);
        EXPECT_EQ(host.items, before);
        EXPECT_EQ(restarted.UndoableCount(), 0);
        journal.text = roundOnly;
        host.items = rounded;
    }
}

TEST_F(JournalTest, WhatCannotBeReadWholeIsPassedOver) {
    const std::string header = JournalHeader();
    const std::string round = "round\tab12\t2026-12-07 10:00:00\tdocument 0\tline items 5\n";
    const std::string item = "item\tab12\t3\t12.5\t\"List\"\t10\n";
    const std::string written = "written\tab12\t3\t10\n";
    struct Case {
        const char* name;
        std::string text;
        std::size_t rounds, items;
        bool newer;
    };
    const Case cases[] = {
        {"missing or empty", "", 0, 0, false},
        {"whole", header + round + item + written, 1, 1, false},
        {"a torn last line", header + round + item + "written\tab12\t3\t1", 1, 1, false},
        {"an item torn in the middle", header + round + "item\tab12\t3\t12.5\t\"Li", 1, 0, false},
        {"garbage around it", "\x01\xff garbage\n" + round + "item\tzz\t1\n" + item + "\t\t\n", 1,
         1, false},
        {"an item of no Round read", header + item + written, 0, 0, false},
        {"a newer version", "tarvello-rounding-journal\t2\n" + round + item, 0, 0, true},
        {"lines ended the other way",
         header + "round\tab12\tx\tdocument 0\tline items 5\r\n" + item, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const JournalContents contents = ReadJournal(c.text);
        EXPECT_EQ(contents.rounds.size(), c.rounds);
        EXPECT_EQ(contents.newerVersion, c.newer);
        if (!contents.rounds.empty()) {
            EXPECT_EQ(contents.rounds[0].items.size(), c.items);
        }
    }
}

TEST_F(JournalTest, AJournalThatCannotBeWrittenIsToldAndNeverWrittenPast) {
    ArrangeQuote();
    journal.refuseOpen = "the folder could not be made";
    RoundHistory refused(journal);
    std::string why;
    EXPECT_FALSE(refused.ReadyToWrite(why));
    EXPECT_EQ(why, "the folder could not be made");

    journal = MemoryJournal();
    journal.text = "tarvello-rounding-journal\t9\n";
    RoundHistory newer(journal);
    EXPECT_FALSE(newer.ReadyToWrite(why));
    EXPECT_EQ(why, "it was written by a newer version of this utility");

    // The disk fills up after the header, the Round's line and one line item's two lines.
    journal = MemoryJournal();
    journal.appendsLeft = 4;
    RoundHistory full(journal);
    const PassOutcome outcome = Round(full, kNearest5);
    ASSERT_EQ(outcome.status, PassOutcome::Status::Failed);
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(host.items[1], before[1]) << "a line item its record could not be kept for";
    EXPECT_EQ(Narrow(DescribeRoundFailure(*outcome.failure)),
              "Rounding stopped at row 1: the record that lets Edit > Undo Round give it back "
              "could not be written (the disk is full), so it was left as it was. 1 line item "
              "had already been rounded; the rest were left unchanged.");
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
    EXPECT_EQ(history.UndoableCount(), 4);
}

// Two copies write their Rounds into one journal, line by line in turn: each reads back whole.
TEST_F(JournalTest, TwoCopiesWritingAtOnceLoseNothingOfEachOther) {
    ArrangeQuote();
    RoundHistory first(journal), second(journal);
    std::string why;
    ASSERT_TRUE(first.ReadyToWrite(why));
    ASSERT_TRUE(second.ReadyToWrite(why));
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
    first.PassEnded();
    second.PassEnded();
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
