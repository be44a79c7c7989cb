#include "passes/describe_failure.h"

#include <cstdint>
#include <string>

#include "numbers/text_util.h"

namespace tarvello {
namespace {

// A typed amount is quoted by its first few dozen characters, and the host's own words by a
// line's worth: a message box grows as wide as its longest unbroken line.
constexpr std::size_t kQuotedAmountLimit = 32;
constexpr std::size_t kHostWordsLimit = 120;

Text Words(const char* utf8) {
    return TextFromUtf8(utf8);
}

// The fields of a line item as the user knows them.
std::string FieldWords(std::optional<LineItemField> field) {
    if (!field) return "value";
    switch (*field) {
        case LineItemField::LineType:
            return "line type";
        case LineItemField::UnitPrice:
            return "unit price";
        case LineItemField::ExtendedPrice:
            return "extended price";
        case LineItemField::QtyTotal:
            return "total quantity";
        case LineItemField::PriceModifier:
            return "price modifier";
    }
    return "value";
}

// What the pass was asking of the host, for "... while <doing>".
std::string HostActivity(const PassFailure& f) {
    switch (f.step) {
        case PassStep::Attach:
            return "connecting to it";
        case PassStep::GetActiveDocumentIndex:
            return "asking for the active document";
        case PassStep::LineItemGetSelectedRows:
            return "asking for the selected rows";
        case PassStep::LineItemCount:
            return "counting the line items";
        case PassStep::LineItemGetActiveRow:
            return "asking for the active row";
        case PassStep::LineItemGetValue:
            return "reading the " + FieldWords(f.field);
        case PassStep::LineItemSetValue:
            return "writing the " + FieldWords(f.field);
        default:
            return "answering";
    }
}

// What a value the host handed over is, for "<subject> is not a number".
std::string ValueName(const PassFailure& f) {
    switch (f.step) {
        case PassStep::GetActiveDocumentIndex:
            return "Tarvello's active document index";
        case PassStep::LineItemCount:
            return "Tarvello's line-item count";
        case PassStep::LineItemGetActiveRow:
            return "Tarvello's active row";
        default:
            if (!f.field) return "a value Tarvello returned";
            return "its " + FieldWords(f.field);
    }
}

// A Round and its Preview are worded alike, but for their first word.
std::string PassName(PassKind pass) {
    return pass == PassKind::Preview ? "Preview" : "Rounding";
}

std::string Hex(std::int32_t code) {
    static const char digits[] = "0123456789ABCDEF";
    const auto value = static_cast<std::uint32_t>(code);
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text.push_back(digits[(value >> shift) & 0xF]);
    return text;
}

std::string OverflowReason(const PassFailure& f) {
    switch (f.step) {
        case PassStep::WorkOutAmount:
            return "the amount is too large for this rounding method.";
        case PassStep::GetActiveDocumentIndex:
            return "Tarvello's active document index is outside the range this program can use.";
        case PassStep::LineItemCount:
            return "the document has more line items than this program can handle (at most "
                   "32768).";
        case PassStep::DivideByQuantity:
            return "its total quantity is so small that the unit price would be too large.";
        default:
            break;
    }
    if (f.field == LineItemField::LineType) {
        return "its line type is outside the range this program can use.";
    }
    return "its " + FieldWords(f.field) +
           " is too large to round (rounded prices must lie between -2147483648 and "
           "2147483647).";
}

std::string InvalidReason(const PassFailure& f) {
    switch (f.step) {
        case PassStep::WorkOutAmount:
            return "a negative number of decimal places cannot be used.";
        case PassStep::ReadMethod:
            return "the rounding method is not one this program knows.";
        case PassStep::ReadPriceField:
            return "the price field is not one this program knows.";
        default:
            return "the rounding request cannot be carried out.";
    }
}

}  // namespace

namespace detail {

Text FieldWord(LineItemField field) {
    return Words(FieldWords(field).c_str());
}

Text LineItemsWord(std::int32_t count) {
    return Words((std::to_string(count) + (count == 1 ? " line item" : " line items")).c_str());
}

Text FailureReason(const PassFailure& f) {
    switch (f.cause) {
        case FailureCause::DivisionByZero:
            return Words(
                "its total quantity is 0, so the extended price cannot be turned into a unit "
                "price.");
        case FailureCause::TypeMismatch:
            if (f.step == PassStep::LineItemGetSelectedRows) {
                return u"Tarvello's list of selected rows is neither text nor a number.";
            }
            return Words((ValueName(f) + " is not a number.").c_str());
        case FailureCause::Overflow:
            return Words(OverflowReason(f).c_str());
        case FailureCause::InvalidArgument:
            return Words(InvalidReason(f).c_str());
        case FailureCause::Journal:
            return Words(("the record that lets Edit > Undo Round give it back could not be "
                          "written (" +
                          f.journalReason + "), so it was left as it was.")
                             .c_str());
        case FailureCause::Host:
            break;
    }
    if (f.hostBusy) {
        // Nothing failed: Tarvello could not take the call yet.
        return Words(("Tarvello is busy and did not answer while " + HostActivity(f) +
                      "; most often a dialog box is open in it. Finish or close what is open in "
                      "Tarvello, then " +
                      (f.pass == PassKind::Undo      ? "choose Undo Round again."
                       : f.pass == PassKind::Preview ? "preview again."
                       : f.pass == PassKind::Apply   ? "preview again."
                                                     : "Round again."))
                         .c_str());
    }
    if (f.hostGone) {
        return Words(
            ("Tarvello stopped answering while " + HostActivity(f) + "; it may have been closed.")
                .c_str());
    }
    Text text = f.step == PassStep::Attach
                    ? Words("Tarvello could not be reached")
                    : Words(("Tarvello reported an error while " + HostActivity(f)).c_str());
    if (!f.hostText.empty()) text += u": \"" + ShortenedText(f.hostText, kHostWordsLimit) + u"\"";
    return text + Words((" (code " + Hex(f.hostCode) + ").").c_str());
}

}  // namespace detail

Text DescribeRoundFailure(const PassFailure& failure) {
    const bool inWalk = failure.row >= 0;
    const std::string name = PassName(failure.pass);
    Text text = Words((inWalk ? name + " stopped at row " + std::to_string(failure.row) + ": "
                              : name + " stopped before any line item was rounded: ")
                          .c_str());
    text += detail::FailureReason(failure);
    const bool modifierMayBeCleared =
        failure.step == PassStep::LineItemSetValue && failure.field == LineItemField::UnitPrice;
    if (failure.written > 0) {
        text += u" " + detail::LineItemsWord(failure.written) +
                u" had already been rounded; the rest were left unchanged.";
    } else if (!inWalk) {
        text += u" Nothing in the document was changed.";
    } else if (!modifierMayBeCleared) {
        text += u" No line item had been rounded yet; the document is unchanged.";
    } else {
        text += u" No line item had been rounded yet.";
    }
    if (modifierMayBeCleared) {
        text += Words((" The price modifier of row " + std::to_string(failure.row) +
                       " may already have been cleared.")
                          .c_str());
    }
    return text;
}

Text DescribeStoppedRound(const PassOutcome& outcome) {
    Text text = Words((PassName(outcome.pass) + " stopped at row " +
                       std::to_string(outcome.stoppedBeforeRow) + " of " +
                       std::to_string(outcome.lineItemCount) + ", as you asked.")
                          .c_str());
    if (outcome.written > 0) {
        return text + u" " + detail::LineItemsWord(outcome.written) +
               u" had already been rounded; the rest were left unchanged. Edit > Undo Round "
               u"takes them back.";
    }
    return text + u" No line item had been rounded yet; the document is unchanged.";
}

PassReport DescribePassOutcome(const PassOutcome& outcome, const NumberFormat& format) {
    using Status = PassOutcome::Status;
    using Tone = PassReport::Tone;
    if (outcome.pass == PassKind::Undo || outcome.pass == PassKind::Apply) {
        // Line items left alone are what these passes are for; a failure, or another document,
        // is not.
        const bool wentWrong = outcome.status == Status::Failed ||
                               outcome.status == Status::DocumentChanged ||
                               outcome.status == Status::LineItemsMoved ||
                               outcome.status == Status::ChangedSincePreview;
        if (outcome.status == Status::Declined) return {Text(), Tone::Information};
        return {
            outcome.pass == PassKind::Undo ? DescribeUndo(outcome) : DescribeApply(outcome, format),
            wentWrong ? Tone::Error : Tone::Information};
    }
    switch (outcome.status) {
        case Status::Failed:
            return {DescribeRoundFailure(*outcome.failure), Tone::Error};
        case Status::Stopped:
            // What the user asked for.
            return {DescribeStoppedRound(outcome), Tone::Information};
        default:
            // The pass has said itself that the host is not running or has no document.
            return {Text(), Tone::Information};
    }
}

Text DescribeUnreadableAmount(const Text& amountText, const NumberFormat& format) {
    const Text example = u"Type a number such as 5 or 0" + format.decimalSeparator + u"25.";
    if (amountText.empty()) return u"No amount was typed. " + example;
    return u"The amount \"" + ShortenedText(amountText, kQuotedAmountLimit) +
           u"\" is not a number. " + example;
}

}  // namespace tarvello
