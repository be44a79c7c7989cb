#pragma once
// The totals by the number of steps of all the prices together, N = Σ K. With N fixed, the least
// total puts the steps beyond every group's least K on the groups of the smallest weights first,
// the greatest on those of the largest: every total of N steps lies between the two, and each of
// the two is made by one choice of K only (no two groups have one weight, so any other choice of
// N steps has a step on a lighter group where these have it on a heavier one, or the reverse).
// Where the quantities are alike (2097.000 to 2097.151, say), every step moves the total by
// nearly the same amount and the totals come in clusters, one per N, with gaps between them: a
// new total in a gap is reached at best at the edge of a cluster beside it, which this proves
// without a search; and inside a cluster, it says which N to look in.

#include <optional>
#include <vector>

#include "spread/total_spread_group.h"
#include "spread/total_spread_meet.h"

namespace tarvello::detail {

class StepCounts {
public:
    explicit StepCounts(const std::vector<SpreadGroup>& groups);

    // The least total of n steps and every group's K for it (n from Σ Low to Σ High); the
    // greatest.
    Wide Least(Wide n) const;
    std::vector<Wide> LeastKs(Wide n) const;
    Wide Greatest(Wide n) const;
    std::vector<Wide> GreatestKs(Wide n) const;

    // How far the totals of n steps lie from the target at least, times its denominator: 0 or
    // less when they span it. Convex in n.
    Wide Gap(Wide n, const SpreadTarget& target) const;
    // Whether the totals of n steps span the whole number `total` (false for an n beyond them).
    bool Spans(Wide n, Wide total) const;
    // The N nearest `from` whose totals span the whole number `total`; nothing when none do.
    std::optional<Wide> NearestSpanning(Wide total, Wide from) const;

    // The choice that comes nearest the target (of two as near, the lower) when the target lies
    // outside every N's span: `only` when no other choice comes to its total.
    struct Outside {
        std::vector<Wide> ks;
        bool only = false;
    };
    std::optional<Outside> NearestOutside(const SpreadTarget& target) const;

private:
    std::size_t At(Wide extra) const;  // the group that takes the extra-th step beyond the least
    // The least n in [from, to] with Gap(n + 1) >= Gap(n): where the convex Gap is least.
    Wide LeastGap(Wide from, Wide to, const SpreadTarget& target) const;

    std::vector<Wide> low_, high_, weight_;  // per group
    std::vector<std::size_t> order_;         // the groups by weight, lightest first
    // Of the first j groups of order_: Σ (High - Low), and Σ (High - Low) × weight.
    std::vector<Wide> roomSums_, addedSums_;
    Wide fewest_ = 0, most_ = 0, base_ = 0;  // Σ Low, Σ High, Σ weight × Low
};

}  // namespace tarvello::detail
