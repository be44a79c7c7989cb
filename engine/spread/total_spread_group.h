#pragma once
// Line items that add the same weight to the total for every step of their prices: one step on
// any of them does what one step on any other does, so a choice for them all comes down to K,
// the sum of their prices in steps, and for every K the cheapest way to share K out among them
// is known exactly. This turns a quote of thousands of line items with a handful of quantities
// into a problem of a handful of numbers.

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "numbers/wide_arithmetic.h"

namespace tarvello::detail {

// What a choice of prices costs the aims after the total: first the number of prices more than
// one step from their shares, then the sum of the distances from the shares (in steps, times
// the shares' common denominator). Compared in that order; exact, never capped.
struct Cost {
    long long far = 0;
    Wide distance = 0;
};

inline bool operator<(const Cost& a, const Cost& b) {
    return a.far != b.far ? a.far < b.far : a.distance < b.distance;
}
inline bool operator==(const Cost& a, const Cost& b) {
    return a.far == b.far && a.distance == b.distance;
}
inline bool operator<=(const Cost& a, const Cost& b) {
    return !(b < a);
}
inline Cost operator+(const Cost& a, const Cost& b) {
    return {a.far + b.far, Add(a.distance, b.distance)};
}
inline Cost operator-(const Cost& a, const Cost& b) {
    return {a.far - b.far, Add(a.distance, -b.distance)};
}

// A line item's price in steps: the bound lets it lie from low to high, and it lies within one
// step of its share from nearLow to nearHigh (low <= nearLow <= nearHigh <= high, all >= 1).
struct StepRange {
    long long low = 1, nearLow = 1, nearHigh = 1, high = 1;
};

// The range of a share of `share` / denominator steps: within one step of it, or 1 % of it where
// that is more; never below one step. The one place that says which prices lie more than one step
// from their shares: those outside nearLow to nearHigh, which every cost counts as far.
StepRange RangeOf(Wide share, Wide denominator);

class SpreadGroup {
public:
    struct Member {
        std::size_t item = 0;  // where its price goes in the answer
        Wide share = 0;        // its share in steps, times the denominator
        StepRange range;
    };

    SpreadGroup(long long weight, std::vector<Member> members, Wide denominator);

    long long weight() const { return weight_; }
    Wide Low() const { return low_; }  // the least K the bound allows
    Wide High() const { return high_; }
    Wide Best() const { return best_; }  // the least K of the least cost
    // The K of every price within one step of its share: from NearLow() to NearHigh().
    Wide NearLow() const { return nearLow_; }
    Wide NearHigh() const { return nearHigh_; }

    // The least cost of the members' prices adding up to k steps (Low() <= k <= High()). Above
    // the members' near prices, the fewest prices go far, those with the most room first, and
    // every price stays on the far side of its share from the others, so that each step costs
    // exactly one step of distance; within them, the cheapest single moves come first.
    Cost CostAt(Wide k) const;
    // What one step from k towards `way` (+1 or -1) changes the cost by.
    Cost StepCost(Wide k, int way) const { return CostAt(k + way) - CostAt(k); }
    // The K on both sides of Best() whose cost is at most `budget` (the cost falls towards
    // Best() and rises away from it); nothing when even Best() costs more.
    std::optional<std::pair<Wide, Wide>> Within(const Cost& budget) const;
    // How many steps from k towards `way` (+1 or -1) each change the cost as the first does.
    Wide EvenSteps(Wide k, int way) const;
    // How many steps from k towards `way`, within the range, leave CostAt(k).far as it is.
    Wide SameFar(Wide k, int way) const;
    // Writes the members' prices for k, as CostAt(k) counts them, into `steps`.
    void Place(Wide k, std::vector<long long>& steps) const;

private:
    Wide Distance(const Member& member, long long price) const {
        return Abs(Add(Mul(price, denominator_), -member.share));
    }
    // The fewest members of `order` whose room covers `beyond` steps.
    static long long FewestFar(const std::vector<Wide>& room, Wide beyond);
    void Spill(const std::vector<std::size_t>& order, Wide beyond, int way,
               std::vector<long long>& steps) const;

    long long weight_;
    Wide denominator_;
    std::vector<Member> members_;
    Wide low_ = 0, high_ = 0, nearLow_ = 0, nearHigh_ = 0, best_ = 0;
    Wide nearLowDistance_ = 0, nearHighDistance_ = 0;
    // The moves of one step up within the near prices, cheapest first (of two as cheap, the
    // earlier line item's first), and what the first j of them change the distance by.
    std::vector<std::pair<Wide, std::size_t>> moves_;
    std::vector<Wide> moveSums_;
    // The members with room beyond their near prices, most room first, and the room of the
    // first j of them.
    std::vector<std::size_t> upOrder_, downOrder_;
    std::vector<Wide> upRoom_, downRoom_;
};

// What the groups add to the total with these K (in the groups' order).
inline Wide TotalOf(const std::vector<SpreadGroup>& groups, const std::vector<Wide>& ks) {
    Wide total = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        total = Add(total, Mul(groups[g].weight(), ks[g]));
    }
    return total;
}

}  // namespace tarvello::detail
