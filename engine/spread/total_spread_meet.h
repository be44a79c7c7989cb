#pragma once
// Choosing every group's K at once, each from a window of K, by the aims: the total nearest a
// target (of two as near, the lower), then the least cost. Every choice in the windows is
// weighed: either the windows are split in two halves, one listed and sorted, the other walked
// through and met with the listed sums nearest what it lacks; or the widest window's K is worked
// out from the total the others leave; or the two widest windows' K are worked out together for
// one total after another (total_spread_pair.h). So the answer is the best there is within the
// windows, and with every group's whole range as its window, the best there is.

#include <cstddef>
#include <optional>
#include <vector>

#include "spread/total_spread_walk.h"

namespace tarvello::detail {

// A total in the weights' unit as a fraction, denominator > 0.
struct SpreadTarget {
    Wide numerator = 0;
    Wide denominator = 1;

    // How far `total` lies from the target, times the denominator.
    Wide Off(Wide total) const { return Abs(Add(Mul(total, denominator), -numerator)); }
    // Whether total a is nearer the target than b, or as near and lower.
    bool Nearer(Wide a, Wide b) const { return Off(a) != Off(b) ? Off(a) < Off(b) : a < b; }
};

struct Meeting {
    Wide total = 0;        // Σ weight × K
    std::vector<Wide> ks;  // in the order of the windows
};

// How many choices a meeting may list (and keep in memory) and walk through, and how many a
// meeting in pairs may walk through over all the totals it tries: by default about 10 MB and a
// few tens of milliseconds.
struct MeetLimits {
    long long listed = 1 << 17;
    long long walked = 1 << 19;
    long long paired = 1 << 20;
};

// Whether Meet weighs every choice of `windows` within `limits` by listing or working out one
// window: then it always answers. A meeting in pairs may answer where this says no.
bool MeetFits(const std::vector<KWindow>& windows, const MeetLimits& limits);

// The best choice within the windows; nothing when they do not fit, in pairs either.
std::optional<Meeting> Meet(const std::vector<KWindow>& windows, const SpreadTarget& target,
                            const MeetLimits& limits);

}  // namespace tarvello::detail
