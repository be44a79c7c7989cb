#pragma once
// Finishing a total that only large moves can make: quantities alike but for a few units (eight
// primes near 1,000,000, say) reach a total off by one unit only when some groups move thousands
// of steps up and others as many down. Modulo the smallest weight, every step of another group
// moves the total's residue by its weight's; the fewest steps to the residue the total lacks are
// found breadth first, and the group of the smallest weight then makes up the rest.

#include <cstddef>
#include <optional>
#include <vector>

#include "spread/total_spread_group.h"

namespace tarvello::detail {

// Moves of the groups `which` (K up or down, in their order) and of `pivot` (the last) that add
// exactly `gap` to the total, by the fewest steps of the others; nothing when the pivot's weight
// is too large for its residues to be listed, or the moves would leave a group's range.
std::optional<std::vector<Wide>> ResidueMoves(const std::vector<SpreadGroup>& groups,
                                              const std::vector<std::size_t>& which,
                                              std::size_t pivot, const std::vector<Wide>& ks,
                                              Wide gap);

}  // namespace tarvello::detail
