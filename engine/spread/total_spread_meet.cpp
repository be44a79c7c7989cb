#include "spread/total_spread_meet.h"

#include <algorithm>
#include <climits>
#include <tuple>

#include "spread/total_spread_pair.h"

namespace tarvello::detail {
namespace {

// A meeting in pairs tries at most this many totals: where the totals of the windows lie sparser
// than that around the target, listing them (the other ways of a meeting) is the way.
constexpr int kMostTotals = 64;

// Which windows are listed, which walked through, and which one's K is worked out.
struct Plan {
    std::vector<std::size_t> listed, walked;
    std::optional<std::size_t> worked;
};

std::optional<Plan> PlanFor(const std::vector<KWindow>& windows, const MeetLimits& limits) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < windows.size(); ++i) order.push_back(i);
    if (order.empty()) return Plan{};
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return Count(windows[a]) > Count(windows[b]);
    });
    Plan worked{{}, std::vector<std::size_t>(order.begin() + 1, order.end()), order.front()};
    if (Choices(windows, worked.walked, limits.walked) <= limits.walked) return worked;

    // The widest windows into the listed half while it holds them, the others walked.
    Plan halves;
    Wide listed = 1, walked = 1;
    for (const std::size_t i : order) {
        const Wide count = Count(windows[i]);
        if (listed <= limits.listed / count) {
            listed *= count;
            halves.listed.push_back(i);
        } else if (walked <= limits.walked / count) {
            walked *= count;
            halves.walked.push_back(i);
        } else {
            return std::nullopt;
        }
    }
    return halves;
}

// The listed half: for every sum its cheapest choice (of two as cheap, the one listed first),
// sorted by sum.
struct Listed {
    std::vector<Wide> sums;
    std::vector<Cost> costs;
    std::vector<long long> codes;
};

Listed List(const Walk& walk) {
    std::vector<std::tuple<Wide, Cost, long long>> all;
    walk.Each(
        [&](Wide sum, const Cost& cost, long long code) { all.emplace_back(sum, cost, code); });
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
        if (std::get<0>(a) != std::get<0>(b)) return std::get<0>(a) < std::get<0>(b);
        if (!(std::get<1>(a) == std::get<1>(b))) return std::get<1>(a) < std::get<1>(b);
        return std::get<2>(a) < std::get<2>(b);
    });
    Listed listed;
    for (const auto& [sum, cost, code] : all) {
        if (!listed.sums.empty() && listed.sums.back() == sum) continue;
        listed.sums.push_back(sum);
        listed.costs.push_back(cost);
        listed.codes.push_back(code);
    }
    return listed;
}

// The best choice met so far, by the aims; the first met of two equal.
struct Choice {
    Wide total = 0;
    Cost cost;
    long long walked = 0, listed = 0;  // the choice's numbers in the two halves
    Wide worked = 0;                   // the K worked out
    bool found = false;
    Wide off = 0;  // |total - target| times the target's denominator

    void Offer(const SpreadTarget& target, const Choice& other) {
        const Wide otherOff = target.Off(other.total);
        if (found && !(otherOff < off || (otherOff == off && other.total < total) ||
                       (other.total == total && other.cost < cost))) {
            return;
        }
        *this = other;
        found = true;
        off = otherOff;
    }
};

// The best choice within the windows, with the two widest windows worked out as a pair and
// every choice of the others walked through, for one whole total after another from the nearest
// the target (of two as near, the lower): the first that some choice makes is the nearest, and
// of its choices the cheapest (of two as cheap, the one walked first) is taken. Nothing when the
// others have more choices than limits.walked, or the totals tried would take more than
// limits.paired choices in all, or are more than kMostTotals.
std::optional<Meeting> MeetInPair(const std::vector<KWindow>& windows, const SpreadTarget& target,
                                  const MeetLimits& limits) {
    if (windows.size() < 2) return std::nullopt;
    // The two widest windows (of two as wide, the first), and the others in their order.
    std::size_t xi = 0, yi = 1;
    if (Count(windows[yi]) > Count(windows[xi])) std::swap(xi, yi);
    for (std::size_t i = 2; i < windows.size(); ++i) {
        if (Count(windows[i]) > Count(windows[xi])) {
            yi = xi;
            xi = i;
        } else if (Count(windows[i]) > Count(windows[yi])) {
            yi = i;
        }
    }
    std::vector<std::size_t> others;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (i != xi && i != yi) others.push_back(i);
    }
    const Wide choices = Choices(windows, others, limits.walked);
    if (choices > limits.walked) return std::nullopt;

    Wide least = 0, most = 0;
    for (const KWindow& window : windows) {
        least = Add(least, Mul(window.group->weight(), LeastK(window)));
        most = Add(most, Mul(window.group->weight(), MostK(window)));
    }
    const Walk walk(windows, others);
    const PairSolver pair(windows[xi], windows[yi]);
    Wide walked = 0;
    // The whole totals the windows make at most and at least, below and above the target, each
    // side from the nearest out.
    const Wide floor = FloorDiv(target.numerator, target.denominator);
    Wide below = std::min(floor, most), above = std::max(floor + 1, least);
    for (int tried = 0; below >= least || above <= most; ++tried) {
        const bool down = above > most || (below >= least && target.Nearer(below, above));
        const Wide total = down ? below-- : above++;
        if (tried == kMostTotals || (walked += choices) > limits.paired) return std::nullopt;
        std::optional<Cost> best;
        long long code = 0;
        PairSolver::Choice paired;
        walk.Each([&](Wide sum, const Cost& cost, long long at) {
            const long long mostFar = best ? best->far - cost.far : LLONG_MAX;
            if (mostFar < 0) return;
            const auto choice = pair.Cheapest(Add(total, -sum), mostFar);
            if (choice && (!best || cost + choice->cost < *best)) {
                best = cost + choice->cost;
                code = at;
                paired = *choice;
            }
        });
        if (!best) continue;
        Meeting meeting{total, std::vector<Wide>(windows.size(), 0)};
        walk.Decode(code, meeting.ks);
        meeting.ks[xi] = paired.x;
        meeting.ks[yi] = paired.y;
        return meeting;
    }
    return std::nullopt;
}

}  // namespace

bool MeetFits(const std::vector<KWindow>& windows, const MeetLimits& limits) {
    return PlanFor(windows, limits).has_value();
}

std::optional<Meeting> Meet(const std::vector<KWindow>& windows, const SpreadTarget& target,
                            const MeetLimits& limits) {
    const std::optional<Plan> planned = PlanFor(windows, limits);
    if (!planned) return MeetInPair(windows, target, limits);
    const Plan& plan = *planned;
    const Walk walked(windows, plan.walked);
    const Walk listedWalk(windows, plan.listed);
    Choice best;
    if (plan.worked) {
        const KWindow& window = windows[*plan.worked];
        const SpreadGroup& group = *window.group;
        walked.Each([&](Wide sum, const Cost& cost, long long code) {
            // The K nearest what the others leave, on either side, within the window.
            Wide numerator = Add(target.numerator, -Mul(sum, target.denominator));
            Wide denominator = Mul(target.denominator, group.weight());
            if (denominator < 0) {
                numerator = -numerator;
                denominator = -denominator;
            }
            const Wide below = FloorDiv(numerator, denominator);
            const Wide low = std::clamp(below, window.first, window.last);
            const Wide high = std::clamp(below + 1, window.first, window.last);
            for (const Wide k : {low, high}) {
                best.Offer(target,
                           {Add(sum, Mul(group.weight(), k)), cost + group.CostAt(k), code, 0, k});
                if (high == low) break;
            }
        });
    } else {
        const Listed listed = List(listedWalk);
        walked.Each([&](Wide sum, const Cost& cost, long long code) {
            // The listed sums on either side of what this choice lacks.
            const Wide lacking =
                CeilDiv(Add(target.numerator, -Mul(sum, target.denominator)), target.denominator);
            const std::size_t above = static_cast<std::size_t>(
                std::lower_bound(listed.sums.begin(), listed.sums.end(), lacking) -
                listed.sums.begin());
            for (std::size_t at = above > 0 ? above - 1 : 0; at <= above && at < listed.sums.size();
                 ++at) {
                best.Offer(target, {Add(sum, listed.sums[at]), cost + listed.costs[at], code,
                                    listed.codes[at], 0});
            }
        });
    }

    Meeting meeting;
    meeting.total = best.total;
    meeting.ks.assign(windows.size(), 0);
    walked.Decode(best.walked, meeting.ks);
    listedWalk.Decode(best.listed, meeting.ks);
    if (plan.worked) meeting.ks[*plan.worked] = best.worked;
    return meeting;
}

}  // namespace tarvello::detail
