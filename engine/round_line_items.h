#pragma once
// The rounding pass: applies one rounding request to the host's active document.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "errors.h"
#include "host_application.h"
#include "line_item_fields.h"
#include "number_format.h"
#include "rounding_request.h"
#include "undo_record.h"
#include "variant.h"

namespace tarvello {

// Shows the pass's two messages (host not running, no open document). The window shows them
// as message boxes under its title; tests record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowError(const Text& message) = 0;
};

enum class FailureCause {
    Overflow,         // a value, sum or amount outside the whole-number range
    DivisionByZero,   // a total quantity of 0 on the extended price
    TypeMismatch,     // a host value that is not a number
    InvalidArgument,  // a request the pass cannot carry out (unknown method or field, ...)
    Host,             // a host call failed; see hostCode / hostText / hostGone
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

// Why and where a pass stopped. Line items written before it keep their new values; the
// line item in hand was not written.
class RoundFailure : public std::runtime_error {
public:
    RoundFailure(FailureCause cause, const std::string& what)
        : std::runtime_error(what), cause(cause) {}

    FailureCause cause;
    // A Round, or the Undo of one (then `written` counts the line items restored).
    bool undoing = false;
    PassStep step = PassStep::ReadMethod;
    // The line-item field the step was about, where there is one.
    std::optional<LineItemField> field;
    // The row index in hand when the pass stopped; -1 when it stopped before the walk.
    std::int32_t row = -1;
    // Line items written before the failure.
    std::int32_t written = 0;
    // For host failures: the status code, what the host said, and whether it is gone.
    std::int32_t hostCode = 0;
    Text hostText;
    bool hostGone = false;
};

struct RoundOutcome {
    // Stopped: the caller asked the pass to stop (PassObserver), and it did so between two line
    // items; `rowsVisited` tells where.
    enum class Status { Completed, HostNotRunning, NoDocument, Stopped };
    Status status = Status::Completed;
    std::int32_t rowsVisited = 0;
    std::int32_t written = 0;
    // The document's line items, when the pass got as far as counting them.
    std::int32_t lineItemCount = 0;
};

// Follows a pass line item by line item and may ask it to stop between two of them: the window
// shows the progress and turns Escape into a stop.
class PassObserver {
public:
    virtual ~PassObserver() = default;
    // Before the line item at `row`, the `position`th (from 0) of `count` the pass will visit.
    virtual void AtLineItem(std::int32_t row, std::int32_t position, std::int32_t count) = 0;
    // Asked between two line items: true ends the pass there.
    virtual bool StopRequested() = 0;
};

// What the caller of a pass follows and keeps; both may be left out.
struct PassHooks {
    // Receives what Undo needs, line item by line item, so that a Round stopped part-way is
    // undone as far as it got.
    UndoRecord* undo = nullptr;
    PassObserver* observer = nullptr;
};

// The pass's two messages; the window shows them under the application title.
extern const char16_t kHostNotRunningText[];
extern const char16_t kNoDocumentText[];

// Carries out one Round. Shows at most one message through `messages`; throws RoundFailure
// for every other failure, after releasing the host object.
RoundOutcome RoundLineItems(const RoundingRequest& request, HostLink& host, MessageSink& messages,
                            const NumberFormat& format = {}, const PassHooks& hooks = {});

// The same Round with the request's method, field and scope as their names. An unknown method
// or price field is refused (RoundFailure, InvalidArgument) before the host is touched; an
// unknown scope chooses no line item.
RoundOutcome RoundLineItems(double Amount, Text PriceField, Text Method, Text RowScope,
                            HostLink& host, MessageSink& messages, const NumberFormat& format = {});

}  // namespace tarvello
