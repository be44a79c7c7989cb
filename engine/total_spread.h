#pragma once
// A new total for the quote ("make it 5,000 even"), spread over the line items that take part:
// each takes a share of the change in proportion to its extended price, and the new unit prices
// land on the price step while the total comes to exactly the amount promised whenever prices
// on the step can make it.
//
// With S = Σ quantity × price now and T the new total, a line item's share is price × T / S.
// Of all the unit prices on the step that keep every price's sign (and off 0), SpreadTotal picks
// the one best by these aims, each deciding only among the choices the ones before leave equal:
//   1. the total reached R nearest T; of two as near, the lower, so that the customer is never
//      asked for more than was promised. R = T whenever some choice reaches T.
//   2. the largest distance of any price from its share, counted in steps, smallest. No price
//      lies more than one step from its share where that is enough to reach R.
//   3. the fewest prices more than one step from their share.
//   4. the smallest sum of the distances of the prices from their shares.
//   5. a fixed rule among what is left, so that a quote always gets the same prices.
// The distances are compared exactly, as fractions over one common denominator.
//
// The work is bounded, whatever the quote (the bounds are in total_spread_search.cpp and
// total_spread_place.cpp); a quote of a thousand line items takes milliseconds. Within the
// bounds the choice is the best by the aims above, as it always is for a quote of a few line
// items. A larger quote is placed in parts: the quantities with the most decimals first, per
// residue of the total, then the others, moved greedily with a few finishing the total exactly.
// There a price may lie further from its share than it needs to; the total still comes to the
// nearest reachable one whenever some part finds it, and where none does, an answer of last
// resort reaches it with a few prices far from their shares. Without such an answer (credits
// among the line items, or quantities too unlike for the bounds to work out which totals they
// reach), the total taken for the nearest reachable may not be it, and when the search finds
// nothing every price keeps to its share on the step, the total landing where it lands: `exact`
// says so.
//
// Line items with no quantity or no price have no share: they keep their price.

#include <variant>
#include <vector>

#include "exact_decimal.h"

namespace tarvello {

struct SpreadLine {
    Decimal quantity;
    Decimal unitPrice;  // negative for a credit
};

struct TotalSpread {
    // The new prices in the order of the lines, each a whole number of steps (a line item with
    // no quantity or no price: the price it had).
    std::vector<Decimal> unitPrices;
    Decimal reached;     // Σ quantity × new price, exactly
    bool exact = false;  // reached is the new total
};

// Why there is no spread; the window words each for the user.
enum class SpreadRefusal {
    NothingToChange,   // no line item with a quantity and a price, or a total now of 0
    TotalNotPositive,  // a new total of 0 or less
    StepNotPositive,
    TooManyDecimals,  // the new total has more decimals than the step
    NeedsSignChange,  // only reachable with a price turned round or at 0
    BeyondRange,      // the numbers are beyond exact arithmetic
};

std::variant<TotalSpread, SpreadRefusal> SpreadTotal(const std::vector<SpreadLine>& lines,
                                                     const Decimal& newTotal,
                                                     const Decimal& step = Decimal(1, 2));

}  // namespace tarvello
