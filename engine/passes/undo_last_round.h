#pragma once
// Undo of a Round: every line item it wrote gets back its unit price and its price modifier,
// unless somebody changed it since, and only in the quote the Round changed.

#include "journal/round_history.h"
#include "numbers/number_format.h"
#include "passes/pass.h"
#include "passes/round_plan.h"
#include "request/host_application.h"

namespace tarvello {

// Gives back the Round that `history` names for the next Undo, in the order the Round wrote its
// line items: first the price modifier, then the unit price (a number as a double by
// reference). First it makes sure the active document is the quote the Round changed (its
// index, its number of line items, its line types, and most of the quantities the Round read
// and of the prices as the host left them: quote_recognition.h), or writes nothing and keeps
// the Round. Each line item's price and modifier are read again right before it is written back
// and it is left alone unless they and its quantity are still as the Round left them.
// What it deals with the history hears of at once, so that what a failure or a stop leaves can
// be undone later. Shows the pass's messages through `messages`; a failure comes back in the
// outcome, after the host object is released.
PassOutcome UndoLastRound(RoundHistory& history, HostLink& link, MessageSink& messages,
                          const NumberFormat& format = {}, PassObserver* observer = nullptr);

// Gives back what a preview of an Undo (round_standing.h, PreviewUndo) showed given back: the
// line items of `plan` it planned to change, of the Round it names, each through the checked
// write as Undo does; the line items it showed left stay to be given back later. Rows that seem
// moved do not stop it (the user has seen what each row gets); another quote does.
PassOutcome ApplyUndoPlan(const RoundPlan& plan, RoundHistory& history, HostLink& link,
                          MessageSink& messages, const NumberFormat& format = {},
                          PassObserver* observer = nullptr);

}  // namespace tarvello
