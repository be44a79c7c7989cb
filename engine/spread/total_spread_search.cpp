#include "spread/total_spread_search.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "spread/total_spread_counts.h"
#include "spread/total_spread_group.h"
#include "spread/total_spread_meet.h"
#include "spread/total_spread_place.h"

namespace tarvello::detail {
namespace {

class Spreader {
public:
    explicit Spreader(const SpreadProblem& problem);
    std::optional<SpreadSteps> Run();

private:
    // Groups' K and whether they come to the goal, the whole number nearest the new total.
    struct Reached {
        std::vector<Wide> ks;
        bool goalReached = false;
    };

    bool BelowEveryTotal() const;
    Reached ReachNearest(const StepCounts& counts) const;
    bool Cheapest(std::vector<KWindow> windows, std::vector<Wide>& ks) const;
    std::vector<KWindow> Narrowed(std::vector<KWindow> windows, Wide off) const;
    Wide TotalOf(const std::vector<Wide>& ks) const { return detail::TotalOf(groups_, ks); }
    SpreadSteps Answer(const std::vector<Wide>& ks, bool nearestTotal, bool nearestPrices) const;

    std::size_t items_;
    bool credits_ = false;
    Wide oneStepEach_ = 0;  // the total with every price at one step
    std::vector<SpreadGroup> groups_;
    SpreadTarget target_;
    MeetLimits limits_;
};

// Line items of one weight go into one group; weights are divided by their common divisor, so
// that every whole number is a total they might come to.
Spreader::Spreader(const SpreadProblem& problem)
    : items_(problem.items.size()), limits_(problem.proving) {
    Wide divisor = 0;
    for (const SpreadItem& item : problem.items) divisor = Gcd(divisor, item.weight);
    target_ = {problem.totalNumerator, Mul(problem.totalDenominator, divisor)};
    std::map<long long, std::vector<SpreadGroup::Member>> byWeight;
    for (std::size_t i = 0; i < problem.items.size(); ++i) {
        const SpreadItem& item = problem.items[i];
        credits_ = credits_ || item.weight < 0;
        oneStepEach_ = Add(oneStepEach_, item.weight / divisor);
        byWeight[Narrow(item.weight / divisor)].push_back(
            {i, item.share, RangeOf(item.share, problem.denominator)});
    }
    groups_.reserve(byWeight.size());
    for (auto& [weight, members] : byWeight) {
        groups_.emplace_back(weight, std::move(members), problem.denominator);
    }
}

std::optional<SpreadSteps> Spreader::Run() {
    if (BelowEveryTotal()) return std::nullopt;
    // A new total beside every cluster of totals, or beyond them all, is reached at best at an
    // edge of one: proved at once, and the prices too where one choice only makes it.
    const StepCounts counts(groups_);
    const std::optional<StepCounts::Outside> outside = counts.NearestOutside(target_);
    if (outside && outside->only) return Answer(outside->ks, true, true);
    std::vector<KWindow> whole;
    for (const SpreadGroup& group : groups_) whole.push_back({&group, group.Low(), group.High()});
    if (const std::optional<Meeting> met = Meet(whole, target_, limits_)) {
        return Answer(met->ks, true, true);
    }
    // The total reached is proved the nearest when it lies beside every cluster, or is the goal.
    const Reached reached = outside ? Reached{outside->ks, false} : ReachNearest(counts);
    const bool nearest = outside || reached.goalReached;
    std::vector<Wide> ks = reached.ks;
    // Every choice as near the new total as this one lies within the narrowed windows.
    const std::vector<KWindow> nearer = Narrowed(whole, target_.Off(TotalOf(ks)));
    if (const std::optional<Meeting> met = Meet(nearer, target_, limits_)) {
        return Answer(met->ks, true, true);
    }
    const bool cheapest = nearest && Cheapest(nearer, ks);
    return Answer(ks, nearest, cheapest);
}

// The windows narrowed to the K that, whatever the other groups add within theirs, leave the
// total within `off` of the new one; again while that narrows any.
std::vector<KWindow> Spreader::Narrowed(std::vector<KWindow> windows, Wide off) const {
    const auto ends = [](const KWindow& window) {
        return std::make_pair(Mul(window.group->weight(), LeastK(window)),
                              Mul(window.group->weight(), MostK(window)));
    };
    for (bool narrowed = true; narrowed;) {
        narrowed = false;
        Wide least = 0, most = 0;
        for (const KWindow& window : windows) {
            least = Add(least, ends(window).first);
            most = Add(most, ends(window).second);
        }
        for (KWindow& window : windows) {
            // weight × K × denominator lies from low to high.
            const auto [own, ownMost] = ends(window);
            const Wide denominator = target_.denominator;
            Wide low = Add(target_.numerator, -Add(off, Mul(most - ownMost, denominator)));
            Wide high = Add(target_.numerator, Add(off, -Mul(least - own, denominator)));
            Wide divisor = Mul(window.group->weight(), denominator);
            if (divisor < 0) {
                std::tie(low, high) = std::make_pair(-high, -low);
                divisor = -divisor;
            }
            const Wide first = std::max(window.first, CeilDiv(low, divisor));
            const Wide last = std::min(window.last, FloorDiv(high, divisor));
            if (first > last || (first == window.first && last == window.last)) continue;
            window.first = first;
            window.last = last;
            narrowed = true;
        }
    }
    return windows;
}

// Whether every total the prices can come to keeping their signs, bound or no bound, lies
// above the new one: no credits, and the total at one step each is more.
bool Spreader::BelowEveryTotal() const {
    return !credits_ && Mul(oneStepEach_, target_.denominator) > target_.numerator;
}

// Reaches for the whole number nearest the new total (the lower of two as near): reached, it
// is the goal, and the nearest. Otherwise the other one beside it too, and the nearer of what
// the two came to.
Spreader::Reached Spreader::ReachNearest(const StepCounts& counts) const {
    const Wide below = FloorDiv(target_.numerator, target_.denominator);
    const Wide above = CeilDiv(target_.numerator, target_.denominator);
    const Wide goal = target_.Nearer(above, below) ? above : below;
    Reached reached{Reach(groups_, counts, goal), false};
    reached.goalReached = TotalOf(reached.ks) == goal;
    if (!reached.goalReached && above != below) {
        std::vector<Wide> other = Reach(groups_, counts, goal == below ? above : below);
        if (target_.Nearer(TotalOf(other), TotalOf(reached.ks))) reached.ks = std::move(other);
    }
    return reached;
}

// Looks for a cheaper choice coming to the same total among every one that could be: within the
// windows, each group within what the cost of `ks` leaves it once every other group is at its
// best. True when they are few enough to weigh them all, and then `ks` is the cheapest there is.
bool Spreader::Cheapest(std::vector<KWindow> windows, std::vector<Wide>& ks) const {
    Cost now, least;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        now = now + groups_[g].CostAt(ks[g]);
        least = least + groups_[g].CostAt(groups_[g].Best());
    }
    for (KWindow& window : windows) {
        const SpreadGroup& group = *window.group;
        const auto within = group.Within(now - (least - group.CostAt(group.Best()))).value();
        window.first = std::max(window.first, within.first);
        window.last = std::min(window.last, within.second);
    }
    const std::optional<Meeting> met = Meet(windows, {TotalOf(ks), 1}, limits_);
    if (!met) return false;
    ks = met->ks;
    return true;
}

SpreadSteps Spreader::Answer(const std::vector<Wide>& ks, bool nearestTotal,
                             bool nearestPrices) const {
    SpreadSteps answer{std::vector<long long>(items_, 1), nearestTotal, nearestPrices};
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        groups_[g].Place(ks[g], answer.steps);
        answer.far += static_cast<std::size_t>(groups_[g].CostAt(ks[g]).far);
    }
    return answer;
}

}  // namespace

std::optional<SpreadSteps> SearchSpread(const SpreadProblem& problem) {
    return Spreader(problem).Run();
}

}  // namespace tarvello::detail
