#pragma once
// Room pricing/: new prices other than the three methods'. These price rules, what the Price
// Rules window types and shows of them, and a new total typed and spread over a preview's plan.
// It uses numbers/, request/, passes/ and spread/.
//
// Price rules: what the Price Rules window does to one price. A rule is a set of bands, each
// holding the prices from its From up to the next band's From (the first from 0), with its
// candidates n × Step + Ending inside that range and nowhere else. A price goes by its band's
// direction to the nearest candidate of all the bands on that side: near a band's edge that may
// be the last candidate of the band below or the first of the band above. So every result is a
// candidate of the band it lies in, and the rules applied to their own result change nothing.
// The work is done in exact decimal on the price as a person sees it (2.675 is 2.675), and the
// result is written as the double nearest it, so 2.675 to steps of 0.01 becomes 2.68 as a
// person expects.
//
// A band is chosen by the price's amount (its absolute value) and a credit is rounded as its
// amount, keeping its sign: Up takes -12.34 to -13 as it takes 12.34 to 13. A price never
// changes its sign: one that would go past 0 goes to the nearest candidate on its own side
// instead (0.30 to steps of 1 ending 0.99 becomes 0.99, never -0.01). A price of 0 stays 0: a
// free item is never given a price.

#include <cstddef>
#include <optional>
#include <vector>

#include "numbers/exact_decimal.h"
#include "numbers/number_format.h"
#include "numbers/variant.h"

namespace tarvello {

// Nearest breaks a tie away from zero; Up and Down move the amount, not the signed price.
enum class RuleDirection { Nearest, Up, Down };

// "Nearest", "Up", "Down", compared code unit by code unit; nothing for any other text.
std::optional<RuleDirection> RuleDirectionNamed(const Text& name);
Text NameOf(RuleDirection direction);

struct PriceBand {
    Decimal from;
    Decimal step;                   // above 0
    std::optional<Decimal> ending;  // from 0 up to below the step
    RuleDirection direction = RuleDirection::Nearest;
};

// The bands in rising order of From, the first from 0; ReadPriceRules gives no other kind.
struct PriceRules {
    std::vector<PriceBand> bands;
    // A non-zero price that would become 0 gets the smallest candidate above 0 instead (with
    // the price's sign).
    bool neverToZero = true;
    // A line item whose price would change by more than this share of it is left as it is.
    std::optional<Decimal> maxChangePercent;
};

// One band from 0: steps of 0.05, no ending, Nearest; never to zero; no limit on the change.
PriceRules DefaultPriceRules();

struct RuleOutcome {
    enum class Kind {
        Rounded,
        // Already on a candidate, or a change too small for a double to show: left, so that
        // nothing is written and its price modifier stays.
        Unchanged,
        LeftAtZero,      // a free item
        LiftedFromZero,  // from 0 by the guard, or from past 0 whatever the guard
        LeftTooFar,
        // Not a finite price within the range of exact arithmetic, or arithmetic on it that
        // would leave that range.
        LeftUnreadable
    };
    Kind kind = Kind::Unchanged;
    double newPrice = 0;  // what is written: the price as read when it is left or unchanged
    // LiftedFromZero: the result before the lift. LeftTooFar: the result that would have been
    // written, after the lift.
    std::optional<Decimal> wouldBe;
    // LeftTooFar: |wouldBe - price| / |price| × 100, rounded up to the hundredth, so that
    // what the user reads is never at or below the limit it went beyond.
    std::optional<Decimal> changePercent;
};

// Throws EngineError(InvalidArgument) for rules without bands or with a step that is not above
// 0; every other failure is an outcome.
RuleOutcome ApplyPriceRules(const PriceRules& rules, double price);

// The preview's words for why a line item got what it got, in the user's number format:
// empty for Rounded; "already on a step", "a price of 0: left", "would be -0.01: lifted to
// 0.99", "changes by 23 %: left", "not a price these rules can round: left".
Text DescribeRuleOutcome(const RuleOutcome& outcome, const NumberFormat& format);

// What a band does, beside its row as the user types: "11.33 → 10.99", for a price inside the
// band (`band` counts rules.bands) that is on none of its candidates, as the whole rules round
// it (near an edge, to the band next to it); the zero guard applies,
// the limit on the change does not (it is about line items, not the band). Empty when there is
// no such band.
Text BandExample(const PriceRules& rules, std::size_t band, const NumberFormat& format);

}  // namespace tarvello
