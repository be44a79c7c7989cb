#pragma once
// Knowing a quote again before writing into it. The host names its active document only by an
// index, which another quote takes once the first is closed: a pass that writes values worked
// out earlier (Undo, Apply) first reads what it knows the quote by, and writes nothing into
// another quote.

#include <cstdint>
#include <optional>
#include <vector>

#include "host_application.h"
#include "line_item_write.h"
#include "number_format.h"
#include "pass_runner.h"

namespace tarvello::passes {

// A line item the pass will write, as it expects to find it.
struct ExpectedLineItem {
    std::int16_t row = 0;
    HeldValue unitPrice{LineItemField::UnitPrice, Variant()};
    // Nothing where it was not kept.
    std::optional<Variant> quantity;
};

// What the quote is known by: the line type of each row from row 0 (as far as it was seen), and
// the line items the pass will write.
struct QuoteShape {
    std::vector<std::int16_t> lineTypes;
    std::vector<ExpectedLineItem> items;
};

// True when the active document is that quote: every line type as it was, and at least half of
// the line items with the unit price (and quantity) expected. Somebody may have changed a few
// line items since, and they are left alone one by one; a quote in which most have changed is
// another quote with the same rows. Reads the line types, then each line item's unit price and
// quantity.
bool IsSameQuote(HostApplication& host, PassPosition& at, const QuoteShape& shape,
                 const NumberFormat& format);

}  // namespace tarvello::passes
