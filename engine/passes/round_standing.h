#pragma once
// Round History's view of the Rounds the journal keeps: where each stands against the quote open
// now, and what giving one back would write, line item by line item, before anything is written.

#include <cstdint>
#include <string>
#include <vector>

#include "journal/round_history.h"
#include "numbers/number_format.h"
#include "passes/pass.h"
#include "passes/round_plan.h"
#include "request/host_application.h"

namespace tarvello {

struct RoundStanding {
    enum class State {
        CanBeUndone,   // nothing given back yet, and its quote is open
        PartlyUndone,  // some line items given back, some still to give back
        Undone,        // every line item dealt with
        Forgotten,     // taken out of Undo's line by the user
        OtherQuote,    // its quote is not the open one
        Moved,         // its quote is open, but line items seem to have moved since
        NotLooked,     // the open quote could not be read (no Tarvello, no quote, a failure)
    };
    RoundRecord round;
    State state = State::NotLooked;
    // Line items an Undo has dealt with (given back, or left because they changed), of all the
    // Round wrote.
    std::int32_t dealtWith = 0;
    std::int32_t written = 0;
    // Of those still to give back, how many hold what the Round left, by price and quantity.
    std::int32_t holding = 0;
    // A newer Round on the same quote with something left to give back: it goes back first.
    std::string inTheWay;
};

// Every Round `history` keeps, newest first, and where each stands against the quote open now.
// The open quote is read once for all of them: its line types, and for the Rounds whose line
// types it has, the unit price, extended price and quantity of the line items they still have to
// give back; nothing is written.
PassOutcome LookAtRounds(const RoundHistory& history, HostLink& link, MessageSink& messages,
                         std::vector<RoundStanding>& standings, const NumberFormat& format = {},
                         PassObserver* observer = nullptr);

// Where `round` stands without the host: undone, forgotten, or still to look at; with the line
// items written and dealt with, and the Round in its way among `rounds` (oldest first).
RoundStanding StandingOf(const RoundRecord& round, const std::vector<RoundRecord>& rounds);

// What giving back the Round `id` would write into the quote open now, as a plan for the
// preview (PlanKind::Undo): every line item still to give back, read whole, from what it holds
// now to what it held before the Round, or left with the reason (changed since, moved, not
// read). Apply of the plan is ApplyUndoPlan. DocumentChanged when the open quote is not its
// quote.
PassOutcome PreviewUndo(const RoundHistory& history, const std::string& id, HostLink& link,
                        MessageSink& messages, RoundPlan& plan, const NumberFormat& format = {},
                        PassObserver* observer = nullptr);

}  // namespace tarvello
