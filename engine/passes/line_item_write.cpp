#include "passes/line_item_write.h"

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

}  // namespace tarvello::passes
