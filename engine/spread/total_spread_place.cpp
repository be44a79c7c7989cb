#include "spread/total_spread_place.h"

#include <algorithm>
#include <optional>
#include <queue>
#include <tuple>

#include "spread/total_spread_exchange.h"
#include "spread/total_spread_meet.h"

namespace tarvello::detail {
namespace {

// The finishing weighs the combinations of at most kFinishers groups, as many as fit with a step
// either way, or fewer with more (at most kMostRadius), within kFinishingLimits; in a pair, the
// two widest of kPairedFinishers groups with the others' choices walked through, at most
// kPairedWalk of them.
constexpr std::size_t kFinishers = 40;
constexpr std::size_t kPairedFinishers = 4;
constexpr long long kPairedWalk = 1 << 15;
constexpr MeetLimits kFinishingLimits{1 << 15, 1 << 15};
constexpr Wide kMostRadius = 1 << 20;

// Moves groups a run of steps at a time towards the goal, the cheapest for what they move the
// total first, never past the goal: what the groups still lack only shrinks. A step that sends
// a price far only when `far`.
void Steer(const std::vector<SpreadGroup>& groups, Wide goal, bool far, std::vector<Wide>& ks) {
    Wide gap = Add(goal, -TotalOf(groups, ks));
    if (gap == 0) return;
    using Move = std::tuple<long long, long double, std::size_t>;  // far, distance per weight
    std::priority_queue<Move, std::vector<Move>, std::greater<Move>> moves;
    const int side = gap > 0 ? 1 : -1;
    const auto way = [&](std::size_t g) { return groups[g].weight() > 0 ? side : -side; };
    const auto offer = [&](std::size_t g) {
        if (groups[g].EvenSteps(ks[g], way(g)) == 0) return;
        const Cost cost = groups[g].StepCost(ks[g], way(g));
        if (cost.far > 0 && !far) return;
        moves.emplace(cost.far,
                      static_cast<long double>(cost.distance) /
                          static_cast<long double>(Abs(groups[g].weight())),
                      g);
    };
    for (std::size_t g = 0; g < groups.size(); ++g) offer(g);
    while (gap != 0 && !moves.empty()) {
        const std::size_t g = std::get<2>(moves.top());
        moves.pop();
        const Wide weight = Abs(groups[g].weight());
        if (weight > Abs(gap)) continue;  // would overshoot, now and from now on
        const Wide steps = std::min(groups[g].EvenSteps(ks[g], way(g)), Abs(gap) / weight);
        ks[g] += way(g) * steps;
        gap -= side * weight * steps;
        offer(g);
    }
}

// What the groups not in `which` add to the total.
Wide Others(const std::vector<SpreadGroup>& groups, const std::vector<std::size_t>& which,
            const std::vector<Wide>& ks) {
    Wide sum = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (std::find(which.begin(), which.end(), g) == which.end()) {
            sum = Add(sum, Mul(groups[g].weight(), ks[g]));
        }
    }
    return sum;
}

// The groups' windows within `radius` of their K; with `near`, no further than keeps every price
// within a step of its share, where it is.
std::vector<KWindow> Around(const std::vector<SpreadGroup>& groups,
                            const std::vector<std::size_t>& which, const std::vector<Wide>& ks,
                            Wide radius, bool near) {
    std::vector<KWindow> windows;
    for (const std::size_t g : which) {
        const SpreadGroup& group = groups[g];
        Wide first = std::max(group.Low(), ks[g] - radius);
        Wide last = std::min(group.High(), ks[g] + radius);
        if (near) {
            first = std::max(first, std::min(ks[g], group.NearLow()));
            last = std::min(last, std::max(ks[g], group.NearHigh()));
        }
        windows.push_back({&group, first, last});
    }
    return windows;
}

// Weighs every combination of the first groups of `which` within a radius of their K (as many
// groups as fit a step either way, then the radius as wide as fits) and takes the best; true
// when that comes to the goal.
bool Weigh(const std::vector<SpreadGroup>& groups, std::vector<std::size_t> which, Wide goal,
           bool near, std::vector<Wide>& ks) {
    which.resize(std::min(which.size(), kFinishers));
    while (!which.empty() && !MeetFits(Around(groups, which, ks, 1, near), kFinishingLimits)) {
        which.pop_back();
    }
    if (which.empty()) return false;
    Wide radius = 1;
    while (radius < kMostRadius &&
           MeetFits(Around(groups, which, ks, 2 * radius, near), kFinishingLimits)) {
        radius *= 2;
    }
    const Wide rest = Add(goal, -Others(groups, which, ks));
    const Meeting meeting =
        Meet(Around(groups, which, ks, radius, near), {rest, 1}, kFinishingLimits).value();
    for (std::size_t j = 0; j < which.size(); ++j) ks[which[j]] = meeting.ks[j];
    return meeting.total == rest;
}

// The groups in the order of what one step either way costs them, least first.
std::vector<std::size_t> ByRegret(const std::vector<SpreadGroup>& groups,
                                  const std::vector<Wide>& ks) {
    std::vector<std::pair<Cost, std::size_t>> regrets;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        std::optional<Cost> regret;
        for (const int way : {-1, 1}) {
            if (ks[g] + way < groups[g].Low() || ks[g] + way > groups[g].High()) continue;
            const Cost cost = groups[g].StepCost(ks[g], way);
            if (!regret || cost < *regret) regret = cost;
        }
        if (regret) regrets.push_back({*regret, g});
    }
    std::stable_sort(regrets.begin(), regrets.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::size_t> order;
    for (const auto& regret : regrets) order.push_back(regret.second);
    return order;
}

// The same groups in the order of their weights, smallest first: their sums lie densest.
std::vector<std::size_t> ByWeight(std::vector<std::size_t> order,
                                  const std::vector<SpreadGroup>& groups) {
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return Abs(groups[a].weight()) < Abs(groups[b].weight());
    });
    return order;
}

// Works out the two of the first kPairedFinishers groups of `which` with the widest ranges
// together over their whole ranges (total_spread_pair.h), every choice of the others within a
// radius of their K walked through (as wide as fits kPairedWalk), for the goal alone: true when
// some choice makes it, and then the cheapest of them is taken.
bool WeighInPair(const std::vector<SpreadGroup>& groups, std::vector<std::size_t> which, Wide goal,
                 std::vector<Wide>& ks) {
    which.resize(std::min(which.size(), kPairedFinishers));
    if (which.size() < 2) return false;
    std::stable_sort(which.begin(), which.end(), [&](std::size_t a, std::size_t b) {
        return groups[a].High() - groups[a].Low() > groups[b].High() - groups[b].Low();
    });
    const auto around = [&](Wide radius) {
        std::vector<KWindow> windows = Around(groups, which, ks, radius, false);
        for (std::size_t j = 0; j < 2; ++j) {
            windows[j] = {&groups[which[j]], groups[which[j]].Low(), groups[which[j]].High()};
        }
        return windows;
    };
    std::vector<std::size_t> walked;
    for (std::size_t j = 2; j < which.size(); ++j) walked.push_back(j);
    Wide radius = 1;
    while (radius < kMostRadius &&
           Choices(around(2 * radius), walked, kPairedWalk) <= kPairedWalk) {
        radius *= 2;
    }
    const Wide rest = Add(goal, -Others(groups, which, ks));
    const std::optional<Meeting> met =
        Meet(around(radius), {rest, 1}, {1, kPairedWalk, kPairedWalk});
    if (!met || met->total != rest) return false;
    for (std::size_t j = 0; j < which.size(); ++j) ks[which[j]] = met->ks[j];
    return true;
}

// Finishes the total exactly where the ways above find it: prices within a step of their shares
// first, the cheapest groups then those of the smallest weights (their sums lie densest); then
// any prices within the bound; then by pairs of steps (total_spread_exchange.h); and `last`, once
// prices were steered far too, two groups worked out together over their whole ranges, which may
// send them far where a far step elsewhere would do. The cheapest groups are weighed again
// afterwards, for the cost.
bool Finish(const std::vector<SpreadGroup>& groups, const StepCounts& counts, Wide goal, bool last,
            std::vector<Wide>& ks) {
    const std::vector<std::size_t> cheapest = ByRegret(groups, ks);
    const std::vector<std::size_t> lightest = ByWeight(cheapest, groups);
    const bool done =
        Weigh(groups, cheapest, goal, true, ks) || Weigh(groups, lightest, goal, true, ks) ||
        Weigh(groups, cheapest, goal, false, ks) || Weigh(groups, lightest, goal, false, ks) ||
        Exchange(groups, counts, cheapest, goal, ks) ||
        (last && WeighInPair(groups, cheapest, goal, ks));
    if (done) Weigh(groups, ByRegret(groups, ks), goal, false, ks);
    return done;
}

}  // namespace

std::vector<Wide> Reach(const std::vector<SpreadGroup>& groups, const StepCounts& counts,
                        Wide goal) {
    std::vector<Wide> ks;
    for (const SpreadGroup& group : groups) ks.push_back(group.Best());
    // Prices within a step of their shares first; only when those cannot make the total, far.
    Steer(groups, goal, false, ks);
    if (Finish(groups, counts, goal, false, ks)) return ks;
    Steer(groups, goal, true, ks);
    Finish(groups, counts, goal, true, ks);
    return ks;
}

}  // namespace tarvello::detail
