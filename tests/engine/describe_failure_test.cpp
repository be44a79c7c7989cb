// The messages the window shows for a failed pass and an unreadable amount.
#include <gtest/gtest.h>

#include <string>

#include "engine/passes/describe_failure.h"
#include "recording_host.h"

namespace tarvello {
namespace {

using testing::Narrow;

using Step = PassStep;
using Field = std::optional<LineItemField>;
constexpr Field kNoField = std::nullopt;
constexpr LineItemField kLineType = LineItemField::LineType;
constexpr LineItemField kUnitPrice = LineItemField::UnitPrice;
constexpr LineItemField kExtendedPrice = LineItemField::ExtendedPrice;
constexpr LineItemField kQtyTotal = LineItemField::QtyTotal;

PassFailure Failure(FailureCause cause, std::int32_t row, std::int32_t written, PassStep step,
                    Field field) {
    PassFailure failure(cause, "test");
    failure.row = row;
    failure.written = written;
    failure.step = step;
    failure.field = field;
    return failure;
}

PassFailure HostFailure(std::int32_t row, std::int32_t written, PassStep step, Field field,
                        std::uint32_t code, const Text& said, bool gone) {
    PassFailure failure = Failure(FailureCause::Host, row, written, step, field);
    failure.hostCode = static_cast<std::int32_t>(code);
    failure.hostText = said;
    failure.hostGone = gone;
    return failure;
}

struct MessageCase {
    PassFailure failure;
    const char16_t* expected;
};

TEST(DescribeRoundFailure, SaysWhereWhyAndWhatWasChanged) {
    const MessageCase cases[] = {
        {Failure(FailureCause::DivisionByZero, 4, 3, Step::DivideByQuantity, kQtyTotal),
         u"Rounding stopped at row 4: its total quantity is 0, so the extended price cannot be "
         u"turned into a unit price. 3 line items had already been rounded; the rest were left "
         u"unchanged."},
        {Failure(FailureCause::TypeMismatch, 0, 0, Step::RoundPrice, kUnitPrice),
         u"Rounding stopped at row 0: its unit price is not a number. No line item had been "
         u"rounded yet; the document is unchanged."},
        {Failure(FailureCause::TypeMismatch, 2, 1, Step::LineItemGetValue, kLineType),
         u"Rounding stopped at row 2: its line type is not a number. 1 line item had already "
         u"been rounded; the rest were left unchanged."},
        {Failure(FailureCause::TypeMismatch, 7, 2, Step::DivideByQuantity, kQtyTotal),
         u"Rounding stopped at row 7: its total quantity is not a number. 2 line items had "
         u"already been rounded; the rest were left unchanged."},
        {Failure(FailureCause::TypeMismatch, -1, 0, Step::LineItemCount, kNoField),
         u"Rounding stopped before any line item was rounded: Tarvello's line-item count is not "
         u"a number. Nothing in the document was changed."},
        {Failure(FailureCause::TypeMismatch, -1, 0, Step::LineItemGetSelectedRows, kNoField),
         u"Rounding stopped before any line item was rounded: Tarvello's list of selected rows "
         u"is neither text nor a number. Nothing in the document was changed."},
        {Failure(FailureCause::TypeMismatch, 2, 0, Step::IsHostRunning, kNoField),
         u"Rounding stopped at row 2: a value Tarvello returned is not a number. No line item "
         u"had been rounded yet; the document is unchanged."},
        {Failure(FailureCause::Overflow, 5, 5, Step::RoundPrice, kExtendedPrice),
         u"Rounding stopped at row 5: its extended price is too large to round (rounded prices "
         u"must lie between -2147483648 and 2147483647). 5 line items had already been rounded; "
         u"the rest were left unchanged."},
        {Failure(FailureCause::Overflow, 0, 0, Step::WorkOutAmount, kNoField),
         u"Rounding stopped at row 0: the amount is too large for this rounding method. No line "
         u"item had been rounded yet; the document is unchanged."},
        {Failure(FailureCause::Overflow, -1, 0, Step::LineItemCount, kNoField),
         u"Rounding stopped before any line item was rounded: the document has more line items "
         u"than this program can handle (at most 32768). Nothing in the document was changed."},
        {Failure(FailureCause::InvalidArgument, 0, 0, Step::WorkOutAmount, kNoField),
         u"Rounding stopped at row 0: a negative number of decimal places cannot be used. No "
         u"line item had been rounded yet; the document is unchanged."},
        {Failure(FailureCause::InvalidArgument, -1, 0, Step::ReadMethod, kNoField),
         u"Rounding stopped before any line item was rounded: the rounding method is not one "
         u"this program knows. Nothing in the document was changed."},
        {HostFailure(3, 2, Step::LineItemGetValue, kUnitPrice, 0x800706BA, u"", true),
         u"Rounding stopped at row 3: Tarvello stopped answering while reading the unit price; "
         u"it may have been closed. 2 line items had already been rounded; the rest were left "
         u"unchanged."},
        {HostFailure(1, 1, Step::LineItemSetValue, kUnitPrice, 0x80020009, u"Line item is locked.",
                     false),
         u"Rounding stopped at row 1: Tarvello reported an error while writing the unit price: "
         u"\"Line item is locked.\" (code 0x80020009). 1 line item had already been rounded; the "
         u"rest were left unchanged. The price modifier of row 1 may already have been "
         u"cleared."},
        {HostFailure(-1, 0, Step::Attach, kNoField, 0x800401E3, u"", false),
         u"Rounding stopped before any line item was rounded: Tarvello could not be reached "
         u"(code 0x800401E3). Nothing in the document was changed."},
        {[] {
             PassFailure busy =
                 HostFailure(-1, 0, Step::LineItemGetSelectedRows, kNoField, 0x8001010A,
                             u"The message filter indicated that the "
                             u"application is busy.",
                             false);
             busy.hostBusy = true;
             return busy;
         }(),
         u"Rounding stopped before any line item was rounded: Tarvello is busy and did not "
         u"answer while asking for the selected rows; most often a dialog box is open in it. "
         u"Finish or close what is open in Tarvello, then Round again. Nothing in the document "
         u"was changed."},
        {HostFailure(-1, 0, Step::LineItemCount, kNoField, 0x80004005, u"", false),
         u"Rounding stopped before any line item was rounded: Tarvello reported an error while "
         u"counting the line items (code 0x80004005). Nothing in the document was changed."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Narrow(DescribeRoundFailure(c.failure)), Narrow(c.expected)) << c.failure.what();
    }
}

TEST(DescribeRoundFailure, KeepsTextTheHostGaveOutsideAscii) {
    PassFailure failure = HostFailure(0, 0, Step::LineItemGetActiveRow, kNoField, 0x80020009,
                                      u"Zeile gesperrt \u2013 bitte warten", false);
    const Text message = DescribeRoundFailure(failure);
    EXPECT_NE(message.find(u"\"Zeile gesperrt \u2013 bitte warten\""), Text::npos);
    EXPECT_NE(message.find(u"asking for the active row"), Text::npos);
}

// A message box grows as wide as its longest unbroken line: neither a typed amount nor the
// host's own words are quoted whole when they are long.
TEST(DescribeRoundFailure, LongTextsAreQuotedByTheirBeginning) {
    const Text nines(400, u'9');
    const Text amount = DescribeUnreadableAmount(nines);
    EXPECT_EQ(amount, u"The amount \"" + Text(32, u'9') +
                          u"\u2026\" is not a number. Type a number such as 5 or 0.25.");

    // The 120th code unit is the first half of a pair: it goes with its partner.
    const Text said = Text(119, u'x') + u"\U0001F512 and much more the host had to say";
    const Text host = DescribeRoundFailure(
        HostFailure(1, 0, Step::LineItemSetValue, kUnitPrice, 0x80020009, said, false));
    EXPECT_NE(host.find(u"\"" + Text(119, u'x') + u"\u2026\" (code 0x80020009)"), Text::npos)
        << Narrow(host);
}

TEST(DescribeUnreadableAmount, NamesTheTextAndShowsANumber) {
    EXPECT_EQ(DescribeUnreadableAmount(u"abc"),
              u"The amount \"abc\" is not a number. Type a number such as 5 or 0.25.");
    EXPECT_EQ(DescribeUnreadableAmount(u"1.5", NumberFormat{u","}),
              u"The amount \"1.5\" is not a number. Type a number such as 5 or 0,25.");
    EXPECT_EQ(DescribeUnreadableAmount(u""),
              u"No amount was typed. Type a number such as 5 or 0.25.");
}

}  // namespace
}  // namespace tarvello
