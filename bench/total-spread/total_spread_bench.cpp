// The spreading of a new total over quotes of 1,000 and 10,000 line items of the shapes that
// used to defeat it, and over a few wide line items and quantities alike (bench_quotes.h): for
// each, a total known to be reachable (built from prices near a fixed change) and a plain rise
// (7.31 %, or 50 %). Per row, over fresh quotes: the time (median
// and most), the most heap held during the spread, how many reached the total exactly (and the
// largest miss otherwise), how many totals and prices were proved the nearest, the most prices
// more than a step from their shares, and the largest distance of a price from its share in
// steps and in % of the share. Not a test: run it by hand, total_spread_bench [repetitions].
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <variant>
#include <vector>

#include "bench_quotes.h"
#include "heap_peak.h"

namespace {

using tarvello::Decimal;

const Decimal kCent(1, 2);

struct Row {
    std::vector<double> times;
    std::size_t heap = 0;
    int runs = 0, exact = 0, refused = 0, nearestTotal = 0, nearestPrices = 0;
    Decimal miss;
    long long far = 0;
    double steps = 0, percent = 0;
    bool outOfBound = false;
};

void Measure(const std::vector<tarvello::SpreadLine>& lines, const Decimal& total, Row& row) {
    bench::StartHeapPeak();
    const auto start = std::chrono::steady_clock::now();
    const auto result = tarvello::SpreadTotal(lines, total, kCent);
    row.times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
    row.heap = std::max(row.heap, bench::HeapPeak());
    ++row.runs;
    const auto* spread = std::get_if<tarvello::TotalSpread>(&result);
    if (spread == nullptr) {
        ++row.refused;
        return;
    }
    row.exact += spread->exact ? 1 : 0;
    row.nearestTotal += spread->nearestTotal ? 1 : 0;
    row.nearestPrices += spread->nearestPrices ? 1 : 0;
    row.miss = std::max(row.miss, (spread->reached - total).Abs());
    const Decimal now = bench::TotalNow(lines);
    long long far = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Decimal share = lines[i].unitPrice * total;  // times now
        const Decimal off = (spread->unitPrices[i] * now - share).Abs();
        far += off > kCent * now ? 1 : 0;
        row.steps = std::max(row.steps, off.ToDouble() / (kCent * now).ToDouble());
        row.percent = std::max(row.percent, 100 * off.ToDouble() / share.Abs().ToDouble());
        if (!bench::WithinBound(lines[i], spread->unitPrices[i], now, total, kCent)) {
            row.outOfBound = true;
        }
    }
    row.far = std::max(row.far, far);
}

void Print(std::size_t size, bench::Shape shape, const char* total, Row& row) {
    std::sort(row.times.begin(), row.times.end());
    std::printf("%6zu %-12s %-9s %8.1f %8.1f %6.1f %3d/%-3d %8s %3d %3d %5lld %7.2f %6.3f%s\n",
                size, bench::NameOf(shape), total, row.times[row.times.size() / 2],
                row.times.back(), row.heap / 1048576.0, row.exact, row.runs,
                row.miss.ToString().c_str(), row.nearestTotal, row.nearestPrices, row.far,
                row.steps, row.percent,
                row.refused > 0  ? "  REFUSED"
                : row.outOfBound ? "  OUT OF BOUND"
                                 : "");
}

// A row of the bench: quotes of `size` line items of a shape, `turns` of them per repetition, with
// a new total known to be reachable (prices near their own × rise) and the total now × rise.
struct Case {
    std::size_t size;
    bench::Shape shape;
    Decimal rise;
    const char* named;
    int turns;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    const Decimal usual(10731, 4);
    for (const std::size_t size : {1000, 10000}) {
        for (int shape = 0; shape <= static_cast<int>(bench::Shape::Credits); ++shape) {
            cases.push_back({size, static_cast<bench::Shape>(shape), usual, "+7.31 %", 1});
        }
    }
    // The shapes that were slow or short: a few wide line items, quantities alike.
    cases.push_back({3, bench::Shape::Wide, usual, "+7.31 %", 20});
    cases.push_back({4, bench::Shape::Wide, usual, "+7.31 %", 20});
    cases.push_back({1000, bench::Shape::Alike, Decimal(15, 1), "+50 %", 1});
    cases.push_back({50, bench::Shape::NearMillion, usual, "+7.31 %", 4});
    return cases;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : 5;
    std::printf("%6s %-12s %-9s %8s %8s %6s %7s %8s %3s %3s %5s %7s %6s\n", "items", "quantities",
                "total", "med ms", "max ms", "MB", "exact", "miss", "n.t", "n.p", "far", "steps",
                "%");
    for (const Case& row : Cases()) {
        std::mt19937 random(static_cast<unsigned>(row.size) + static_cast<unsigned>(row.shape));
        Row known, rise;
        int unknown = 0;
        for (int repetition = 0; repetition < repetitions * row.turns; ++repetition) {
            const auto lines = bench::BuildQuote(row.shape, row.size, random);
            if (const auto total = bench::ReachableTotal(lines, row.rise, kCent)) {
                Measure(lines, *total, known);
            } else {
                ++unknown;
            }
            const Decimal now = bench::TotalNow(lines);
            const auto cents = tarvello::FloorDivide(now * row.rise, kCent).quotient;
            Measure(lines, Decimal::Times(cents, kCent), rise);
        }
        if (known.runs > 0) Print(row.size, row.shape, "reachable", known);
        Print(row.size, row.shape, row.named, rise);
        if (unknown > 0) {
            std::printf("%6s (%d quotes without a total known to be reachable)\n", "", unknown);
        }
    }
    return 0;
}
