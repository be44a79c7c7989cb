#pragma once
// Knowing a quote again before writing into it. The host names its active document only by an
// index, which another quote takes once the first is closed, a quote made from the same template
// has the same rows, and a line item has no identity but its row: a pass that writes values
// worked out earlier (Undo, Apply) first reads what it knows the quote by, and writes nothing
// into another quote, nor into one whose line items seem to have moved since.

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "passes/checked_write.h"
#include "passes/pass_runner.h"
#include "passes/same_value.h"
#include "request/host_application.h"

namespace tarvello::passes {

// A line item the pass will write, as it expects to find it: its unit price, and its quantity
// where it was kept.
struct RowToWrite {
    std::int16_t row = 0;
    FieldHeld unitPrice;
    std::optional<Variant> quantity;
};

// What the quote is known by, as far as it was seen: the line type of each row from row 0; the
// quantity of each priced line item (line type 1) read, in row order, the n-th being that of the
// n-th row of type 1 (none where they were not kept); and the line items the pass will write.
struct QuoteShape {
    std::vector<std::int16_t> lineTypes;
    std::vector<Variant> quantities;
    std::vector<RowToWrite> items;
};

// What knowing the quote again read, by row and field.
class QuoteRead {
public:
    void Keep(std::int16_t row, LineItemField field, Variant value);
    // Nothing when it was not read.
    std::optional<Variant> Find(std::int16_t row, LineItemField field) const;

private:
    std::map<std::pair<std::int16_t, LineItemField>, Variant> values_;
};

enum class QuoteVerdict {
    Same,     // the quote, perhaps with a few line items changed since
    Another,  // another quote, or too much of this one changed to tell
    Moved,    // the quote, but rows seem to hold other line items than they did
};

// What knowing the quote found: the verdict, and the rows whose kept quantity or price does not
// hold now (by shape: a quote of another shape is told without them).
struct QuoteKnown {
    QuoteVerdict verdict = QuoteVerdict::Another;
    std::vector<std::int16_t> notHolding;
};

// A part of the fingerprint holds when all of it does, for fewer than four, and strictly more
// than half of it otherwise: somebody may have changed a few line items since, and those are
// left alone one by one, but half a quote changed is another quote made from the same rows.
bool MostHold(std::size_t holding, std::size_t of);

// Reads, in one sweep, the line type of every row of the shape, then row by row the unit price
// of each line item to be written (and its extended price, with `readExtended`) and the
// quantities kept, into `read`; shows `same` every price read; and tells whether the open quote
// is the one of the shape. It is when every line type is as it was and the quantities and the
// prices each hold by MostHold; it seems moved when, besides, the rows that do not hold mostly
// hold what other rows held, shifted by the same number of rows (a line item added, removed or
// moved before them).
// What `read` holds already is not read again.
QuoteKnown KnowQuote(HostApplication& host, PassPosition& at, const QuoteShape& shape,
                     SameValue& same, QuoteRead& read, bool readExtended = false);

// The shape's quantities, each as `read` found it where it was read: what the quote is known by
// once a pass has seen it.
std::vector<Variant> QuantitiesNow(const QuoteShape& shape, const QuoteRead& read);

}  // namespace tarvello::passes
