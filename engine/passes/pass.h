#pragma once
// Room passes/: the walks over the host's quote. The runner with its journal session, Round,
// Preview, Apply and Undo, the checked write, knowing the quote again, the plan and the words
// of every outcome. It uses numbers/, request/ and journal/.
//
// What every pass over the host's document shares (the Round, the Undo of a Round, Preview and
// Apply, and the passes to come): the sink for its messages and its one question, the observer
// that follows it, the failure that says where it stopped, and the outcome it hands back. What
// differs between the passes is only what each does with one line item (pass_runner.h).

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "numbers/exact_decimal.h"
#include "numbers/variant.h"
#include "request/line_item_fields.h"

namespace tarvello {

// Shows the pass's two messages (host not running, no open document), and asks its one question
// (whether to write without the journal that lets Undo give it back). The window shows them as
// message boxes under its title; tests record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowError(const Text& message) = 0;
    // Yes or No, No being the answer given by default.
    virtual bool Ask(const Text& question) = 0;
};

// The pass's two messages. Both are shown once the host object is released.
extern const char16_t kHostNotRunningText[];
extern const char16_t kNoDocumentText[];

// Follows a pass line item by line item and may ask it to stop between two of them: the window
// shows the progress and turns Escape into a stop.
class PassObserver {
public:
    virtual ~PassObserver() = default;
    // Before the line item at `row`, the `position`th (from 0) of the `count` the pass will take
    // in hand.
    virtual void AtLineItem(std::int32_t row, std::int32_t position, std::int32_t count) = 0;
    // Asked between two line items (and before the first): the observer looks at what happened
    // since it last looked (the window takes the input that came meanwhile) and answers true to
    // end the pass there.
    virtual bool LookForStop() = 0;
};

// Which pass it was: the failure and the outcome are worded after it. A Preview decides what a
// Round would write and writes nothing; an Apply writes what a Preview decided.
enum class PassKind { Round, Undo, Preview, Apply };

// The passes that write into the quote, around which the journal is open.
constexpr bool WritesToHost(PassKind kind) {
    return kind != PassKind::Preview;
}

class RoundHistory;

// What the caller of a pass follows and keeps; both may be left out.
struct PassHooks {
    // Hears of every line item before it is written and after, so that a pass cut off part-way
    // is undone as far as it got; Undo gives back what it names.
    RoundHistory* history = nullptr;
    PassObserver* observer = nullptr;
};

enum class FailureCause {
    Overflow,         // a value, sum or amount outside the whole-number range
    DivisionByZero,   // a total quantity of 0 on the extended price
    TypeMismatch,     // a host value that is not a number
    InvalidArgument,  // a request the pass cannot carry out (unknown method or field, ...)
    Host,             // a host call failed; see hostCode / hostText / hostGone / hostBusy
    Journal,          // the record Undo needs could not be written: the line item was left alone
};

// What the pass was doing: reading the request, calling the host, or working on a value the
// host gave.
enum class PassStep {
    ReadMethod,      // the request's method text
    ReadPriceField,  // the request's price field text
    IsHostRunning,
    Attach,
    GetActiveDocumentIndex,
    LineItemGetSelectedRows,
    LineItemCount,
    LineItemGetValue,  // reading `field`
    LineItemGetActiveRow,
    LineItemSetValue,  // writing `field`
    WorkOutAmount,     // the method's whole number from the amount
    RoundPrice,        // the method applied to the price in `field`
    DivideByQuantity,  // the rounded extended price divided by the total quantity
};

// Why and where a pass stopped. Line items changed before it keep their new values; the line
// item in hand was not finished.
class PassFailure : public std::runtime_error {
public:
    PassFailure(FailureCause cause, const std::string& what)
        : std::runtime_error(what), cause(cause) {}

    FailureCause cause;
    PassKind pass = PassKind::Round;
    PassStep step = PassStep::ReadMethod;
    // The line-item field the step was about, where there is one.
    std::optional<LineItemField> field;
    // The row index in hand when the pass stopped; -1 when it stopped before the walk.
    std::int32_t row = -1;
    // Line items the pass had finished writing before it stopped: rounded by a Round or an
    // Apply, given back by an Undo; always 0 for a Preview.
    std::int32_t written = 0;
    // For host failures: the status code, what the host said, whether it is gone, and whether
    // it only stayed busy (a dialog box open in it) for longer than the pass waits.
    std::int32_t hostCode = 0;
    Text hostText;
    bool hostGone = false;
    bool hostBusy = false;
    // For Journal: why the record could not be written, in words for the user.
    std::string journalReason;
};

// Why a line item was left alone: a value it was worked out from is another now, or the host
// could not tell one that it told before.
enum class LeftBecause { Changed, NotRead };

// A line item left alone, and the first of the values it was worked out from found changed.
struct ChangedLineItem {
    std::int32_t row = 0;
    LineItemField field = LineItemField::UnitPrice;
    LeftBecause why = LeftBecause::Changed;
    bool operator==(const ChangedLineItem& o) const {
        return row == o.row && field == o.field && why == o.why;
    }
};

// A line item whose extended price, as the host works it out after Apply, is not the one the
// preview showed.
struct ExtendedPriceShown {
    std::int32_t row = 0;
    double shown = 0;
    Decimal previewed;
};

// What the passes that write only what still holds (Undo and Apply) have to tell besides.
struct CheckedReport {
    // Line items left alone because they changed since the Round wrote them (Undo) or since the
    // preview (Apply).
    std::vector<ChangedLineItem> changedSince;
    // Rows given back whose modifier the Round could not read: it stays empty.
    std::vector<std::int32_t> modifierUnknown;
    // Line items that already held what would have been written: no write was made.
    std::vector<std::int32_t> alreadySo;
    // Undo: line items of the Round that can still be undone once it has ended.
    std::int32_t stillUndoable = 0;
    // Apply of a new total: the total the preview showed the line items would come to, the sum
    // of the extended prices the host shows afterwards when it could tell them all, and the line
    // items whose extended price is not the one the preview showed.
    std::optional<Decimal> totalPreviewed;
    std::optional<double> hostTotal;
    std::vector<ExtendedPriceShown> otherExtendedPrices;
};

struct PassOutcome {
    // Declined: the journal could not be opened and the user chose not to write without it;
    // nothing was done. DocumentChanged: the active document is not the one the pass is for
    // (another index, another number of line items, or another quote altogether); nothing was
    // written. LineItemsMoved: it is that quote, but line items seem to have been added,
    // removed or moved in it, so that a row no longer holds the line item the pass is for;
    // nothing was written. ChangedSincePreview: Apply of a new total found a line item of the rows
    // chosen changed since the preview (the first one in checked.changedSince); every price depends
    // on it, so nothing was written. Stopped: the observer asked, and the pass stopped between two
    // line items. Failed: see `failure`.
    enum class Status {
        Completed,
        Declined,
        HostNotRunning,
        NoDocument,
        DocumentChanged,
        LineItemsMoved,
        ChangedSincePreview,
        Stopped,
        Failed
    };
    PassKind pass = PassKind::Round;
    Status status = Status::Completed;
    // The document's line items, once the pass has counted them.
    std::int32_t lineItemCount = 0;
    // How many line items the walk took in hand (a count, not a row).
    std::int32_t visited = 0;
    // For Stopped: the row the walk would have taken next.
    std::int32_t stoppedBeforeRow = -1;
    // Line items written: rounded by a Round or an Apply, given back by an Undo.
    std::int32_t written = 0;
    std::optional<PassFailure> failure;
    CheckedReport checked;
};

}  // namespace tarvello
