#pragma once
// The rounding pass: applies one rounding request to the host's active document.

#include "journal/round_history.h"
#include "numbers/number_format.h"
#include "passes/pass.h"
#include "request/host_application.h"
#include "request/rounding_request.h"

namespace tarvello {

// Carries out one Round, with the journal of `hooks.history` open around it. Shows at most one
// message through `messages` (and asks there first when the journal cannot be written); a
// failure comes back in the outcome, after the host object is released.
PassOutcome RoundLineItems(const RoundingRequest& request, HostLink& host, MessageSink& messages,
                           const NumberFormat& format = {}, const PassHooks& hooks = {});

// The same Round with the request's method, field and scope as their names. An unknown method
// or price field is refused (InvalidArgument) before the host is touched; an unknown scope
// chooses no line item.
PassOutcome RoundLineItems(double Amount, Text PriceField, Text Method, Text RowScope,
                           HostLink& host, MessageSink& messages, const NumberFormat& format = {});

}  // namespace tarvello
