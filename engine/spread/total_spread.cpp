#include "spread/total_spread.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <optional>

#include "numbers/errors.h"
#include "numbers/wide_arithmetic.h"
#include "spread/total_spread_meet.h"
#include "spread/total_spread_search.h"

namespace tarvello {
namespace {

using detail::Mul;
using detail::OutOfRange;
using detail::Wide;

// The value × 10^scale as a whole number, for a scale at least the value's.
Wide Scaled(const Decimal& value, int scale) {
    if (scale - value.scale() > Decimal::kMaxDigits) OutOfRange();
    return Mul(value.coefficient(), PowerOfTen(scale - value.scale()));
}

// The shares and their denominator divided by what they have in common, which keeps the
// distances the search adds up small.
void Reduce(detail::SpreadProblem& problem) {
    Wide common = problem.denominator;
    for (const detail::SpreadItem& item : problem.items) common = detail::Gcd(common, item.share);
    problem.denominator /= common;
    for (detail::SpreadItem& item : problem.items) item.share /= common;
}

// The quote in whole numbers: quantities scaled by 10^q, prices by 10^p. One step more on a price
// adds quantity × 10^q to the total counted in step × 10^-q; the new total there is
// T × 10^q / step, and a share, price × T / (S × step) steps, is price × 10^p × T × 10^q / step
// over S × 10^(q+p).
std::variant<TotalSpread, SpreadRefusal> Spread(const std::vector<SpreadLine>& lines,
                                                const Decimal& newTotal, const Decimal& step,
                                                const detail::MeetLimits& proving) {
    std::vector<std::size_t> taking;
    int quantityScale = 0, priceScale = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].quantity.IsZero() || lines[i].unitPrice.IsZero()) continue;
        taking.push_back(i);
        quantityScale = std::max(quantityScale, lines[i].quantity.scale());
        priceScale = std::max(priceScale, lines[i].unitPrice.scale());
    }
    if (taking.empty()) return SpreadRefusal::NothingToChange;
    if (newTotal.Sign() <= 0) return SpreadRefusal::TotalNotPositive;
    if (newTotal.scale() > step.scale()) return SpreadRefusal::TooManyDecimals;

    Wide totalNow = 0;
    for (const std::size_t i : taking) {
        const Wide extended =
            Mul(Scaled(lines[i].quantity, quantityScale), Scaled(lines[i].unitPrice, priceScale));
        totalNow = detail::Add(totalNow, extended);
    }
    if (totalNow == 0) return SpreadRefusal::NothingToChange;
    // Shares in proportion to a negative total would turn every price round.
    if (totalNow < 0) return SpreadRefusal::NeedsSignChange;

    const Wide total = Scaled(newTotal, quantityScale + step.scale());
    detail::SpreadProblem problem;
    problem.denominator = Mul(totalNow, step.coefficient());
    problem.totalNumerator = total;
    problem.totalDenominator = step.coefficient();
    problem.proving = proving;
    for (const std::size_t i : taking) {
        const Wide weight = Scaled(lines[i].quantity, quantityScale) * lines[i].unitPrice.Sign();
        if (weight > LLONG_MAX || weight < -LLONG_MAX) OutOfRange();
        const Wide price = Scaled(lines[i].unitPrice.Abs(), priceScale);
        problem.items.push_back({static_cast<long long>(weight), Mul(price, total)});
    }
    Reduce(problem);
    const std::optional<detail::SpreadSteps> steps = detail::SearchSpread(problem);
    if (!steps) return SpreadRefusal::NeedsSignChange;

    TotalSpread spread;
    for (const SpreadLine& line : lines) spread.unitPrices.push_back(line.unitPrice);
    for (std::size_t k = 0; k < taking.size(); ++k) {
        const std::size_t i = taking[k];
        spread.unitPrices[i] = Decimal::Times(steps->steps[k] * lines[i].unitPrice.Sign(), step);
        spread.reached = spread.reached + lines[i].quantity * spread.unitPrices[i];
    }
    spread.farFromShare = steps->far;
    spread.exact = spread.reached == newTotal;
    spread.nearestTotal = spread.exact || steps->nearestTotal;
    spread.nearestPrices = steps->nearestTotal && steps->nearestPrices;
    return spread;
}

}  // namespace

std::variant<TotalSpread, SpreadRefusal> SpreadTotal(const std::vector<SpreadLine>& lines,
                                                     const Decimal& newTotal, const Decimal& step) {
    return SpreadTotal(lines, newTotal, step, detail::MeetLimits());
}

std::variant<TotalSpread, SpreadRefusal> SpreadTotal(const std::vector<SpreadLine>& lines,
                                                     const Decimal& newTotal, const Decimal& step,
                                                     const detail::MeetLimits& proving) {
    if (step.Sign() <= 0) return SpreadRefusal::StepNotPositive;
    try {
        return Spread(lines, newTotal, step, proving);
    } catch (const EngineError& error) {
        if (error.kind() != ErrorKind::Overflow) throw;
        return SpreadRefusal::BeyondRange;
    }
}

}  // namespace tarvello
