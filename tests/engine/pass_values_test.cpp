// The unit prices a pass writes, method by method.
#include <cmath>
#include <string>

#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

struct ValueCase {
    const char16_t* method;
    const char16_t* field;
    double amount;
    Variant unitPrice;
    Variant extendedPrice;
    Variant quantity;
    double expected;
};

Variant D(double v) {
    return Variant::Double(v);
}

TEST_F(PassTest, WritesTheUnitPriceEachMethodGives) {
    const ValueCase cases[] = {
        // Nearest 5 on the unit price; 12.5 becomes 12 first (half to even).
        {u"Nearest", u"UnitPrice", 5, D(12), D(0), D(1), 10},
        {u"Nearest", u"UnitPrice", 5, D(13), D(0), D(1), 15},
        {u"Nearest", u"UnitPrice", 5, D(12.5), D(0), D(1), 10},
        {u"Nearest", u"UnitPrice", 5, D(12.51), D(0), D(1), 15},
        {u"Nearest", u"UnitPrice", 5, D(-12), D(0), D(1), -10},
        // An amount below 1 acts as 1.
        {u"Nearest", u"UnitPrice", 0.4, D(12.4), D(0), D(1), 12},
        {u"Nearest", u"UnitPrice", -5, D(12.4), D(0), D(1), 12},
        {u"Nearest", u"UnitPrice", 0, D(12.6), D(0), D(1), 13},
        {u"Nearest", u"UnitPrice", 2.5, D(13), D(0), D(1), 14},  // n = 2
        // RoundUp.
        {u"RoundUp", u"UnitPrice", 5, D(10), D(0), D(1), 10},
        {u"RoundUp", u"UnitPrice", 5, D(11), D(0), D(1), 15},
        {u"RoundUp", u"UnitPrice", 5, D(13), D(0), D(1), 15},
        {u"RoundUp", u"UnitPrice", 5, D(10.2), D(0), D(1), 15},
        {u"RoundUp", u"UnitPrice", 1, D(10.4), D(0), D(1), 11},
        {u"RoundUp", u"UnitPrice", 1, D(10.5), D(0), D(1), 12},
        {u"RoundUp", u"UnitPrice", 1, D(11.5), D(0), D(1), 12},
        {u"RoundUp", u"UnitPrice", 2.5, D(10.4), D(0), D(1), 14},
        {u"RoundUp", u"UnitPrice", 0.4, D(10.4), D(0), D(1), 11},
        {u"RoundUp", u"UnitPrice", 5, D(-12), D(0), D(1), -10},
        // Decimal: halves to even on the written form.
        {u"Decimal", u"UnitPrice", 2, D(2.675), D(0), D(1), 2.68},
        {u"Decimal", u"UnitPrice", 2, D(0.125), D(0), D(1), 0.12},
        {u"Decimal", u"UnitPrice", 0, D(2.5), D(0), D(1), 2},
        {u"Decimal", u"UnitPrice", 2.5, D(1.2345), D(0), D(1), 1.23},  // n = 2
        {u"Decimal", u"UnitPrice", 0.4, D(7.6), D(0), D(1), 8},        // n = 0
        {u"Decimal", u"UnitPrice", 3, Variant::Int16(7), D(0), D(1), 7},
        // The extended price is rounded and divided; the quotient is written unrounded.
        {u"Nearest", u"ExtendedPrice", 10, D(40), D(125.5), D(3), 130.0 / 3.0},
        {u"Decimal", u"ExtendedPrice", 2, D(33), D(100), D(3), 100.0 / 3.0},
        {u"RoundUp", u"ExtendedPrice", 5, D(25), D(101), D(4), 26.25},
        {u"Nearest", u"ExtendedPrice", 1, D(0), D(10), D(-4), -2.5},
        {u"Nearest", u"ExtendedPrice", 1, D(0), D(10), Variant::Int16(4), 2.5},
        {u"Nearest", u"ExtendedPrice", 10, D(0), D(4), D(-4), 0},
        // When the unit price is rounded, the extended price and quantity play no part:
        // a zero quantity or an extended price beyond the whole-number range is harmless.
        {u"Nearest", u"UnitPrice", 5, D(12), D(125.5), D(0), 10},
        {u"Nearest", u"UnitPrice", 5, D(12), D(1e12), D(2), 10},
        {u"Nearest", u"UnitPrice", 5, D(12), Variant::FromText(u"n/a"), D(2), 10},
    };
    for (const auto& c : cases) {
        host = RecordingHost();
        host.items = {MakeLineItem(Variant::Int16(1), c.unitPrice, c.extendedPrice, c.quantity)};
        Round({c.amount, c.field, c.method, u"All"});
        EXPECT_EQ(UnitPriceOf(0), Variant::Double(c.expected))
            << Narrow(c.method) << " " << c.amount << " on " << Narrow(c.field) << ": unit "
            << Describe(c.unitPrice) << ", extended " << Describe(c.extendedPrice) << ", qty "
            << Describe(c.quantity);
        EXPECT_EQ(std::signbit(UnitPriceOf(0).AsDouble()), std::signbit(c.expected)) << "sign";
        EXPECT_EQ(host.items[0].at(u"PriceModifier"), Variant::FromText(u""));
        EXPECT_EQ(host.items[0].at(u"ExtendedPrice"), c.extendedPrice) << "extended written";
        EXPECT_EQ(host.items[0].at(u"QtyTotal"), c.quantity) << "quantity written";
    }
}

TEST_F(PassTest, ReadsHostTextWithTheUserSeparator) {
    host.items = {MakeLineItem(Variant::FromText(u"1"), Variant::FromText(u"12,6"),
                               Variant::FromText(u"125,5"), Variant::FromText(u"3"))};
    host.activeDocumentIndex = Variant::FromText(u"0");
    host.lineItemCount = Variant::FromText(u"1");
    Round({10, u"ExtendedPrice", u"Nearest", u"All"}, NumberFormat{u","});
    EXPECT_EQ(UnitPriceOf(0), Variant::Double(130.0 / 3.0));
}

TEST_F(PassTest, EveryTypeOneRowIsWorkedOutEvenWhenNoneIsWritten) {
    // Nothing chosen, yet a price that cannot be rounded still stops the pass: the values
    // are worked out before the row is chosen.
    host.items = {PricedItem(3e9, 0, 1)};
    host.activeRow = Variant::Int16(5);
    const PassFailure failure = RoundFailing({5, u"UnitPrice", u"Nearest", u"Current"});
    EXPECT_EQ(failure.cause, FailureCause::Overflow);
    EXPECT_EQ(failure.row, 0);
}

}  // namespace
}  // namespace tarvello::testing
