#include "pricing/price_rules.h"

#include <algorithm>

#include "numbers/errors.h"
#include "numbers/rounding.h"

namespace tarvello {
namespace {

using Coefficient = Decimal::Coefficient;

struct NamedDirection {
    RuleDirection direction;
    const char16_t* name;
};

// The only place where a direction's name is spelt: the window's list and the rules file.
constexpr NamedDirection kDirections[] = {
    {RuleDirection::Nearest, u"Nearest"},
    {RuleDirection::Up, u"Up"},
    {RuleDirection::Down, u"Down"},
};

Decimal EndingOf(const PriceBand& band) {
    return band.ending.value_or(Decimal());
}

// The last band whose From the amount has reached; the first band holds everything below it.
std::size_t BandFor(const PriceRules& rules, const Decimal& amount) {
    std::size_t chosen = 0;
    for (std::size_t band = 1; band < rules.bands.size(); ++band) {
        if (rules.bands[band].from <= amount) chosen = band;
    }
    return chosen;
}

// The band's greatest candidate at or below the amount, and its smallest at or above, by its
// steps alone, wherever they lie.
Decimal AtOrBelow(const PriceBand& band, const Decimal& amount) {
    return amount - FloorDivide(amount - EndingOf(band), band.step).remainder;
}

Decimal AtOrAbove(const PriceBand& band, const Decimal& amount) {
    const Decimal below = AtOrBelow(band, amount);
    return below == amount ? below : below + band.step;
}

// A band's candidates are only those from its From up to below the next band's From, so that a
// result lies in a band whose candidate it is, and rounding it again leaves it. Past the end of
// its own band's candidates a price goes to the first candidate of the next band that has one.
Decimal CandidateAbove(const PriceRules& rules, std::size_t band, Decimal amount) {
    for (;; ++band) {
        const PriceBand& held = rules.bands[band];
        const Decimal candidate = AtOrAbove(held, amount);
        if (band + 1 == rules.bands.size() || candidate < rules.bands[band + 1].from) {
            return candidate;
        }
        amount = rules.bands[band + 1].from;
    }
}

// Below the start of its own band's candidates, to the last candidate of the band before that
// has one; where no band has one from 0 up, the first band's below 0, which no price is given.
Decimal CandidateBelow(const PriceRules& rules, std::size_t band, const Decimal& amount) {
    Decimal candidate = AtOrBelow(rules.bands[band], amount);
    for (; band > 0 && candidate < rules.bands[band].from; --band) {
        const PriceBand& before = rules.bands[band - 1];
        candidate = AtOrBelow(before, rules.bands[band].from);
        if (candidate == rules.bands[band].from) candidate = candidate - before.step;
    }
    return candidate;
}

Decimal ByDirection(RuleDirection direction, const Decimal& amount, const Decimal& below,
                    const Decimal& above) {
    switch (direction) {
        case RuleDirection::Up:
            return above;
        case RuleDirection::Down:
            return below;
        case RuleDirection::Nearest:
            // A tie goes up: away from zero for the amount, and so for the signed price.
            return amount - below < above - amount ? below : above;
    }
    return amount;
}

struct ExactResult {
    Decimal result;                     // signed, after the lift
    std::optional<Decimal> beforeLift;  // when it was lifted
};

ExactResult RoundPrice(const PriceRules& rules, const Decimal& price) {
    const Decimal amount = price.Abs();
    const std::size_t band = BandFor(rules, amount);
    const Decimal above = CandidateAbove(rules, band, amount);
    const Decimal rounded = ByDirection(rules.bands[band].direction, amount,
                                        CandidateBelow(rules, band, amount), above);
    const auto signedAsPrice = [&price](const Decimal& value) {
        return price.Sign() < 0 ? value.Negated() : value;
    };
    // A price never changes its sign, guard or no guard: a sale does not become a credit. It
    // goes to the nearest candidate on its own side of 0 instead. The guard decides about 0.
    // A result of 0 means no candidate lies between 0 and the amount, so the one above it is
    // the least above 0.
    if (rounded.Sign() < 0 || (rules.neverToZero && rounded.IsZero())) {
        return {signedAsPrice(above), signedAsPrice(rounded)};
    }
    return {signedAsPrice(rounded), std::nullopt};
}

// Exactly |result - price| / |price| × 100 > percent, without dividing.
bool ChangesByMoreThan(const Decimal& price, const Decimal& result, const Decimal& percent) {
    return (result - price).Abs() * Decimal::Whole(100) > percent * price.Abs();
}

Decimal ChangePercentRoundedUp(const Decimal& price, const Decimal& result) {
    const DecimalDivision hundredths =
        FloorDivide((result - price).Abs() * Decimal::Whole(10000), price.Abs());
    return Decimal(hundredths.quotient + (hundredths.remainder.IsZero() ? 0 : 1), 2);
}

// A band's example price (BandExample) follows a candidate ten steps, and at least ten units,
// into the band, or lies halfway into a band that ends sooner.
constexpr Coefficient kStepsIn = 10;
constexpr long long kUnitsIn = 10;
// It lies past that candidate by 34 hundredths of a step: a little over a third, so that it is
// plainly off the step, and short of half, so that Nearest is seen to go down as Down does and
// Up to go up.
constexpr Coefficient kPastCandidateHundredths = 34;
// Its digits go no finer than the band's own, and no coarser than cents, so that it reads as a
// price.
constexpr int kCoarsestPlaces = 2;

// The example's last digit. Where that is the step itself, one place finer, so that the
// example can lie between two candidates.
Decimal ExampleGrain(const PriceBand& band) {
    const Decimal grain(1, std::max({kCoarsestPlaces, band.step.scale(), EndingOf(band).scale()}));
    return grain == band.step ? Decimal(1, grain.scale() + 1) : grain;
}

// How far the example lies past its candidate, in whole grains, one at least.
Decimal PastCandidate(const PriceBand& band) {
    const Decimal grain = ExampleGrain(band);
    const Decimal share = band.step * Decimal(kPastCandidateHundredths, 2);
    const Coefficient grains = FloorDivide(share, grain).quotient;
    return Decimal::Times(std::max<Coefficient>(grains, 1), grain);
}

Decimal HalfwayInto(const PriceBand& band, const Decimal& to) {
    return band.from + (to - band.from) * Decimal(5, 1);
}

Decimal ExamplePrice(const PriceBand& band, const std::optional<Decimal>& nextFrom) {
    const Decimal past = PastCandidate(band);
    Decimal anchor =
        band.from + std::max(Decimal::Times(kStepsIn, band.step), Decimal::Whole(kUnitsIn));
    if (nextFrom) anchor = std::min(anchor, HalfwayInto(band, *nextFrom));
    const Decimal price = AtOrAbove(band, anchor) + past;
    if (!nextFrom || price < *nextFrom) return price;

    // A band too narrow for that: halfway from its From to its next candidate, or to the next
    // band's From where that comes first.
    const Decimal next = AtOrBelow(band, band.from) + band.step;
    return HalfwayInto(band, std::min(next, *nextFrom));
}

}  // namespace

std::optional<RuleDirection> RuleDirectionNamed(const Text& name) {
    for (const auto& entry : kDirections) {
        if (name == entry.name) return entry.direction;
    }
    return std::nullopt;
}

Text NameOf(RuleDirection direction) {
    for (const auto& entry : kDirections) {
        if (entry.direction == direction) return entry.name;
    }
    return Text();
}

PriceRules DefaultPriceRules() {
    PriceRules rules;
    rules.bands.push_back(
        PriceBand{Decimal(), Decimal(5, 2), std::nullopt, RuleDirection::Nearest});
    return rules;
}

RuleOutcome ApplyPriceRules(const PriceRules& rules, double price) {
    if (rules.bands.empty()) {
        throw EngineError(ErrorKind::InvalidArgument, "price rules without a band");
    }
    RuleOutcome outcome;
    outcome.newPrice = price;
    const std::optional<Decimal> read = Decimal::FromDouble(price);
    if (!read) {
        outcome.kind = RuleOutcome::Kind::LeftUnreadable;
        return outcome;
    }
    if (read->IsZero()) {
        outcome.kind = RuleOutcome::Kind::LeftAtZero;
        return outcome;
    }
    try {
        const ExactResult exact = RoundPrice(rules, *read);
        const double written = exact.result.ToDouble();
        if (written == price) return outcome;
        // The limit judges what would be written, the lift included: a price lifted from 0.01
        // to 0.99 changes by far more than its rounding alone would.
        if (rules.maxChangePercent &&
            ChangesByMoreThan(*read, exact.result, *rules.maxChangePercent)) {
            outcome.kind = RuleOutcome::Kind::LeftTooFar;
            outcome.wouldBe = exact.result;
            outcome.changePercent = ChangePercentRoundedUp(*read, exact.result);
            return outcome;
        }
        outcome.kind =
            exact.beforeLift ? RuleOutcome::Kind::LiftedFromZero : RuleOutcome::Kind::Rounded;
        outcome.wouldBe = exact.beforeLift;
        outcome.newPrice = written;
    } catch (const EngineError& error) {
        if (error.kind() != ErrorKind::Overflow) throw;
        outcome = RuleOutcome{RuleOutcome::Kind::LeftUnreadable, price, {}, {}};
    }
    return outcome;
}

Text DescribeRuleOutcome(const RuleOutcome& outcome, const NumberFormat& format) {
    switch (outcome.kind) {
        case RuleOutcome::Kind::LiftedFromZero:
            return u"would be " + outcome.wouldBe.value_or(Decimal()).ToText(format) +
                   u": lifted to " + FormatShortNumber(outcome.newPrice, format);
        case RuleOutcome::Kind::LeftTooFar:
            return u"changes by " + outcome.changePercent.value_or(Decimal()).ToText(format) +
                   u" %: left";
        case RuleOutcome::Kind::LeftUnreadable:
            return u"not a price these rules can round: left";
        case RuleOutcome::Kind::Unchanged:
            return u"already on a step";
        case RuleOutcome::Kind::LeftAtZero:
            return u"a price of 0: left";
        default:
            return Text();
    }
}

Text BandExample(const PriceRules& rules, std::size_t band, const NumberFormat& format) {
    if (band >= rules.bands.size()) return Text();
    std::optional<Decimal> nextFrom;
    if (band + 1 < rules.bands.size()) nextFrom = rules.bands[band + 1].from;
    try {
        const Decimal price = ExamplePrice(rules.bands[band], nextFrom);
        return price.ToText(format) + u" \u2192 " + RoundPrice(rules, price).result.ToText(format);
    } catch (const EngineError&) {
        return Text();
    }
}

}  // namespace tarvello
