#pragma once
// The rounding pass: applies one rounding request to the host's active document.

#include "host_application.h"
#include "number_format.h"
#include "pass.h"
#include "round_history.h"
#include "rounding_request.h"

namespace tarvello {

// What the caller of a Round follows and keeps; both may be left out.
struct PassHooks {
    // Hears of every line item before it is written and after, so that a Round cut off part-way
    // is undone as far as it got.
    RoundHistory* history = nullptr;
    PassObserver* observer = nullptr;
};

// Carries out one Round. Shows at most one message through `messages`; a failure comes back in
// the outcome, after the host object is released.
PassOutcome RoundLineItems(const RoundingRequest& request, HostLink& host, MessageSink& messages,
                           const NumberFormat& format = {}, const PassHooks& hooks = {});

// The same Round with the request's method, field and scope as their names. An unknown method
// or price field is refused (InvalidArgument) before the host is touched; an unknown scope
// chooses no line item.
PassOutcome RoundLineItems(double Amount, Text PriceField, Text Method, Text RowScope,
                           HostLink& host, MessageSink& messages, const NumberFormat& format = {});

}  // namespace tarvello
