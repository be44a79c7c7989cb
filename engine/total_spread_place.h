#pragma once
// Placing the prices of the line items within a radius of their shares so that they reach a
// total exactly: what the search behind SpreadTotal asks at every radius it tries.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "total_spread_search.h"
#include "wide_arithmetic.h"

namespace tarvello::detail {

// What a price costs the aims after the largest distance: being more than one step from its
// share (the denominator) outweighs any sum of distances, each capped far beyond any real
// quote's.
using Cost = Wide;
constexpr Cost kUnreached = kWideMax;

inline Cost PriceCost(Wide distance, Wide denominator) {
    return (distance > denominator ? Wide(1) << 96 : 0) + std::min(distance, Wide(1) << 80);
}

// A line item with a choice within the radius: option o (0..count) puts its price at
// first + way × o steps and adds unit × o to the total.
struct Slot {
    std::size_t item = 0;
    long long unit = 0;
    long long count = 0;
    long long first = 0;
    int way = 1;
    int decimals = 0;  // of its quantity
    long long Option(long long price) const { return way * (price - first); }
    long long Price(long long option) const { return first + way * option; }
};

class Placement {
public:
    // The items (weights reduced) and the denominator of their shares; both outlive it.
    Placement(const std::vector<SpreadItem>& items, Wide denominator);

    // Sets the prices of `slots`, which start nearest their shares, so that their options add
    // exactly `target`, at the least cost the bounds let it find; false when it finds none.
    bool Solve(std::vector<Slot> slots, Wide target, std::vector<long long>& prices) const;

    Wide Distance(std::size_t item, Wide price) const {
        return Abs(Add(Mul(price, denominator_), -items_[item].share));
    }
    Cost CostOf(std::size_t item, long long price) const {
        return PriceCost(Distance(item, price), denominator_);
    }

private:
    bool Exact(const std::vector<Slot>& slots, Wide target, std::vector<long long>& prices) const;
    std::optional<Wide> PlaceResidues(const std::vector<Slot>& slots, Wide divisor, Wide target,
                                      std::vector<long long>& prices) const;
    std::optional<Wide> Residues(const std::vector<Slot>& slots, Wide divisor, Wide target,
                                 std::vector<long long>& prices) const;
    void Steer(const std::vector<Slot>& slots, Wide& rest, std::vector<long long>& prices) const;
    bool Finish(const std::vector<Slot>& slots, Wide rest, std::vector<long long>& prices) const;
    std::vector<Slot> ByRegret(const std::vector<Slot>& slots,
                               const std::vector<long long>& prices) const;

    const std::vector<SpreadItem>& items_;
    Wide denominator_;
};

}  // namespace tarvello::detail
