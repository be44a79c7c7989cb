// How long SpreadTotal takes on quotes of 100, 1,000 and 10,000 line items with quantities
// whole, 2.5, 18.5 and 0.333 and prices from 0.50 to 500.00: a new total above the one now,
// one below, and one no prices on the step reach (every quantity tripled, a cent off). Each
// repetition is a fresh quote; the times are medians and maxima, with how often the total was
// reached and the furthest any price came to lie from its share.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <variant>
#include <vector>

#include "engine/total_spread.h"

namespace {

using tarvello::Decimal;

const Decimal kCent(1, 2);

struct Case {
    const char* name;
    long long percent;  // the new total against the one now, in hundredths of a percent
    int tripled;
};

double Milliseconds(std::chrono::steady_clock::duration time) {
    return std::chrono::duration<double, std::milli>(time).count();
}

double Largest(const std::vector<tarvello::SpreadLine>& lines, const std::vector<Decimal>& prices,
               const Decimal& now, const Decimal& total) {
    double largest = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Decimal off = (prices[i] * now - lines[i].unitPrice * total).Abs();
        largest = std::max(largest, off.ToDouble() / (now * kCent).ToDouble());
    }
    return largest;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : 200;
    const Decimal quantities[] = {Decimal(25, 1), Decimal(185, 1), Decimal(333, 3)};
    const Case cases[] = {{"up", 10731, 1}, {"down", 9137, 1}, {"unreachable", 10000, 3}};
    std::printf("%7s %-12s %10s %10s %8s %9s\n", "items", "new total", "median ms", "max ms",
                "exact", "furthest");
    for (const std::size_t size : {100, 1000, 10000}) {
        for (const Case& c : cases) {
            std::mt19937 random(static_cast<unsigned>(size));
            std::vector<double> times;
            int exact = 0;
            double furthest = 0;
            for (int repetition = 0; repetition < repetitions; ++repetition) {
                std::vector<tarvello::SpreadLine> lines;
                Decimal now;
                for (std::size_t i = 0; i < size; ++i) {
                    const unsigned pick = random() % 8;
                    const Decimal quantity =
                        pick < 5 ? Decimal::Whole(1 + random() % 20) : quantities[pick - 5];
                    lines.push_back({Decimal::Times(c.tripled, quantity),
                                     Decimal::Times(50 + random() % 49951, kCent)});
                    now = now + lines.back().quantity * lines.back().unitPrice;
                }
                // Tripled quantities reach only totals of a multiple of 0.00003.
                long long cents = static_cast<long long>(
                    tarvello::FloorDivide(now * Decimal(c.percent, 4), kCent).quotient);
                if (c.tripled > 1 && cents % 3 == 0) ++cents;
                const Decimal newTotal = Decimal::Times(cents, kCent);
                const auto start = std::chrono::steady_clock::now();
                const auto result = tarvello::SpreadTotal(lines, newTotal);
                times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
                if (const auto* spread = std::get_if<tarvello::TotalSpread>(&result)) {
                    exact += spread->exact ? 1 : 0;
                    furthest =
                        std::max(furthest, Largest(lines, spread->unitPrices, now, newTotal));
                }
            }
            std::sort(times.begin(), times.end());
            std::printf("%7zu %-12s %10.2f %10.2f %4d/%-4d %8.2f\n", size, c.name,
                        times[times.size() / 2], times.back(), exact, repetitions, furthest);
        }
    }
    return 0;
}
