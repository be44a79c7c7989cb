#pragma once
// The rounding pass: applies one rounding request to the host's active document.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "errors.h"
#include "host_application.h"
#include "number_format.h"
#include "variant.h"

namespace tarvello {

// Shows the pass's two messages (host not running, no open document). The window shows
// them as message boxes; tests record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowError(const Text& message, const Text& title) = 0;
};

enum class FailureCause {
    Overflow,         // a value, sum or amount outside the whole-number range
    DivisionByZero,   // a total quantity of 0 on the extended price
    TypeMismatch,     // a host value that is not a number
    InvalidArgument,  // a request the pass cannot carry out (unknown method or field, ...)
    Host,             // a host call failed; see hostCode / hostText / hostGone
};

// Why and where a pass stopped. Line items written before it keep their new values; the
// line item in hand was not written.
class RoundFailure : public std::runtime_error {
public:
    RoundFailure(FailureCause cause, const std::string& what) : std::runtime_error(what), cause(cause) {}

    FailureCause cause;
    // The row index in hand when the pass stopped; -1 when it stopped before the walk.
    std::int32_t row = -1;
    // Line items written before the failure.
    std::int32_t written = 0;
    // The host operation being called or whose result was being worked on, e.g.
    // "LineItemGetValue"; the field name where one applies, e.g. "QtyTotal".
    std::string operation;
    std::string field;
    // For host failures: the status code, what the host said, and whether it is gone.
    std::int32_t hostCode = 0;
    Text hostText;
    bool hostGone = false;
};

struct RoundOutcome {
    enum class Status { Completed, HostNotRunning, NoDocument };
    Status status = Status::Completed;
    std::int32_t rowsVisited = 0;
    std::int32_t written = 0;
};

// The pass's two messages; their title is the application title (app/version.h).
extern const char16_t kHostNotRunningText[];
extern const char16_t kNoDocumentText[];

// Carries out one Round. Shows at most one message through `messages`; throws RoundFailure
// for every other failure, after releasing the host object.
RoundOutcome RoundLineItems(double Amount, Text PriceField, Text Method, Text RowScope,
                            HostLink& host, MessageSink& messages,
                            const NumberFormat& format = {});

}  // namespace tarvello
