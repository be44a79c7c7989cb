#include "spread/total_spread_meet.h"

#include <algorithm>
#include <tuple>

namespace tarvello::detail {
namespace {

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

}  // namespace

bool MeetFits(const std::vector<KWindow>& windows, const MeetLimits& limits) {
    return PlanFor(windows, limits).has_value();
}

std::optional<Meeting> Meet(const std::vector<KWindow>& windows, const SpreadTarget& target,
                            const MeetLimits& limits) {
    const std::optional<Plan> planned = PlanFor(windows, limits);
    if (!planned) return std::nullopt;
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
