#include "passes/quote_recognition.h"

#include <cstdlib>

namespace tarvello::passes {
namespace {

using Field = LineItemField;

// How far rows are looked for shifted, and how many rows that do not hold are looked at: a line
// item or a few added, removed or moved shift the rows after them by as many.
constexpr int kFarthestShift = 64;
constexpr std::size_t kRowsLookedAt = 256;

// What a row is expected to hold: its quantity where it was kept, its unit price where the pass
// writes it.
struct RowExpected {
    std::optional<Variant> quantity;
    const FieldHeld* unitPrice = nullptr;
};
using Expected = std::map<std::int16_t, RowExpected>;

// The row of each of the shape's quantities: the n-th priced line item's.
std::vector<std::int16_t> RowsOfQuantities(const QuoteShape& shape) {
    std::vector<std::int16_t> rows;
    for (std::size_t row = 0; row < shape.lineTypes.size() && rows.size() < shape.quantities.size();
         ++row) {
        if (shape.lineTypes[row] == 1) rows.push_back(static_cast<std::int16_t>(row));
    }
    return rows;
}

// What every row is expected to hold: the quantity the pass read of every priced line item, and
// where that was not kept (a journal of an earlier version), what the line items to be written
// had; the price of each line item to be written.
Expected ExpectedRows(const QuoteShape& shape) {
    Expected rows;
    const std::vector<std::int16_t> quantityRows = RowsOfQuantities(shape);
    for (std::size_t n = 0; n < quantityRows.size(); ++n) {
        rows[quantityRows[n]].quantity = shape.quantities[n];
    }
    for (const RowToWrite& item : shape.items) {
        RowExpected& row = rows[item.row];
        if (!row.quantity) row.quantity = item.quantity;
        row.unitPrice = &item.unitPrice;
    }
    return rows;
}

// Whether what row `at` holds now is what `expected` says; nothing when nothing of it was read
// there to compare.
std::optional<bool> HoldsAt(const RowExpected& expected, std::int16_t at, const QuoteRead& read,
                            const SameValue& same) {
    bool compared = false;
    if (expected.quantity) {
        if (const std::optional<Variant> now = read.Find(at, Field::QtyTotal)) {
            if (!same.Same(*now, *expected.quantity)) return false;
            compared = true;
        }
    }
    if (expected.unitPrice) {
        if (const std::optional<Variant> now = read.Find(at, Field::UnitPrice)) {
            if (!Holds(*now, *expected.unitPrice, same)) return false;
            compared = true;
        }
    }
    if (!compared) return std::nullopt;
    return true;
}

// Rows that do not hold what they held, most of them holding what the row so many rows away
// held, the same number for all: line items were added, removed or moved before them. One row
// alone that happens to hold a neighbour's values is a line item changed by hand.
bool SeemMoved(const Expected& expected, const std::vector<std::int16_t>& notHolding,
               const QuoteRead& read, const SameValue& same) {
    if (notHolding.size() < 2) return false;
    const std::size_t looked = std::min(notHolding.size(), kRowsLookedAt);
    for (int shift = -kFarthestShift; shift <= kFarthestShift; ++shift) {
        if (shift == 0) continue;
        std::size_t shifted = 0;
        std::size_t not_shifted = 0;
        for (std::size_t i = 0; i < looked; ++i) {
            const std::int16_t row = notHolding[i];
            const auto from = expected.find(static_cast<std::int16_t>(row + shift));
            if (from == expected.end()) continue;
            const std::optional<bool> holds = HoldsAt(from->second, row, read, same);
            if (!holds) continue;
            (*holds ? shifted : not_shifted) += 1;
        }
        if (shifted > 0 && shifted > not_shifted) return true;
    }
    return false;
}

}  // namespace

void QuoteRead::Keep(std::int16_t row, LineItemField field, Variant value) {
    values_[{row, field}] = std::move(value);
}

std::optional<Variant> QuoteRead::Find(std::int16_t row, LineItemField field) const {
    const auto found = values_.find({row, field});
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

bool MostHold(std::size_t holding, std::size_t of) {
    return of < 4 ? holding == of : 2 * holding > of;
}

QuoteKnown KnowQuote(HostApplication& host, PassPosition& at, const QuoteShape& shape,
                     SameValue& same, QuoteRead& read, bool readExtended) {
    std::int16_t row = 0;
    // What `read` already holds is not read again: a look at several Rounds reads the quote once.
    const auto readAndKeep = [&](Field field) {
        if (std::optional<Variant> known = read.Find(row, field)) return *known;
        Variant value = ReadLineItem(host, at, row, field);
        read.Keep(row, field, value);
        return value;
    };
    for (std::size_t i = 0; i < shape.lineTypes.size(); ++i) {
        row = static_cast<std::int16_t>(i);
        if (!SameLineType(readAndKeep(Field::LineType), shape.lineTypes[i], same.format())) {
            return {};
        }
    }
    const Expected expected = ExpectedRows(shape);
    for (const auto& [expectedRow, what] : expected) {
        row = expectedRow;
        if (what.unitPrice) {
            same.SeePrice(readAndKeep(Field::UnitPrice));
            if (readExtended) readAndKeep(Field::ExtendedPrice);
        }
        // A line item to be written has its quantity read even where none was kept: its check
        // before the write compares it with this.
        if (what.quantity || what.unitPrice) readAndKeep(Field::QtyTotal);
    }

    std::size_t prices = 0, pricesHolding = 0, quantities = 0, quantitiesHolding = 0;
    std::vector<std::int16_t> notHolding;
    for (const auto& [expectedRow, what] : expected) {
        bool holds = true;
        if (what.quantity) {
            const bool quantity =
                same.Same(*read.Find(expectedRow, Field::QtyTotal), *what.quantity);
            ++quantities;
            quantitiesHolding += quantity ? 1 : 0;
            holds = holds && quantity;
        }
        if (what.unitPrice) {
            const bool price =
                Holds(*read.Find(expectedRow, Field::UnitPrice), *what.unitPrice, same);
            ++prices;
            pricesHolding += price ? 1 : 0;
            holds = holds && price;
        }
        if (!holds) notHolding.push_back(expectedRow);
    }
    if (!MostHold(pricesHolding, prices) || !MostHold(quantitiesHolding, quantities)) {
        return {QuoteVerdict::Another, std::move(notHolding)};
    }
    const bool moved = SeemMoved(expected, notHolding, read, same);
    return {moved ? QuoteVerdict::Moved : QuoteVerdict::Same, std::move(notHolding)};
}

std::vector<Variant> QuantitiesNow(const QuoteShape& shape, const QuoteRead& read) {
    std::vector<Variant> now = shape.quantities;
    const std::vector<std::int16_t> rows = RowsOfQuantities(shape);
    for (std::size_t n = 0; n < rows.size(); ++n) {
        if (auto value = read.Find(rows[n], Field::QtyTotal)) now[n] = std::move(*value);
    }
    return now;
}

}  // namespace tarvello::passes
