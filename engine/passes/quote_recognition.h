#pragma once
// Knowing a quote again before writing into it. The host names its active document only by an
// index, which another quote takes once the first is closed, and a quote made from the same
// template has the same rows: a pass that writes values worked out earlier (Undo, Apply) first
// reads what it knows the quote by, and writes nothing into another quote. What it reads on the
// way is kept, so that the checks before the writes need not read it again.

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "numbers/number_format.h"
#include "passes/line_item_write.h"
#include "passes/pass_runner.h"
#include "request/host_application.h"

namespace tarvello::passes {

// A line item the pass will write, as it expects to find it.
struct ExpectedLineItem {
    std::int16_t row = 0;
    HeldValue unitPrice{LineItemField::UnitPrice, Variant()};
    // Nothing where it was not kept.
    std::optional<Variant> quantity;
};

// What the quote is known by, as far as it was seen: the line type of each row from row 0; the
// quantity of each priced line item (line type 1) read, in row order, the n-th being that of the
// n-th row of type 1 (none where they were not kept); and the line items the pass will write.
struct QuoteShape {
    std::vector<std::int16_t> lineTypes;
    std::vector<Variant> quantities;
    std::vector<ExpectedLineItem> items;
};

// What knowing the quote again read, by row and field.
class ValuesRead {
public:
    void Keep(std::int16_t row, LineItemField field, Variant value);
    // Nothing when it was not read.
    std::optional<Variant> Find(std::int16_t row, LineItemField field) const;
    // Hands the values of `fields` that were read to the checks of `holds`.
    void Into(StillHolds& holds, std::int16_t row,
              std::initializer_list<LineItemField> fields) const;

private:
    std::map<std::pair<std::int16_t, LineItemField>, Variant> values_;
};

// A part of the fingerprint holds when all of it does, for fewer than four, and strictly more
// than half of it otherwise: somebody may have changed a few line items since, and those are
// left alone one by one, but half a quote changed is another quote made from the same rows.
bool MostHold(std::size_t holding, std::size_t of);

// True when the active document is that quote: every line type as it was, the quantities read
// and the unit prices of the line items to be written each by MostHold, compared exactly. Reads
// the line types, then each line item's unit price and quantity, into `read`.
bool IsSameQuote(HostApplication& host, PassPosition& at, const QuoteShape& shape,
                 const NumberFormat& format, ValuesRead& read);

// The shape's quantities, each as `read` found it where it was read: what the quote is known by
// once a pass has seen it.
std::vector<Variant> QuantitiesNow(const QuoteShape& shape, const ValuesRead& read);

}  // namespace tarvello::passes
