// Undo and Apply as they meet a real quote in the real stand-in: line items moved since the
// Round, a line item changed while Apply runs, a host that keeps four decimals and says nothing.

#include <gtest/gtest.h>

#include "engine/journal/round_history.h"
#include "engine/passes/describe_failure.h"
#include "engine/passes/preview_round.h"
#include "engine/passes/undo_last_round.h"
#include "tests/e2e/e2e_fixture.h"

namespace tarvello::e2e {
namespace {

QuoteRow Item(const wchar_t* quantity, const wchar_t* unitPrice) {
    return {L"1", L"Item", quantity, unitPrice, L"", L""};
}

class CheckedWriteEndToEnd : public ::testing::Test {
protected:
    PassOutcome Round(const RoundingRequest& request) {
        return RoundLineItems(request, link_, sink_, {}, PassHooks{&history_, nullptr});
    }
    PassOutcome Undo() { return UndoLastRound(history_, link_, sink_); }

    host::ComApartment apartment_;
    Standin standin_;
    host::ComHostLink link_;
    RecordingSink sink_;
    RoundHistory history_;
};

// The quote the user opens instead holds the Round's quote with its first line item deleted and
// one added at the end: three rows hold what the Round left by chance.
TEST_F(CheckedWriteEndToEnd, UndoWritesNothingIntoLineItemsThatMoved) {
    const std::vector<QuoteRow> moved = {Item(L"1", L"100"), Item(L"1", L"100"), Item(L"1", L"100"),
                                         Item(L"1", L"230"), Item(L"1", L"100")};
    standin_.Start(std::vector<std::vector<QuoteRow>>{
        {Item(L"1", L"101"), Item(L"1", L"102"), Item(L"1", L"98"), Item(L"1", L"99"),
         Item(L"1", L"230")},
        moved});
    ASSERT_EQ(Round({10, RoundedPrice::UnitPrice, RoundingMethod::Nearest, RowChoice::All}).written,
              5);
    ASSERT_TRUE(standin_.process().ShowQuote(1));

    const PassOutcome undo = Undo();

    EXPECT_EQ(undo.status, PassOutcome::Status::LineItemsMoved);
    EXPECT_EQ(PriceLines(standin_.Dump()), PriceLines(moved));
    EXPECT_EQ(history_.UndoableCount(), 5);
}

// Row 4 goes from 10.02 x 2 to 5.01 x 4 as Apply writes row 3: the same extended price, another
// line item. It is left and named; the rest are written.
TEST_F(CheckedWriteEndToEnd, ALineItemChangedWhileApplyRunsIsLeftAlone) {
    // Preview: 3 calls, then 6 for each of the 5 line items; Apply: 2 calls, the 5 line types,
    // the price and quantity of each, then 7 for each line item's visit and writes. Row 3's
    // price is written by call 33 + 2 + 5 + 10 + 3 * 7 + 7 = 78.
    standin_.Start(
        std::vector<std::vector<QuoteRow>>{{Item(L"2", L"12.34"), Item(L"2", L"7.77"),
                                            Item(L"2", L"3.14"), Item(L"2", L"8.88"),
                                            Item(L"2", L"10.02")}},
        {L"--edit-at-call", L"78:4:UnitPrice:5.01", L"--edit-at-call", L"78:4:QtyTotal:4"});
    RoundPlan plan;
    ASSERT_EQ(PreviewRound({1, RoundedPrice::UnitPrice, RoundingMethod::Nearest, RowChoice::All},
                           link_, sink_, plan)
                  .status,
              PassOutcome::Status::Completed);

    const PassOutcome apply = ApplyPlan(plan, link_, sink_, {}, PassHooks{&history_, nullptr});

    const std::vector<std::wstring> log = standin_.Log();
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [](const std::wstring& line) {
                               return line.find(
                                          L"LineItemSetValue(VT_I2|VT_BYREF 3, VT_BSTR "
                                          L"\"UnitPrice\"") != std::wstring::npos;
                           }),
              log.end());
    EXPECT_EQ(apply.written, 4);
    EXPECT_EQ(apply.checked.changedSince,
              (std::vector<ChangedLineItem>{{4, LineItemField::UnitPrice}}));
    EXPECT_EQ(standin_.Dump()[4].unitPrice, L"5.01");
    EXPECT_EQ(history_.NextUndo()->items.size(), 4u) << "nothing kept for row 4";
}

// 80 / 2, 21 / 3 and 100 / 3: the host keeps 33.3333 and leaves the value handed to it as it was.
TEST_F(CheckedWriteEndToEnd, UndoGivesBackARoundOnAHostThatKeepsFourDecimalsSilently) {
    const std::vector<QuoteRow> quote = {Item(L"2", L"39.8"), Item(L"3", L"7.1"),
                                         Item(L"3", L"33.5")};
    standin_.Start(quote, {L"--keep-decimals", L"4:silent", L"--no-modifier-as", L"null"});
    ASSERT_EQ(
        Round({1, RoundedPrice::ExtendedPrice, RoundingMethod::Nearest, RowChoice::All}).written,
        3);
    ASSERT_EQ(standin_.Dump()[2].unitPrice, L"33.3333");

    const PassOutcome undo = Undo();

    EXPECT_EQ(undo.status, PassOutcome::Status::Completed);
    EXPECT_EQ(undo.written, 3);
    EXPECT_EQ(DescribeUndo(undo), u"");
    EXPECT_EQ(PriceLines(standin_.Dump()), PriceLines(quote));
}

}  // namespace
}  // namespace tarvello::e2e
