#include "spread/total_spread_counts.h"

#include <algorithm>
#include <numeric>

namespace tarvello::detail {
namespace {

// Looked at beyond the least n of the least gap, to tell whether one choice makes its total.
constexpr int kTiesLookedAt = 4;

}  // namespace

StepCounts::StepCounts(const std::vector<SpreadGroup>& groups) : order_(groups.size()) {
    for (const SpreadGroup& group : groups) {
        low_.push_back(group.Low());
        high_.push_back(group.High());
        weight_.push_back(group.weight());
        fewest_ = Add(fewest_, group.Low());
        most_ = Add(most_, group.High());
        base_ = Add(base_, Mul(group.weight(), group.Low()));
    }
    std::iota(order_.begin(), order_.end(), 0);
    const auto lighter = [&](std::size_t a, std::size_t b) { return weight_[a] < weight_[b]; };
    if (!std::is_sorted(order_.begin(), order_.end(), lighter)) {
        std::sort(order_.begin(), order_.end(), lighter);
    }
    roomSums_.assign(1, 0);
    addedSums_.assign(1, 0);
    for (const std::size_t g : order_) {
        roomSums_.push_back(roomSums_.back() + (high_[g] - low_[g]));
        addedSums_.push_back(Add(addedSums_.back(), Mul(high_[g] - low_[g], weight_[g])));
    }
}

std::size_t StepCounts::At(Wide extra) const {
    return static_cast<std::size_t>(std::upper_bound(roomSums_.begin(), roomSums_.end(), extra) -
                                    roomSums_.begin() - 1);
}

Wide StepCounts::Least(Wide n) const {
    const Wide extra = n - fewest_;
    const std::size_t j = At(extra);
    const Wide partial = j < order_.size() ? Mul(extra - roomSums_[j], weight_[order_[j]]) : 0;
    return Add(Add(base_, addedSums_[j]), partial);
}

std::vector<Wide> StepCounts::LeastKs(Wide n) const {
    const Wide extra = n - fewest_;
    const std::size_t j = At(extra);
    std::vector<Wide> ks = low_;
    for (std::size_t i = 0; i < j; ++i) ks[order_[i]] = high_[order_[i]];
    if (j < order_.size()) ks[order_[j]] += extra - roomSums_[j];
    return ks;
}

// The greatest of n steps leaves out, from every group at its greatest K, the steps the least of
// the other n leaves on the lightest groups.
Wide StepCounts::Greatest(Wide n) const {
    const Wide highest = Add(base_, addedSums_.back());
    return Add(highest, -Add(Least(fewest_ + most_ - n), -base_));
}

std::vector<Wide> StepCounts::GreatestKs(Wide n) const {
    std::vector<Wide> ks = LeastKs(fewest_ + most_ - n);
    for (std::size_t g = 0; g < ks.size(); ++g) ks[g] = high_[g] - (ks[g] - low_[g]);
    return ks;
}

Wide StepCounts::Gap(Wide n, const SpreadTarget& target) const {
    return std::max(Add(Mul(Least(n), target.denominator), -target.numerator),
                    Add(target.numerator, -Mul(Greatest(n), target.denominator)));
}

Wide StepCounts::LeastGap(Wide from, Wide to, const SpreadTarget& target) const {
    while (from < to) {
        const Wide middle = from + (to - from) / 2;
        if (Gap(middle + 1, target) >= Gap(middle, target)) {
            to = middle;
        } else {
            from = middle + 1;
        }
    }
    return from;
}

bool StepCounts::Spans(Wide n, Wide total) const {
    return n >= fewest_ && n <= most_ && Gap(n, {total, 1}) <= 0;
}

std::optional<Wide> StepCounts::NearestSpanning(Wide total, Wide from) const {
    const SpreadTarget target{total, 1};
    const Wide least = LeastGap(fewest_, most_, target);
    if (Gap(least, target) > 0) return std::nullopt;
    // The spanning n lie around `least`; the one nearest `from` is the first met going there.
    Wide near = from, far = least;
    while (near != far) {
        const Wide middle = near + (far - near) / 2;  // rounds towards `near`
        if (Gap(middle, target) <= 0) {
            far = middle;
        } else {
            near = middle + (far > near ? 1 : -1);
        }
    }
    return near;
}

std::optional<StepCounts::Outside> StepCounts::NearestOutside(const SpreadTarget& target) const {
    const Wide first = LeastGap(fewest_, most_, target);
    const Wide gap = Gap(first, target);
    if (gap <= 0) return std::nullopt;
    // Every n as near, each with the edge of its span that is that near: the lower total wins.
    Outside nearest;
    Wide total = 0;
    int making = 0;
    Wide n = first;
    for (int looked = 0; n <= most_ && looked < kTiesLookedAt && Gap(n, target) == gap; ++looked) {
        const bool below = Add(target.numerator, -Mul(Greatest(n), target.denominator)) == gap;
        const Wide edge = below ? Greatest(n) : Least(n);
        if (making == 0 || edge < total) {
            nearest.ks = below ? GreatestKs(n) : LeastKs(n);
            total = edge;
            making = 0;
        }
        making += edge == total ? 1 : 0;
        ++n;
    }
    nearest.only = making == 1 && (n > most_ || Gap(n, target) != gap);
    return nearest;
}

}  // namespace tarvello::detail
