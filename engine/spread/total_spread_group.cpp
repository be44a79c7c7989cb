#include "spread/total_spread_group.h"

#include <algorithm>

namespace tarvello::detail {
namespace {

// The members with room beyond their near prices (room(m) > 0), most room first, the earlier
// line item first of two with as much; and the room of the first j of them.
template <typename Room>
void ByRoom(std::size_t count, Room room, std::vector<std::size_t>& order,
            std::vector<Wide>& sums) {
    for (std::size_t m = 0; m < count; ++m) {
        if (room(m) > 0) order.push_back(m);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return room(a) > room(b); });
    sums.assign(1, 0);
    for (const std::size_t m : order) sums.push_back(sums.back() + room(m));
}

}  // namespace

StepRange RangeOf(Wide share, Wide denominator) {
    const Wide nearLow = std::max<Wide>(1, CeilDiv(Add(share, -denominator), denominator));
    const Wide nearHigh = FloorDiv(Add(share, denominator), denominator);
    Wide low = nearLow, high = nearHigh;
    const Wide hundred = Mul(100, denominator);
    if (share >= hundred) {
        low = CeilDiv(Mul(99, share), hundred);
        high = FloorDiv(Mul(101, share), hundred);
    }
    return {Narrow(low), Narrow(nearLow), Narrow(nearHigh), Narrow(high)};
}

SpreadGroup::SpreadGroup(long long weight, std::vector<Member> members, Wide denominator)
    : weight_(weight), denominator_(denominator), members_(std::move(members)) {
    for (std::size_t m = 0; m < members_.size(); ++m) {
        const Member& member = members_[m];
        low_ += member.range.low;
        high_ += member.range.high;
        nearLow_ += member.range.nearLow;
        nearHigh_ += member.range.nearHigh;
        nearLowDistance_ = Add(nearLowDistance_, Distance(member, member.range.nearLow));
        for (long long price = member.range.nearLow; price < member.range.nearHigh; ++price) {
            moves_.push_back({Distance(member, price + 1) - Distance(member, price), m});
        }
    }
    // Distances are convex in the price, so a member's own moves stay in order.
    std::stable_sort(moves_.begin(), moves_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    moveSums_.assign(1, 0);
    for (const auto& move : moves_) moveSums_.push_back(Add(moveSums_.back(), move.first));
    nearHighDistance_ = Add(nearLowDistance_, moveSums_.back());
    best_ = nearLow_;
    for (const auto& move : moves_) best_ += move.first < 0 ? 1 : 0;
    ByRoom(
        members_.size(),
        [this](std::size_t m) { return members_[m].range.high - members_[m].range.nearHigh; },
        upOrder_, upRoom_);
    ByRoom(
        members_.size(),
        [this](std::size_t m) { return members_[m].range.nearLow - members_[m].range.low; },
        downOrder_, downRoom_);
}

long long SpreadGroup::FewestFar(const std::vector<Wide>& room, Wide beyond) {
    return static_cast<long long>(std::lower_bound(room.begin(), room.end(), beyond) -
                                  room.begin());
}

Cost SpreadGroup::CostAt(Wide k) const {
    if (k < nearLow_) {
        return {FewestFar(downRoom_, nearLow_ - k),
                Add(nearLowDistance_, Mul(nearLow_ - k, denominator_))};
    }
    if (k > nearHigh_) {
        return {FewestFar(upRoom_, k - nearHigh_),
                Add(nearHighDistance_, Mul(k - nearHigh_, denominator_))};
    }
    return {0, Add(nearLowDistance_, moveSums_[static_cast<std::size_t>(k - nearLow_)])};
}

std::optional<std::pair<Wide, Wide>> SpreadGroup::Within(const Cost& budget) const {
    if (budget < CostAt(best_)) return std::nullopt;
    Wide from = low_, to = best_;  // the least k in [from, to] within the budget
    while (from < to) {
        const Wide middle = from + (to - from) / 2;
        if (CostAt(middle) <= budget) {
            to = middle;
        } else {
            from = middle + 1;
        }
    }
    const Wide first = from;
    from = best_;
    to = high_;
    while (from < to) {
        const Wide middle = from + (to - from + 1) / 2;
        if (CostAt(middle) <= budget) {
            from = middle;
        } else {
            to = middle - 1;
        }
    }
    return std::make_pair(first, from);
}

Wide SpreadGroup::EvenSteps(Wide k, int way) const {
    if (way > 0 && k >= nearHigh_ && k < high_) {
        const Wide beyond = k - nearHigh_;
        const Wide room = upRoom_[static_cast<std::size_t>(FewestFar(upRoom_, beyond))];
        return beyond < room ? room - beyond : 1;
    }
    if (way < 0 && k <= nearLow_ && k > low_) {
        const Wide beyond = nearLow_ - k;
        const Wide room = downRoom_[static_cast<std::size_t>(FewestFar(downRoom_, beyond))];
        return beyond < room ? room - beyond : 1;
    }
    return (way > 0 ? k < high_ : k > low_) ? 1 : 0;
}

Wide SpreadGroup::SameFar(Wide k, int way) const {
    const Wide left = way > 0 ? high_ - k : k - low_;
    if (k >= nearLow_ && k <= nearHigh_)
        return std::min(left, way > 0 ? nearHigh_ - k : k - nearLow_);
    // Beyond the near prices, `beyond` steps need the first j members of `room` far, as long as
    // room[j - 1] < beyond <= room[j].
    const bool above = k > nearHigh_;
    const std::vector<Wide>& room = above ? upRoom_ : downRoom_;
    const Wide beyond = above ? k - nearHigh_ : nearLow_ - k;
    const std::size_t j = static_cast<std::size_t>(FewestFar(room, beyond));
    const bool away = (way > 0) == above;
    return std::min(left, away ? room[j] - beyond : beyond - room[j - 1] - 1);
}

void SpreadGroup::Place(Wide k, std::vector<long long>& steps) const {
    const bool above = k > nearHigh_;
    for (const Member& member : members_) {
        steps[member.item] = above ? member.range.nearHigh : member.range.nearLow;
    }
    if (above) {
        Spill(upOrder_, k - nearHigh_, 1, steps);
    } else if (k < nearLow_) {
        Spill(downOrder_, nearLow_ - k, -1, steps);
    } else {
        for (std::size_t j = 0; j < static_cast<std::size_t>(k - nearLow_); ++j) {
            ++steps[members_[moves_[j].second].item];
        }
    }
}

// Moves the members of `order` beyond their near prices, each as far as its room allows, until
// they have gone `beyond` steps between them.
void SpreadGroup::Spill(const std::vector<std::size_t>& order, Wide beyond, int way,
                        std::vector<long long>& steps) const {
    for (std::size_t j = 0; j < order.size() && beyond > 0; ++j) {
        const Member& member = members_[order[j]];
        const long long room = way > 0 ? member.range.high - member.range.nearHigh
                                       : member.range.nearLow - member.range.low;
        const long long taken = static_cast<long long>(std::min<Wide>(room, beyond));
        steps[member.item] += way * taken;
        beyond -= taken;
    }
}

}  // namespace tarvello::detail
