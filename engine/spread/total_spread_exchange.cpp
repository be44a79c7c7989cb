#include "spread/total_spread_exchange.h"

#include <algorithm>
#include <optional>
#include <queue>
#include <tuple>

namespace tarvello::detail {
namespace {

// Once the gap is narrow, every pair of at most kPairers groups is weighed for each of at most
// kNarrowMoves moves (a narrow gap takes a few); at most kCountsTried N are tried, among the
// kCountsLookedAt nearest.
constexpr std::size_t kPairers = 256;
constexpr int kNarrowMoves = 64;
constexpr int kCountsTried = 2;
constexpr int kCountsLookedAt = 16;

Wide StepsOf(const std::vector<Wide>& ks) {
    Wide n = 0;
    for (const Wide k : ks) n = Add(n, k);
    return n;
}

// Sets Σ K to n by single steps, the cheapest first, in runs of steps that cost alike.
void SetCount(const std::vector<SpreadGroup>& groups, Wide n, std::vector<Wide>& ks) {
    Wide left = n - StepsOf(ks);
    const int way = left > 0 ? 1 : -1;
    using Step = std::pair<Cost, std::size_t>;
    const auto later = [](const Step& a, const Step& b) {
        return b.first < a.first || (a.first == b.first && a.second > b.second);
    };
    std::priority_queue<Step, std::vector<Step>, decltype(later)> steps(later);
    const auto offer = [&](std::size_t g) {
        if (groups[g].EvenSteps(ks[g], way) > 0) steps.push({groups[g].StepCost(ks[g], way), g});
    };
    for (std::size_t g = 0; g < groups.size(); ++g) offer(g);
    while (left != 0 && !steps.empty()) {
        const std::size_t g = steps.top().second;
        steps.pop();
        const Wide run = std::min(groups[g].EvenSteps(ks[g], way), Abs(left));
        ks[g] += way * run;
        left -= way * run;
        offer(g);
    }
}

// Pairs of steps while the gap is wide: one up on a group heavier than the middle weight (for a
// gap above; lighter for one below), one down on a group on the other side, each the cheapest for
// how far its weight lies from the middle. Stops where the next pair would pass the goal.
void WideSwaps(const std::vector<SpreadGroup>& groups, Wide& gap, std::vector<Wide>& ks) {
    const int side = gap > 0 ? 1 : -1;
    Wide lightest = groups.front().weight(), heaviest = lightest;
    for (const SpreadGroup& group : groups) {
        lightest = std::min<Wide>(lightest, group.weight());
        heaviest = std::max<Wide>(heaviest, group.weight());
    }
    // How far a step up moves the total towards the goal beyond the middle weight, twice.
    const auto lean = [&](std::size_t g) {
        return (2 * Wide(groups[g].weight()) - lightest - heaviest) * side;
    };
    using Offer = std::tuple<long long, long double, std::size_t, long long>;  // far, per lean
    std::priority_queue<Offer, std::vector<Offer>, std::greater<Offer>> ups, downs;
    std::vector<long long> stamps(groups.size(), 0);
    const auto offer = [&](std::size_t g) {
        const int way = lean(g) > 0 ? 1 : -1;
        if (lean(g) == 0 || groups[g].EvenSteps(ks[g], way) == 0) return;
        const Cost cost = groups[g].StepCost(ks[g], way);
        (way > 0 ? ups : downs)
            .emplace(
                cost.far,
                static_cast<long double>(cost.distance) / static_cast<long double>(Abs(lean(g))), g,
                stamps[g]);
    };
    const auto fresh = [&](auto& offers) {
        while (!offers.empty() && std::get<3>(offers.top()) != stamps[std::get<2>(offers.top())]) {
            offers.pop();
        }
        return !offers.empty();
    };
    for (std::size_t g = 0; g < groups.size(); ++g) offer(g);
    while (gap != 0 && fresh(ups) && fresh(downs)) {
        const std::size_t up = std::get<2>(ups.top()), down = std::get<2>(downs.top());
        const Wide shift = Wide(groups[up].weight()) - groups[down].weight();
        if (Abs(shift) > Abs(gap)) return;
        const Wide run = std::min({groups[up].EvenSteps(ks[up], 1),
                                   groups[down].EvenSteps(ks[down], -1), Abs(gap) / Abs(shift)});
        ks[up] += run;
        ks[down] -= run;
        gap -= shift * run;
        for (const std::size_t g : {up, down}) {
            ++stamps[g];
            offer(g);
        }
    }
}

// Pairs of steps once the gap is narrow: of every pair of `movers`, the cheapest for what it moves
// the total, never past the goal. True when the gap closes.
bool NarrowSwaps(const std::vector<SpreadGroup>& groups, const std::vector<std::size_t>& movers,
                 Wide& gap, std::vector<Wide>& ks) {
    for (int moves = 0; gap != 0; ++moves) {
        if (moves == kNarrowMoves) return false;
        std::optional<std::tuple<long long, long double, std::size_t, std::size_t>> best;
        for (const std::size_t up : movers) {
            if (groups[up].EvenSteps(ks[up], 1) == 0) continue;
            const Cost upCost = groups[up].StepCost(ks[up], 1);
            for (const std::size_t down : movers) {
                const Wide shift = Wide(groups[up].weight()) - groups[down].weight();
                if (up == down || shift == 0 || (shift > 0) != (gap > 0) || Abs(shift) > Abs(gap) ||
                    groups[down].EvenSteps(ks[down], -1) == 0) {
                    continue;
                }
                const Cost cost = upCost + groups[down].StepCost(ks[down], -1);
                const auto offer = std::make_tuple(
                    cost.far,
                    static_cast<long double>(cost.distance) / static_cast<long double>(Abs(shift)),
                    up, down);
                if (!best || offer < *best) best = offer;
            }
        }
        if (!best) return false;
        const std::size_t up = std::get<2>(*best), down = std::get<3>(*best);
        const Wide shift = Wide(groups[up].weight()) - groups[down].weight();
        const Wide run = std::min({groups[up].EvenSteps(ks[up], 1),
                                   groups[down].EvenSteps(ks[down], -1), Abs(gap) / Abs(shift)});
        ks[up] += run;
        ks[down] -= run;
        gap -= shift * run;
    }
    return true;
}

}  // namespace

bool Exchange(const std::vector<SpreadGroup>& groups, const StepCounts& counts,
              const std::vector<std::size_t>& movers, Wide goal, std::vector<Wide>& ks) {
    const std::optional<Wide> nearest = counts.NearestSpanning(goal, StepsOf(ks));
    if (!nearest || groups.size() < 2) return false;
    Wide common = 0;  // of the differences of the weights
    for (const SpreadGroup& group : groups) {
        common = Gcd(common, Wide(group.weight()) - groups.front().weight());
    }
    const std::vector<std::size_t> pairers(
        movers.begin(),
        movers.begin() + static_cast<std::ptrdiff_t>(std::min(movers.size(), kPairers)));
    int tried = 0;
    for (int i = 0; i < kCountsLookedAt && tried < kCountsTried; ++i) {
        const Wide n = *nearest + (i % 2 == 0 ? -(i / 2) : (i + 1) / 2);
        if (!counts.Spans(n, goal) ||
            Mod(Add(goal, -Mul(groups.front().weight(), n)), common) != 0) {
            continue;
        }
        ++tried;
        std::vector<Wide> moved = ks;
        SetCount(groups, n, moved);
        Wide gap = Add(goal, -TotalOf(groups, moved));
        WideSwaps(groups, gap, moved);
        if (NarrowSwaps(groups, pairers, gap, moved)) {
            ks = moved;
            return true;
        }
    }
    return false;
}

}  // namespace tarvello::detail
