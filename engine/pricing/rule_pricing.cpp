#include "pricing/rule_pricing.h"

#include "numbers/rounding.h"
#include "passes/same_value.h"

namespace tarvello::passes {

// On the extended price the rule rounds the extended price, and the unit price is that divided
// by the quantity, not rounded again. A line item the rules leave (a guard, or a price already
// on a step) keeps its unit price and its modifier: nothing is written into it, where a unit
// price worked back from its extended price would be a needless change of its digits.
NewPrice RulePricing::Price(const LineItemValues& values, PassPosition& at) const {
    const bool extended = field_ == RoundedPrice::ExtendedPrice;
    const LineItemField field = extended ? LineItemField::ExtendedPrice : LineItemField::UnitPrice;
    at.At(PassStep::RoundPrice, field);
    const Variant& read = extended ? values.extendedPrice : values.unitPrice;
    RequireFinite(read);
    const RuleOutcome outcome = ApplyPriceRules(rules_, ToNumber(read, format_));
    NewPrice price;
    price.note = DescribeRuleOutcome(outcome, format_);
    price.change = outcome.kind == RuleOutcome::Kind::Rounded ||
                   outcome.kind == RuleOutcome::Kind::LiftedFromZero;
    if (!price.change) {
        price.unitPrice = NumberOrNothing(values.unitPrice, format_).value_or(0);
    } else if (extended) {
        price.unitPrice = UnitPriceFromExtended(at, outcome.newPrice, values.quantity, format_);
        // The host's extended price carries the binary error of its product (1.05 x 3 comes to
        // 3.1500000000000004): a unit price that stays what it is was on a step all along, and
        // is left with its modifier, so that applying the rules again changes nothing.
        if (SameValue(format_).Same(Variant::Double(price.unitPrice), values.unitPrice)) {
            price.change = false;
            RuleOutcome unchanged;
            unchanged.kind = RuleOutcome::Kind::Unchanged;
            price.note = DescribeRuleOutcome(unchanged, format_);
        }
    } else {
        price.unitPrice = outcome.newPrice;
    }
    return price;
}

}  // namespace tarvello::passes
