#include "total_spread_search.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <map>

#include "total_spread_place.h"

namespace tarvello::detail {
namespace {

// The bounds on the search beyond placing prices at one radius (total_spread_place.cpp): the
// reachable totals are worked out per residue modulo the smallest weight while that weight is
// at most kMaxResidues, from the smallest weights up for kResidueSteps steps (the totals that
// finds are reachable, but one nearer might be missed); the radius doubles at most
// kMaxDoublings times.
constexpr long long kMaxResidues = 1 << 20;
constexpr long long kResidueSteps = 1 << 22;
constexpr int kMaxDoublings = 24;

class Spreader {
public:
    explicit Spreader(const SpreadProblem& problem);
    std::optional<std::vector<long long>> Run();

private:
    bool ChooseTotal();
    void ReachByResidues(Wide base);
    bool Place(Wide radius);
    std::vector<Wide> Radii(Wide from, Wide to) const;
    void Keep(const std::vector<long long>& prices);
    Wide Distance(std::size_t item, Wide price) const { return placement_.Distance(item, price); }
    Wide Nearest(std::size_t item) const {
        const Wide twice = Mul(2, denominator_);
        return std::max<Wide>(1, FloorDiv(Add(Mul(2, items_[item].share), denominator_), twice));
    }

    std::vector<SpreadItem> items_;
    Wide denominator_;
    Wide totalNumerator_;
    Wide totalDenominator_;
    Placement placement_;
    Wide total_ = 0;  // the total to reach, in (reduced) weight units
    std::vector<long long> best_;
    Wide bestRadius_ = 0;
    Cost bestCost_ = 0;
};

// Weights divided by their common divisor, so that every whole number is a total they might
// reach.
Spreader::Spreader(const SpreadProblem& problem)
    : items_(problem.items),
      denominator_(problem.denominator),
      totalNumerator_(problem.totalNumerator),
      totalDenominator_(problem.totalDenominator),
      placement_(items_, denominator_) {
    Wide divisor = 0;
    for (const SpreadItem& item : items_) divisor = Gcd(divisor, item.weight);
    for (SpreadItem& item : items_) item.weight = Narrow(item.weight / divisor);
    totalDenominator_ = Mul(totalDenominator_, divisor);
}

std::optional<std::vector<long long>> Spreader::Run() {
    if (!ChooseTotal()) return std::nullopt;
    Wide below = 0;  // every radius under it fails: some price cannot come nearer its share
    for (std::size_t i = 0; i < items_.size(); ++i) {
        below = std::max(below, Distance(i, Nearest(i)));
    }

    // Whole steps first, doubling, then halving what lies between; last the distances prices
    // can have within less than a step, one of which is the least radius.
    Wide steps = std::max<Wide>(1, CeilDiv(below, denominator_));
    for (int round = 0; round <= kMaxDoublings; ++round, steps = Mul(steps, 2)) {
        if (!best_.empty() && Mul(steps, denominator_) >= bestRadius_) break;
        if (Place(Mul(steps, denominator_))) break;
        below = Mul(steps, denominator_) + 1;
    }
    if (best_.empty()) {
        std::vector<long long> nearest(items_.size());
        for (std::size_t i = 0; i < items_.size(); ++i) nearest[i] = Narrow(Nearest(i));
        return nearest;
    }
    Wide low = CeilDiv(below, denominator_);
    while (low <= FloorDiv(bestRadius_ - 1, denominator_)) {
        const Wide middle = low + (FloorDiv(bestRadius_ - 1, denominator_) - low) / 2;
        if (!Place(Mul(middle, denominator_))) {
            below = Mul(middle, denominator_) + 1;
            low = middle + 1;
        }
    }
    const std::vector<Wide> radii = Radii(below, bestRadius_ - 1);
    std::size_t first = 0, last = radii.size();
    while (first < last) {
        const std::size_t middle = first + (last - first) / 2;
        if (Place(radii[middle])) {
            last = middle;
        } else {
            first = middle + 1;
        }
    }
    return best_;
}

// Decides total_: the reachable total nearest the new one, the lower of two as near. False when
// the new total lies below every total the prices can reach keeping their signs.
bool Spreader::ChooseTotal() {
    Wide base = 0;
    bool credits = false;
    long long smallest = LLONG_MAX;
    for (const SpreadItem& item : items_) {
        base = Add(base, item.weight);
        credits = credits || item.weight < 0;
        smallest = std::min(smallest, item.weight);
    }
    if (!credits && totalNumerator_ < Mul(base, totalDenominator_)) return false;
    if (!credits && smallest <= kMaxResidues) {
        ReachByResidues(base);
        return true;
    }
    // With credits every whole number is reachable; beyond kMaxResidues the nearest is taken as
    // reachable and the search finds out.
    const Wide low = FloorDiv(totalNumerator_, totalDenominator_);
    const bool up = 2 * (totalNumerator_ - low * totalDenominator_) > totalDenominator_;
    total_ = std::max(low + (up ? 1 : 0), credits ? Wide(1) : base);
    return true;
}

// Every total the prices can reach is base + a sum of weights. The least such sum in each
// residue class modulo the smallest weight (every larger one in the class follows by adding
// that weight) gives the reachable total nearest the new one, and one set of prices reaching
// it: the answer of last resort, should the search find nothing better within its bounds.
void Spreader::ReachByResidues(Wide base) {
    std::size_t smallestItem = 0;
    std::map<long long, std::size_t> itemOfWeight;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].weight < items_[smallestItem].weight) smallestItem = i;
        itemOfWeight.emplace(items_[i].weight, i);
    }
    const long long modulus = items_[smallestItem].weight;
    std::vector<long long> least(static_cast<std::size_t>(modulus), LLONG_MAX);
    std::vector<std::size_t> via(least.size(), smallestItem);
    least[0] = 0;
    long long work = 0;
    for (const auto& [weight, item] : itemOfWeight) {
        const long long stride = weight % modulus;
        if (stride == 0) continue;
        if ((work += 2 * modulus) > kResidueSteps) break;  // the smaller weights already spoke
        const long long cycles = static_cast<long long>(Gcd(modulus, stride));
        const auto next = [&](long long at) {
            return at + stride < modulus ? at + stride : at + stride - modulus;
        };
        // Each cycle of residues (start, start + weight, ...) is relaxed once round, from its
        // least.
        for (long long start = 0; start < cycles; ++start) {
            long long low = start;
            for (long long at = next(start); at != start; at = next(at)) {
                if (least[at] < least[low]) low = at;
            }
            if (least[low] == LLONG_MAX) continue;
            for (long long at = low, k = 0; k < modulus / cycles; ++k, at = next(at)) {
                long long sum = 0;
                if (!__builtin_add_overflow(least[at], weight, &sum) && sum < least[next(at)]) {
                    least[next(at)] = sum;
                    via[next(at)] = item;
                }
            }
        }
    }
    const Wide over = Add(totalNumerator_, -Mul(base, totalDenominator_));
    const Wide down = FloorDiv(over, totalDenominator_), up = CeilDiv(over, totalDenominator_);
    Wide below = -1, above = kWideMax;
    for (long long residue = 0; residue < modulus; ++residue) {
        if (least[residue] == LLONG_MAX) continue;
        const Wide under = down - Mod(down - residue, modulus);
        if (under >= least[residue]) below = std::max(below, under);
        above = std::min(above, std::max<Wide>(up + Mod(residue - up, modulus), least[residue]));
    }
    const bool lower = below >= 0 && Add(over, -Mul(below, totalDenominator_)) <=
                                         Add(Mul(above, totalDenominator_), -over);
    const Wide sum = lower ? below : above;
    total_ = Add(base, sum);

    std::vector<long long> prices(items_.size(), 1);
    const long long residue = Narrow(Mod(sum, modulus));
    prices[smallestItem] += Narrow((sum - least[residue]) / modulus);
    for (long long at = residue; at != 0; at = Narrow(Mod(at - items_[via[at]].weight, modulus))) {
        ++prices[via[at]];
    }
    Keep(prices);
}

// Looks for prices within `radius` of their shares that reach total_; keeps them when they
// beat the best so far. False when it finds none within its bounds.
bool Spreader::Place(Wide radius) {
    std::vector<long long> prices(items_.size());
    std::vector<Slot> slots;
    Wide target = total_;  // what the slots' options must add
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const SpreadItem& item = items_[i];
        const Wide low = std::max<Wide>(1, CeilDiv(item.share - radius, denominator_));
        const Wide high = FloorDiv(item.share + radius, denominator_);
        if (low > high) return false;
        const bool up = item.weight > 0;
        const long long first = Narrow(up ? low : high);
        target = Add(target, -Mul(item.weight, first));
        prices[i] = Narrow(std::clamp(Nearest(i), low, high));
        if (high > low) {
            slots.push_back({i, up ? item.weight : -item.weight, Narrow(high - low), first,
                             up ? 1 : -1, item.decimals});
        }
    }
    if (!placement_.Solve(slots, target, prices)) return false;
    Keep(prices);
    return true;
}

// Every distance from `from` to `to` that some price on the step can have from its share.
std::vector<Wide> Spreader::Radii(Wide from, Wide to) const {
    std::vector<Wide> radii;
    for (const SpreadItem& item : items_) {
        const Wide share = item.share;
        for (Wide price = std::max<Wide>(1, CeilDiv(share - to, denominator_));
             price <= FloorDiv(share - from, denominator_); ++price) {
            radii.push_back(share - price * denominator_);
        }
        for (Wide price = std::max<Wide>(1, CeilDiv(share + from, denominator_));
             price <= FloorDiv(share + to, denominator_); ++price) {
            radii.push_back(price * denominator_ - share);
        }
    }
    std::sort(radii.begin(), radii.end());
    radii.erase(std::unique(radii.begin(), radii.end()), radii.end());
    return radii;
}

void Spreader::Keep(const std::vector<long long>& prices) {
    Wide radius = 0;
    Cost cost = 0;
    for (std::size_t i = 0; i < prices.size(); ++i) {
        const Wide distance = Distance(i, prices[i]);
        radius = std::max(radius, distance);
        cost += PriceCost(distance, denominator_);
    }
    if (best_.empty() || radius < bestRadius_ || (radius == bestRadius_ && cost < bestCost_)) {
        best_ = prices;
        bestRadius_ = radius;
        bestCost_ = cost;
    }
}

}  // namespace

std::optional<std::vector<long long>> SearchSpread(const SpreadProblem& problem) {
    return Spreader(problem).Run();
}

}  // namespace tarvello::detail
