#pragma once
// The shapes of quote the spreading is measured on, and a new total each can be shown to reach
// exactly without the spreading: prices chosen near a fixed change, a few moved a step so that
// the total comes out on the step.

#include <optional>
#include <random>
#include <vector>

#include "engine/spread/total_spread.h"

namespace bench {

enum class Shape {
    SamePrime,    // every quantity 999,983
    EightPrimes,  // eight primes near 1,000,000 in turn
    Alternating,  // 0.001 and 1,000,000
    Random3,      // from 0.001 to 1,000, three decimals
    Random6,      // six decimals
    Primes3,      // primes below 1,000,000 read with three decimals
    Mix,          // 0.333, 2.5, 18.5, 0.001, 1,000,000 and 7
    Credits,      // three decimals, one line item in ten a credit
    Wide,         // 100 to 2,000 with three decimals, prices 400.00 to 1,000.00: wide ranges
    Alike,        // 2097.000 to 2097.151, prices 0.50 to 5.00: totals in clusters
    NearMillion,  // 1,000,000 to 1,000,100
};

const char* NameOf(Shape shape);

// A quote of `size` line items with prices from 0.50 to 500.00 (but for Wide and Alike).
std::vector<tarvello::SpreadLine> BuildQuote(Shape shape, std::size_t size, std::mt19937& random);

// A total on the step that prices within the bound reach exactly (each line item's price near
// its own × `factor`), or nothing when the prices this finds leave the bound.
std::optional<tarvello::Decimal> ReachableTotal(const std::vector<tarvello::SpreadLine>& lines,
                                                const tarvello::Decimal& factor,
                                                const tarvello::Decimal& step);

// The total now, and whether a price lies within the bound of its share of `total`.
tarvello::Decimal TotalNow(const std::vector<tarvello::SpreadLine>& lines);
bool WithinBound(const tarvello::SpreadLine& line, const tarvello::Decimal& price,
                 const tarvello::Decimal& now, const tarvello::Decimal& total,
                 const tarvello::Decimal& step);

}  // namespace bench
