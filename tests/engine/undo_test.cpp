// Undo of the last Round against the recording host: what the Round keeps for it, and what
// Undo writes, leaves alone and says.
#include <string>
#include <vector>

#include "engine/passes/describe_failure.h"
#include "engine/passes/undo_last_round.h"
#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

constexpr std::int32_t kRefused = static_cast<std::int32_t>(0x80020009);
const Request kNearest5{5, u"UnitPrice", u"Nearest", u"All"};

class UndoTest : public PassTest {
protected:
    void ArrangeQuote() { PassTest::ArrangeQuote({u"List -10%", u"Rate B", u"", u"Promo"}); }

    PassOutcome RoundKeeping(const RoundingRequest& request) {
        return RoundLineItems(request, host, messages, {}, PassHooks{&history, nullptr});
    }
    PassOutcome Undo() { return UndoLastRound(history, host, messages); }
    // What the next Undo would give back.
    std::size_t Undoable() const { return static_cast<std::size_t>(history.UndoableCount()); }

    // The unit price and modifier of every line item, as they were before the Round.
    void ExpectAsBefore(const std::vector<std::size_t>& rows) {
        for (std::size_t row : rows) {
            EXPECT_EQ(Describe(host.items[row].at(u"UnitPrice")),
                      Describe(before[row].at(u"UnitPrice")))
                << "row " << row;
            EXPECT_EQ(Describe(host.items[row].at(u"PriceModifier")),
                      Describe(before[row].at(u"PriceModifier")))
                << "row " << row;
        }
    }

    const RoundingRequest kAll{5, RoundedPrice::UnitPrice, RoundingMethod::Nearest, RowChoice::All};
    RoundHistory history;
};

TEST_F(UndoTest, ACompletedRoundIsUndoneModifierFirstAndThenThePriceByReference) {
    ArrangeQuote();
    RoundKeeping(kAll);
    ASSERT_EQ(Undoable(), 4u);
    host.log.clear();

    const PassOutcome outcome = Undo();

    EXPECT_EQ(outcome.status, PassOutcome::Status::Completed);
    EXPECT_EQ(outcome.written, 4);
    ExpectAsBefore({0, 1, 3, 4});
    EXPECT_EQ(Undoable(), 0u);
    // Knowing the quote again (its line types, then each line item's price, extended price and
    // quantity), then right before the writes every field once more, in one visit.
    EXPECT_EQ(host.CallsForRow(1),
              (std::vector<std::string>{
                  "LineItemGetValue(&row 1, \"LineType\")",
                  "LineItemGetValue(&row 1, \"UnitPrice\")",
                  "LineItemGetValue(&row 1, \"ExtendedPrice\")",
                  "LineItemGetValue(&row 1, \"QtyTotal\")",
                  "LineItemGetValue(&row 1, \"LineType\")",
                  "LineItemGetValue(&row 1, \"UnitPrice\")",
                  "LineItemGetValue(&row 1, \"ExtendedPrice\")",
                  "LineItemGetValue(&row 1, \"QtyTotal\")",
                  "LineItemGetValue(&row 1, \"PriceModifier\")",
                  "LineItemSetValue(&row 1, \"PriceModifier\", text \"Rate B\")",
                  "LineItemSetValue(&row 1, \"UnitPrice\", double 13)",
              }));
    EXPECT_EQ(host.CallsForRow(2), (std::vector<std::string>{
                                       "LineItemGetValue(&row 2, \"LineType\")",
                                   }))
        << "the heading was never written";
    EXPECT_EQ(DescribeUndo(outcome), u"");
    EXPECT_EQ(host.liveApplications, 0);
}

// Whatever the Round's price was worked out from and whatever it wrote: a price, a modifier
// typed since, a quantity.
TEST_F(UndoTest, ALineItemChangedSinceIsLeftAloneAndNamed) {
    const struct {
        const char16_t* field;
        Variant typed;
        const char* words;
    } changes[] = {
        {u"UnitPrice", Variant::Double(99), "its unit price"},
        {u"PriceModifier", Variant::FromText(u"Typed by hand -15%"), "its price modifier"},
        {u"QtyTotal", Variant::Double(5), "its total quantity"},
    };
    for (const auto& change : changes) {
        host = RecordingHost();
        ArrangeQuote();
        RoundKeeping(kAll);
        host.items[3][change.field] = change.typed;
        const std::vector<LineItem> changed = host.items;

        const PassOutcome outcome = Undo();

        EXPECT_EQ(outcome.written, 3);
        ExpectAsBefore({0, 1, 4});
        EXPECT_EQ(host.items[3], changed[3]);
        EXPECT_EQ(Narrow(DescribeUndo(outcome)),
                  std::string("Undo restored 3 line items. Row 3 was left as it is: ") +
                      change.words + " has changed since the Round.");
    }
}

TEST_F(UndoTest, ARoundStoppedPartWayIsUndoneAsFarAsItGot) {
    ArrangeQuote();
    host.FailAt("LineItemSetValue", 3, u"UnitPrice", HostError(kRefused, u"Locked", "no"));
    EXPECT_EQ(RoundKeeping(kAll).status, PassOutcome::Status::Failed);
    // Rows 0 and 1 written; row 3 had its empty modifier cleared before its price was refused,
    // which leaves it as it was.
    ASSERT_EQ(Undoable(), 3u);
    host.fault = nullptr;

    const PassOutcome outcome = Undo();
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(outcome.checked.alreadySo, std::vector<std::int32_t>{3});
    ExpectAsBefore({0, 1, 3, 4});
}

TEST_F(UndoTest, AModifierTheHostCouldNotTellStaysEmptyAndIsNamed) {
    ArrangeQuote();
    host.FailAt("LineItemGetValue", 1, u"PriceModifier", HostError(kRefused, u"", "no"));
    const PassOutcome round = RoundKeeping(kAll);
    EXPECT_EQ(round.written, 4) << "the Round goes on";
    host.fault = nullptr;

    const PassOutcome outcome = Undo();
    EXPECT_EQ(outcome.written, 4);
    EXPECT_EQ(outcome.checked.modifierUnknown, std::vector<std::int32_t>{1});
    EXPECT_EQ(host.items[1].at(u"UnitPrice"), before[1].at(u"UnitPrice"));
    EXPECT_EQ(host.items[1].at(u"PriceModifier"), Variant::FromText(u""));
    EXPECT_NE(DescribeUndo(outcome).find(u"price modifier of row 1 could not be read"), Text::npos);

    // The Round left it empty: one typed since is a change like any other.
    host = RecordingHost();
    ArrangeQuote();
    host.FailAt("LineItemGetValue", 1, u"PriceModifier", HostError(kRefused, u"", "no"));
    RoundKeeping(kAll);
    host.fault = nullptr;
    host.items[1][u"PriceModifier"] = Variant::FromText(u"Special -20%");
    const PassOutcome typed = Undo();
    EXPECT_EQ(typed.checked.changedSince,
              (std::vector<ChangedLineItem>{{1, LineItemField::PriceModifier}}));
    EXPECT_EQ(host.items[1].at(u"PriceModifier"), Variant::FromText(u"Special -20%"));

    // A host that has gone away stops the Round as any other call does.
    host = RecordingHost();
    ArrangeQuote();
    host.FailAt("LineItemGetValue", 1, u"PriceModifier",
                HostError(kRefused, u"", "gone").MarkDisconnected());
    const PassFailure failure = RoundFailing(kNearest5);
    EXPECT_EQ(failure.row, 1);
    EXPECT_EQ(failure.field, LineItemField::PriceModifier);
}

TEST_F(UndoTest, AFailureDuringTheUndoLeavesTheRestUndoable) {
    ArrangeQuote();
    RoundKeeping(kAll);
    host.FailAt("LineItemSetValue", 3, u"PriceModifier", HostError(kRefused, u"Busy", "no"));

    const PassOutcome first = Undo();
    ASSERT_EQ(first.status, PassOutcome::Status::Failed);
    EXPECT_EQ(first.failure->row, 3);
    EXPECT_EQ(first.failure->pass, PassKind::Undo);
    EXPECT_EQ(first.written, 2);
    EXPECT_EQ(Undoable(), 2u);
    EXPECT_EQ(Narrow(DescribeUndo(first)),
              "Undo stopped at row 3: Tarvello reported an error while writing the price "
              "modifier: \"Busy\" (code 0x80020009). Undo restored 2 line items. The other 2 line "
              "items can still be undone with Edit > Undo Round.");
    EXPECT_EQ(host.liveApplications, 0);

    host.fault = nullptr;
    const PassOutcome second = Undo();
    EXPECT_EQ(second.written, 2);
    ExpectAsBefore({0, 1, 3, 4});
}

// A host that keeps four decimals stores 33.3333 for the 33.333... a Round on the extended
// price writes, whether or not it says so by reference: that is the price written, while a change
// by hand is a change, a tenth of a cent too.
TEST_F(UndoTest, AHostKeepingFourDecimalsHasItsPricesKnownAgainButNotAHandChange) {
    const RoundingRequest extendedTo10{10, RoundedPrice::ExtendedPrice, RoundingMethod::Nearest,
                                       RowChoice::All};
    for (const bool silently : {false, true}) {
        SCOPED_TRACE(silently ? "silently" : "saying so");
        host = RecordingHost();
        host.keepsDecimals = 4;
        host.keepsSilently = silently;
        for (int i = 0; i < 9; ++i) {
            host.items.push_back(PricedItem(34, 102, 3));
            host.items.back()[u"PriceModifier"] = Variant::FromText(u"List");
        }
        before = host.items;
        RoundKeeping(extendedTo10);
        ASSERT_EQ(host.items[0].at(u"UnitPrice"), Variant::Double(33.3333));
        const double byHand[] = {33.3433, 33.3, 33.8333, 33.3343};  // rows 5 to 8 changed
        for (std::size_t row = 5; row < 9; ++row) {
            host.items[row][u"UnitPrice"] = Variant::Double(byHand[row - 5]);
        }

        const PassOutcome outcome = Undo();

        EXPECT_EQ(outcome.written, 5);
        EXPECT_EQ(outcome.checked.changedSince.size(), 4u);
        ExpectAsBefore({0, 1, 2, 3, 4});

        // Fewer than four line items must all hold: 80 / 2, 21 / 3 and 100 / 3.
        host = RecordingHost();
        host.keepsDecimals = 4;
        host.keepsSilently = silently;
        host.items = {PricedItem(39, 78, 2), PricedItem(7.1, 21.3, 3), PricedItem(33, 99, 3)};
        before = host.items;
        RoundKeeping(extendedTo10);
        EXPECT_EQ(host.items[2].at(u"UnitPrice"), Variant::Double(33.3333));
        const PassOutcome three = Undo();
        EXPECT_EQ(three.status, PassOutcome::Status::Completed);
        EXPECT_EQ(three.written, 3);
        EXPECT_EQ(DescribeUndo(three), u"");
    }
}

// The modifier was cleared and the price write refused: the text price the line item still has
// is recognised, and the modifier comes back.
TEST_F(UndoTest, ATextPriceLeftByARefusedWriteGetsItsModifierBack) {
    ArrangeQuote();
    host.items[1][u"UnitPrice"] = Variant::FromText(u"13.5");
    before = host.items;
    host.FailAt("LineItemSetValue", 1, u"UnitPrice", HostError(kRefused, u"Locked", "no"));
    ASSERT_EQ(RoundKeeping(kAll).status, PassOutcome::Status::Failed);
    ASSERT_EQ(host.items[1].at(u"PriceModifier"), Variant::FromText(u""));
    host.fault = nullptr;

    EXPECT_EQ(Undo().written, 2);
    ExpectAsBefore({0, 1});
}

// Line items have no identity but their row: one deleted and another added at the end leave the
// prices of the rows before as the Round left them (by chance), and rows after them holding what
// the next row held. Nothing is written into line items that seem to have moved.
TEST_F(UndoTest, LineItemsThatSeemToHaveMovedGetNothingWritten) {
    for (const double price : {101.0, 102.0, 98.0, 99.0, 230.0}) {
        host.items.push_back(PricedItem(price, price, 1));
    }
    RoundKeeping({10, RoundedPrice::UnitPrice, RoundingMethod::Nearest, RowChoice::All});
    host.items.erase(host.items.begin());
    host.items.push_back(PricedItem(100, 100, 1));
    const std::vector<LineItem> moved = host.items;

    const PassOutcome outcome = Undo();

    EXPECT_EQ(outcome.status, PassOutcome::Status::LineItemsMoved);
    EXPECT_EQ(host.items, moved);
    EXPECT_EQ(Undoable(), 5u) << "still there to be given back";
    EXPECT_EQ(Narrow(DescribeUndo(outcome)),
              "Nothing was undone: line items seem to have been added, removed or moved in the "
              "quote since the Round, so its rows may no longer hold the line items it changed. "
              "Edit > Round History shows them line item by line item, and gives back those that "
              "still hold.");
}

// What a host answers and what it is: an empty text answered as an empty value is the empty
// modifier the Round left; a quantity changed while the Undo runs is a change.
TEST_F(UndoTest, EveryFieldIsComparedAsAPersonSeesItWhenTheLineItemIsWritten) {
    ArrangeQuote();
    RoundKeeping(kAll);
    host.emptyModifierAsEmpty = true;
    EXPECT_EQ(Undo().written, 4);
    ExpectAsBefore({0, 1, 3, 4});

    host = RecordingHost();
    ArrangeQuote();
    RoundKeeping(kAll);
    host.fault = [&](const std::string& operation, int row, const Text&) {
        if (operation == "LineItemSetValue" && row == 0)
            host.items[4][u"QtyTotal"] = Variant::Double(5);
    };
    const PassOutcome outcome = Undo();
    EXPECT_EQ(outcome.written, 3);
    EXPECT_EQ(outcome.checked.changedSince,
              (std::vector<ChangedLineItem>{{4, LineItemField::QtyTotal}}));
}

// Round and Undo read the count one way: a count of 2.5 is three line items to both.
TEST_F(UndoTest, AFractionalCountIsTheSameDocumentToRoundAndUndo) {
    for (int i = 0; i < 3; ++i) host.items.push_back(PricedItem(12, 12, 1));
    host.lineItemCount = Variant::Double(2.5);
    ASSERT_EQ(RoundKeeping(kAll).written, 3);

    const PassOutcome outcome = Undo();

    EXPECT_EQ(outcome.status, PassOutcome::Status::Completed);
    EXPECT_EQ(outcome.written, 3);
}

}  // namespace
}  // namespace tarvello::testing
