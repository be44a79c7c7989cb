#pragma once
// The one walk every pass makes over the host's active document. The runner opens the journal
// around a pass that writes, opens the document (host running, attach, active document,
// line-item count), walks it (stop check, position, progress), turns an engine or host error
// into the PassFailure that says where it happened, and hands back the outcome; a pass supplies
// only what it does with one line item.

#include <cstdint>
#include <optional>

#include "numbers/errors.h"
#include "numbers/number_format.h"
#include "passes/pass.h"
#include "request/host_application.h"

namespace tarvello::passes {

// Where the pass is, so that a failure can say so.
struct PassPosition {
    PassStep step = PassStep::ReadMethod;
    std::optional<LineItemField> field;
    std::int32_t row = -1;

    void At(PassStep now, std::optional<LineItemField> about = std::nullopt) {
        step = now;
        field = about;
    }
};

// What one pass does with the document the runner opened.
class LineItemWalk {
public:
    virtual ~LineItemWalk() = default;
    // Between the active document and the count: what the pass reads once (a Round: the
    // selected rows).
    virtual void BeforeCount(HostApplication&, PassPosition&) {}
    // With the document counted, before the first line item: false when it is not the document
    // or the quote the pass is for (the outcome says Refusal() and nothing is written). A pass
    // that must know the quote again reads what it needs here.
    virtual bool Begin(HostApplication& host, PassPosition& at, std::int16_t documentIndex,
                       std::int32_t lineItemCount) = 0;
    // Why Begin said false.
    virtual PassOutcome::Status Refusal() const { return PassOutcome::Status::DocumentChanged; }
    // The line items the walk takes in hand, and the row of each.
    virtual std::int32_t Length() const = 0;
    virtual std::int16_t RowAt(std::int32_t position) const = 0;
    // One line item. `row` is the counter handed to the host by reference. May throw
    // EngineError or HostError.
    virtual void Visit(std::int32_t position, std::int16_t& row, HostApplication& host,
                       PassPosition& at, PassOutcome& outcome) = 0;
    // However the walk ended (a failure included), while the journal is still open.
    virtual void Ended(PassOutcome&) {}
};

// The line-item count as every pass reads it: the last row index is the count less one,
// converted to a 16-bit row; the count is that plus one.
std::int32_t LineItemCountOf(const Variant& count, const NumberFormat& format);

// One field of the line item at `row`, read from the host with the pass's position on it.
Variant ReadLineItem(HostApplication& host, PassPosition& at, std::int16_t& row,
                     LineItemField field);

// The price modifier at `row` as it is. Nothing tells what a line item's modifier is, so a host
// may not tell it: an error for that field, or a value of a kind that is no text or number,
// gives nothing; a host that has gone away throws.
std::optional<Variant> ReadModifier(HostApplication& host, PassPosition& at, std::int16_t& row);

// Runs `walk` over the active document, with the journal of `hooks.history` open around a pass
// that writes (journal_session.h). The host object is released on every way out, before a
// message is shown and before the outcome is handed back. Every failure is in the outcome.
PassOutcome RunPass(PassKind kind, LineItemWalk& walk, HostLink& link, MessageSink& messages,
                    const NumberFormat& format, const PassHooks& hooks);

// An engine or host error as the failure of a pass at `at`, with what it had written.
PassFailure FailureOf(const EngineError& error, PassKind kind, const PassPosition& at,
                      std::int32_t written);
PassFailure FailureOf(const HostError& error, PassKind kind, const PassPosition& at,
                      std::int32_t written);

}  // namespace tarvello::passes
