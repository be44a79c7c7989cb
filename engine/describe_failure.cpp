#include "describe_failure.h"

#include <cstdint>
#include <string>

#include "text_util.h"

namespace tarvello {
namespace {

using detail::Widen;

// The fields of a line item as the user knows them.
std::string FieldWords(const std::string& field) {
    if (field == "LineType") return "line type";
    if (field == "UnitPrice") return "unit price";
    if (field == "ExtendedPrice") return "extended price";
    if (field == "QtyTotal") return "total quantity";
    if (field == "PriceModifier") return "price modifier";
    return field;
}

// What the pass was asking of the host, for "... while <doing>".
std::string HostActivity(const RoundFailure& f) {
    if (f.operation == "Attach") return "connecting to it";
    if (f.operation == "GetActiveDocumentIndex") return "asking for the active document";
    if (f.operation == "LineItemGetSelectedRows") return "asking for the selected rows";
    if (f.operation == "LineItemCount") return "counting the line items";
    if (f.operation == "LineItemGetActiveRow") return "asking for the active row";
    if (f.operation == "LineItemGetValue") return "reading the " + FieldWords(f.field);
    if (f.operation == "LineItemSetValue") return "writing the " + FieldWords(f.field);
    return "answering " + f.operation;
}

// What a value the host handed over is, for "<subject> is not a number".
std::string ValueName(const RoundFailure& f) {
    if (f.operation == "GetActiveDocumentIndex") return "Tarvello's active document index";
    if (f.operation == "LineItemCount") return "Tarvello's line-item count";
    if (f.operation == "LineItemGetActiveRow") return "Tarvello's active row";
    if (f.field.empty()) return "a value Tarvello returned";
    return "its " + FieldWords(f.field);
}

std::string Hex(std::int32_t code) {
    static const char digits[] = "0123456789ABCDEF";
    const auto value = static_cast<std::uint32_t>(code);
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text.push_back(digits[(value >> shift) & 0xF]);
    return text;
}

std::string OverflowReason(const RoundFailure& f) {
    if (f.field == "Amount") return "the amount is too large for this rounding method.";
    if (f.operation == "GetActiveDocumentIndex") {
        return "Tarvello's active document index is outside the range this program can use.";
    }
    if (f.operation == "LineItemCount") {
        return "the document has more line items than this program can handle (at most "
               "32768).";
    }
    if (f.operation == "Divide") {
        return "its total quantity is so small that the unit price would be too large.";
    }
    if (f.field == "LineType") return "its line type is outside the range this program can use.";
    return "its " + FieldWords(f.field) +
           " is too large to round (rounded prices must lie between -2147483648 and "
           "2147483647).";
}

std::string InvalidReason(const RoundFailure& f) {
    if (f.field == "Amount") return "a negative number of decimal places cannot be used.";
    if (f.field == "Method") return "the rounding method is not one this program knows.";
    if (f.field == "PriceField") return "the price field is not one this program knows.";
    return "the rounding request cannot be carried out.";
}

// The reason, as the end of "Rounding stopped at row 4: ".
Text Reason(const RoundFailure& f) {
    switch (f.cause) {
        case FailureCause::DivisionByZero:
            return Widen(
                "its total quantity is 0, so the extended price cannot be turned into a unit "
                "price.");
        case FailureCause::TypeMismatch:
            if (f.operation == "LineItemGetSelectedRows") {
                return u"Tarvello's list of selected rows is neither text nor a number.";
            }
            return Widen(ValueName(f) + " is not a number.");
        case FailureCause::Overflow:
            return Widen(OverflowReason(f));
        case FailureCause::InvalidArgument:
            return Widen(InvalidReason(f));
        case FailureCause::Host:
            break;
    }
    if (f.hostGone) {
        return Widen("Tarvello stopped answering while " + HostActivity(f) +
                     "; it may have been closed.");
    }
    Text text = f.operation == "Attach"
                    ? Widen("Tarvello could not be reached")
                    : Widen("Tarvello reported an error while " + HostActivity(f));
    if (!f.hostText.empty()) text += u": \"" + f.hostText + u"\"";
    return text + Widen(" (code " + Hex(f.hostCode) + ").");
}

std::string LineItems(std::int32_t count) {
    return std::to_string(count) + (count == 1 ? " line item" : " line items");
}

}  // namespace

Text DescribeRoundFailure(const RoundFailure& failure) {
    const bool inWalk = failure.row >= 0;
    Text text = Widen(inWalk ? "Rounding stopped at row " + std::to_string(failure.row) + ": "
                             : "Rounding stopped before any line item was rounded: ");
    text += Reason(failure);
    const bool modifierMayBeCleared =
        failure.operation == "LineItemSetValue" && failure.field == "UnitPrice";
    if (failure.written > 0) {
        text += Widen(" " + LineItems(failure.written) +
                      " had already been rounded; the rest were left unchanged.");
    } else if (!inWalk) {
        text += u" Nothing in the document was changed.";
    } else if (!modifierMayBeCleared) {
        text += u" No line item had been rounded yet; the document is unchanged.";
    } else {
        text += u" No line item had been rounded yet.";
    }
    if (modifierMayBeCleared) {
        text += Widen(" The price modifier of row " + std::to_string(failure.row) +
                      " may already have been cleared.");
    }
    return text;
}

Text DescribeUnreadableAmount(const Text& amountText, const NumberFormat& format) {
    const Text example = u"Type a number such as 5 or 0" + format.decimalSeparator + u"25.";
    if (amountText.empty()) return u"No amount was typed. " + example;
    return u"The amount \"" + amountText + u"\" is not a number. " + example;
}

}  // namespace tarvello
