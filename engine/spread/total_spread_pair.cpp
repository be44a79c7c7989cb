#include "spread/total_spread_pair.h"

#include <algorithm>

namespace tarvello::detail {
namespace {

// u with a·u ≡ 1 modulo m, for a and m > 0 with no common divisor (the extended Euclidean
// algorithm, keeping only a's coefficient).
Wide InverseModulo(Wide a, Wide m) {
    Wide r0 = m, r1 = Mod(a, m), u0 = 0, u1 = 1;
    while (r1 != 0) {
        const Wide q = r0 / r1;
        const Wide r2 = r0 - q * r1;
        const Wide u2 = u0 - q * u1;
        r0 = r1;
        r1 = r2;
        u0 = u1;
        u1 = u2;
    }
    return Mod(u0, m);
}

}  // namespace

PairSolver::PairSolver(const KWindow& x, const KWindow& y) : x_(x), y_(y) {
    const Wide a = x.group->weight(), b = y.group->weight();
    divisor_ = Gcd(a, b);
    stride_ = Abs(b / divisor_);
    yStep_ = -(a / divisor_) * (b > 0 ? 1 : -1);
    inverse_ = stride_ == 1 ? 0 : InverseModulo(a / divisor_, stride_);
}

std::optional<PairSolver::Line> PairSolver::LineFor(Wide r) const {
    if (Mod(r, divisor_) != 0) return std::nullopt;
    const Wide residue = Mod(Mul(Mod(r / divisor_, stride_), inverse_), stride_);
    Line line;
    line.x0 = x_.first + Mod(residue - x_.first, stride_);
    line.y0 = Add(r, -Mul(x_.group->weight(), line.x0)) / y_.group->weight();
    const Wide yLeft = yStep_ > 0 ? y_.first - line.y0 : line.y0 - y_.last;
    const Wide yRight = yStep_ > 0 ? y_.last - line.y0 : line.y0 - y_.first;
    line.first = std::max<Wide>(0, CeilDiv(yLeft, Abs(yStep_)));
    line.last = std::min(FloorDiv(x_.last - line.x0, stride_), FloorDiv(yRight, Abs(yStep_)));
    if (line.first > line.last) return std::nullopt;
    return line;
}

Cost PairSolver::CostAt(const Line& line, Wide t) const {
    return x_.group->CostAt(line.x0 + t * stride_) + y_.group->CostAt(line.y0 + t * yStep_);
}

std::optional<PairSolver::Choice> PairSolver::Cheapest(Wide r, long long mostFar) const {
    const std::optional<Line> line = LineFor(r);
    if (!line) return std::nullopt;
    std::optional<Choice> best;
    for (Wide t = line->first; t <= line->last;) {
        // Up to `end`, neither group's count of far prices changes.
        const Wide x = line->x0 + t * stride_, y = line->y0 + t * yStep_;
        const Wide end = std::min({line->last, t + x_.group->SameFar(x, 1) / stride_,
                                   t + y_.group->SameFar(y, yStep_ > 0 ? 1 : -1) / Abs(yStep_)});
        if (CostAt(*line, t).far <= mostFar) {
            // The distance is convex in t: the least is at the first t that the next does not
            // undercut.
            Wide from = t, to = end;
            while (from < to) {
                const Wide middle = from + (to - from) / 2;
                if (DistanceAt(*line, middle + 1) >= DistanceAt(*line, middle)) {
                    to = middle;
                } else {
                    from = middle + 1;
                }
            }
            const Cost cost = CostAt(*line, from);
            if (!best || cost < best->cost) {
                best = Choice{line->x0 + from * stride_, line->y0 + from * yStep_, cost};
            }
        }
        t = end + 1;
    }
    return best;
}

}  // namespace tarvello::detail
