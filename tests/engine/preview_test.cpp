// Preview and Apply against the recording host: a preview plans exactly what a Round writes and
// writes nothing; Apply writes the plan only into the document previewed, only where nothing
// changed since, and what it writes is undone like a Round.
#include <random>
#include <string>
#include <vector>

#include "engine/numbers/rounding.h"
#include "engine/passes/describe_failure.h"
#include "engine/passes/plan_table.h"
#include "engine/passes/preview_round.h"
#include "engine/passes/undo_last_round.h"
#include "engine/pricing/new_total_plan.h"
#include "engine/pricing/rule_pricing.h"
#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

constexpr std::int32_t kRefused = static_cast<std::int32_t>(0x80020009);

// A document of priced line items, headings and a few awkward values, from a seed.
RecordingHost GeneratedHost(std::mt19937& random) {
    RecordingHost host;
    std::uniform_int_distribution<int> count(0, 12), kind(0, 9), cents(0, 100000), qty(0, 9);
    const int items = count(random);
    std::string selected;
    for (int row = 0; row < items; ++row) {
        const double unit = cents(random) / 100.0;
        const double quantity = qty(random) == 0 ? 0.5 : qty(random) + 1;
        LineItem item = PricedItem(unit, unit * quantity, quantity, kind(random) == 0 ? 2 : 1);
        if (kind(random) < 3) item[u"PriceModifier"] = Variant::FromText(u"List -5%");
        if (kind(random) == 1) item[u"UnitPrice"] = Variant::FromText(u"12.5");
        host.items.push_back(item);
        if (kind(random) < 4) selected += std::to_string(row) + ",";
    }
    host.selectedRows = Variant::FromText(TextFromUtf8(selected));
    host.activeRow = Variant::Int32(items > 0 ? items / 2 : 0);
    return host;
}

// The log without the writes, which only the Round makes.
std::vector<std::string> Reads(const std::vector<std::string>& log) {
    std::vector<std::string> reads;
    for (const std::string& call : log) {
        if (call.rfind("LineItemSetValue", 0) != 0) reads.push_back(call);
    }
    return reads;
}

// The line items as a person sees them: a modifier never set reads as an empty one, a number in a
// text as that number.
std::vector<std::string> AsSeen(const std::vector<LineItem>& items) {
    std::vector<std::string> seen;
    for (LineItem item : items) {
        item.emplace(u"PriceModifier", Variant::FromText(u""));
        std::string line;
        for (const auto& [field, value] : item) {
            const std::optional<double> number = NumberOrNothing(value);
            line += Narrow(field) + "=" +
                    (number ? Describe(Variant::Double(*number)) : Describe(value)) + " ";
        }
        seen.push_back(line);
    }
    return seen;
}

TEST(PreviewTest, APreviewPlansWhatARoundWritesAndApplyWritesTheSame) {
    std::mt19937 random(20261207);
    int documents = 0;
    for (int seed = 0; seed < 60; ++seed) {
        const RecordingHost document = GeneratedHost(random);
        for (const RoundingMethod method :
             {RoundingMethod::Decimal, RoundingMethod::Nearest, RoundingMethod::RoundUp}) {
            for (const RoundedPrice field :
                 {RoundedPrice::UnitPrice, RoundedPrice::ExtendedPrice}) {
                for (const RowChoice rows :
                     {RowChoice::Current, RowChoice::Selected, RowChoice::All}) {
                    const RoundingRequest request{method == RoundingMethod::Decimal ? 1.0 : 5.0,
                                                  field, method, rows};
                    const std::string trace = "document " + std::to_string(seed) + ", " +
                                              Narrow(NameOf(method)) + " " + Narrow(NameOf(field)) +
                                              " " + Narrow(NameOf(rows));
                    RecordingHost rounded = document, previewed = document;
                    RecordingMessages roundMessages(rounded), previewMessages(previewed);
                    const PassOutcome round = RoundLineItems(request, rounded, roundMessages);

                    RoundPlan plan;
                    const PassOutcome preview =
                        PreviewRound(request, previewed, previewMessages, plan);
                    ASSERT_EQ(preview.status, round.status) << trace;
                    EXPECT_EQ(Reads(previewed.log), Reads(rounded.log)) << trace;
                    EXPECT_EQ(previewed.items, document.items) << trace << ": a preview wrote";
                    if (round.status != PassOutcome::Status::Completed) continue;
                    if (method == RoundingMethod::Nearest) {
                        // By price rules and for a new total: the same reads, nothing written.
                        RecordingHost byRules = document, forTotal = document;
                        RecordingMessages rulesMessages(byRules), totalMessages(forTotal);
                        RoundPlan rulesPlan, totalPlan;
                        const PriceRules rules = DefaultPriceRules();
                        PreviewWith(passes::RulePricing(rules, field, {}), rows,
                                    PlanKind::PriceRules, byRules, rulesMessages, rulesPlan);
                        ReadForNewTotal(rows, forTotal, totalMessages, totalPlan);
                        EXPECT_EQ(byRules.log, previewed.log) << trace;
                        EXPECT_EQ(forTotal.log, previewed.log) << trace;
                        EXPECT_EQ(rulesPlan.items.size(), plan.items.size()) << trace;
                    }

                    // Row for row, the planned price is the price the Round wrote.
                    std::vector<std::string> planned, written;
                    for (const PlannedLineItem& item : plan.items) {
                        planned.push_back(std::to_string(item.row) + ": " +
                                          Describe(Variant::Double(item.newUnitPrice)));
                    }
                    for (std::size_t row = 0; row < rounded.items.size(); ++row) {
                        const auto calls = rounded.CallsForRow(static_cast<int>(row));
                        if (Reads(calls).size() == calls.size()) continue;  // not written
                        written.push_back(std::to_string(row) + ": " +
                                          Describe(rounded.items[row].at(u"UnitPrice")));
                    }
                    EXPECT_EQ(planned, written) << trace;

                    // A line item already as the Round would leave it is not written again.
                    const PassOutcome apply = ApplyPlan(plan, previewed, previewMessages);
                    EXPECT_EQ(apply.written + static_cast<int>(apply.checked.alreadySo.size()),
                              round.written)
                        << trace;
                    EXPECT_EQ(AsSeen(previewed.items), AsSeen(rounded.items)) << trace;
                    ++documents;
                }
            }
        }
    }
    EXPECT_GT(documents, 500) << "too few documents got as far as a plan";
}

class ApplyTest : public PassTest {
protected:
    // Four priced line items with modifiers, previewed with Nearest 5 on all rows.
    void Preview() {
        for (int i = 0; i < 4; ++i) {
            host.items.push_back(PricedItem(12 + i, 24 + 2 * i, 2));
            host.items.back()[u"PriceModifier"] = Variant::FromText(u"Rate " + Text(1, u'A' + i));
        }
        before = host.items;
        const RoundingRequest request{5, RoundedPrice::UnitPrice, RoundingMethod::Nearest,
                                      RowChoice::All};
        ASSERT_EQ(PreviewRound(request, host, messages, plan).status,
                  PassOutcome::Status::Completed);
        ASSERT_EQ(plan.items.size(), 4u);
        host.log.clear();
    }
    PassOutcome Apply() {
        return ApplyPlan(plan, host, messages, {}, PassHooks{&history, nullptr});
    }

    RoundPlan plan;
    RoundHistory history;
};

TEST_F(ApplyTest, ADifferentDocumentGetsNothingWritten) {
    const std::function<void(RecordingHost&)> switches[] = {
        [](RecordingHost& h) { h.activeDocumentIndex = Variant::Int16(3); },
        [](RecordingHost& h) { h.items.pop_back(); },
        // Another quote in the same place, with as many line items: of another shape, or of
        // the same shape with other prices (but for one that happens to be the same).
        [](RecordingHost& h) { h.items[2] = PricedItem(14, 28, 2, 3); },
        [](RecordingHost& h) {
            for (int row = 1; row < 4; ++row) h.items[row] = PricedItem(20 + row, 40, 2);
        },
        // Half of the prices as previewed is not most of them.
        [](RecordingHost& h) { h.items[2] = h.items[3] = PricedItem(30, 60, 2); },
    };
    for (const auto& change : switches) {
        host = RecordingHost();
        Preview();
        change(host);
        const PassOutcome outcome = Apply();
        EXPECT_EQ(outcome.status, PassOutcome::Status::DocumentChanged);
        for (const auto& call : host.log) EXPECT_EQ(call.find("SetValue"), std::string::npos);
        EXPECT_EQ(history.UndoableCount(), 0);
        EXPECT_EQ(Narrow(DescribeApply(outcome)),
                  "The quote open in Tarvello is not the one you previewed: nothing was written. "
                  "Preview again.");
    }
}

// Everything the new price was worked out from is read again before the write.
TEST_F(ApplyTest, ALineItemChangedSinceThePreviewIsLeftAloneAndNamed) {
    Preview();
    host.items[1][u"UnitPrice"] = Variant::Double(13.01);
    host.items[2][u"PriceModifier"] = Variant::FromText(u"Special");
    host.items[3][u"QtyTotal"] = Variant::Double(3);

    const PassOutcome outcome = Apply();

    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(outcome.checked.changedSince,
              (std::vector<ChangedLineItem>{{1, LineItemField::UnitPrice},
                                            {2, LineItemField::PriceModifier},
                                            {3, LineItemField::QtyTotal}}));
    EXPECT_EQ(host.items[1].at(u"UnitPrice"), Variant::Double(13.01));
    EXPECT_EQ(host.items[2].at(u"PriceModifier"), Variant::FromText(u"Special"));
    EXPECT_EQ(host.items[3].at(u"UnitPrice"), before[3].at(u"UnitPrice"));
    // From now on the quote is known by the quantity row 3 has now.
    EXPECT_EQ(history.NextUndo()->quantities.back(), Variant::Double(3));
    // Knowing the quote again (the line type, price and quantity), then every field in one
    // visit right before the writes.
    EXPECT_EQ(host.CallsForRow(0), (std::vector<std::string>{
                                       "LineItemGetValue(&row 0, \"LineType\")",
                                       "LineItemGetValue(&row 0, \"UnitPrice\")",
                                       "LineItemGetValue(&row 0, \"QtyTotal\")",
                                       "LineItemGetValue(&row 0, \"LineType\")",
                                       "LineItemGetValue(&row 0, \"UnitPrice\")",
                                       "LineItemGetValue(&row 0, \"ExtendedPrice\")",
                                       "LineItemGetValue(&row 0, \"QtyTotal\")",
                                       "LineItemGetValue(&row 0, \"PriceModifier\")",
                                       "LineItemSetValue(&row 0, \"PriceModifier\", text \"\")",
                                       "LineItemSetValue(&row 0, \"UnitPrice\", double 10)",
                                   }));
    EXPECT_EQ(Narrow(DescribeApply(outcome)),
              "Apply wrote 1 line item. Rows 1 (unit price), 2 (price modifier) and 3 (total "
              "quantity) were left as they are: they have changed since the preview.");
}

// A change made while Apply runs, to a line item not yet written, is a change too: every field
// is read in the visit that writes it. So is a modifier typed since a preview that could not
// read it.
TEST_F(ApplyTest, WhatChangesWhileApplyRunsIsLeftAloneAndNamed) {
    const struct {
        const char16_t* field;
        Variant typed;
        LineItemField named;
    } changes[] = {
        {u"UnitPrice", Variant::Double(6.5), LineItemField::UnitPrice},  // 13 x 2 to 6.5 x 4
        {u"LineType", Variant::Int16(3), LineItemField::LineType},
    };
    for (const auto& change : changes) {
        host = RecordingHost();
        Preview();
        host.fault = [&](const std::string& operation, int row, const Text& field) {
            if (operation != "LineItemSetValue" || row != 0 || field != u"UnitPrice") return;
            host.items[1][change.field] = change.typed;
            if (change.named == LineItemField::UnitPrice)
                host.items[1][u"QtyTotal"] = Variant::Double(4);
        };
        const PassOutcome outcome = Apply();
        EXPECT_EQ(outcome.checked.changedSince, (std::vector<ChangedLineItem>{{1, change.named}}));
        EXPECT_EQ(outcome.written, 3);
        EXPECT_EQ(history.NextUndo()->items.size(), 3u) << "nothing kept for the row left";
    }

    host = RecordingHost();
    host.FailAt("LineItemGetValue", 2, u"PriceModifier", HostError(kRefused, u"", "no"));
    Preview();
    host.fault = nullptr;
    host.items[2][u"PriceModifier"] = Variant::FromText(u"Special -20%");
    EXPECT_EQ(Apply().checked.changedSince,
              (std::vector<ChangedLineItem>{{2, LineItemField::PriceModifier}}));
    EXPECT_EQ(host.items[2].at(u"PriceModifier"), Variant::FromText(u"Special -20%"));
}

TEST_F(ApplyTest, AFailureInTheMiddleLeavesTheRestAndWhatWasWrittenUndoable) {
    Preview();
    host.FailAt("LineItemSetValue", 2, u"PriceModifier", HostError(kRefused, u"Locked", "no"));

    const PassOutcome outcome = Apply();

    ASSERT_EQ(outcome.status, PassOutcome::Status::Failed);
    EXPECT_EQ(outcome.failure->row, 2);
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(host.items[3], before[3]) << "the rest untouched";
    EXPECT_EQ(Narrow(DescribeApply(outcome)),
              "Apply stopped at row 2: Tarvello reported an error while writing the price "
              "modifier: \"Locked\" (code 0x80020009). Apply wrote 2 line items. Edit > Undo "
              "Round takes them back.");

    host.fault = nullptr;
    const PassOutcome undo = UndoLastRound(history, host, messages);
    EXPECT_EQ(undo.written, 2);
    EXPECT_EQ(undo.checked.alreadySo, std::vector<std::int32_t>{2}) << "its write was refused";
    EXPECT_EQ(host.items, before);
}

// Rules on the extended price: the unit price is the rounded extended price over the quantity;
// a line item a guard leaves, or one already on a step, is shown with the reason and not written.
TEST_F(ApplyTest, PriceRulesWriteWhatTheGuardsDoNotLeave) {
    host.items = {PricedItem(6.17, 12.34, 2), PricedItem(0.2, 0.4, 2), PricedItem(50, 100, 2),
                  PricedItem(1.33, 3.99, 3)};
    host.items[3][u"PriceModifier"] = Variant::FromText(u"List -5%");
    before = host.items;
    PriceRules rules;
    rules.bands = {{Decimal(), Decimal::Whole(1), Decimal(99, 2), RuleDirection::Nearest}};
    rules.maxChangePercent = Decimal::Whole(5);
    const passes::RulePricing pricing(rules, RoundedPrice::ExtendedPrice, {});
    ASSERT_EQ(
        PreviewWith(pricing, RowChoice::All, PlanKind::PriceRules, host, messages, plan).status,
        PassOutcome::Status::Completed);
    const PlanTable table = MakePlanTable(plan, {});
    std::vector<std::string> lines;
    for (const auto& line : table.lines) {
        lines.push_back(Narrow(line.cells[PlanTable::kNewUnitPrice] + u" " +
                               line.cells[PlanTable::kNewExtendedPrice] + u" " +
                               line.cells[PlanTable::kNote]));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"5.995 11.99 ", "0.2 0.4 changes by 147.5 %: left",
                                               "49.995 99.99 ", "1.33 3.99 already on a step"}));

    EXPECT_EQ(Apply().written, 2);
    EXPECT_EQ(host.items[1], before[1]);
    EXPECT_EQ(host.items[3], before[3]);
    EXPECT_EQ(host.items[2].at(u"UnitPrice"), Variant::Double(49.995));
    EXPECT_EQ(UndoLastRound(history, host, messages).written, 2);
    for (std::size_t row = 0; row < 3; ++row) {
        EXPECT_EQ(host.items[row].at(u"UnitPrice"), before[row].at(u"UnitPrice")) << row;
    }

    // 1.05 x 3 is 3.1500000000000004 to the host: on a step of 0.05 all the same, and left with
    // its modifier; applying the rules again changes nothing.
    host.items = {PricedItem(1.05, 1.05 * 3, 3), PricedItem(1.07, 1.07 * 3, 3)};
    host.items[0][u"PriceModifier"] = Variant::FromText(u"List -5%");
    before = host.items;
    rules.bands = {{Decimal(), Decimal(5, 2), Decimal(), RuleDirection::Nearest}};
    const passes::RulePricing fives(rules, RoundedPrice::ExtendedPrice, {});
    for (const int written : {1, 0}) {
        ASSERT_EQ(
            PreviewWith(fives, RowChoice::All, PlanKind::PriceRules, host, messages, plan).status,
            PassOutcome::Status::Completed);
        EXPECT_EQ(plan.items[0].note, u"already on a step");
        EXPECT_EQ(Apply().written, written);
        EXPECT_EQ(host.items[0], before[0]);
    }
}

// A new total spread over the line items, applied, and told against what the host then shows:
// a host that rounds each extended price to a whole number comes to another total.
TEST_F(ApplyTest, ANewTotalIsAppliedAndTheHostsOwnTotalToldWhenItDiffers) {
    host.items = {PricedItem(10, 25, 2.5), PricedItem(0, 0, 0, 2), PricedItem(20, 140, 7)};
    host.extendedDecimals = 0;
    ASSERT_EQ(ReadForNewTotal(RowChoice::All, host, messages, plan).status,
              PassOutcome::Status::Completed);
    EXPECT_EQ(TotalNow(plan), 165);
    ASSERT_FALSE(SpreadOver(plan, *Decimal::FromText(u"103"), *Decimal::FromText(u"0.01")));
    EXPECT_EQ(plan.remark, u"");

    const PassOutcome outcome = Apply();

    EXPECT_EQ(outcome.written, 2);
    const double unit0 = host.items[0].at(u"UnitPrice").NumberValue();
    const double unit2 = host.items[2].at(u"UnitPrice").NumberValue();
    EXPECT_EQ(*Decimal::FromDouble(unit0) * *Decimal::FromDouble(2.5) +
                  *Decimal::FromDouble(unit2) * *Decimal::FromDouble(7),
              *Decimal::FromText(u"103"))
        << "the prices written come to the total asked for";
    EXPECT_EQ(Narrow(DescribeApply(outcome)),
              "Apply wrote 2 line items. Tarvello shows a total of 104 for these line items, 1 "
              "more than the 103 the preview showed: rows 0 (16, not 15.5) and 2 (88, not 87.5) "
              "show other extended prices than previewed.");
    EXPECT_EQ(UndoLastRound(history, host, messages).written, 2);

    // What the host shows is what the preview said it would reach, a total other than the one
    // asked for: nothing more to say.
    host = RecordingHost();
    host.items = {PricedItem(5, 5000000, 1000000), PricedItem(5, 0.005, 0.001)};
    host.extendedDecimals = 10;
    ASSERT_EQ(ReadForNewTotal(RowChoice::All, host, messages, plan).status,
              PassOutcome::Status::Completed);
    ASSERT_FALSE(SpreadOver(plan, *Decimal::FromText(u"5100000"), *Decimal::FromText(u"0.01")));
    EXPECT_NE(plan.remark.find(u"5100000.00505"), Text::npos) << Narrow(plan.remark);
    const PassOutcome reached = Apply();
    EXPECT_EQ(reached.written, 2);
    EXPECT_EQ(Narrow(DescribeApply(reached)), "");
}

}  // namespace
}  // namespace tarvello::testing
