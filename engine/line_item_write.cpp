#include "line_item_write.h"

#include <algorithm>
#include <cmath>

#include "errors.h"
#include "rounding.h"

namespace tarvello::passes {
namespace {

// Half a hundredth: a host that keeps two decimals or more holds the price written within it,
// and a price changed by a hundredth or more is a change somebody made.
constexpr double kHostPrecision = 0.005;

}  // namespace

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

bool SameValue(const Variant& current, const Variant& expected, HeldValue::Match match,
               const NumberFormat& format) {
    const std::optional<double> now = NumberOrNothing(current, format);
    const std::optional<double> then = NumberOrNothing(expected, format);
    if (!now || !then) return current == expected;
    if (match == HeldValue::Match::Exactly) return *now == *then;
    // A little above half a hundredth, for the binary error of large prices.
    const double slack = 1e-9 * std::max(1.0, std::fabs(*then));
    return std::fabs(*now - *then) <= kHostPrecision + slack;
}

std::optional<LineItemField> FirstChanged(HostApplication& host, PassPosition& at,
                                          std::int16_t& row, const StillHolds& holds,
                                          const NumberFormat& format) {
    for (const HeldValue& held : holds) {
        at.At(PassStep::LineItemGetValue, held.field);
        const Variant current = host.LineItemGetValue(row, FieldName(held.field));
        const bool holdsNow =
            SameValue(current, held.value, held.match, format) ||
            (held.orValue && SameValue(current, *held.orValue, held.match, format));
        if (!holdsNow) return held.field;
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
