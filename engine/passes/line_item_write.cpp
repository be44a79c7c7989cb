#include "passes/line_item_write.h"

#include "numbers/errors.h"
#include "numbers/rounding.h"

namespace tarvello::passes {

void HistoryRecorder::BeforeWrites() {
    if (history_) history_->Writing(item_);
}

void HistoryRecorder::AfterWrites(const Variant& unitPriceAsLeft) {
    if (history_) history_->Written(unitPriceAsLeft.NumberValue());
}

void WriteLineItem(HostApplication& host, PassPosition& at, std::int16_t& row,
                   const Variant& modifier, const Variant& price, WriteRecorder& recorder) {
    recorder.BeforeWrites();
    Variant modifierValue = modifier;
    at.At(PassStep::LineItemSetValue, LineItemField::PriceModifier);
    host.LineItemSetValue(row, FieldName(LineItemField::PriceModifier), modifierValue);
    Variant priceValue = price.IsNumber() ? Variant::Double(price.NumberValue()) : price;
    at.At(PassStep::LineItemSetValue, LineItemField::UnitPrice);
    host.LineItemSetValue(row, FieldName(LineItemField::UnitPrice), priceValue);
    recorder.AfterWrites(priceValue);
}

bool SameValue(const Variant& current, const Variant& expected, const NumberFormat& format) {
    const std::optional<double> now = NumberOrNothing(current, format);
    const std::optional<double> then = NumberOrNothing(expected, format);
    if (!now || !then) return current == expected;
    return *now == *then;
}

bool Holds(const Variant& current, const HeldValue& held, const NumberFormat& format) {
    return SameValue(current, held.value, format) ||
           (held.orValue && SameValue(current, *held.orValue, format));
}

std::optional<LineItemField> FirstChanged(HostApplication& host, PassPosition& at,
                                          std::int16_t& row, const StillHolds& holds,
                                          const NumberFormat& format) {
    for (const HeldValue& held : holds) {
        if (held.readBefore) {
            if (!Holds(*held.readBefore, held, format)) return held.field;
            continue;
        }
        if (!Holds(ReadLineItem(host, at, row, held.field), held, format)) return held.field;
    }
    return std::nullopt;
}

std::optional<LineItemField> WriteIfUnchanged(HostApplication& host, PassPosition& at,
                                              std::int16_t& row, const StillHolds& holds,
                                              const Variant& modifier, const Variant& price,
                                              const NumberFormat& format, WriteRecorder& recorder) {
    if (const std::optional<LineItemField> changed = FirstChanged(host, at, row, holds, format)) {
        return changed;
    }
    WriteLineItem(host, at, row, modifier, price, recorder);
    return std::nullopt;
}

}  // namespace tarvello::passes
