#pragma once
// A new total as a plan: the line items of the rows chosen read as a Round's preview reads them
// (every one left as it is), the total they come to now, and the new total spread over them
// (total_spread.h) into the plan that the preview shows and Apply writes.

#include <optional>

#include "numbers/number_format.h"
#include "passes/pass.h"
#include "passes/round_plan.h"
#include "request/host_application.h"
#include "request/rounding_request.h"
#include "spread/total_spread.h"

namespace tarvello {

// Reads the line items of type 1 in `rows` into `plan`, with the reads of a Round's preview,
// every one planned to stay as it is.
PassOutcome ReadForNewTotal(RowChoice rows, HostLink& host, MessageSink& messages, RoundPlan& plan,
                            const NumberFormat& format = {}, PassObserver* observer = nullptr);

// The sum of the extended prices of the plan's line items that are numbers: the total now.
double TotalNow(const RoundPlan& plan, const NumberFormat& format = {});

// Whether any line item of the plan has a price and a quantity to take a share of a change.
bool AnythingToSpreadOver(const RoundPlan& plan, const NumberFormat& format = {});

// Spreads `newTotal` over the plan's line items with a price and a quantity, unit prices in
// steps of `step`: they get their new prices, the others a note saying why they stay. When the
// total cannot be reached exactly, the plan's remark says which total it reaches. Nothing but
// the refusal when there is no spread (the plan is then as it was).
std::optional<SpreadRefusal> SpreadOver(RoundPlan& plan, const Decimal& newTotal,
                                        const Decimal& step, const NumberFormat& format = {});

// Which total a spread reaches when it is not the new one, by how much it misses and why (the
// bound on every price), and whether a nearer one was ruled out; empty when exact.
Text DescribeTotalReached(const TotalSpread& spread, const Decimal& newTotal, const Decimal& step,
                          const NumberFormat& format = {});

// Why a new total cannot be spread, in words for the user.
Text DescribeSpreadRefusal(SpreadRefusal refusal, const Decimal& newTotal, const Decimal& step,
                           const NumberFormat& format = {});

}  // namespace tarvello
