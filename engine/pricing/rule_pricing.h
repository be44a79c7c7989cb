#pragma once
// Price rules as the passes apply them: to the field chosen in the main window, the unit price
// from the extended price as a Round works it out, and the line items left (by a guard, or
// already on a step) with the reason why.

#include "numbers/number_format.h"
#include "passes/describe_failure.h"
#include "passes/round_decision.h"
#include "pricing/price_rules.h"
#include "request/rounding_request.h"

namespace tarvello::passes {

class RulePricing : public LineItemPricing {
public:
    RulePricing(const PriceRules& rules, RoundedPrice field, const NumberFormat& format)
        : rules_(rules), field_(field), format_(format) {}
    NewPrice Price(const LineItemValues& values, PassPosition& at) const override;
    Text What(RowChoice rows) const override { return DescribeRulesChoice(field_, rows); }

private:
    PriceRules rules_;
    RoundedPrice field_;
    NumberFormat format_;
};

}  // namespace tarvello::passes
