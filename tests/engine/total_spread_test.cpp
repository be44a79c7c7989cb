// A new total spread over the line items: every price within a step or 1 % of its share, the
// total exact where such prices reach it (else the nearest they reach), the fewest prices more
// than a step from their shares, then the least distance; and a reason for every refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "engine/numbers/text_util.h"
#include "engine/pricing/new_total_plan.h"
#include "engine/spread/total_spread.h"
#include "engine/spread/total_spread_meet.h"

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

// Prices judged by the aims, worked out here from the rule alone: quantities of up to three
// decimals, prices and steps of up to two. A grade: how far the total lies from the new one, the
// total (the lower of two as near), the prices more than a step from their shares, the sum of the
// distances (times the total now).
class Judge {
public:
    using Grade = std::tuple<long long, long long, long long, long long>;

    Judge(const std::vector<SpreadLine>& lines, const Decimal& total, const Decimal& step)
        : lines_(lines), total_(total), step_(step), now_(TotalNow(lines)) {}

    bool Within(std::size_t i, const Decimal& price) const {
        const Decimal share = lines_[i].unitPrice * total_;  // times now
        return Decimal(100, 0) * Off(i, price) <=
               std::max(Decimal(100, 0) * step_ * now_, share.Abs());
    }

    Grade Of(const std::vector<Decimal>& prices) const {
        long long sum = 0, far = 0, distance = 0;
        for (std::size_t i = 0; i < prices.size(); ++i) Add(i, prices[i], sum, far, distance);
        return {std::abs(sum - Units(total_, 5)), sum, far, distance};
    }

    // The best grade of all prices within the bound, every one tried.
    Grade Best() const {
        std::vector<std::vector<Decimal>> choices(lines_.size());
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const Decimal share = lines_[i].unitPrice * total_;
            const long long near =
                static_cast<long long>(FloorDivide(share, now_ * step_).quotient);
            const long long room = std::abs(near) / 50 + 3;  // more than the bound
            for (long long k = near - room; k <= near + room; ++k) {
                const Decimal price = Decimal::Times(k, step_);
                if (price.Sign() == lines_[i].unitPrice.Sign() && Within(i, price)) {
                    choices[i].push_back(price);
                }
            }
        }
        std::vector<std::size_t> at(lines_.size(), 0);
        std::vector<Decimal> prices(lines_.size());
        Grade best = Of(Pick(choices, at, prices));
        for (std::size_t i = 0; i < at.size();) {
            if (++at[i] < choices[i].size()) {
                best = std::min(best, Of(Pick(choices, at, prices)));
                i = 0;
            } else {
                at[i++] = 0;
            }
        }
        return best;
    }

private:
    Decimal Off(std::size_t i, const Decimal& price) const {
        return (price * now_ - lines_[i].unitPrice * total_).Abs();
    }
    void Add(std::size_t i, const Decimal& price, long long& sum, long long& far,
             long long& distance) const {
        sum += Units(lines_[i].quantity * price, 5);
        far += Off(i, price) > step_ * now_ ? 1 : 0;
        distance += Units(Off(i, price), 7);
    }
    static const std::vector<Decimal>& Pick(const std::vector<std::vector<Decimal>>& choices,
                                            const std::vector<std::size_t>& at,
                                            std::vector<Decimal>& prices) {
        for (std::size_t i = 0; i < at.size(); ++i) prices[i] = choices[i][at[i]];
        return prices;
    }

    std::vector<SpreadLine> lines_;
    Decimal total_, step_, now_;
};

TEST(TotalSpreadTest, ReachesTheTotalWithPricesNearTheirShares) {
    const struct {
        std::vector<std::pair<double, double>> lines;
        double total, step;
        std::vector<std::string> prices;
        std::string reached;
    } rows[] = {
        // The prices once came to 432.05, 0.02, 0.11 and 0.05, called exact.
        {{{699, 51.13}, {886, 68.41}, {1601, 75.7}, {835, 68.52}},
         302238.53,
         0.01,
         {"56.25", "75.26", "83.17", "75.55"},
         "302238.53"},
        // Once 0.01 and 5,090,000,000.00. Only a step of 10,000.00 on the first moves the total
        // further: the nearest within 1 % of the shares misses by half a cent.
        {{{1000000, 5}, {0.001, 5}}, 5100000, 0.01, {"5.1", "5.05"}, "5100000.00505"},
        // Once two prices more than a step from their shares where one does.
        {{{2.5, 41.43}, {18.5, 34.4}, {3, 30.85}, {6.5, 8.32}},
         888.88,
         0.01,
         {"41.5", "34.49", "30.93", "8.35"},
         "888.88"},
        // Credits: the first price cannot go below a step, the second no further than 28 from
        // its share of -27.9, the third than a step from 7.12.
        {{{2.5, 1}, {0.333, -47}, {2.5, 12}}, 10, 1, {"1", "-28", "7"}, "10.676"},
        {{{1, 10}, {3, 20}, {7, 30}}, 300, 0.01, {"10.73", "21.43", "32.14"}, "300"},
        {{{1, 10}, {3, 20}, {7, 30}}, 250, 0.01, {"8.92", "17.85", "26.79"}, "250"},
        // 2.5 a + 18.5 b = 70 only with b a multiple of 0.05, and a is then beyond the bound.
        {{{2.5, 4}, {18.5, 3}}, 70, 0.01, {"4.25", "3.21"}, "70.01"},
        {{{3, 9.99}}, 50, 0.01, {"16.67"}, "50.01"},  // 49.98 is further
        {{{2, 1}}, 3.01, 0.01, {"1.5"}, "3"},         // 3.02 as near: the lower
        {{{2, 5}, {2, -1}}, 10.01, 0.01, {"6.25", "-1.25"}, "10"},
        {{{4, 2.5}, {1, -1.25}}, 12, 0.25, {"3.5", "-1.75"}, "12.25"},  // -2 is beyond
        {{{2, 21}, {2, 16}, {2, 18}, {2.5, -23}}, 40, 1, {"16", "12", "13", "-17"}, "39.5"},
        {{{1, 1}, {0, 3.5}, {1, 2}}, 6, 1, {"2", "3.5", "4"}, "6"},
        // Near the least total: 0.12 needs 3 a + 7 b = 12, which no a, b >= 1 make.
        {{{3, 0.01}, {7, 0.01}}, 0.12, 0.01, {"0.02", "0.01"}, "0.13"},
        // Ranges too wide to list: once 661.04, 601.82, 753.31 coming to 1678600.0001, unproved,
        // and four prices more than a step from their shares where three do.
        {{{539.89, 615.64}, {960.63, 560.67}, {987.09, 702.32}},
         1678600,
         0.01,
         {"660.79", "604.18", "751.15"},
         "1678600"},
        {{{7225.278, 167.9}, {8222.56, 235.46}, {8670.567, 452.99}, {9905.845, 485.39}},
         14262103.68,
         0.01,
         {"201.47", "285.21", "546.82", "577.44"},
         "14262103.68"},
        // Quantities alike: the totals come in clusters 20.97 apart, and 1.5 times the total now
        // lies between two; only these prices make the edge of the nearer (once unproved).
        {{{2097.003, 3.25},
          {2097.017, 4.8},
          {2097.029, 4.35},
          {2097.041, 3.6},
          {2097.058, 3.9},
          {2097.066, 4.15},
          {2097.078, 4.7},
          {2097.091, 3.05},
          {2097.104, 4.55},
          {2097.115, 4.45},
          {2097.132, 4.2},
          {2097.149, 3.95}},
         153977.68,
         0.01,
         {"4.83", "7.13", "6.46", "5.35", "5.8", "6.17", "7.09", "4.62", "6.89", "6.74", "6.36",
          "5.98"},
         "153967.22165"},
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
        EXPECT_TRUE(spread.nearestTotal && spread.nearestPrices) << row.total;
    }
}

// Quotes of a thousand line items of the shapes that defeated the search, each with its new
// prices known (every one exactly its share) and with a total only far moves reach.
TEST(TotalSpreadTest, ReachesTheTotalOnLongQuotes) {
    const double eight[] = {999953, 999959, 999961, 999979, 999983, 1000003, 1000033, 1000037};
    const auto quantity = [&](int shape, int i) {
        return shape == 0 ? D(eight[i % 8]) : D(i % 2 == 0 ? 0.001 : 1000000);
    };
    std::mt19937 random(20240611);
    for (int shape = 0; shape < 2; ++shape) {
        // New prices first, the prices now 0.8 of them: the shares are the new prices. The
        // last price of a quantity of 0.001 brings the total onto the cent.
        std::vector<SpreadLine> lines;
        std::vector<Decimal> prices;
        long long thousandths = 0;
        for (int i = 0; i < 1000; ++i) {
            long long cents = 50 + random() % 49951;
            if (shape == 1 && i == 998) cents = 1000 + (1000 - thousandths % 1000) % 1000;
            if (shape == 1 && i % 2 == 0) thousandths += cents;
            prices.push_back(Decimal(cents, 2));
            lines.push_back({quantity(shape, i), prices.back() * D(0.8)});
        }
        const Decimal total = TotalNow(lines) * D(1.25);
        const TotalSpread spread = std::get<TotalSpread>(SpreadTotal(lines, total));
        EXPECT_EQ(spread.unitPrices, prices) << shape;

        // 7.31 % more: the eight quantities reach it only with some groups far up, others down.
        const Decimal more =
            Decimal::Times(FloorDivide(TotalNow(lines) * D(1.0731), D(0.01)).quotient, D(0.01));
        const TotalSpread far = std::get<TotalSpread>(SpreadTotal(lines, more));
        EXPECT_EQ(far.exact, shape == 0) << far.reached.ToString();
        const Judge judge(lines, more, D(0.01));
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(judge.Within(i, far.unitPrices[i])) << shape << " " << i;
        }
    }
}

// Quantities alike, whose totals come in clusters one step of a price apart: 1,000 line items of
// 2097.000 to 2097.151 at 0.50 to 5.00, where 1.5 times the total now is reached where it lies in
// a cluster, and where it lies between two, reached at best at the edge of one, proved. Totals
// that prices within their bounds make: on 50 line items around 1,000,050 (new prices chosen up
// to 0.4 % from 1.0731 times the prices now) reached only by moving some prices up and others
// down, on four wide ones only by working two out together.
TEST(TotalSpreadTest, ReachesTheTotalOnQuantitiesAlikeOrWide) {
    std::mt19937 random(20240611);
    int between = 0;
    for (int quote = 0; quote < 3; ++quote) {
        std::vector<SpreadLine> alike;
        for (int i = 0; i < 1000; ++i) {
            alike.push_back(
                {Decimal(2097000 + random() % 152, 3), Decimal(50 + random() % 451, 2)});
        }
        const Decimal half =
            Decimal::Times(FloorDivide(TotalNow(alike) * D(1.5), D(0.01)).quotient, D(0.01));
        const TotalSpread spread = std::get<TotalSpread>(SpreadTotal(alike, half));
        EXPECT_TRUE(spread.nearestTotal && (spread.exact || spread.nearestPrices)) << quote;
        between += spread.exact ? 0 : 1;
    }
    EXPECT_GT(between, 0);

    for (int quote = 0; quote < 4; ++quote) {
        std::vector<SpreadLine> large;
        std::vector<Decimal> chosen;
        Decimal total;
        for (int i = 0; i < 50; ++i) {
            large.push_back(
                {Decimal(1000000 + random() % 101, 0), Decimal(50 + random() % 49951, 2)});
            const auto near = FloorDivide(large.back().unitPrice * D(1.0731), D(0.01)).quotient;
            const auto aside = near * static_cast<int>(random() % 9 - 4) / 1000;
            chosen.push_back(Decimal::Times(near + aside, D(0.01)));
            total = total + large.back().quantity * chosen.back();
        }
        const Judge judge(large, total, D(0.01));
        for (std::size_t i = 0; i < large.size(); ++i) ASSERT_TRUE(judge.Within(i, chosen[i]));
        const TotalSpread spread = std::get<TotalSpread>(SpreadTotal(large, total));
        EXPECT_TRUE(spread.exact) << quote << " " << spread.reached.ToString();
        for (std::size_t i = 0; i < large.size(); ++i) {
            EXPECT_TRUE(judge.Within(i, spread.unitPrices[i])) << quote << " " << i;
        }
    }

    // Four wide line items and totals that prices within their bounds make (bench/total-spread
    // found them), once missed by 0.00001.
    const struct {
        std::vector<std::pair<double, double>> lines;
        double total;
    } wide[] = {
        {{{1781.093, 756.37}, {1885.891, 492.9}, {505.893, 824.53}, {453.838, 449.14}}, 3119488.63},
        {{{384.158, 460.79}, {751.05, 488.12}, {702.297, 585.86}, {544.341, 545.32}}, 1345064.02},
        {{{1648.43, 848.68}, {1257.711, 774.02}, {1201.048, 859.96}, {752.601, 602.84}},
         4145832.77},
    };
    for (const auto& row : wide) {
        EXPECT_TRUE(std::get<TotalSpread>(SpreadTotal(Lines(row.lines), D(row.total))).exact)
            << row.total;
    }
}

TEST(TotalSpreadTest, ThePreviewSaysWhichTotalItReachesAndWhy) {
    TotalSpread spread =
        std::get<TotalSpread>(SpreadTotal(Lines({{1000000, 5}, {0.001, 5}}), D(5100000), D(0.01)));
    const std::string prices =
        "Unit prices in steps of 0.01, each within 1 % of its share of the "
        "new total (or one step, where that is more), ";
    EXPECT_EQ(Utf8Of(DescribeTotalReached(spread, D(5100000), D(0.01))),
              prices +
                  "cannot make 5100000: the nearest total they make is 5100000.00505 "
                  "(0.00505 more).");
    spread.nearestTotal = false;
    EXPECT_EQ(Utf8Of(DescribeTotalReached(spread, D(5100000.01), D(0.01))),
              prices +
                  "were not found to make 5100000.01: the nearest total found is "
                  "5100000.00505 (0.00495 less); a nearer one may exist.");
    spread.exact = true;
    spread.nearestPrices = false;
    spread.farFromShare = 2;
    EXPECT_EQ(Utf8Of(DescribeTotalReached(spread, D(5100000), D(0.01))),
              "2 unit prices lie more than one step from their shares of the new total (within "
              "1 %); fewer might do.");
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

// Quotes of one to six line items against every choice of prices within the bound: none does
// better by the aims, and the spread says it is proved so. Every other quote has whole
// quantities and a new total made of prices near a common change, often reachable.
TEST(TotalSpreadTest, DoesAsWellAsAnExhaustiveSearch) {
    std::mt19937 random(20240611);
    const double quantities[] = {1, 3, 7, 699, 1000000, 0.333, 2.5, 18.5, 0.001, 2097};
    const double steps[] = {0.01, 0.05, 0.25, 1};
    int proved = 0;
    for (int round = 0; round < 400; ++round) {
        const bool whole = round % 2 == 0;
        const Decimal step = D(steps[random() % 4]);
        const Decimal change(600 + random() % 1000, 3);
        std::vector<SpreadLine> lines;
        Decimal total;
        for (std::size_t n = 1 + random() % 6; lines.size() < n;) {
            const int sign = random() % 5 == 0 ? -1 : 1;
            const double quantity = round % 8 == 1 ? 2097 : quantities[random() % (whole ? 5 : 10)];
            // Shares of a few hundred steps: a few choices; two line items may have more.
            const int most = n > 4 ? 150 : n > 2 ? 400 : 4000;
            const double alike = 2097 + (random() % 152) / 1000.0;  // totals in clusters
            lines.push_back({D(quantity == 699    ? 699 + random() % 903
                               : quantity == 2097 ? alike
                                                  : quantity),
                             Decimal::Times(sign * static_cast<int>(4 + random() % most), step)});
            const auto near = FloorDivide(lines.back().unitPrice * change, step).quotient;
            // Two line items may lie far from a common change, where few prices of each make it.
            const int aside = static_cast<int>(random() % (n > 2 ? 3 : 25));
            total = total + lines.back().quantity * Decimal::Times(near + aside, step);
        }
        const Decimal now = TotalNow(lines);
        if (!whole) total = Decimal::Times(FloorDivide(now * change, step).quotient, step);
        if (now.Sign() <= 0 || total.Sign() <= 0) continue;
        const auto result = SpreadTotal(lines, total, step);
        if (const auto* refused = std::get_if<SpreadRefusal>(&result)) {
            EXPECT_EQ(*refused, SpreadRefusal::NeedsSignChange) << round;
            continue;
        }
        const TotalSpread& spread = std::get<TotalSpread>(result);
        const Judge judge(lines, total, step);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ASSERT_TRUE(judge.Within(i, spread.unitPrices[i])) << round << " " << i;
        }
        const Judge::Grade best = judge.Best();
        EXPECT_EQ(judge.Of(spread.unitPrices), best) << round;
        EXPECT_TRUE(spread.nearestTotal && spread.nearestPrices) << round;

        // The ways of long quotes, and of a few wide line items (every choice of all but two
        // walked through, the last two worked out): within the bound, and never claiming more
        // than is so.
        for (const detail::MeetLimits& limits : {detail::MeetLimits{4, 16}, {1, 16}, {1, 1}}) {
            const auto longWay = std::get<TotalSpread>(SpreadTotal(lines, total, step, limits));
            const Judge::Grade grade = judge.Of(longWay.unitPrices);
            EXPECT_EQ(static_cast<long long>(longWay.farFromShare), std::get<2>(grade)) << round;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                EXPECT_TRUE(judge.Within(i, longWay.unitPrices[i])) << round << " " << i;
            }
            if (longWay.nearestTotal) {
                EXPECT_EQ(std::get<1>(grade), std::get<1>(best)) << round;
            }
            if (longWay.nearestPrices) {
                EXPECT_EQ(grade, best) << round;
            }
            proved += longWay.nearestPrices ? 1 : 0;
        }
    }
    EXPECT_GT(proved, 0);  // and sometimes proving it
}

}  // namespace
}  // namespace tarvello::testing
