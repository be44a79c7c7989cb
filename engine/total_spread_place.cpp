#include "total_spread_place.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <queue>
#include <utility>

namespace tarvello::detail {
namespace {

// The bounds on the work of placing the prices within one radius. The exact search over the
// line items' options visits at most kExactWork pairs of partial sum and option (and keeps as
// many choices). When all of them would need more, the line items whose quantities have the
// most decimals are first placed per residue, within kResidueWork pairs of residue and option,
// and the others searched again as above; failing that, every price is moved greedily towards
// the total (at most kMaxGreedyMoves steps) and a few finish it exactly, each half of them
// listing at most kMeetChoices choices.
constexpr long long kExactWork = 1 << 20;
constexpr long long kResidueWork = 1 << 22;
constexpr long long kMeetChoices = 1 << 12;
constexpr long long kMaxGreedyMoves = 1 << 18;
constexpr long long kCostsKept = 1 << 12;  // options whose costs the exact search keeps

bool ByUnit(const Slot& a, const Slot& b) {
    return a.unit < b.unit;
}

// What the exact search over `slots` (in unit order) may visit at most: in each slot's layer,
// the sums both sides can still reach, on the common step of the slots after it, times its
// options.
Wide SearchWork(const std::vector<Slot>& slots) {
    Wide all = 0;
    for (const Slot& slot : slots) all = Add(all, Mul(slot.unit, slot.count));
    std::vector<Wide> after(slots.size() + 1, 0);
    for (std::size_t t = slots.size(); t-- > 0;) after[t] = Gcd(after[t + 1], slots[t].unit);
    Wide before = 0, work = 0;
    for (std::size_t t = 0; t < slots.size() && work <= kExactWork; ++t) {
        const Wide reach = before + Mul(slots[t].unit, slots[t].count);
        const Wide cells = after[t + 1] == 0 ? 1 : std::min(reach, all - reach) / after[t + 1] + 1;
        work += cells * std::min<Wide>(slots[t].count + 1, before / slots[t].unit + 1);
        before = reach;
    }
    return work;
}

}  // namespace

Placement::Placement(const std::vector<SpreadItem>& items, Wide denominator)
    : items_(items), denominator_(denominator) {}

bool Placement::Solve(std::vector<Slot> slots, Wide target, std::vector<long long>& prices) const {
    std::stable_sort(slots.begin(), slots.end(), ByUnit);
    if (SearchWork(slots) <= kExactWork) return Exact(slots, target, prices);

    // The quantities with the most decimals alone decide the total modulo the common divisor of
    // the others' weights (0.333 among whole numbers and halves, say): place them per residue,
    // then the others with their weights divided by it.
    const int finest =
        std::max_element(slots.begin(), slots.end(), [](const Slot& a, const Slot& b) {
            return a.decimals < b.decimals;
        })->decimals;
    std::vector<Slot> fine, coarse;
    Wide divisor = 0, work = 0;
    for (const Slot& slot : slots) {
        if (slot.decimals == finest) {
            fine.push_back(slot);
            work += slot.count + 1;
        } else {
            coarse.push_back(slot);
            divisor = Gcd(divisor, slot.unit);
        }
    }
    if (divisor > 1 && work * divisor <= kResidueWork) {
        const std::optional<Wide> placed = PlaceResidues(fine, divisor, target, prices);
        if (!placed) return false;
        for (Slot& slot : coarse) slot.unit = Narrow(slot.unit / divisor);
        return Solve(coarse, (target - *placed) / divisor, prices);
    }

    for (const Slot& slot : slots) {
        target = Add(target, -Mul(slot.unit, slot.Option(prices[slot.item])));
    }
    Steer(slots, target, prices);
    return Finish(slots, target, prices);
}

// Places `slots` so that what they add is congruent to `target` modulo `divisor`, at the least
// cost; what they add, or nothing. The line items that lose least by leaving the price nearest
// their share go through one state per residue first, enough to move once round the residues,
// the others keeping that price; only if those cannot reach the residue do all go.
std::optional<Wide> Placement::PlaceResidues(const std::vector<Slot>& slots, Wide divisor,
                                             Wide target, std::vector<long long>& prices) const {
    const std::vector<Slot> order = ByRegret(slots, prices);
    std::size_t taking = 0;
    for (Wide steps = 0; taking < order.size() && steps < divisor; ++taking) {
        steps += order[taking].count;
    }
    for (;; taking = order.size()) {
        Wide kept = 0;
        for (std::size_t k = taking; k < order.size(); ++k) {
            kept += Mul(order[k].unit, order[k].Option(prices[order[k].item]));
        }
        const std::vector<Slot> going(order.begin(), order.begin() + taking);
        if (const std::optional<Wide> sum = Residues(going, divisor, target - kept, prices)) {
            return *sum + kept;
        }
        if (taking == order.size()) return std::nullopt;
    }
}

// The residue search itself: every slot in `slots` is placed.
std::optional<Wide> Placement::Residues(const std::vector<Slot>& slots, Wide divisor, Wide target,
                                        std::vector<long long>& prices) const {
    const std::size_t residues = static_cast<std::size_t>(divisor);
    std::vector<Cost> previous(residues, kUnreached), current;
    std::vector<std::vector<std::uint32_t>> chosen(slots.size());
    previous[0] = 0;
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const Slot& slot = slots[k];
        const std::size_t stride = static_cast<std::size_t>(Mod(slot.unit, divisor));
        std::vector<Cost> costs;
        for (long long option = 0; option <= slot.count; ++option) {
            costs.push_back(CostOf(slot.item, slot.Price(option)));
        }
        current.assign(residues, kUnreached);
        chosen[k].assign(residues, 0);
        for (std::size_t from = 0; from < residues; ++from) {
            if (previous[from] == kUnreached) continue;
            std::size_t to = from;
            for (std::uint32_t option = 0; option <= slot.count; ++option) {
                if (previous[from] + costs[option] < current[to]) {
                    current[to] = previous[from] + costs[option];
                    chosen[k][to] = option;
                }
                to += stride;
                if (to >= residues) to -= residues;
            }
        }
        previous.swap(current);
    }
    std::size_t at = static_cast<std::size_t>(Mod(target, divisor));
    if (previous[at] == kUnreached) return std::nullopt;
    Wide sum = 0;
    for (std::size_t k = slots.size(); k-- > 0;) {
        const long long option = chosen[k][at];
        prices[slots[k].item] = slots[k].Price(option);
        sum += Mul(slots[k].unit, option);
        at = static_cast<std::size_t>(Mod(Wide(at) - Mul(slots[k].unit, option), divisor));
    }
    return sum;
}

// The slots in the order of what moving their price a step from where it is costs them, least
// first.
std::vector<Slot> Placement::ByRegret(const std::vector<Slot>& slots,
                                      const std::vector<long long>& prices) const {
    std::vector<std::pair<Cost, std::size_t>> regrets;
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const Slot& slot = slots[k];
        const long long option = slot.Option(prices[slot.item]);
        Cost regret = kUnreached;
        for (const long long other : {option - 1, option + 1}) {
            if (other >= 0 && other <= slot.count) {
                regret = std::min(regret, CostOf(slot.item, slot.Price(other)));
            }
        }
        regrets.push_back({regret - CostOf(slot.item, prices[slot.item]), k});
    }
    std::stable_sort(regrets.begin(), regrets.end());
    std::vector<Slot> order;
    for (const auto& regret : regrets) order.push_back(slots[regret.second]);
    return order;
}

// Moves a few prices a step either way so that the slots add `rest` more, at the least cost;
// false when no such moves are found. The cheapest movers, one of each weight first so that
// their sums lie dense, go in two halves; every choice of one half is met with the cheapest
// choice of the other that completes it.
bool Placement::Finish(const std::vector<Slot>& slots, Wide rest,
                       std::vector<long long>& prices) const {
    if (rest == 0) return true;
    struct Mover {
        Slot slot;
        std::vector<long long> steps;  // -1, 0, 1 as far as the slot's options allow
    };
    const std::vector<Slot> order = ByRegret(slots, prices);
    std::vector<bool> taken(order.size(), false);
    std::vector<Mover> movers;
    Wide choices = 1;
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<long long> units;
        for (std::size_t k = 0; k < order.size() && choices < kMeetChoices * kMeetChoices; ++k) {
            if (taken[k] || (pass == 0 &&
                             std::find(units.begin(), units.end(), order[k].unit) != units.end())) {
                continue;
            }
            taken[k] = true;
            units.push_back(order[k].unit);
            Mover mover{order[k], {}};
            const long long option = order[k].Option(prices[order[k].item]);
            for (const long long step : {0LL, -1LL, 1LL}) {
                if (option + step >= 0 && option + step <= order[k].count) {
                    mover.steps.push_back(step);
                }
            }
            choices *= static_cast<Wide>(mover.steps.size());
            movers.push_back(mover);
        }
    }
    // Every choice of every other mover from `first`: what it adds, its cost, and its number.
    struct Choice {
        Wide adds;
        Cost cost;
        long long code;
    };
    const auto list = [&](std::size_t first) {
        std::vector<Choice> all(1, Choice{0, 0, 0});
        for (std::size_t k = first, radix = 1; k < movers.size(); k += 2) {
            const Mover& mover = movers[k];
            const Cost now = CostOf(mover.slot.item, prices[mover.slot.item]);
            std::vector<Choice> next;
            for (std::size_t at = 0; at < mover.steps.size(); ++at) {
                const long long step = mover.steps[at];
                const Cost cost =
                    CostOf(mover.slot.item, prices[mover.slot.item] + mover.slot.way * step) - now;
                for (const Choice& choice : all) {
                    next.push_back({choice.adds + Wide(mover.slot.unit) * step, choice.cost + cost,
                                    choice.code + static_cast<long long>(at * radix)});
                }
            }
            all.swap(next);
            radix *= mover.steps.size();
        }
        return all;
    };
    const std::vector<Choice> left = list(0);
    std::vector<Choice> right = list(1);
    std::sort(right.begin(), right.end(), [](const Choice& a, const Choice& b) {
        return a.adds != b.adds ? a.adds < b.adds : a.cost < b.cost;
    });
    const Choice* bestLeft = nullptr;
    const Choice* bestRight = nullptr;
    for (const Choice& choice : left) {
        const auto match =
            std::lower_bound(right.begin(), right.end(), rest - choice.adds,
                             [](const Choice& a, Wide adds) { return a.adds < adds; });
        if (match == right.end() || match->adds != rest - choice.adds) continue;
        if (bestLeft == nullptr || choice.cost + match->cost < bestLeft->cost + bestRight->cost) {
            bestLeft = &choice;
            bestRight = &*match;
        }
    }
    if (bestLeft == nullptr) return false;
    for (std::size_t side = 0; side < 2; ++side) {
        long long code = (side == 0 ? bestLeft : bestRight)->code;
        for (std::size_t k = side; k < movers.size(); k += 2) {
            const long long radix = static_cast<long long>(movers[k].steps.size());
            prices[movers[k].slot.item] += movers[k].slot.way * movers[k].steps[code % radix];
            code /= radix;
        }
    }
    return true;
}

// Moves prices a step at a time, the one that stays nearest its share first, while that brings
// `rest` (what the slots must still add) nearer 0.
void Placement::Steer(const std::vector<Slot>& slots, Wide& rest,
                      std::vector<long long>& prices) const {
    using Move = std::pair<Wide, std::size_t>;
    long long moves = 0;
    for (int pass = 0; pass < 4 && rest != 0; ++pass) {
        const int way = rest > 0 ? 1 : -1;
        std::priority_queue<Move, std::vector<Move>, std::greater<Move>> queue;
        const auto offer = [&](std::size_t k) {
            const long long option = slots[k].Option(prices[slots[k].item]) + way;
            if (option < 0 || option > slots[k].count) return;
            queue.push({Distance(slots[k].item, slots[k].Price(option)), k});
        };
        for (std::size_t k = 0; k < slots.size(); ++k) offer(k);
        bool moved = false;
        while (!queue.empty() && way * rest > 0 && ++moves < kMaxGreedyMoves) {
            const std::size_t k = queue.top().second;
            queue.pop();
            if (slots[k].unit >= 2 * way * rest) continue;  // would land no nearer
            prices[slots[k].item] += slots[k].way * way;
            rest -= way * slots[k].unit;
            moved = true;
            offer(k);
        }
        if (!moved) break;
    }
}

// Places `slots` (in unit order) so that they add exactly `target`, at the least cost; false
// when no choice does. Layer t holds the sums of the first t slots that the others can still
// complete to target: from lo by the common step of the others, so a residue that cannot
// complete is never stored.
bool Placement::Exact(const std::vector<Slot>& slots, Wide target,
                      std::vector<long long>& prices) const {
    struct Layer {
        Wide lo;
        long long step;
        long long cells;
    };
    const std::size_t n = slots.size();
    Wide all = 0;
    for (const Slot& slot : slots) all = Add(all, Mul(slot.unit, slot.count));
    if (target < 0 || target > all) return false;
    std::vector<Wide> after(n + 1, 0);
    for (std::size_t t = n; t-- > 0;) after[t] = Gcd(after[t + 1], slots[t].unit);
    std::vector<Layer> layers(n + 1);
    Wide before = 0;
    for (std::size_t t = 0; t <= n; ++t) {
        if (t > 0) before += Mul(slots[t - 1].unit, slots[t - 1].count);
        if (after[t] == 0) {
            layers[t] = {target, 1, 1};
            continue;
        }
        const Wide lo = std::max<Wide>(0, target - (all - before)), hi = std::min(before, target);
        const Wide first = lo + Mod(target - lo, after[t]), last = hi - Mod(hi - target, after[t]);
        if (first > last || (last - first) / after[t] >= kExactWork) return false;
        layers[t] = {first, Narrow(after[t]), Narrow((last - first) / after[t] + 1)};
    }

    std::vector<Cost> previous(1, 0), current;
    std::vector<std::vector<std::uint32_t>> chosen(n);
    long long work = 0;
    for (std::size_t t = 1; t <= n; ++t) {
        const Slot& slot = slots[t - 1];
        const Layer &from = layers[t - 1], &to = layers[t];
        const long long jump = slot.unit / from.step, ratio = to.step / from.step;
        if (slot.count > UINT32_MAX - 1) return false;
        // Options' costs once, unless there are too many to keep (a radius of many steps).
        std::vector<Cost> costs;
        for (long long option = 0; option <= slot.count && slot.count < kCostsKept; ++option) {
            costs.push_back(CostOf(slot.item, slot.Price(option)));
        }
        current.assign(static_cast<std::size_t>(to.cells), kUnreached);
        chosen[t - 1].assign(current.size(), 0);
        long long top = Narrow((to.lo - from.lo) / from.step);
        for (long long cell = 0; cell < to.cells; ++cell, top += ratio) {
            if (top < 0) continue;
            const long long lowest = top < from.cells ? 0 : (top - from.cells + jump) / jump;
            const long long highest = std::min(slot.count, top / jump);
            work += std::max(0LL, highest - lowest + 1);
            if (work > 2 * kExactWork) return false;
            Cost& best = current[static_cast<std::size_t>(cell)];
            for (long long option = lowest; option <= highest; ++option) {
                const Cost reached = previous[static_cast<std::size_t>(top - option * jump)];
                if (reached == kUnreached) continue;
                const Cost cost =
                    reached + (costs.empty() ? CostOf(slot.item, slot.Price(option))
                                             : costs[static_cast<std::size_t>(option)]);
                if (cost < best) {
                    best = cost;
                    chosen[t - 1][static_cast<std::size_t>(cell)] =
                        static_cast<std::uint32_t>(option);
                }
            }
        }
        previous.swap(current);
    }
    if (previous[0] == kUnreached) return false;
    long long cell = 0;
    for (std::size_t t = n; t > 0; --t) {
        const Layer &from = layers[t - 1], &to = layers[t];
        const long long option = chosen[t - 1][static_cast<std::size_t>(cell)];
        prices[slots[t - 1].item] = slots[t - 1].Price(option);
        cell = Narrow((to.lo + Wide(cell) * to.step - from.lo) / from.step) -
               option * (slots[t - 1].unit / from.step);
    }
    return true;
}

}  // namespace tarvello::detail
