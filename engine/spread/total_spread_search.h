#pragma once
// The search behind SpreadTotal, on whole numbers: the quote's decimals scaled away, every
// price counted in steps with its sign set aside. total_spread.h says what it optimises.

#include <cstddef>
#include <optional>
#include <vector>

#include "numbers/wide_arithmetic.h"
#include "spread/total_spread_meet.h"

namespace tarvello::detail {

// One line item. One step more on its price adds `weight` to the total (in the total's smallest
// unit; negative for a line item whose extended price is negative), and its share of the new
// total lies `share` / denominator steps from 0 (share > 0).
struct SpreadItem {
    long long weight = 0;
    Wide share = 0;
};

struct SpreadProblem {
    std::vector<SpreadItem> items;
    Wide denominator = 1;  // of every share, > 0
    // The new total in the weights' unit, as a fraction (both > 0).
    Wide totalNumerator = 0;
    Wide totalDenominator = 1;
    // What a meeting that proves an answer may list and walk through (total_spread_meet.h).
    MeetLimits proving;
};

struct SpreadSteps {
    std::vector<long long> steps;  // every item's price in steps, each at least 1
    bool nearestTotal = true;      // proved: no choice within the bound comes nearer the total
    bool nearestPrices = true;     // proved: none that comes to it is better by the other aims
    std::size_t far = 0;           // prices more than one step from their shares (RangeOf)
};

// Nothing when the new total lies below the least total the items can come to at one step each
// (every extended price positive): only prices at 0 or turned round would reach it. Throws
// EngineError(Overflow) where the numbers leave the range of 128-bit arithmetic.
std::optional<SpreadSteps> SearchSpread(const SpreadProblem& problem);

}  // namespace tarvello::detail
