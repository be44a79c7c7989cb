#pragma once
// Preview and Apply: a Round decided first and written afterwards. The preview makes the reads a
// Round makes, in the same order, and writes nothing; Apply writes exactly what was previewed,
// line item by line item, and only while each still holds what the preview read.

#include "host_application.h"
#include "number_format.h"
#include "pass.h"
#include "round_line_items.h"
#include "round_plan.h"

namespace tarvello {

// Decides the Round `request` would make on the active document into `plan`. Shows the pass's
// two messages through `messages`; a failure comes back in the outcome.
PassOutcome PreviewRound(const RoundingRequest& request, HostLink& host, MessageSink& messages,
                         RoundPlan& plan, const NumberFormat& format = {},
                         PassObserver* observer = nullptr);

// Writes `plan` into the active document if it is still the document previewed (same index and
// line-item count; otherwise nothing is written). Each line item's unit price and modifier are
// read again first; a line item changed since the preview is left alone. What it writes the
// history hears of as a Round, so that Undo gives it back.
PassOutcome ApplyPlan(const RoundPlan& plan, HostLink& host, MessageSink& messages,
                      const NumberFormat& format = {}, const PassHooks& hooks = {});

}  // namespace tarvello
