#pragma once
// Undo of a Round: every line item it wrote gets back its unit price and its price modifier,
// unless somebody changed it since.

#include "host_application.h"
#include "number_format.h"
#include "pass.h"
#include "round_history.h"

namespace tarvello {

// Gives back the Round that `history` names for the next Undo, in the order the Round wrote its
// line items: first the price modifier, then the unit price (a number as a double by
// reference). Each line item is read first and left alone unless its unit price is still the
// one written. What it deals with (given back or left alone) the history hears of at once, so
// that what a failure or a stop leaves can be undone later. Shows the pass's two messages
// through `messages`; a failure comes back in the outcome, after the host object is released.
PassOutcome UndoLastRound(RoundHistory& history, HostLink& link, MessageSink& messages,
                          const NumberFormat& format = {}, PassObserver* observer = nullptr);

}  // namespace tarvello
