#pragma once
// Finishing a total that single steps jump over. Where the quantities are alike (2097.000 to
// 2097.151, or primes near 1,000,000), a step on any group moves the total by nearly the same
// large amount, so the totals come in clusters, one per number of steps in all (N,
// total_spread_counts.h); within a cluster only a step up on one group with a step down on
// another moves the total by a little. So N is set to the nearest whose cluster holds the goal
// (and whose totals can meet it at all: where every two weights differ by a multiple of d, the
// total modulo d follows from N), by the cheapest single steps; then such pairs of steps close
// the gap, never past it: while it is wide, the cheapest step up and down for what each moves
// the total from the middle weight; once it is narrow, the cheapest pair of all for what it
// moves. Nothing here proves anything; what it reaches is judged like any other choice.

#include <cstddef>
#include <vector>

#include "spread/total_spread_counts.h"
#include "spread/total_spread_group.h"

namespace tarvello::detail {

// Every group's K coming to Σ weight × K = goal where found (true), else `ks` as it was. Once the
// gap is narrow, only the first groups of `movers` (the cheapest to move first) take part.
bool Exchange(const std::vector<SpreadGroup>& groups, const StepCounts& counts,
              const std::vector<std::size_t>& movers, Wide goal, std::vector<Wide>& ks);

}  // namespace tarvello::detail
