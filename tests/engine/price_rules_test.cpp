// Price rules: the rounding of one price in exact decimal, its guards and words, the rules as
// typed, and the file that keeps them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "engine/numbers/text_util.h"
#include "engine/pricing/price_rules.h"
#include "engine/pricing/price_rules_form.h"

namespace tarvello {
namespace {

using Kind = RuleOutcome::Kind;
constexpr auto N = RuleDirection::Nearest, U = RuleDirection::Up, Dn = RuleDirection::Down;
constexpr double kNone = -1;

Decimal D(double value) {
    return Decimal::FromDouble(value).value();
}

PriceBand Band(double step, double ending = kNone, RuleDirection direction = N, double from = 0) {
    return {D(from), D(step), ending == kNone ? std::nullopt : std::optional(D(ending)), direction};
}

PriceRules Rules(std::vector<PriceBand> bands, double percent = kNone, bool neverToZero = true) {
    return {bands, neverToZero, percent == kNone ? std::nullopt : std::optional(D(percent))};
}

TEST(PriceRulesTest, EachPriceGoesToItsBandsCandidateInExactDecimal) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const char* const kLeft = "not a price these rules can round: left";
    const double kInfinity = std::numeric_limits<double>::infinity();
    const PriceRules byAmount = Rules({Band(0.05), Band(1, 0.99, N, 100)});
    const struct {
        PriceRules rules;
        double price, expected;
        Kind kind;
        const char* why;
    } rows[] = {
        {Rules({Band(0.05)}), 12.34, 12.35, Kind::Rounded, ""},
        {Rules({Band(0.05)}), 12.325, 12.35, Kind::Rounded, ""},
        {Rules({Band(0.05)}), -12.325, -12.35, Kind::Rounded, ""},
        {Rules({Band(0.01)}), 2.675, 2.68, Kind::Rounded, ""},
        {Rules({Band(0.01)}), 1.005, 1.01, Kind::Rounded, ""},
        {Rules({Band(1, 0.99)}), 12.34, 11.99, Kind::Rounded, ""},
        {Rules({Band(1, 0.99)}), 12.60, 12.99, Kind::Rounded, ""},
        {Rules({Band(1, 0.99)}), -12.34, -11.99, Kind::Rounded, ""},
        {Rules({Band(10, 9, U)}), 101, 109, Kind::Rounded, ""},
        {Rules({Band(10, 9, U)}), 109, 109, Kind::Unchanged, "already on a step"},
        {Rules({Band(1, kNone, U)}), -12.34, -13, Kind::Rounded, ""},
        {Rules({Band(1, kNone, Dn)}), 12.99, 12, Kind::Rounded, ""},
        {Rules({Band(0.05, kNone, U)}), 0, 0, Kind::LeftAtZero, "a price of 0: left"},
        {Rules({Band(0.3)}), 1.0, 0.9, Kind::Rounded, ""},
        {Rules({Band(0.3)}), 1.05, 1.2, Kind::Rounded, ""},
        {Rules({Band(0.25, kNone, U)}), 3.01, 3.25, Kind::Rounded, ""},
        {Rules({Band(1, 0.95)}), 7.5, 7.95, Kind::Rounded, ""},
        {Rules({Band(0.05)}), 999999999.99, 1e9, Kind::Rounded, ""},
        {Rules({Band(0.05, kNone, Dn)}), 999999999.99, 999999999.95, Kind::Rounded, ""},
        {Rules({Band(0.1)}), 0.1 + 0.2, 0.3, Kind::Rounded, ""},
        {Rules({Band(0.03)}), 1e15 + 0.125, 1e15 + 0.125, Kind::Unchanged, "already on a step"},
        {byAmount, 99.99, 99.95, Kind::Rounded, ""},
        {byAmount, 100.2, 99.95, Kind::Rounded, ""},
        {Rules({Band(1, 0.99)}, kNone, false), 0.3, 0.99, Kind::LiftedFromZero,
         "would be -0.01: lifted to 0.99"},
        {Rules({Band(10, 9)}, kNone, false), 3, 9, Kind::LiftedFromZero,
         "would be -1: lifted to 9"},
        {byAmount, -150.4, -149.99, Kind::Rounded, ""},
        {Rules({Band(1, 0.99)}), 0.40, 0.99, Kind::LiftedFromZero,
         "would be -0.01: lifted to 0.99"},
        {Rules({Band(1, 0.99)}), -0.4, -0.99, Kind::LiftedFromZero,
         "would be 0.01: lifted to -0.99"},
        {Rules({Band(1, kNone, Dn)}), 0.4, 1, Kind::LiftedFromZero, "would be 0: lifted to 1"},
        {Rules({Band(1, kNone, Dn)}, kNone, false), 0.4, 0, Kind::Rounded, ""},
        {Rules({Band(0.5, 0.45, U)}, 10), 4.5, 4.95, Kind::Rounded, ""},
        {Rules({Band(0.5, 0.45, U)}, 9.99), 4.5, 4.5, Kind::LeftTooFar, "changes by 10 %: left"},
        {Rules({Band(10)}, 20), 14, 14, Kind::LeftTooFar, "changes by 28.58 %: left"},
        {Rules({Band(1, kNone, Dn)}, 120), 0.4, 0.4, Kind::LeftTooFar, "changes by 150 %: left"},
        {Rules({Band(0.05)}), nan, nan, Kind::LeftUnreadable, kLeft},
        {Rules({Band(0.05)}), -kInfinity, -kInfinity, Kind::LeftUnreadable, kLeft},
        {Rules({Band(0.05)}), 1e20, 1e20, Kind::LeftUnreadable, kLeft},
        {Rules({Band(1e-30)}), 9e19, 9e19, Kind::LeftUnreadable, kLeft},
    };
    for (const auto& row : rows) {
        const RuleOutcome outcome = ApplyPriceRules(row.rules, row.price);
        EXPECT_EQ(outcome.kind, row.kind) << row.price;
        EXPECT_TRUE(outcome.newPrice == row.expected ||
                    (std::isnan(row.expected) && std::isnan(outcome.newPrice)))
            << row.price << " became " << outcome.newPrice;
        EXPECT_EQ(Utf8Of(DescribeRuleOutcome(outcome, {})), row.why) << row.price;
    }
}

// The reference works on decimal strings scaled to ten-thousandths in a 128-bit integer: it
// checks that a result is a candidate and that no candidate lies nearer on the allowed side.
TEST(PriceRulesTest, RandomPricesAgreeWithAWholeNumberReference) {
    using Whole = __int128;
    const auto ten = [](long long n) { return PowerOfTen(static_cast<int>(n)); };
    std::mt19937_64 random(20260301);
    const auto below = [&random](Whole limit) {
        return std::uniform_int_distribution<long long>(0,
                                                        static_cast<long long>(limit) - 1)(random);
    };
    const auto scaled = [](double value) {
        std::string digits(64, '\0');
        digits.resize(std::snprintf(digits.data(), digits.size(), "%.4f", value));
        return Whole(std::stoll(digits.erase(digits.find('.'), 1)));
    };
    const auto text = [](Whole value) { return std::to_string(static_cast<long long>(value)); };
    for (int i = 0; i < 20000; ++i) {
        const Whole amount = 1 + below(ten(1 + below(13)));
        const Whole price = below(2) ? -amount : amount;
        const Whole step = (1 + below(ten(1 + below(5)))) * ten(below(5));
        const Whole ending = below(3) ? 0 : below(step);
        const RuleDirection direction = static_cast<RuleDirection>(below(3));
        const PriceRules rules =
            Rules({{Decimal(), Decimal(step, 4), Decimal(ending, 4), direction}}, kNone, false);
        const double asRead = std::strtod((text(price) + "e-4").c_str(), nullptr);
        const Whole written = scaled(ApplyPriceRules(rules, asRead).newPrice);
        const Whole result = price < 0 ? -written : written;
        const Whole gap = result - amount;
        const bool keptItsSign = result > amount && result < step;  // none below on its side of 0
        const bool nearestOnItsSide = direction == U    ? gap >= 0 && gap < step
                                      : direction == Dn ? gap <= 0 && -gap < step
                                                        : 2 * gap <= step && 2 * gap > -step;
        ASSERT_TRUE((nearestOnItsSide || keptItsSign) && result >= 0 &&
                    (result - ending) % step == 0)
            << text(price) << " to " << text(step) << "n+" << text(ending) << " "
            << Utf8Of(NameOf(direction)) << ": " << text(result);
    }
}

// Random bands, some narrower than a step: a result lies in a band whose candidate it is, so the
// rules applied to their own result leave it.
TEST(PriceRulesTest, RulesAppliedToTheirOwnResultChangeNothing) {
    std::mt19937_64 random(20260302);
    const auto below = [&random](long long n) { return static_cast<long long>(random() % n); };
    for (int set = 0; set < 3000; ++set) {
        PriceRules rules = Rules({}, kNone, below(2));
        for (long long at = 0, n = 1 + below(5); n-- > 0; at += 1 + below(below(2) ? 99 : 1e5)) {
            const long long step = (1 + below(99)) * PowerOfTen(static_cast<int>(below(4)));
            rules.bands.push_back(
                Band(step / 1e2, below(step) / 1e2, RuleDirection(below(3)), at / 1e2));
        }
        for (int i = 0; i < 20; ++i) {
            const double once = ApplyPriceRules(rules, (below(2e7) - 1e7) / 1e2).newPrice;
            ASSERT_EQ(ApplyPriceRules(rules, once).newPrice, once) << "set " << set;
        }
    }
}

TEST(PriceRulesTest, TheExampleOfABandIsInsideItAndOffItsCandidates) {
    const NumberFormat comma{u","};
    const PriceRules rules = Rules(
        {Band(0.05), Band(1, 0.99, N, 10), Band(10, 9, U, 10.5), Band(0.01, kNone, Dn, 1000)});
    for (std::size_t band = 0; band < rules.bands.size(); ++band) {
        const std::string example = Utf8Of(BandExample(rules, band, comma));
        const std::size_t arrow = example.find(" \u2192 ");
        ASSERT_NE(arrow, std::string::npos) << example;
        const Decimal price =
            Decimal::FromText(TextFromUtf8(example.substr(0, arrow)), comma).value();
        const PriceBand& held = rules.bands[band];
        EXPECT_TRUE(price >= held.from &&
                    (band + 1 == rules.bands.size() || price < rules.bands[band + 1].from))
            << example;
        EXPECT_FALSE(
            FloorDivide(price - held.ending.value_or(Decimal()), held.step).remainder.IsZero())
            << example;
        EXPECT_EQ(example.substr(arrow + 5),
                  Utf8Of(D(ApplyPriceRules(rules, price.ToDouble()).newPrice).ToText(comma)));
    }
}

TEST(PriceRulesTest, TheFormIsCheckedBoxByBoxAndKeptInItsFile) {
    const NumberFormat comma{u","};
    RulesTexts good;
    good.bands[0] = {u"0", u"0,05", u"", N};
    good.bands[1] = {u"100", u"1", u"0,990", U};
    good.bands[2] = {u"7", u"", u"0,5", Dn};  // unused, yet kept
    good.maxChangePercent = u"12,5";
    const auto read = ReadPriceRules(good, comma);
    ASSERT_TRUE(std::holds_alternative<PriceRules>(read));
    EXPECT_EQ(ApplyPriceRules(std::get<PriceRules>(read), 150.4).newPrice, 150.99);
    EXPECT_EQ(ApplyPriceRules(std::get<PriceRules>(read), 0.01).kind, Kind::LeftTooFar);

    constexpr auto F = RulesField::From, S = RulesField::Step, E = RulesField::Ending,
                   P = RulesField::Percent;
    const char16_t* const labels[] = {u"From", u"Step", u"Ending"};
    const Text kSixteenDigits = u"1,234567890123456", kTenToFifteen = u"1000000000000000";
    const struct {
        std::size_t row;
        RulesField field;
        Text text;
    } bad[] = {{1, S, u"0"},   {1, S, u"-1"},         {1, S, u"abc"},        {0, S, u""},
               {1, E, u"1"},   {1, E, u"-0,1"},       {1, E, u"x"},          {1, F, u"0"},
               {1, F, u""},    {1, F, u"1.5"},        {2, E, u"x"},          {0, P, u"0"},
               {0, P, u"abc"}, {2, F, kTenToFifteen}, {1, S, kSixteenDigits}};
    for (const auto& b : bad) {
        RulesTexts typed = good;
        BandTexts& band = typed.bands[b.row];
        (b.field == P   ? typed.maxChangePercent
         : b.field == F ? band.from
         : b.field == S ? band.step
                        : band.ending) = b.text;
        const auto outcome = ReadPriceRules(typed, comma);
        const auto error = std::get_if<RulesInputError>(&outcome);
        ASSERT_TRUE(error) << Utf8Of(b.text);
        EXPECT_EQ(error->row, b.row);
        EXPECT_EQ(error->field, b.field) << Utf8Of(error->message);
        const Text label = b.field == P ? Text(u"Leave line items")
                                        : u"Band " + TextFromUtf8(std::to_string(b.row + 1)) +
                                              u", " + labels[static_cast<int>(b.field)] + u":";
        EXPECT_EQ(error->message.rfind(label, 0), 0u) << Utf8Of(error->message);
    }

    RulesTexts off = DefaultRulesTexts({});
    off.neverToZero = false;
    for (const auto& [typed, format] : {std::pair(good, comma), std::pair(off, NumberFormat{})}) {
        const std::string file = PriceRulesFileText(typed, format);
        EXPECT_EQ(ReadPriceRulesFile(file, format), typed) << file;
        std::string crlf = "\xEF\xBB\xBF";
        for (const char c : file) crlf += c == '\n' ? "\r\n# kept by hand\r\n" : std::string(1, c);
        EXPECT_EQ(ReadPriceRulesFile(crlf, format), typed) << crlf;
    }
    const std::string file = PriceRulesFileText(good, comma);
    const std::pair<const char*, const char*> damage[] = {
        {"rules\t1\n", "rules\t2\n"},
        {"never-to-zero\ton\n", ""},
        {"never", "band 2 100 empty empty Up\nnever"},
        {"max-change-percent", "colour\tred\nmax-change-percent"},
        {"0.05", "0,05"},
        {"\tUp\n", "\tUpward\n"},
        {"\t0.990\tUp", "\tUp"},
        {"\t1\t0.990", "\t0.5\t0.990"}};
    for (const auto& [from, to] : damage) {
        std::string damaged = file;
        damaged.replace(damaged.find(from), std::string(from).size(), to);
        EXPECT_FALSE(ReadPriceRulesFile(damaged, comma)) << damaged;
    }
}

}  // namespace
}  // namespace tarvello
