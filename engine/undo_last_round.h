#pragma once
// Undo of the last Round: every line item it wrote gets back its unit price and its price
// modifier, unless somebody changed it since.

#include <cstdint>
#include <optional>
#include <vector>

#include "host_application.h"
#include "number_format.h"
#include "round_line_items.h"
#include "undo_record.h"

namespace tarvello {

struct UndoOutcome {
    // DocumentChanged: the active document is not the one the Round wrote into (another
    // index, or another number of line items); nothing was written. Failed: see `failure`.
    enum class Status { Completed, HostNotRunning, NoDocument, DocumentChanged, Stopped, Failed };
    Status status = Status::Completed;
    std::int32_t restored = 0;
    // Rows left as they are because their unit price is no longer the one the Round wrote.
    std::vector<std::int32_t> changedSince;
    // Rows whose unit price was restored but whose modifier the Round could not read: it stays
    // empty.
    std::vector<std::int32_t> modifierUnknown;
    // Where and why it stopped, for Failed; the line item in hand stays in the record.
    std::optional<RoundFailure> failure;
};

// Restores the line items of `record` in the order the Round wrote them, first the price
// modifier, then the unit price (a number as a double by reference). Each line item is read
// first: one whose unit price is not exactly the one written is left alone. Line items dealt
// with (restored or left alone) leave the record; what a failure or a stop leaves in it can be
// undone later. Shows the pass's two messages through `messages`; a failure is handed back in
// the outcome, after the host object is released.
UndoOutcome UndoLastRound(UndoRecord& record, HostLink& link, MessageSink& messages,
                          const NumberFormat& format = {}, PassObserver* observer = nullptr);

}  // namespace tarvello
