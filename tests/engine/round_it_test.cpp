// The decimal roundings: RoundIt (halves up, 15-digit decimal step) and RoundToPlaces
// (halves to even, decided on the written form).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/numbers/rounding.h"
#include "failure_of.h"

namespace tarvello {
namespace {

struct RoundItCase {
    double number;
    double places;
    double expected;
};

TEST(RoundIt, RoundsHalvesUpThroughTheDecimalStep) {
    const RoundItCase cases[] = {
        {2.5, 0, 3},
        {-2.5, 0, -2},
        {-2.6, 0, -3},
        {-2.1, 0, -2},
        {1.005, 2, 1.01},  // scaled 100.99999999999999 becomes 101 at 15 digits
        {8.325, 2, 8.33},
        {0.285, 2, 0.29},
        {0.125, 2, 0.13},
        {123.456, -1, 120},
        {125, -1, 130},
        {123.456, 0, 123},
        {12.3456, 1.5, 390 / std::pow(10.0, 1.5)},  // a fractional power as the factor
        {0, 2, 0},
        {-0.4, 0, 0},
        {1e14 + 0.5, 0, 1e14 + 1},
        {7.9e28, 0, 7.9e28},  // just inside the 96-bit limit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundIt(c.number, c.places), c.expected)
            << "RoundIt(" << c.number << ", " << c.places << ")";
    }
}

TEST(RoundIt, GivesZeroWhenTheComputationFails) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const RoundItCase cases[] = {
        {1e30, 0, 0},     // scaled beyond 2^96
        {-1e30, 0, 0},    // magnitude beyond 2^96
        {7.93e28, 0, 0},  // just beyond 2^96
        {1, 400, 0},      // the power overflows
        {1, -400, 0},     // the power underflows to 0, and the division fails
        {1e300, 10, 0},   // the product overflows
        {inf, 0, 0},     {nan, 0, 0}, {1, nan, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundIt(c.number, c.places), 0.0)
            << "RoundIt(" << c.number << ", " << c.places << ")";
    }
}

TEST(RoundIt, DecimalStepTiesGoToTheEvenDigit) {
    // Scaled 1234567890123445.5 is more than a half past ...44 at 15 digits: up to ...45.
    EXPECT_EQ(RoundIt(123456789012344.5, 1), 123456789012345.0);
    // Scaled 1234567890123445 ends in exactly half a unit of the 15th digit: to even, ...44.
    EXPECT_EQ(RoundIt(1234567890123444.5, 0), 1234567890123440.0);
}

struct PlacesCase {
    double number;
    std::int32_t places;
    double expected;
};

TEST(RoundToPlaces, RoundsWrittenHalvesToEven) {
    const PlacesCase cases[] = {
        {2.5, 0, 2},
        {3.5, 0, 4},
        {-2.5, 0, -2},
        {-3.5, 0, -4},
        {0.125, 2, 0.12},
        {0.375, 2, 0.38},
        {2.675, 2, 2.68},  // stored just below 2.675, but written as 2.675
        {1.005, 2, 1.0},   // 1.00|5: even 0 stays
        {1.015, 2, 1.02},
        {0.5, 0, 0},
        {0.51, 0, 1},
        {0.05, 0, 0},
        {9.995, 2, 10},
        {99.5, 0, 100},
        {0.0005, 3, 0},
        {0.0015, 3, 0.002},
        {0.00051, 3, 0.001},
        {123.456, 5, 123.456},
        {123.456, 2147483647, 123.456},
        {1e-300, 2, 0},
        {1e300, 2, 1e300},
        {100.0 / 3.0, 2, 33.33},
        {-0.125, 2, -0.12},
    };
    for (const auto& c : cases) {
        const Variant result = RoundToPlaces(Variant::Double(c.number), c.places);
        ASSERT_EQ(result.kind(), Variant::Kind::Double);
        EXPECT_EQ(result.AsDouble(), c.expected)
            << "RoundToPlaces(" << c.number << ", " << c.places << ")";
    }
}

TEST(RoundToPlaces, KeepsTheKindOfWholeNumbersAndReadsText) {
    EXPECT_EQ(RoundToPlaces(Variant::Int16(7), 2), Variant::Int16(7));
    EXPECT_EQ(RoundToPlaces(Variant::Int32(70000), 0), Variant::Int32(70000));
    EXPECT_EQ(RoundToPlaces(Variant::FromText(u"2.675"), 2), Variant::Double(2.68));
    EXPECT_EQ(RoundToPlaces(Variant::FromText(u"2,5"), 0, NumberFormat{u","}), Variant::Double(2));
    EXPECT_EQ(RoundToPlaces(Variant::Boolean(true), 0), Variant::Int16(-1));
    EXPECT_EQ(RoundToPlaces(Variant(), 0), Variant::Int16(0));
}

TEST(RoundToPlaces, RefusesNegativePlacesAndText) {
    EXPECT_EQ(testing::FailureOf([] { RoundToPlaces(Variant::Double(1.5), -1); }),
              "invalid argument");
    EXPECT_EQ(testing::FailureOf([] { RoundToPlaces(Variant::FromText(u"abc"), -1); }),
              "invalid argument");
    EXPECT_EQ(testing::FailureOf([] { RoundToPlaces(Variant::FromText(u"abc"), 2); }),
              "type mismatch");
}

TEST(RoundToPlaces, GivesAPlainZeroForSmallNegatives) {
    const double result = RoundToPlaces(Variant::Double(-0.001), 2).AsDouble();
    EXPECT_EQ(result, 0.0);
    EXPECT_FALSE(std::signbit(result));
}

TEST(TwoRoundings, DifferAtHalves) {
    EXPECT_EQ(RoundIt(2.5, 0), 3);
    EXPECT_EQ(RoundToPlaces(Variant::Double(2.5), 0).AsDouble(), 2);
    EXPECT_EQ(RoundIt(0.125, 2), 0.13);
    EXPECT_EQ(RoundToPlaces(Variant::Double(0.125), 2).AsDouble(), 0.12);
}

}  // namespace
}  // namespace tarvello
