#include "spread/total_spread_residues.h"

#include <cstdint>
#include <deque>

namespace tarvello::detail {
namespace {

// The residues listed at most: 2^21 of them take 2 MB and a few milliseconds per group.
constexpr Wide kMostResidues = 1 << 21;

}  // namespace

std::optional<std::vector<Wide>> ResidueMoves(const std::vector<SpreadGroup>& groups,
                                              const std::vector<std::size_t>& which,
                                              std::size_t pivot, const std::vector<Wide>& ks,
                                              Wide gap) {
    const Wide modulus = Abs(groups[pivot].weight());
    if (modulus > kMostResidues || which.size() > 126) return std::nullopt;
    // A move is a step of one group of `which`, up (even) or down (odd); each residue keeps the
    // move that first reached it, 0 for none yet.
    std::vector<std::uint8_t> reachedBy(static_cast<std::size_t>(modulus), 0);
    std::vector<long long> shifts;
    for (const std::size_t g : which) {
        shifts.push_back(static_cast<long long>(Mod(groups[g].weight(), modulus)));
        shifts.push_back(static_cast<long long>(Mod(-groups[g].weight(), modulus)));
    }
    const long long wanted = static_cast<long long>(Mod(gap, modulus));
    const long long size = static_cast<long long>(modulus);
    std::deque<long long> queue{0};
    reachedBy[0] = 255;  // the start
    while (!queue.empty() && reachedBy[static_cast<std::size_t>(wanted)] == 0) {
        const long long at = queue.front();
        queue.pop_front();
        for (std::size_t move = 0; move < shifts.size(); ++move) {
            long long next = at + shifts[move];
            if (next >= size) next -= size;
            std::uint8_t& by = reachedBy[static_cast<std::size_t>(next)];
            if (by != 0) continue;
            by = static_cast<std::uint8_t>(move + 1);
            queue.push_back(next);
        }
    }
    if (reachedBy[static_cast<std::size_t>(wanted)] == 0) return std::nullopt;

    std::vector<Wide> moves(which.size() + 1, 0);
    Wide moved = 0;
    for (long long at = wanted; at != 0;) {
        const std::size_t move = reachedBy[static_cast<std::size_t>(at)] - 1u;
        const int way = move % 2 == 0 ? 1 : -1;
        moves[move / 2] += way;
        moved = Add(moved, way * Wide(groups[which[move / 2]].weight()));
        at -= shifts[move];
        if (at < 0) at += size;
    }
    // The pivot makes up the rest, a whole number of its weight by now.
    moves.back() = Add(gap, -moved) / groups[pivot].weight();
    for (std::size_t j = 0; j <= which.size(); ++j) {
        const SpreadGroup& group = groups[j < which.size() ? which[j] : pivot];
        const Wide k = ks[j < which.size() ? which[j] : pivot] + moves[j];
        if (k < group.Low() || k > group.High()) return std::nullopt;
    }
    return moves;
}

}  // namespace tarvello::detail
