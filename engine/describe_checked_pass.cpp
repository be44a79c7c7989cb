// The messages of the two passes that write only what is still as they expect, Undo and Apply:
// one message when something was left alone or went wrong, in the words of a failed Round.
#include <string>

#include "describe_failure.h"
#include "text_util.h"

namespace tarvello {
namespace {

// Rows named in a message: the first few, then how many more.
constexpr std::size_t kRowsNamed = 5;

Text Number(std::int64_t value) {
    return TextFromUtf8(std::to_string(value));
}

// "Row 4", "Rows 4 and 7", "Rows 4, 7, 9, 12, 15 and 3 more".
Text RowList(const std::vector<std::int32_t>& rows) {
    Text text = rows.size() == 1 ? u"Row " : u"Rows ";
    const std::size_t named = rows.size() > kRowsNamed ? kRowsNamed : rows.size();
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0) text += i + 1 == named && named == rows.size() ? u" and " : u", ";
        text += Number(rows[i]);
    }
    if (named < rows.size()) text += u" and " + Number(rows.size() - named) + u" more";
    return text;
}

// What differs between an Undo's message and an Apply's.
struct Words {
    const char16_t* name;           // "Undo"
    const char16_t* nothingDone;    // "Nothing was undone: "
    const char16_t* otherDocument;  // the whole message for DocumentChanged
    const char16_t* tryAgain;       // after a failure before the walk
    const char16_t* done;           // "restored" in "Undo restored 3 line items."
    const char16_t* leftOne;        // after "Row 3"
    const char16_t* leftMany;       // after "Rows 3 and 5"
};

constexpr Words kUndoWords{
    u"Undo",
    u"Nothing was undone: ",
    u"Nothing was undone: the quote the last Round changed is no longer the active document in "
    u"Tarvello. Make it the active document again, then choose Undo Round once more.",
    u" Undo Round can be chosen again.",
    u"restored",
    u" was left as it is: its unit price has changed since the Round.",
    u" were left as they are: their unit prices have changed since the Round.",
};

constexpr Words kApplyWords{
    u"Apply",
    u"Nothing was written: ",
    u"Nothing was written: the quote you previewed is no longer the active document in "
    u"Tarvello, or its number of line items has changed. Preview the Round again.",
    u" Preview the Round again.",
    u"wrote",
    u" was left as it is: its unit price or price modifier has changed since the preview.",
    u" were left as they are: their unit prices or price modifiers have changed since the "
    u"preview.",
};

// What a stop or a failure leaves to Edit > Undo Round.
Text StillUndoable(const PassOutcome& outcome) {
    if (outcome.pass == PassKind::Apply) {
        return outcome.written > 0 ? u" Edit > Undo Round takes them back." : Text();
    }
    if (outcome.stillUndoable == 0) return Text();
    return u" The other " + detail::LineItemsWord(outcome.stillUndoable) +
           u" can still be undone with Edit > Undo Round.";
}

Text DescribeChecked(const PassOutcome& outcome, const Words& words) {
    using Status = PassOutcome::Status;
    switch (outcome.status) {
        case Status::HostNotRunning:
        case Status::NoDocument:
            return Text();  // the pass has said so itself
        case Status::DocumentChanged:
            return words.otherDocument;
        default:
            break;
    }
    const bool nothingToSay = outcome.status == Status::Completed && outcome.changedSince.empty() &&
                              outcome.modifierUnknown.empty();
    if (nothingToSay) return Text();

    const Text name = words.name;
    Text text;
    if (outcome.status == Status::Failed && outcome.failure) {
        const PassFailure& failure = *outcome.failure;
        if (failure.row < 0) {
            return words.nothingDone + detail::FailureReason(failure) + words.tryAgain;
        }
        text = name + u" stopped at row " + Number(failure.row) + u": " +
               detail::FailureReason(failure) + u" ";
    } else if (outcome.status == Status::Stopped) {
        text = name + u" stopped at row " + Number(outcome.stoppedBeforeRow) + u", as you asked. ";
    }
    text += name + u" " + words.done + u" " + detail::LineItemsWord(outcome.written) + u".";
    if (!outcome.changedSince.empty()) {
        text += u" ";
        text += RowList(outcome.changedSince);
        text += outcome.changedSince.size() == 1 ? words.leftOne : words.leftMany;
    }
    if (!outcome.modifierUnknown.empty()) {
        const bool one = outcome.modifierUnknown.size() == 1;
        Text rows = RowList(outcome.modifierUnknown);
        rows[0] = u'r';
        text += one ? u" The price modifier of " : u" The price modifiers of ";
        text += rows;
        text += one ? u" could not be read during the Round, so it was left empty."
                    : u" could not be read during the Round, so they were left empty.";
    }
    if (outcome.status != Status::Completed) text += StillUndoable(outcome);
    return text;
}

}  // namespace

Text DescribeUndo(const PassOutcome& outcome) {
    return DescribeChecked(outcome, kUndoWords);
}

Text DescribeApply(const PassOutcome& outcome) {
    return DescribeChecked(outcome, kApplyWords);
}

}  // namespace tarvello
