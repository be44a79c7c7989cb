// The messages of an Undo, in the words of a failed Round.
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

// "the other 7 can still be undone ..." for what a stop or failure leaves.
Text StillUndoable(std::int32_t left) {
    if (left == 0) return Text();
    return u" The other " + detail::LineItemsWord(left) +
           u" can still be undone with Edit > Undo Round.";
}

}  // namespace

Text DescribeUndo(const PassOutcome& outcome) {
    using Status = PassOutcome::Status;
    switch (outcome.status) {
        case Status::HostNotRunning:
        case Status::NoDocument:
            return Text();  // the pass has said so itself
        case Status::DocumentChanged:
            return u"Nothing was undone: the quote the last Round changed is no longer the "
                   u"active document in Tarvello. Make it the active document again, then choose "
                   u"Undo Round once more.";
        default:
            break;
    }
    const bool nothingToSay = outcome.status == Status::Completed && outcome.changedSince.empty() &&
                              outcome.modifierUnknown.empty();
    if (nothingToSay) return Text();

    Text text;
    if (outcome.status == Status::Failed && outcome.failure) {
        const PassFailure& failure = *outcome.failure;
        if (failure.row < 0) {
            return u"Nothing was undone: " + detail::FailureReason(failure) +
                   u" Undo Round can be chosen again.";
        }
        text = u"Undo stopped at row " + Number(failure.row) + u": " +
               detail::FailureReason(failure) + u" ";
    } else if (outcome.status == Status::Stopped) {
        text = u"Undo stopped at row " + Number(outcome.stoppedBeforeRow) + u", as you asked. ";
    }
    text += u"Undo restored " + detail::LineItemsWord(outcome.written) + u".";
    if (!outcome.changedSince.empty()) {
        const bool one = outcome.changedSince.size() == 1;
        text += u" ";
        text += RowList(outcome.changedSince);
        text += one ? u" was left as it is: its unit price has changed since the Round."
                    : u" were left as they are: their unit prices have changed since the Round.";
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
    if (outcome.status != Status::Completed) text += StillUndoable(outcome.stillUndoable);
    return text;
}

}  // namespace tarvello
