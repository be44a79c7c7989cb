// The promise of every pass that writes, tried on generated quotes rather than examples: nothing
// is ever written into a line item that is not as the write was worked out from, whatever the
// user changed since or changes meanwhile, on hosts that keep four decimals, say so or not, and
// answer an empty modifier as an empty value; and price rules applied twice change nothing.
#include <random>
#include <string>
#include <vector>

#include "engine/numbers/rounding.h"
#include "engine/passes/preview_round.h"
#include "engine/passes/undo_last_round.h"
#include "engine/pricing/price_rules.h"
#include "engine/pricing/rule_pricing.h"
#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

using Random = std::mt19937;

int Pick(Random& random, int below) {
    return std::uniform_int_distribution<int>(0, below - 1)(random);
}

// A line item no pass reads this field of: who it is, whatever row it is in.
const Text kWho = u"Who";

LineItem NewItem(Random& random, int& who) {
    const double unit = (1 + Pick(random, 40000)) / 100.0;
    const double quantity = 1 + Pick(random, 6);
    LineItem item = PricedItem(unit, unit * quantity, quantity, Pick(random, 8) == 0 ? 2 : 1);
    if (Pick(random, 3) == 0) item[u"PriceModifier"] = Variant::FromText(u"List -5%");
    item[kWho] = Variant::Int32(who++);
    return item;
}

// A host of one of the kinds a pass must expect, with a quote of up to ten line items.
RecordingHost GeneratedHost(Random& random, int& who) {
    RecordingHost host;
    if (Pick(random, 2) == 0) {
        host.keepsDecimals = 4;
        host.keepsSilently = Pick(random, 2) == 0;
    }
    host.extendedDecimals = 10;  // the host works the extended price out from the others
    host.emptyModifierAsEmpty = Pick(random, 2) == 0;
    for (int n = 1 + Pick(random, 10); n > 0; --n) host.items.push_back(NewItem(random, who));
    host.selectedRows = Variant::FromText(u"*");
    return host;
}

// What a user may do to a quote between two passes: type a price, a quantity or a modifier, put
// a line item in or take one out (so that the count stays), swap two, or open another quote of
// the same shape.
void ChangeByHand(RecordingHost& host, Random& random, int& who) {
    auto& items = host.items;
    const std::size_t row = static_cast<std::size_t>(Pick(random, static_cast<int>(items.size())));
    switch (Pick(random, 7)) {
        case 0:
            items[row][u"UnitPrice"] = Variant::Double(Pick(random, 40000) / 100.0);
            break;
        case 1:
            items[row][u"QtyTotal"] = Variant::Double(1 + Pick(random, 6));
            break;
        case 2:
            items[row][u"PriceModifier"] = Variant::FromText(u"Special -20%");
            break;
        case 3:
            items.erase(items.begin() + static_cast<long>(row));
            items.push_back(NewItem(random, who));
            break;
        case 4:
            items.pop_back();
            items.insert(items.begin() + static_cast<long>(row), NewItem(random, who));
            break;
        case 5:
            std::swap(
                items[row],
                items[static_cast<std::size_t>(Pick(random, static_cast<int>(items.size())))]);
            break;
        default:
            for (LineItem& item : items) {
                const LineItem other = NewItem(random, who);
                item[u"UnitPrice"] = other.at(u"UnitPrice");
                item[kWho] = other.at(kWho);
            }
            break;
    }
}

// A line item as a person sees it in the host, whoever it is: the extended price is the host's
// own product of the others.
std::string Seen(const LineItem& item) {
    std::string text;
    for (const auto& [field, value] : item) {
        if (field == kWho || field == u"ExtendedPrice") continue;
        const std::optional<double> number = NumberOrNothing(value);
        if (number) {
            text += Narrow(field) + "=" + Describe(Variant::Double(*number)) + " ";
        } else if (!(value.IsEmpty() || value == Variant::FromText(u""))) {
            text += Narrow(field) + "=" + Describe(value) + " ";
        }
    }
    return text;
}

const RoundingRequest kRequests[] = {
    {1, RoundedPrice::UnitPrice, RoundingMethod::Nearest, RowChoice::All},
    {10, RoundedPrice::ExtendedPrice, RoundingMethod::Nearest, RowChoice::All},
    {0, RoundedPrice::ExtendedPrice, RoundingMethod::Decimal, RowChoice::All},
};

// Undo gives back a line item only where the Round left it and it is as the Round left it: the
// same one, or one no read can tell from it (two line items the Round left alike, swapped).
TEST(CheckedWriteTest, UndoNeverWritesIntoALineItemOtherThanTheOneItsRoundChanged) {
    Random random(20261208);
    int who = 0, givenBack = 0, refused = 0;
    for (int quote = 0; quote < 1000; ++quote) {
        RecordingHost host = GeneratedHost(random, who);
        RecordingMessages messages(host);
        RoundHistory history;
        const std::vector<LineItem> before = host.items;
        RoundLineItems(kRequests[Pick(random, 3)], host, messages, {},
                       PassHooks{&history, nullptr});
        const std::vector<LineItem> rounded = host.items;
        for (int changes = Pick(random, 3); changes > 0; --changes) ChangeByHand(host, random, who);
        const std::vector<LineItem> changed = host.items;

        const PassOutcome undo = UndoLastRound(history, host, messages);

        const std::string trace = "quote " + std::to_string(quote);
        for (std::size_t row = 0; row < host.items.size(); ++row) {
            if (Seen(host.items[row]) == Seen(changed[row])) continue;
            // Written: the row held what the Round left there, and now holds what it had before.
            EXPECT_EQ(Seen(changed[row]), Seen(rounded[row])) << trace << " row " << row;
            EXPECT_EQ(Describe(host.items[row].at(u"UnitPrice")),
                      Describe(before[row].at(u"UnitPrice")))
                << trace << " row " << row;
            ++givenBack;
        }
        if (undo.status != PassOutcome::Status::Completed) ++refused;
        if (changed == rounded) {
            EXPECT_EQ(undo.status, PassOutcome::Status::Completed) << trace;
            for (std::size_t row = 0; row < host.items.size(); ++row) {
                EXPECT_EQ(Seen(host.items[row]), Seen(before[row])) << trace << " row " << row;
            }
        }
    }
    EXPECT_GT(givenBack, 1500) << "too few line items given back to tell anything";
    EXPECT_GT(refused, 60) << "too few quotes refused to tell anything";
}

// Apply writes a line item only while it holds every value the preview read of it, however the
// quote changes before Apply and while it runs; rules applied twice change nothing the second
// time.
TEST(CheckedWriteTest, ApplyNeverWritesIntoALineItemOtherThanAsPreviewed) {
    Random random(20261209);
    int who = 0, written = 0;
    const PriceRules rules = DefaultPriceRules();
    for (int quote = 0; quote < 1000; ++quote) {
        RecordingHost host = GeneratedHost(random, who);
        RecordingMessages messages(host);
        const bool byRules = Pick(random, 2) == 0;
        const RoundingRequest request = kRequests[Pick(random, 3)];
        const passes::RulePricing rulePricing(rules, request.PriceField, {});
        const passes::MethodPricing methodPricing(request, {});
        const passes::LineItemPricing& pricing =
            byRules ? static_cast<const passes::LineItemPricing&>(rulePricing) : methodPricing;
        RoundPlan plan;
        ASSERT_EQ(
            PreviewWith(pricing, RowChoice::All, PlanKind::Round, host, messages, plan).status,
            PassOutcome::Status::Completed);
        const std::vector<LineItem> previewed = host.items;
        bool changed = Pick(random, 2) == 0;
        if (changed) ChangeByHand(host, random, who);
        // While Apply runs, the user changes the quote as a write goes to the host.
        int whileApplying = Pick(random, 3);
        const std::string trace = "quote " + std::to_string(quote);
        host.fault = [&](const std::string& operation, int row, const Text& field) {
            if (operation != "LineItemSetValue") return;
            if (field == u"PriceModifier") {
                EXPECT_EQ(Seen(host.items[static_cast<std::size_t>(row)]),
                          Seen(previewed[static_cast<std::size_t>(row)]))
                    << trace << ": written into row " << row;
                ++written;
            } else if (whileApplying-- > 0) {
                ChangeByHand(host, random, who);
                changed = true;
            }
        };
        ApplyPlan(plan, host, messages);
        host.fault = nullptr;

        // Rules applied to a quote they rounded: nothing left to change.
        if (!byRules || changed) continue;
        const std::vector<LineItem> applied = host.items;
        RoundPlan again;
        PreviewWith(rulePricing, RowChoice::All, PlanKind::PriceRules, host, messages, again);
        ApplyPlan(again, host, messages);
        for (std::size_t row = 0; row < host.items.size(); ++row) {
            EXPECT_EQ(Seen(host.items[row]), Seen(applied[row])) << trace << ": applied twice";
        }
    }
    EXPECT_GT(written, 1500) << "too few line items written to tell anything";
}

}  // namespace
}  // namespace tarvello::testing
