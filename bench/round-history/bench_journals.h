#pragma once
// The journals the Round History bench opens the window over, as the program would have written
// them.

#include <string>

namespace tarvello::bench {

// `rounds` Rounds of `items` line items each, of a quote of that many line items in document 0.
std::string KeptRounds(int rounds, int items);

// About `bytes` bytes: its header as its only header, then lines that no longer count (their
// check does not hold, as in a region a failing disk damaged), then three Rounds of twelve line
// items.
std::string Enormous(long long bytes);

}  // namespace tarvello::bench
