#pragma once
// Room spread/: a new total spread over the line items, the bound, the aims and the exact
// weighing that meets them. It uses numbers/ only.
//
// A new total for the quote ("make it 5,000 even"), spread over the line items that take part:
// each takes a share of the change in proportion to its extended price, and the new unit prices
// land on the price step while the total comes to exactly the amount promised whenever prices
// on the step can make it.
//
// With S = Σ quantity × price now and T the new total, a line item's share is price × T / S
// (the shares come to T exactly). Every new unit price is a whole number of steps with the sign
// the price had, never 0, and SpreadTotal picks them by these aims, each deciding only among
// the choices the ones before leave equal:
//   1. The bound, never broken: no price lies further from its share than one step or 1 % of
//      the share, whichever is more.
//   2. The total reached R: T whenever some choice within the bound reaches it; otherwise the
//      reachable total nearest T, and of two as near the lower, so that the customer is never
//      asked for more than was promised.
//   3. The fewest prices more than one step from their shares.
//   4. The smallest sum of the distances of the prices from their shares.
//   5. A fixed order of the search among what is left (of line items of one quantity, those
//      with the most room go furthest, the earlier first), so that a quote always gets the
//      same prices.
// Every comparison by these aims is exact (distances as fractions over one common denominator);
// no distance is capped or rounded. Only the order in which the greedy walks try their moves
// uses a rounded ratio: it decides where a walk looks first, and what it finds is judged exactly.
//
// What is proved. Line items of one quantity (and sign) are taken together (total_spread_group.h):
// for them only the sum of their steps matters, and its cheapest sharing out is known exactly.
// With N steps in all, the totals lie between a least and a greatest that one choice each makes
// (total_spread_counts.h): a new total outside every such span (below the least the bound allows,
// above the greatest, or between the clusters of totals of quantities alike) is reached at best
// at the edge of the nearest span, proved, and the prices with it where only one choice makes
// that total. When every choice of these sums can be weighed (a few line items, a few quantities,
// or all but one or two of them narrow: total_spread_meet.h, total_spread_pair.h), the answer is
// the best by every aim. Otherwise the total is reached greedily and finished by weighing a few
// groups in every combination, or by pairs of steps, one up and one down (total_spread_place.h);
// then every choice as near the total lies within windows narrowed by what the other groups can
// add at least and at most, and when those can be weighed the answer is again the best by every
// aim. Short of that, the total reached is proved the nearest when it is T, or the nearest to T
// of the totals that prices on the step can make at all (whole multiples of what the quantities
// have in common); anything else is "the nearest total found" (`nearestTotal`). The prices are
// proved the best by aims 3 and 4 only when every choice that could be cheaper can be weighed
// (`nearestPrices`); otherwise the groups weighed last can do no better among themselves within
// the few steps they were weighed over, and no price breaks the bound. A new total below what the
// prices make at one step each (no credits) is refused: only a price at 0 or turned round would
// reach it.
//
// A quote of 10,000 line items takes well under a second (bench/total-spread,
// docs/performance.md). Line items with no quantity or no price have no share: they keep their
// price.

#include <cstddef>
#include <variant>
#include <vector>

#include "numbers/exact_decimal.h"

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
    // Proved: no prices within the bound come to a total nearer the new one (always when exact).
    bool nearestTotal = true;
    // Proved: no prices that come to `reached` are better by aims 3 and 4.
    bool nearestPrices = true;
    // How many prices lie more than one step from their shares (within the bound all the same).
    std::size_t farFromShare = 0;
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

namespace detail {
struct MeetLimits;
}
// The same, proving answers only by weighing at most `proving` choices at once: with small
// limits, a short quote takes the ways of a long one.
std::variant<TotalSpread, SpreadRefusal> SpreadTotal(const std::vector<SpreadLine>& lines,
                                                     const Decimal& newTotal, const Decimal& step,
                                                     const detail::MeetLimits& proving);

}  // namespace tarvello
