// A preview as the user reads it and pastes it: numbers in their format, the totals, and the
// tab-separated text.
#include <gtest/gtest.h>

#include "engine/numbers/rounding.h"
#include "engine/passes/plan_table.h"
#include "recording_host.h"

namespace tarvello {
namespace {

using testing::Narrow;

TEST(PlanTableTest, NumbersAreTheShortestTextThatReadsBackWithinFifteenDigits) {
    const NumberFormat comma{u","};
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {1234.5, "1234,5"},
        {130.0 / 3.0, "43,3333333333333"},  // 17 digits to read back: 15 is the most shown
        {0.1 + 0.2, "0,3"},
        {-0.0, "0"},
        {-2.5, "-2,5"},
        {1e20, "100000000000000000000"},
        {0.000125, "0,000125"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Narrow(FormatShortNumber(c.value, comma)), c.expected) << c.value;
    }
}

PlannedLineItem Planned(std::int16_t row, Variant quantity, Variant unitPrice, Variant extended,
                        std::optional<Variant> modifier, double newUnitPrice) {
    PlannedLineItem item;
    item.row = row;
    item.quantity = std::move(quantity);
    item.unitPrice = std::move(unitPrice);
    item.extendedPrice = std::move(extended);
    item.modifier = std::move(modifier);
    item.newUnitPrice = newUnitPrice;
    return item;
}

TEST(PlanTableTest, TheTableTheTotalsAndTheCopyAgree) {
    RoundPlan plan;
    plan.items = {
        Planned(0, Variant::Int32(3), Variant::Double(40), Variant::Double(125.5),
                Variant::FromText(u"List\t-5%"), 130.0 / 3.0),
        Planned(2, Variant::Double(2), Variant::Double(12), Variant::Double(24),
                Variant::FromText(u""), 12),
        Planned(5, Variant::Double(1), Variant::FromText(u"n/a"), Variant::FromText(u"n/a"),
                std::nullopt, 10),
        // Texts a spreadsheet would read as a formula, and one it would read as a number.
        Planned(7, Variant::FromText(u"n/a"), Variant::FromText(u"-3"), Variant::FromText(u"-3"),
                Variant::FromText(u"=1+1"), -3),
    };
    plan.items[2].note = u"@ the host";
    const PlanTable table = MakePlanTable(plan, NumberFormat{u","});

    ASSERT_EQ(table.lines.size(), 4u);
    EXPECT_FALSE(table.lines[0].unchanged);
    EXPECT_TRUE(table.lines[1].unchanged) << "same price, no modifier: written, but unchanged";
    EXPECT_FALSE(table.lines[2].unchanged);
    plan.items[1].newModifier = Variant::FromText(u"List");
    EXPECT_FALSE(MakePlanTable(plan, {}).lines[1].unchanged) << "an Undo gives a modifier back";
    EXPECT_EQ(table.leftOut, 2);
    EXPECT_EQ(Narrow(TotalsText(table, NumberFormat{u","})),
              "Extended price before: 149,5   after: 154   difference: +4,5 (+3,01%)   (2 line "
              "items without a number left out)");
    // A difference of two totals keeps none of their binary error.
    PlanTable sums;
    sums.extendedBefore = 5263.1901;
    sums.extendedAfter = 5235;
    EXPECT_EQ(Narrow(TotalsText(sums, NumberFormat{})),
              "Extended price before: 5263.1901   after: 5235   difference: -28.1901 (-0.54%)");
    EXPECT_EQ(Narrow(TabSeparated(table, NumberFormat{u","})),
              "Row\tQuantity\tUnit Price\tNew Unit Price\tExtended Price\tNew Extended "
              "Price\tPrice Modifier\tNote\r\n"
              "0\t3\t40\t43,3333333333333\t125,5\t130\tList -5%\t\r\n"
              "2\t2\t12\t12\t24\t24\t\t\r\n"
              "5\t1\tn/a\t10\tn/a\t10\t\t'@ the host\r\n"
              "7\tn/a\t-3\t-3\t-3\t\t'=1+1\t\r\n"
              "Total\t\t\t\t149,5\t154\t\t\r\n");
}

}  // namespace
}  // namespace tarvello
