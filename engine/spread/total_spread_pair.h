#pragma once
// Two groups' K worked out together for a total they must make exactly, a·x + b·y = r: with
// g = gcd(a, b), there are whole solutions only when g divides r, and then they lie on a line,
// x = x₀ + t·|b/g|, y = y₀ − t·(a/g)·sign(b), with x₀ from the inverse of a/g modulo |b/g| (the
// extended Euclidean algorithm). So whether the two make r within their windows takes a few
// divisions, and their cheapest choice that does is found on that line: the count of far prices
// changes at a few places only (SpreadGroup::SameFar), and between them the distance is convex
// in t. With every other group walked through, a meeting (total_spread_meet.h) so weighs every
// choice of the windows where the others are few enough, however wide these two are.

#include <optional>

#include "spread/total_spread_walk.h"

namespace tarvello::detail {

class PairSolver {
public:
    PairSolver(const KWindow& x, const KWindow& y);

    struct Choice {
        Wide x = 0, y = 0;
        Cost cost;
    };
    // The cheapest K of the two that make exactly r within their windows (of two as cheap, the
    // one of the least x), of at most `mostFar` far prices; nothing when none does.
    std::optional<Choice> Cheapest(Wide r, long long mostFar) const;

private:
    struct Line {
        Wide first = 0, last = 0;  // the t within both windows
        Wide x0 = 0, y0 = 0;       // at t = 0
    };
    std::optional<Line> LineFor(Wide r) const;
    Cost CostAt(const Line& line, Wide t) const;
    Wide DistanceAt(const Line& line, Wide t) const { return CostAt(line, t).distance; }

    KWindow x_, y_;
    Wide divisor_ = 1;  // gcd of the two weights
    Wide stride_ = 1;   // |b/g|: x moves by this per t
    Wide yStep_ = 0;    // y moves by this per t
    Wide inverse_ = 0;  // of a/g modulo stride_
};

}  // namespace tarvello::detail
