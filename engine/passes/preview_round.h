#pragma once
// Preview and Apply: new prices decided first and written afterwards. A preview makes the reads
// a Round makes, in the same order, and writes nothing; Apply writes exactly what was previewed,
// into the quote previewed only, line item by line item, and only while each still holds every
// value its new price was worked out from.

#include "numbers/number_format.h"
#include "passes/pass.h"
#include "passes/round_decision.h"
#include "passes/round_plan.h"
#include "request/host_application.h"
#include "request/rounding_request.h"

namespace tarvello {

// Decides the Round `request` would make on the active document into `plan`. Shows the pass's
// two messages through `messages`; a failure comes back in the outcome.
PassOutcome PreviewRound(const RoundingRequest& request, HostLink& host, MessageSink& messages,
                         RoundPlan& plan, const NumberFormat& format = {},
                         PassObserver* observer = nullptr);

// The same preview with another way of working out the prices, for the rows `rows` asks for.
PassOutcome PreviewWith(const passes::LineItemPricing& pricing, RowChoice rows, PlanKind kind,
                        HostLink& host, MessageSink& messages, RoundPlan& plan,
                        const NumberFormat& format = {}, PassObserver* observer = nullptr);

// Writes `plan` into the active document if it is still the quote previewed (quote_recognition.h:
// the same index, number of line items and line types, and most of the quantities and of the
// unit prices to be written as previewed); otherwise nothing is written. Each value a new price
// was worked out from is read once before its write: the line type, unit price and quantity in
// knowing the quote, the modifier and the extended price (which the host works out from the
// others) right before the write; a line item changed since the preview is left alone. A new
// total depends on every line item of the rows chosen: all of them are read before the first
// write, and when one has changed nothing is written (ChangedSincePreview). What it writes the
// history hears of as a Round, so that Undo gives it back. For a new total, each line item's
// extended price is read back afterwards, and their sum told in the outcome.
PassOutcome ApplyPlan(const RoundPlan& plan, HostLink& host, MessageSink& messages,
                      const NumberFormat& format = {}, const PassHooks& hooks = {});

}  // namespace tarvello
