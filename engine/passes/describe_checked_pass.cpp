// The messages of the two passes that write only what is still as they expect, Undo and Apply:
// one message when something was left alone or went wrong, in the words of a failed Round; and
// the question before a pass that writes without its journal.
#include <string>

#include "numbers/rounding.h"
#include "numbers/text_util.h"
#include "passes/describe_failure.h"

namespace tarvello {
namespace {

// Rows named in a message: the first few, then how many more.
constexpr std::size_t kRowsNamed = 5;

// "4", "4 and 7", "4, 7, 9, 12, 15 and 3 more"; with `withField`, each row followed by what
// changed in it: "4 (unit price) and 7 (total quantity)".
Text RowNumbers(const std::vector<ChangedLineItem>& rows, bool withField) {
    Text text;
    const std::size_t named = rows.size() > kRowsNamed ? kRowsNamed : rows.size();
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0) text += i + 1 == named && named == rows.size() ? u" and " : u", ";
        text += WholeText(rows[i].row);
        if (withField) text += u" (" + detail::FieldWord(rows[i].field) + u")";
    }
    if (named < rows.size()) text += u" and " + WholeText(rows.size() - named) + u" more";
    return text;
}

// "Row 4", "Rows 4 and 7", ...: the rows at the start of a sentence.
Text RowList(const std::vector<ChangedLineItem>& rows, bool withField) {
    return (rows.size() == 1 ? u"Row " : u"Rows ") + RowNumbers(rows, withField);
}

Text Plural(const Text& word) {
    return word.size() > 1 && word.back() == u'y' ? word.substr(0, word.size() - 1) + u"ies"
                                                  : word + u"s";
}

// What differs between an Undo's message and an Apply's.
struct Words {
    const char16_t* name;           // "Undo"
    const char16_t* nothingDone;    // "Nothing was undone: "
    const char16_t* otherDocument;  // the whole message for DocumentChanged
    const char16_t* tryAgain;       // after a failure before the walk
    const char16_t* done;           // "restored" in "Undo restored 3 line items."
    const char16_t* since;          // "since the Round."
};

constexpr Words kUndoWords{
    u"Undo",
    u"Nothing was undone: ",
    u"The quote open in Tarvello is not the one this Round changed: nothing was written.",
    u" Undo Round can be chosen again.",
    u"restored",
    u" since the Round.",
};

constexpr Words kApplyWords{
    u"Apply",
    u"Nothing was written: ",
    u"The quote open in Tarvello is not the one you previewed: nothing was written. Preview "
    u"again.",
    u" Preview again.",
    u"wrote",
    u" since the preview.",
};

// "Row 3 was left as it is: its unit price has changed since the Round."
Text LeftAlone(const std::vector<ChangedLineItem>& changed, const Words& words) {
    bool oneField = true;
    for (const ChangedLineItem& item : changed)
        oneField = oneField && item.field == changed[0].field;
    const Text field = detail::FieldWord(changed[0].field);
    if (changed.size() == 1) {
        return RowList(changed, false) + u" was left as it is: its " + field + u" has changed" +
               words.since;
    }
    if (oneField) {
        return RowList(changed, false) + u" were left as they are: their " + Plural(field) +
               u" have changed" + words.since;
    }
    return RowList(changed, true) + u" were left as they are: they have changed" + words.since;
}

// Apply of a new total, with a line item changed since the preview.
Text ChangedSincePreview(const std::vector<ChangedLineItem>& changed) {
    Text text = u"Nothing was written: the quote has changed since the preview";
    if (!changed.empty()) {
        text += u" (row " + WholeText(changed[0].row) + u": its " +
                detail::FieldWord(changed[0].field) + u")";
    }
    return text +
           u", and every price of the new total depends on it. Preview shows it again as it is "
           u"now.";
}

// What a stop or a failure leaves to Edit > Undo Round.
Text StillUndoable(const PassOutcome& outcome) {
    if (outcome.pass == PassKind::Apply) {
        return outcome.written > 0 ? u" Edit > Undo Round takes them back." : Text();
    }
    if (outcome.checked.stillUndoable == 0) return Text();
    return u" The other " + detail::LineItemsWord(outcome.checked.stillUndoable) +
           u" can still be undone with Edit > Undo Round.";
}

// After Apply of a new total: the host works out each extended price, and may round it.
Text HostTotal(const PassOutcome& outcome, const NumberFormat& format) {
    const CheckedReport& report = outcome.checked;
    if (!report.hostTotal || !report.newTotal) return Text();
    // The host's extended prices summed as doubles carry binary noise below what it shows.
    const Text shown = FormatShortNumber(*report.hostTotal, format);
    const std::optional<Decimal> host = Decimal::FromText(shown, format);
    if (host && *host == *report.newTotal) return Text();
    return u" Tarvello shows a total of " + shown + u" for these line items, not the " +
           report.newTotal->ToText(format) +
           u" asked for: it works out each extended price itself.";
}

Text DescribeChecked(const PassOutcome& outcome, const Words& words, const NumberFormat& format) {
    using Status = PassOutcome::Status;
    switch (outcome.status) {
        case Status::HostNotRunning:
        case Status::NoDocument:
        case Status::Declined:
            return Text();  // the pass has said so itself, or the user chose
        case Status::DocumentChanged:
            return words.otherDocument;
        case Status::ChangedSincePreview:
            return ChangedSincePreview(outcome.checked.changedSince);
        default:
            break;
    }
    const CheckedReport& report = outcome.checked;
    const Text hostTotal = HostTotal(outcome, format);
    const bool nothingToSay = outcome.status == Status::Completed && report.changedSince.empty() &&
                              report.modifierUnknown.empty() && hostTotal.empty();
    if (nothingToSay) return Text();

    const Text name = words.name;
    Text text;
    if (outcome.status == Status::Failed && outcome.failure) {
        const PassFailure& failure = *outcome.failure;
        if (failure.row < 0) {
            return words.nothingDone + detail::FailureReason(failure) + words.tryAgain;
        }
        text = name + u" stopped at row " + WholeText(failure.row) + u": " +
               detail::FailureReason(failure) + u" ";
    } else if (outcome.status == Status::Stopped) {
        text =
            name + u" stopped at row " + WholeText(outcome.stoppedBeforeRow) + u", as you asked. ";
    }
    text += name + u" " + words.done + u" " + detail::LineItemsWord(outcome.written) + u".";
    if (!report.changedSince.empty()) {
        text += u' ';
        text += LeftAlone(report.changedSince, words);
    }
    if (!report.modifierUnknown.empty()) {
        std::vector<ChangedLineItem> rows;
        for (const std::int32_t row : report.modifierUnknown) rows.push_back({row});
        const bool one = rows.size() == 1;
        text += one ? u" The price modifier of row " : u" The price modifiers of rows ";
        text += RowNumbers(rows, false);
        text += one ? u" could not be read during the Round, so it was left empty."
                    : u" could not be read during the Round, so they were left empty.";
    }
    text += hostTotal;
    if (outcome.status != Status::Completed) text += StillUndoable(outcome);
    return text;
}

}  // namespace

Text DescribeUndo(const PassOutcome& outcome) {
    return DescribeChecked(outcome, kUndoWords, NumberFormat());
}

Text DescribeApply(const PassOutcome& outcome, const NumberFormat& format) {
    return DescribeChecked(outcome, kApplyWords, format);
}

Text DescribeMissingJournal(PassKind pass, const std::string& where, const std::string& why) {
    const Text place = TextFromUtf8(where) + u" (" + TextFromUtf8(why) + u")";
    if (pass == PassKind::Undo) {
        return u"What Undo gives back cannot be recorded in " + place +
               u": after the utility is started again, Edit > Undo Round would offer these line "
               u"items once more.\n\nUndo anyway?";
    }
    const Text what = pass == PassKind::Apply ? u"these prices" : u"this Round";
    const Text question = pass == PassKind::Apply ? u"Apply without Undo?" : u"Round without Undo?";
    return u"Edit > Undo Round would not be able to give " + what +
           u" back: its record cannot be written to " + place + u".\n\n" + question;
}

}  // namespace tarvello
