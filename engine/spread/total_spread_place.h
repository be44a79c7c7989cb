#pragma once
// Reaching a total when there are too many groups, or groups too wide, for Meet to weigh every
// choice: every group starts at its best K; the cheapest steps, for what they move the total,
// close the gap greedily, never past it, and only with prices within a step of their shares
// while those can. Then a few groups, those cheapest to move and those of the smallest weights,
// are weighed around where they are in every combination (total_spread_meet.h), near prices
// first; failing that, pairs of steps, one up and one down (total_spread_exchange.h), or two
// groups worked out together over their whole ranges (total_spread_pair.h) finish the total. The
// groups cheapest to move are weighed once more within a radius of where they are: no choice of
// theirs within it that comes to the same total is cheaper, which says nothing of a choice
// beyond it or of other groups. The total reached is the one asked for, or the nearest this
// found: nothing here proves that no other is nearer.

#include <vector>

#include "spread/total_spread_counts.h"
#include "spread/total_spread_group.h"

namespace tarvello::detail {

// Every group's K, coming to Σ weight × K = goal where found (goal between the least and the
// greatest total the groups can come to), else as near as found.
std::vector<Wide> Reach(const std::vector<SpreadGroup>& groups, const StepCounts& counts,
                        Wide goal);

}  // namespace tarvello::detail
