// A new total spread over the line items: exact where prices on the step can reach it, each
// price as near its share as the total allows, and a reason for every refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "engine/total_spread.h"

namespace tarvello::testing {
namespace {

Decimal D(double value) {
    return Decimal::FromDouble(value).value();
}

std::vector<SpreadLine> Lines(const std::vector<std::pair<double, double>>& pairs) {
    std::vector<SpreadLine> lines;
    for (const auto& [quantity, price] : pairs) lines.push_back({D(quantity), D(price)});
    return lines;
}

// A decimal with at most `scale` decimals as a whole number of 10^-scale.
long long Units(const Decimal& value, int scale) {
    return static_cast<long long>(value.coefficient() * PowerOfTen(scale - value.scale()));
}

Decimal TotalNow(const std::vector<SpreadLine>& lines) {
    Decimal sum;
    for (const SpreadLine& line : lines) sum = sum + line.quantity * line.unitPrice;
    return sum;
}

// The largest distance of a price from its share, in steps.
double LargestSteps(const std::vector<SpreadLine>& lines, const TotalSpread& spread,
                    const Decimal& total, const Decimal& step) {
    const Decimal now = TotalNow(lines);
    double largest = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Decimal off = (spread.unitPrices[i] * now - lines[i].unitPrice * total).Abs();
        largest = std::max(largest, off.ToDouble() / (now * step).ToDouble());
    }
    return largest;
}

TEST(TotalSpreadTest, ReachesTheTotalWithPricesNearTheirShares) {
    const struct {
        std::vector<std::pair<double, double>> lines;
        double total, step;
        std::vector<std::string> prices;
        std::string reached;
    } rows[] = {
        // Within one step nothing reaches 300: 10.70 is 1.43 steps from its share, the least.
        {{{1, 10}, {3, 20}, {7, 30}}, 300, 0.01, {"10.7", "21.44", "32.14"}, "300"},
        {{{1, 10}, {3, 20}, {7, 30}}, 250, 0.01, {"8.92", "17.85", "26.79"}, "250"},
        // 2.5 a + 18.5 b = 70 only with b a multiple of 0.05.
        {{{2.5, 4}, {18.5, 3}}, 70, 0.01, {"4.32", "3.2"}, "70"},
        {{{3, 9.99}}, 50, 0.01, {"16.67"}, "50.01"},  // 49.98 is further
        {{{2, 1}}, 3.01, 0.01, {"1.5"}, "3"},         // 3.02 as near: the lower
        {{{2, 5}, {2, -1}}, 10.01, 0.01, {"6.25", "-1.25"}, "10"},
        {{{4, 2.5}, {1, -1.25}}, 12, 0.25, {"3.5", "-2"}, "12"},
        // The same sum of distances either way: one price at a step, not one beyond it.
        {{{2, 21}, {2, 16}, {2, 18}, {2.5, -23}}, 40, 1, {"15", "12", "13", "-16"}, "40"},
        {{{1, 1}, {0, 3.5}, {1, 2}}, 6, 1, {"2", "3.5", "4"}, "6"},
        // Near the least total: 0.12 needs 3 a + 7 b = 12, which no a, b >= 1 make.
        {{{3, 0.01}, {7, 0.01}}, 0.12, 0.01, {"0.02", "0.01"}, "0.13"},
    };
    for (const auto& row : rows) {
        const auto result = SpreadTotal(Lines(row.lines), D(row.total), D(row.step));
        ASSERT_TRUE(std::holds_alternative<TotalSpread>(result)) << row.total;
        const TotalSpread& spread = std::get<TotalSpread>(result);
        std::vector<std::string> prices;
        for (const Decimal& price : spread.unitPrices) prices.push_back(price.ToString());
        EXPECT_EQ(prices, row.prices) << row.total;
        EXPECT_EQ(spread.reached.ToString(), row.reached);
        EXPECT_EQ(spread.exact, spread.reached == D(row.total));
    }
    // A thousand line items, with shares scattered and with shares all alike (then every line
    // item has its part in reaching the total). The quantities of 0.333 alone set the last
    // digits of the total: they may lie a few steps from their shares.
    const struct {
        bool alike;
        double steps;  // the furthest a price may lie from its share
    } quotes[] = {{false, 3}, {true, 1}};
    const double odd[] = {2.5, 18.5, 0.333};
    for (const auto& quote : quotes) {
        std::vector<SpreadLine> many;
        for (int i = 1; i <= 1000; ++i) {
            many.push_back({D(i % 8 < 5 ? i % 20 + 1 : odd[i % 8 - 5]),
                            Decimal::Times(quote.alike ? 100 : 100 + 37 * i, D(0.01))});
        }
        const Decimal cent = D(0.01);
        const Decimal total =
            Decimal::Times(FloorDivide(TotalNow(many) * D(1.004), cent).quotient, cent);
        const auto spread = std::get<TotalSpread>(SpreadTotal(many, total));
        EXPECT_TRUE(spread.exact) << quote.alike;
        EXPECT_LE(LargestSteps(many, spread, total, cent), quote.steps) << quote.alike;
    }
}

TEST(TotalSpreadTest, RefusesWithItsReason) {
    const struct {
        std::vector<std::pair<double, double>> lines;
        double total, step;
        SpreadRefusal refusal;
    } rows[] = {
        {{}, 10, 0.01, SpreadRefusal::NothingToChange},
        {{{1, 5}, {1, -5}}, 10, 0.01, SpreadRefusal::NothingToChange},
        {{{1, 5}}, 0, 0.01, SpreadRefusal::TotalNotPositive},
        {{{1, 5}}, 10, 0, SpreadRefusal::StepNotPositive},
        {{{1, 5}}, 10.001, 0.05, SpreadRefusal::TooManyDecimals},
        {{{1, 5}, {1, 5}}, 0.01, 0.01, SpreadRefusal::NeedsSignChange},
        {{{1, 5}, {1, -6}}, 10, 0.01, SpreadRefusal::NeedsSignChange},
        {{{1e-30, 1e19}}, 1e19, 0.01, SpreadRefusal::BeyondRange},
    };
    for (const auto& row : rows) {
        const auto result = SpreadTotal(Lines(row.lines), D(row.total), D(row.step));
        ASSERT_TRUE(std::holds_alternative<SpreadRefusal>(result)) << row.total;
        EXPECT_EQ(std::get<SpreadRefusal>(result), row.refusal) << row.total;
    }
}

// Small quotes against every choice within ten steps of the shares, which holds the best for
// quantities this small (these quotes need at most seven): no choice does better by the aims.
TEST(TotalSpreadTest, DoesAsWellAsAnExhaustiveSearch) {
    std::mt19937 random(20240611);
    const double quantities[] = {1, 2, 3, 7, 2.5, 0.5, 1.5};
    const double steps[] = {0.01, 0.05, 0.25, 1};
    constexpr int kWindow = 10;
    for (int round = 0; round < 150; ++round) {
        const Decimal step = D(steps[random() % 4]);
        std::vector<SpreadLine> lines;
        for (std::size_t n = 2 + random() % 3; lines.size() < n;) {
            const int sign = random() % 5 == 0 ? -1 : 1;
            lines.push_back({D(quantities[random() % 7]),
                             Decimal::Times(sign * static_cast<int>(4 + random() % 37), step)});
        }
        const Decimal now = TotalNow(lines);
        const double wanted = now.ToDouble() * (0.6 + (random() % 1000) / 1000.0);
        const Decimal total(static_cast<long long>(wanted * PowerOfTen(step.scale())),
                            step.scale());
        if (total.Sign() <= 0) continue;
        const auto result = SpreadTotal(lines, total, step);
        ASSERT_TRUE(std::holds_alternative<TotalSpread>(result)) << round;
        const TotalSpread& spread = std::get<TotalSpread>(result);

        // A price in whole units: what it adds to the total (scale 3) and how far it lies from
        // its share, times S (scale 7); prices added up into a grade by the aims in their order.
        using Price = std::pair<long long, long long>;
        const auto units = [&](std::size_t i, const Decimal& price) {
            return Price(Units(lines[i].quantity * price, 3),
                         Units((price * now - lines[i].unitPrice * total).Abs(), 7));
        };
        const long long target = Units(total, 3), oneStep = Units(now * step, 7);
        const auto add = [&](std::array<long long, 4> sums, const Price& price) {
            return std::array<long long, 4>{sums[0] + price.first, std::max(sums[1], price.second),
                                            sums[2] + (price.second > oneStep),
                                            sums[3] + price.second};
        };
        const auto grade = [&](const std::array<long long, 4>& sums) {
            return std::make_tuple(std::abs(sums[0] - target), sums[0], sums[1], sums[2], sums[3]);
        };
        std::vector<std::vector<Price>> choices(lines.size());
        std::array<long long, 4> mine{};
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const long long near = FloorDivide(lines[i].unitPrice * total, now * step).quotient;
            for (long long k = near - kWindow; k <= near + kWindow; ++k) {
                if (k != 0 && (k > 0) == (lines[i].unitPrice.Sign() > 0)) {
                    choices[i].push_back(units(i, Decimal::Times(k, step)));
                }
            }
            mine = add(mine, units(i, spread.unitPrices[i]));
            EXPECT_EQ(spread.unitPrices[i].Sign(), lines[i].unitPrice.Sign()) << round;
        }
        const auto found = grade(mine);
        auto best = found;
        std::vector<std::size_t> at(lines.size() - 1, 0);  // the last line item tries all its own
        for (bool more = true; more;) {
            std::array<long long, 4> sums{};
            for (std::size_t i = 0; i < at.size(); ++i) sums = add(sums, choices[i][at[i]]);
            for (const Price& last : choices.back()) best = std::min(best, grade(add(sums, last)));
            more = false;
            for (std::size_t i = 0; i < at.size() && !more; ++i) {
                more = ++at[i] < choices[i].size();
                if (!more) at[i] = 0;
            }
        }
        EXPECT_EQ(found, best) << round;
    }
}

}  // namespace
}  // namespace tarvello::testing
