// The exact decimal the pricing works in: what a person sees of a double, exact sums, and the
// double nearest a result.
#include <gtest/gtest.h>

#include "engine/numbers/errors.h"
#include "engine/numbers/exact_decimal.h"

namespace tarvello::testing {
namespace {

Decimal D(double value) {
    return Decimal::FromDouble(value).value();
}

TEST(ExactDecimalTest, ADoubleIsTheDecimalAPersonSees) {
    const struct {
        double value;
        const char* seen;
    } rows[] = {{2.675, "2.675"},
                {1.005, "1.005"},
                {0.1, "0.1"},
                {-12.34, "-12.34"},
                {1e19, "10000000000000000000"},
                {33.333333333333336, "33.333333333333336"},
                {0.0, "0"},
                {-0.0, "0"},
                {1e-30, "0.000000000000000000000000000001"}};
    for (const auto& row : rows) EXPECT_EQ(D(row.value).ToString(), row.seen) << row.value;
    EXPECT_FALSE(Decimal::FromDouble(1e20));
    EXPECT_FALSE(Decimal::FromDouble(1e-40));
    EXPECT_FALSE(Decimal::FromDouble(0.0 / 0.0));
}

TEST(ExactDecimalTest, TypedAmountsAreReadExactlyInTheUsersFormat) {
    const NumberFormat comma{u","};
    EXPECT_EQ(Decimal::FromText(u" -0,050 ", comma)->ToString(), "-0.05");
    EXPECT_EQ(Decimal::FromText(u"12", comma)->ToString(), "12");
    EXPECT_EQ(Decimal::FromText(u",5", comma)->ToString(), "0.5");
    for (const char16_t* bad : {u"", u"-", u"1.5", u"1,2,3", u"1e3", u"12a", u"1 000"}) {
        EXPECT_FALSE(Decimal::FromText(bad, comma)) << Decimal::FromText(bad, comma)->ToString();
    }
    EXPECT_FALSE(Decimal::FromText(u"1234567890123456789012345678901234567890"));
}

TEST(ExactDecimalTest, ArithmeticHasNoBinaryDrift) {
    EXPECT_EQ(D(0.1) + D(0.2), D(0.3));
    EXPECT_EQ((D(2.5) * D(0.333)).ToString(), "0.8325");
    EXPECT_EQ((D(12.34) - D(12.34)).ToString(), "0");
    EXPECT_LT(D(-1.5), D(-1.2));
    EXPECT_LT(D(1e-30), D(1e19));
    EXPECT_GT(D(0.30000000000000004), D(0.3));

    const DecimalDivision below = FloorDivide(D(-12.34), D(0.05));
    EXPECT_EQ(CoefficientText(below.quotient), "-247");
    EXPECT_EQ(below.remainder.ToString(), "0.01");
    EXPECT_THROW(FloorDivide(D(1), Decimal()), EngineError);
    EXPECT_THROW(D(1e19) * D(1e19) * D(1e19), EngineError);
}

// The written price is the double nearest the exact decimal, also where the digits lie between
// two doubles.
TEST(ExactDecimalTest, AResultIsWrittenAsTheNearestDouble) {
    EXPECT_EQ((D(2.67) + D(0.01)).ToDouble(), 2.68);
    EXPECT_EQ(Decimal(1, 1).ToDouble(), 0.1);
    EXPECT_EQ(Decimal::FromText(u"9007199254740993")->ToDouble(), 9007199254740992.0);
    EXPECT_EQ(Decimal::FromText(u"-0.000123400")->ToDouble(), -0.0001234);
}

}  // namespace
}  // namespace tarvello::testing
