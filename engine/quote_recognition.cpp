#include "quote_recognition.h"

#include "errors.h"
#include "rounding.h"

namespace tarvello::passes {
namespace {

Variant Read(HostApplication& host, PassPosition& at, std::int16_t& row, LineItemField field) {
    at.At(PassStep::LineItemGetValue, field);
    return host.LineItemGetValue(row, FieldName(field));
}

bool SameLineType(const Variant& current, std::int16_t expected, const NumberFormat& format) {
    try {
        return ToWholeNumber16(current, format) == expected;
    } catch (const EngineError&) {
        return false;  // a line type that is no number is not the one the pass saw
    }
}

}  // namespace

bool IsSameQuote(HostApplication& host, PassPosition& at, const QuoteShape& shape,
                 const NumberFormat& format) {
    std::int16_t row = 0;
    for (std::size_t i = 0; i < shape.lineTypes.size(); ++i) {
        row = static_cast<std::int16_t>(i);
        if (!SameLineType(Read(host, at, row, LineItemField::LineType), shape.lineTypes[i],
                          format)) {
            return false;
        }
    }
    std::size_t holding = 0;
    for (const ExpectedLineItem& item : shape.items) {
        row = item.row;
        const HeldValue& price = item.unitPrice;
        const Variant now = Read(host, at, row, LineItemField::UnitPrice);
        bool holds = SameValue(now, price.value, price.match, format) ||
                     (price.orValue && SameValue(now, *price.orValue, price.match, format));
        if (holds && item.quantity) {
            holds = SameValue(Read(host, at, row, LineItemField::QtyTotal), *item.quantity,
                              HeldValue::Match::Exactly, format);
        }
        holding += holds ? 1 : 0;
    }
    return 2 * holding >= shape.items.size();
}

}  // namespace tarvello::passes
