#include "pricing/new_total_plan.h"

#include <cmath>
#include <string>

#include "numbers/errors.h"
#include "numbers/rounding.h"
#include "numbers/text_util.h"
#include "passes/describe_failure.h"
#include "passes/preview_round.h"
#include "passes/same_value.h"

namespace tarvello {
namespace {

using namespace passes;

// Reads what a new total is spread over, and changes nothing yet.
class KeepPricing : public LineItemPricing {
public:
    explicit KeepPricing(const NumberFormat& format) : format_(format) {}
    NewPrice Price(const LineItemValues& values, PassPosition&) const override {
        NewPrice price;
        price.unitPrice = NumberOrNothing(values.unitPrice, format_).value_or(0);
        price.change = false;
        return price;
    }

private:
    NumberFormat format_;
};

// A value the spread can work with: a finite, non-zero number within exact arithmetic.
std::optional<Decimal> ShareOf(const Variant& value, const NumberFormat& format) {
    const std::optional<double> number = NumberOrNothing(value, format);
    if (!number || *number == 0) return std::nullopt;
    return Decimal::FromDouble(*number);
}

}  // namespace

PassOutcome ReadForNewTotal(RowChoice rows, HostLink& host, MessageSink& messages, RoundPlan& plan,
                            const NumberFormat& format, PassObserver* observer) {
    const KeepPricing keep(format);
    return PreviewWith(keep, rows, PlanKind::NewTotal, host, messages, plan, format, observer);
}

double TotalNow(const RoundPlan& plan, const NumberFormat& format) {
    double total = 0;
    for (const PlannedLineItem& item : plan.items) {
        const std::optional<double> extended = NumberOrNothing(item.extendedPrice, format);
        if (extended && std::isfinite(*extended)) total += *extended;
    }
    return total;
}

bool AnythingToSpreadOver(const RoundPlan& plan, const NumberFormat& format) {
    for (const PlannedLineItem& item : plan.items) {
        if (ShareOf(item.quantity, format) && ShareOf(item.unitPrice, format)) return true;
    }
    return false;
}

std::optional<SpreadRefusal> SpreadOver(RoundPlan& plan, const Decimal& newTotal,
                                        const Decimal& step, const NumberFormat& format) {
    std::vector<SpreadLine> lines;
    std::vector<std::size_t> taking;
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const std::optional<Decimal> quantity = ShareOf(plan.items[i].quantity, format);
        const std::optional<Decimal> price = ShareOf(plan.items[i].unitPrice, format);
        if (!quantity || !price) continue;
        lines.push_back({*quantity, *price});
        taking.push_back(i);
    }
    const auto spread = SpreadTotal(lines, newTotal, step);
    if (const SpreadRefusal* refused = std::get_if<SpreadRefusal>(&spread)) return *refused;
    const TotalSpread& done = std::get<TotalSpread>(spread);
    for (PlannedLineItem& item : plan.items) {
        item.change = false;
        item.note = u"no price or quantity: left";
        item.newExtendedPrice = DecimalOf(item.extendedPrice, format);
    }
    for (std::size_t k = 0; k < taking.size(); ++k) {
        PlannedLineItem& item = plan.items[taking[k]];
        item.newUnitPrice = done.unitPrices[k].ToDouble();
        item.change = true;
        item.note.clear();
        item.newExtendedPrice = lines[k].quantity * done.unitPrices[k];
    }
    plan.newTotal = newTotal;
    plan.what = DescribeNewTotalChoice(newTotal, format);
    plan.remark = DescribeTotalReached(done, newTotal, step, format);
    return std::nullopt;
}

Text DescribeTotalReached(const TotalSpread& spread, const Decimal& newTotal, const Decimal& step,
                          const NumberFormat& format) {
    Text said;
    if (!spread.exact) {
        const Decimal miss = newTotal - spread.reached;
        const Text prices = u"Unit prices in steps of " + step.ToText(format) +
                            u", each within 1 % of its share of the new total (or one step, "
                            u"where that is more), ";
        const Text by =
            u" (" + miss.Abs().ToText(format) + (miss.Sign() > 0 ? u" less)" : u" more)");
        if (spread.nearestTotal) {
            said = prices + u"cannot make " + newTotal.ToText(format) +
                   u": the nearest total they make is " + spread.reached.ToText(format) + by + u".";
        } else {
            said = prices + u"were not found to make " + newTotal.ToText(format) +
                   u": the nearest total found is " + spread.reached.ToText(format) + by +
                   u"; a nearer one may exist.";
        }
    }
    // Prices far from their shares that the search could not prove necessary are said too, so
    // that a preview never passes them off as the best there is.
    if (!spread.nearestPrices && spread.farFromShare > 0) {
        if (!said.empty()) said += u" ";
        said += WholeText(spread.farFromShare) +
                (spread.farFromShare == 1 ? u" unit price lies more than one step from its share"
                                          : u" unit prices lie more than one step from their "
                                            u"shares") +
                u" of the new total (within 1 %); fewer might do.";
    }
    return said;
}

Text DescribeSpreadRefusal(SpreadRefusal refusal, const Decimal& newTotal, const Decimal& step,
                           const NumberFormat& format) {
    switch (refusal) {
        case SpreadRefusal::NothingToChange:
            // Also for line items that come to 0 now, credits and sales alike: no share of a
            // new total can be in proportion to them.
            return u"No line item of type 1 with a price and a quantity lies in the rows chosen in "
                   u"the main window, or those that do come to 0 now: there is nothing to share a "
                   u"new total over.";
        case SpreadRefusal::TotalNotPositive:
            return u"New total: " + newTotal.ToText(format) +
                   u" is refused; type an amount above 0.";
        case SpreadRefusal::StepNotPositive:
            return u"Unit prices in steps of: type an amount above 0.";
        case SpreadRefusal::TooManyDecimals:
            return u"New total: " + newTotal.ToText(format) +
                   u" has more decimals than unit prices in steps of " + step.ToText(format) +
                   u" allow.";
        case SpreadRefusal::NeedsSignChange:
            return u"New total: the line items can come to " + newTotal.ToText(format) +
                   u" only if a unit price became 0 or changed its sign, which is refused. Type "
                   u"a larger total, or choose other rows.";
        case SpreadRefusal::BeyondRange:
            return u"New total: " + newTotal.ToText(format) +
                   u" is beyond what the prices of this quote can be worked out to exactly.";
    }
    return Text();
}

}  // namespace tarvello
