// The messages of the two passes that write only what is still as they expect, Undo and Apply:
// one message when something was left alone or went wrong, in the words of a failed Round; and
// the question before a pass that writes without its journal.
#include <algorithm>
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
    const char16_t* moved;          // the whole message for LineItemsMoved
    const char16_t* tryAgain;       // after a failure before the walk
    const char16_t* done;           // "restored" in "Undo restored 3 line items."
    const char16_t* since;          // "since the Round."
    const char16_t* alreadyHad[2];  // "its new price" in "Row 4 already had its new price", and
                                    // for several
};

constexpr Words kUndoWords{
    u"Undo",
    u"Nothing was undone: ",
    u"The quote open in Tarvello is not the one this Round changed: nothing was written. Edit > "
    u"Round History shows what each Round kept can still give back, and forgets one whose quote "
    u"is gone.",
    u"Nothing was undone: line items seem to have been added, removed or moved in the quote since "
    u"the Round, so its rows may no longer hold the line items it changed. Edit > Round History "
    u"shows them line item by line item, and gives back those that still hold.",
    u" Undo Round can be chosen again.",
    u"restored",
    u" since the Round.",
    {u"its price from before the Round", u"their prices from before the Round"},
};

constexpr Words kApplyWords{
    u"Apply",
    u"Nothing was written: ",
    u"The quote open in Tarvello is not the one you previewed: nothing was written. Preview "
    u"again.",
    u"Nothing was written: line items seem to have been added, removed or moved in the quote "
    u"since the preview. Preview again.",
    u" Preview again.",
    u"wrote",
    u" since the preview.",
    {u"its new price", u"their new prices"},
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

// "Row 3 was left as it is: Tarvello did not tell its price modifier, which it told before."
Text LeftUnread(const std::vector<ChangedLineItem>& unread) {
    const bool one = unread.size() == 1;
    return RowList(unread, false) +
           (one ? u" was left as it is: Tarvello did not tell its "
                : u" were left as they are: Tarvello did not tell their ") +
           detail::FieldWord(unread[0].field) +
           (one ? u", which it told before." : u"s, which it told before.");
}

// The line items left, those changed first.
Text LeftBehind(const std::vector<ChangedLineItem>& left, const Words& words) {
    std::vector<ChangedLineItem> changed, unread;
    for (const ChangedLineItem& item : left) {
        (item.why == LeftBecause::Changed ? changed : unread).push_back(item);
    }
    Text text;
    if (!changed.empty()) text += u' ' + LeftAlone(changed, words);
    if (!unread.empty()) text += u' ' + LeftUnread(unread);
    return text;
}

// "Rows 4 and 7 already had their new prices: nothing was written into them."
Text AlreadySo(const std::vector<std::int32_t>& rows, const Words& words) {
    std::vector<ChangedLineItem> named;
    for (const std::int32_t row : rows) named.push_back({row});
    const bool one = named.size() == 1;
    return u' ' + RowList(named, false) + u" already had " + words.alreadyHad[one ? 0 : 1] +
           (one ? u": nothing was written into it." : u": nothing was written into them.");
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

// After Apply of a new total: what Tarvello shows for the line items, when it is not what the
// preview showed, by how much and where.
Text HostTotal(const PassOutcome& outcome, const NumberFormat& format) {
    const CheckedReport& report = outcome.checked;
    if (!report.totalPreviewed || report.otherExtendedPrices.empty()) return Text();
    Decimal shown = *report.totalPreviewed;
    Text rows;
    const std::size_t named = std::min(report.otherExtendedPrices.size(), kRowsNamed);
    for (std::size_t i = 0; i < report.otherExtendedPrices.size(); ++i) {
        const ExtendedPriceShown& line = report.otherExtendedPrices[i];
        const std::optional<Decimal> exact = Decimal::FromDouble(line.shown);
        if (exact) shown = shown + (*exact - line.previewed);
        if (i >= named) continue;
        if (i > 0)
            rows += i + 1 == named && named == report.otherExtendedPrices.size() ? u" and " : u", ";
        rows += WholeText(line.row) + u" (" + FormatShortNumber(line.shown, format) + u", not " +
                line.previewed.ToText(format) + u")";
    }
    if (named < report.otherExtendedPrices.size()) {
        rows += u" and " + WholeText(report.otherExtendedPrices.size() - named) + u" more";
    }
    const Decimal by = shown - *report.totalPreviewed;
    Text where;
    if (report.otherExtendedPrices.size() == 1) {
        const ExtendedPriceShown& line = report.otherExtendedPrices[0];
        where = u"row " + WholeText(line.row) + u" shows an extended price of " +
                FormatShortNumber(line.shown, format) + u", not the " +
                line.previewed.ToText(format) + u" previewed.";
    } else {
        where = u"rows " + rows + u" show other extended prices than previewed.";
    }
    return u" Tarvello shows a total of " + shown.ToText(format) + u" for these line items, " +
           by.Abs().ToText(format) + (by.Sign() > 0 ? u" more" : u" less") + u" than the " +
           report.totalPreviewed->ToText(format) + u" the preview showed: " + where;
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
        case Status::LineItemsMoved:
            return words.moved;
        case Status::ChangedSincePreview:
            return ChangedSincePreview(outcome.checked.changedSince);
        default:
            break;
    }
    const CheckedReport& report = outcome.checked;
    const Text hostTotal = HostTotal(outcome, format);
    // A line item that already held what it would have been given is as the user expects it:
    // worth a word only beside something else to say.
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
    text += LeftBehind(report.changedSince, words);
    if (!report.alreadySo.empty()) text += AlreadySo(report.alreadySo, words);
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
