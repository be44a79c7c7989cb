#pragma once
// What a Round would write, decided without writing: for every line item it would write, the
// values it read and the new unit price, with the document as it found it.

#include <cstdint>
#include <optional>
#include <vector>

#include "rounding_request.h"
#include "variant.h"

namespace tarvello {

struct PlannedLineItem {
    std::int16_t row = 0;
    // As read from the host.
    Variant quantity;
    Variant unitPrice;
    Variant extendedPrice;
    // The modifier the Round would clear; nothing when the host could not tell it.
    std::optional<Variant> modifier;
    double newUnitPrice = 0;
};

struct RoundPlan {
    RoundingRequest request;
    std::int32_t documentIndex = 0;
    std::int32_t lineItemCount = 0;
    // In row order.
    std::vector<PlannedLineItem> items;
};

}  // namespace tarvello
