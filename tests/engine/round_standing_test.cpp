// Round History against the recording host: where each kept Round stands against the open quote,
// which Round is in the way of an older one on the same quote, what Forget does to Undo's line,
// and the preview of an Undo with its Apply.
#include <string>
#include <vector>

#include "engine/journal/journal_text.h"
#include "engine/passes/preview_round.h"
#include "engine/passes/round_standing.h"
#include "engine/passes/undo_last_round.h"
#include "memory_journal.h"
#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

using State = RoundStanding::State;

const RoundingRequest kNearest5{5, RoundedPrice::UnitPrice, RoundingMethod::Nearest,
                                RowChoice::All};
const RoundingRequest kDecimal0{0, RoundedPrice::UnitPrice, RoundingMethod::Decimal,
                                RowChoice::All};
const RoundingRequest kNearest10{10, RoundedPrice::UnitPrice, RoundingMethod::Nearest,
                                 RowChoice::All};

class RoundStandingTest : public PassTest {
protected:
    void ArrangeQuote() { PassTest::ArrangeQuote({u"List -10%", u"", u"Rate B", u""}); }
    void Round(const RoundingRequest& request) {
        ASSERT_EQ(RoundLineItems(request, host, messages, {}, PassHooks{&history, nullptr}).written,
                  4);
    }
    std::vector<RoundStanding> Look() {
        std::vector<RoundStanding> standings;
        LookAtRounds(history, host, messages, standings);
        return standings;
    }

    MemoryJournal journal;
    RoundHistory history{journal};
};

// Newest first; each as it stands now, with what it was in words.
TEST_F(RoundStandingTest, EachRoundStandsAsItsQuoteIsNow) {
    ArrangeQuote();
    Round(kDecimal0);
    Round(kNearest5);
    const struct {
        const char* name;
        std::function<void(RecordingHost&)> change;
        State newest;
        std::int32_t holding;
    } cases[] = {
        {"as the Round left it", [](RecordingHost&) {}, State::CanBeUndone, 4},
        {"one line item changed",
         [](RecordingHost& h) { h.items[1][u"UnitPrice"] = Variant::Double(7); },
         State::CanBeUndone, 3},
        {"a line item deleted and another added",
         [](RecordingHost& h) {
             h.items.erase(h.items.begin());
             h.items.insert(h.items.begin() + 1, PricedItem(16, 32, 2));
             h.items[2] = PricedItem(0, 0, 0, 2);
         },
         State::OtherQuote, 0},
        {"another quote in its place",
         [](RecordingHost& h) { h.activeDocumentIndex = Variant::Int16(1); }, State::OtherQuote, 0},
    };
    const std::vector<LineItem> rounded = host.items;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.items = rounded;
        host.activeDocumentIndex = Variant::Int16(0);
        c.change(host);
        host.log.clear();
        const std::vector<RoundStanding> standings = Look();
        ASSERT_EQ(standings.size(), 2u);
        EXPECT_EQ(standings[0].state, c.newest);
        EXPECT_EQ(standings[0].holding, c.holding);
        EXPECT_EQ(standings[0].round.what, "Nearest multiple of 5, unit price, all rows");
        EXPECT_EQ(standings[1].inTheWay, standings[0].round.id) << "the newer Round goes first";
        for (const auto& call : host.log) EXPECT_EQ(call.find("SetValue"), std::string::npos);
    }
    // The quote is read once for both: no field of a line item twice.
    host.items = rounded;
    host.activeDocumentIndex = Variant::Int16(0);
    host.log.clear();
    Look();
    EXPECT_EQ(host.CallsForRow(1), (std::vector<std::string>{
                                       "LineItemGetValue(&row 1, \"LineType\")",
                                       "LineItemGetValue(&row 1, \"UnitPrice\")",
                                       "LineItemGetValue(&row 1, \"ExtendedPrice\")",
                                       "LineItemGetValue(&row 1, \"QtyTotal\")",
                                   }));
}

// Forget takes the newest Round out of Undo's line for good, in the journal too; the Round
// before it, on another quote, is undone.
TEST_F(RoundStandingTest, AForgottenRoundLetsUndoReachTheOneBeforeIt) {
    ArrangeQuote();
    Round(kNearest5);
    const std::vector<LineItem> firstQuote = host.items;
    host.activeDocumentIndex = Variant::Int16(1);
    Round(kDecimal0);
    const std::string newest = history.Rounds().back().id;
    std::string why;
    history.Forget(newest, why);
    EXPECT_EQ(why, "");

    RoundHistory restarted(journal);
    restarted.Refresh();
    std::vector<RoundStanding> standings;
    LookAtRounds(restarted, host, messages, standings);
    EXPECT_EQ(standings[0].state, State::Forgotten);
    EXPECT_EQ(standings[1].inTheWay, "") << "a forgotten Round is in nobody's way";
    host.activeDocumentIndex = Variant::Int16(0);
    host.items = firstQuote;
    EXPECT_EQ(UndoLastRound(restarted, host, messages).status, PassOutcome::Status::Completed);
    EXPECT_EQ(host.items, before);
}

// The preview shows what each line item gets back and which are left and why; Apply gives back
// the rest, and Undo Round then agrees that they are given back.
TEST_F(RoundStandingTest, APreviewOfAnUndoShowsWhatIsLeftAndApplyGivesBackTheRest) {
    ArrangeQuote();
    Round(kNearest10);
    host.items[1][u"UnitPrice"] = Variant::Double(99);
    host.items[3][u"PriceModifier"] = Variant::FromText(u"Typed -5%");
    RoundPlan plan;
    ASSERT_EQ(PreviewUndo(history, history.Rounds().back().id, host, messages, plan).status,
              PassOutcome::Status::Completed);
    std::vector<std::string> notes;
    for (const PlannedLineItem& item : plan.items) {
        notes.push_back(std::to_string(item.row) + (item.change ? " back to " : " stays ") +
                        Describe(Variant::Double(item.newUnitPrice)) + ": " + Narrow(item.note));
    }
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "0 back to double 12: gives back \"List -10%\"",
                         "1 stays double 13: left: its unit price has changed since the Round",
                         "3 stays double 14: left: its price modifier has changed since the Round",
                         "4 back to double 15: ",
                     }));

    const PassOutcome apply = ApplyPlan(plan, host, messages, {}, PassHooks{&history, nullptr});
    EXPECT_EQ(apply.written, 2);
    EXPECT_EQ(host.items[0], before[0]);
    EXPECT_EQ(host.items[4].at(u"UnitPrice"), before[4].at(u"UnitPrice"));
    EXPECT_EQ(history.UndoableCount(), 2) << "the two left stay to be given back";
    EXPECT_EQ(Look()[0].state, State::PartlyUndone);
}

}  // namespace
}  // namespace tarvello::testing
