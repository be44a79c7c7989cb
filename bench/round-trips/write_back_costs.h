#pragma once
// What the passes that write values worked out earlier cost in host calls (Undo knowing the
// quote again and reading each line item before giving it back; Preview, and Apply reading
// again everything a price was worked out from), and what the journal costs to read when it has
// grown enormous.

#include <functional>
#include <optional>

#include "tests/support/standin_process.h"

namespace tarvello::bench {

// Starts a stand-in of its own with its call log on, over a quote of `items` line items.
using StartLogged = std::function<std::optional<testing::StandinProcess>()>;

// Prints the calls per line item of a Round, its Undo, a Preview and its Apply.
void CountWriteBack(const StartLogged& start, int items);

// Prints how long the program takes to read a journal of 100,000 Rounds, as it does once after
// it has started, and then what one more Round appended costs to read.
void JournalReadingCosts(const testing::TempDir& files);

}  // namespace tarvello::bench
