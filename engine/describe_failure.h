#pragma once
// Plain-words messages for the window's message boxes.

#include "number_format.h"
#include "round_line_items.h"
#include "variant.h"

namespace tarvello {

// One message saying where the pass stopped, why, and what it had already changed. Rows are
// named by the host's own numbering, from 0, as the host's list of line items shows them.
Text DescribeRoundFailure(const RoundFailure& failure);

// The amount typed cannot be read as a number. The example uses the user's separator.
Text DescribeUnreadableAmount(const Text& amountText, const NumberFormat& format = {});

}  // namespace tarvello
