#include "passes/quote_recognition.h"

#include "numbers/errors.h"
#include "numbers/rounding.h"

namespace tarvello::passes {
namespace {

Variant ReadAndKeep(HostApplication& host, PassPosition& at, std::int16_t& row, LineItemField field,
                    ValuesRead& read) {
    Variant value = ReadLineItem(host, at, row, field);
    read.Keep(row, field, value);
    return value;
}

bool SameLineType(const Variant& current, std::int16_t expected, const NumberFormat& format) {
    try {
        return ToWholeNumber16(current, format) == expected;
    } catch (const EngineError&) {
        return false;  // a line type that is no number is not the one the pass saw
    }
}

// The row of each of the shape's quantities: the n-th priced line item's.
std::vector<std::int16_t> RowsOfQuantities(const QuoteShape& shape) {
    std::vector<std::int16_t> rows;
    for (std::size_t row = 0; row < shape.lineTypes.size() && rows.size() < shape.quantities.size();
         ++row) {
        if (shape.lineTypes[row] == 1) rows.push_back(static_cast<std::int16_t>(row));
    }
    return rows;
}

// The quantity expected in each row: what the pass read of every priced line item, and where
// that was not kept (a journal of an earlier version), what the line items to be written had.
std::map<std::int16_t, Variant> QuantitiesByRow(const QuoteShape& shape) {
    std::map<std::int16_t, Variant> byRow;
    const std::vector<std::int16_t> rows = RowsOfQuantities(shape);
    for (std::size_t n = 0; n < rows.size(); ++n) byRow.emplace(rows[n], shape.quantities[n]);
    for (const ExpectedLineItem& item : shape.items) {
        if (item.quantity) byRow.emplace(item.row, *item.quantity);
    }
    return byRow;
}

}  // namespace

void ValuesRead::Keep(std::int16_t row, LineItemField field, Variant value) {
    values_[{row, field}] = std::move(value);
}

std::optional<Variant> ValuesRead::Find(std::int16_t row, LineItemField field) const {
    const auto found = values_.find({row, field});
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

void ValuesRead::Into(StillHolds& holds, std::int16_t row,
                      std::initializer_list<LineItemField> fields) const {
    for (HeldValue& held : holds) {
        for (const LineItemField field : fields) {
            if (held.field == field) held.readBefore = Find(row, field);
        }
    }
}

bool MostHold(std::size_t holding, std::size_t of) {
    return of < 4 ? holding == of : 2 * holding > of;
}

bool IsSameQuote(HostApplication& host, PassPosition& at, const QuoteShape& shape,
                 const NumberFormat& format, ValuesRead& read) {
    std::int16_t row = 0;
    for (std::size_t i = 0; i < shape.lineTypes.size(); ++i) {
        row = static_cast<std::int16_t>(i);
        const Variant lineType = ReadAndKeep(host, at, row, LineItemField::LineType, read);
        if (!SameLineType(lineType, shape.lineTypes[i], format)) return false;
    }
    std::size_t pricesHolding = 0;
    for (const ExpectedLineItem& item : shape.items) {
        row = item.row;
        const Variant price = ReadAndKeep(host, at, row, LineItemField::UnitPrice, read);
        pricesHolding += Holds(price, item.unitPrice, format) ? 1 : 0;
    }
    const std::map<std::int16_t, Variant> quantities = QuantitiesByRow(shape);
    std::size_t quantitiesHolding = 0;
    for (const auto& [quantityRow, expected] : quantities) {
        row = quantityRow;
        const Variant quantity = ReadAndKeep(host, at, row, LineItemField::QtyTotal, read);
        quantitiesHolding += SameValue(quantity, expected, format) ? 1 : 0;
    }
    return MostHold(pricesHolding, shape.items.size()) &&
           MostHold(quantitiesHolding, quantities.size());
}

std::vector<Variant> QuantitiesNow(const QuoteShape& shape, const ValuesRead& read) {
    std::vector<Variant> now = shape.quantities;
    const std::vector<std::int16_t> rows = RowsOfQuantities(shape);
    for (std::size_t n = 0; n < rows.size(); ++n) {
        if (auto value = read.Find(rows[n], LineItemField::QtyTotal)) now[n] = std::move(*value);
    }
    return now;
}

}  // namespace tarvello::passes
