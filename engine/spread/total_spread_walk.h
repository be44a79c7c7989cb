#pragma once
// Every choice of K in some windows of groups, one after the other in a fixed order (the first
// window's K turning fastest), with what it adds to the total and what it costs, kept up to date
// step by step: the walk behind a meeting (total_spread_meet.h).

#include <cstddef>
#include <vector>

#include "spread/total_spread_group.h"

namespace tarvello::detail {

struct KWindow {
    const SpreadGroup* group = nullptr;
    Wide first = 0, last = 0;  // first <= last
};

inline Wide Count(const KWindow& window) {
    return window.last - window.first + 1;
}

// The K of the window at which its group adds the least to the total, and the most: the one
// place that says which end is which (a credit's group adds the least at its greatest K).
inline Wide LeastK(const KWindow& window) {
    return window.group->weight() > 0 ? window.first : window.last;
}
inline Wide MostK(const KWindow& window) {
    return window.group->weight() > 0 ? window.last : window.first;
}

// The number of choices of the windows `which`, or more than `limit` once it passes it.
inline Wide Choices(const std::vector<KWindow>& windows, const std::vector<std::size_t>& which,
                    Wide limit) {
    Wide product = 1;
    for (const std::size_t i : which) {
        if (product > limit / Count(windows[i])) return limit + 1;
        product *= Count(windows[i]);
    }
    return product;
}

class Walk {
public:
    Walk(const std::vector<KWindow>& windows, const std::vector<std::size_t>& which)
        : windows_(windows), which_(which) {
        for (const std::size_t i : which_) {
            std::vector<Cost> costs;
            if (Count(windows_[i]) <= kKeptCosts) {
                for (Wide k = windows_[i].first; k <= windows_[i].last; ++k) {
                    costs.push_back(windows_[i].group->CostAt(k));
                }
            }
            costs_.push_back(std::move(costs));
        }
    }

    // Calls visit(sum, cost, code) for every choice; code counts the choices from 0.
    template <typename Visit>
    void Each(Visit visit) const {
        std::vector<Wide> digits(which_.size(), 0);
        Wide sum = 0;
        Cost cost;
        for (std::size_t j = 0; j < which_.size(); ++j) {
            sum = Add(sum, Mul(Weight(j), windows_[which_[j]].first));
            cost = cost + CostOf(j, 0);
        }
        for (long long code = 0;; ++code) {
            visit(sum, cost, code);
            std::size_t j = 0;
            for (; j < which_.size(); ++j) {
                if (digits[j] + 1 < Count(windows_[which_[j]])) {
                    ++digits[j];
                    sum = Add(sum, Weight(j));
                    cost = cost + (CostOf(j, digits[j]) - CostOf(j, digits[j] - 1));
                    break;
                }
                sum = Add(sum, -Mul(Weight(j), digits[j]));
                cost = cost - (CostOf(j, digits[j]) - CostOf(j, 0));
                digits[j] = 0;
            }
            if (j == which_.size()) return;
        }
    }

    // The K of choice number `code`, each at its window's place in `ks`.
    void Decode(long long code, std::vector<Wide>& ks) const {
        for (const std::size_t i : which_) {
            const long long count = static_cast<long long>(Count(windows_[i]));
            ks[i] = windows_[i].first + code % count;
            code /= count;
        }
    }

private:
    // Costs kept per window up to this many K; a wider window's are worked out as it turns.
    static constexpr Wide kKeptCosts = 1 << 16;

    Wide Weight(std::size_t j) const { return windows_[which_[j]].group->weight(); }
    Cost CostOf(std::size_t j, Wide digit) const {
        if (!costs_[j].empty()) return costs_[j][static_cast<std::size_t>(digit)];
        return windows_[which_[j]].group->CostAt(windows_[which_[j]].first + digit);
    }

    const std::vector<KWindow>& windows_;
    std::vector<std::size_t> which_;
    std::vector<std::vector<Cost>> costs_;
};

}  // namespace tarvello::detail
