#include "line_item_write.h"

#include <algorithm>
#include <cmath>

#include "errors.h"
#include "rounding.h"

namespace tarvello::detail {
namespace {

// Half a hundredth: a host that keeps two decimals or more holds the price written within it,
// and a price changed by a hundredth or more is a change somebody made.
constexpr double kHostPrecision = 0.005;

std::optional<double> NumberIn(const Variant& value, const NumberFormat& format) {
    if (value.IsNumber()) return value.NumberValue();
    if (value.kind() == Variant::Kind::Text) {
        try {
            return ReadNumber(value.AsText(), format);
        } catch (const EngineError&) {
        }
    }
    return std::nullopt;
}

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

bool SamePrice(const Variant& current, const Variant& expected, Expected::Match match,
               const NumberFormat& format) {
    const std::optional<double> now = NumberIn(current, format);
    const std::optional<double> then = NumberIn(expected, format);
    if (!now || !then) return current == expected;
    if (match == Expected::Match::Exactly) return *now == *then;
    // A little above half a hundredth, for the binary error of large prices.
    const double slack = 1e-9 * std::max(1.0, std::fabs(*then));
    return std::fabs(*now - *then) <= kHostPrecision + slack;
}

bool WriteIfUnchanged(HostApplication& host, PassPosition& at, std::int16_t& row,
                      const Expected& expected, const Variant& modifier, const Variant& price,
                      const NumberFormat& format, WriteRecorder& recorder) {
    at.At(PassStep::LineItemGetValue, LineItemField::UnitPrice);
    const Variant current = host.LineItemGetValue(row, FieldName(LineItemField::UnitPrice));
    const bool priceHolds =
        SamePrice(current, expected.unitPrice, expected.match, format) ||
        (expected.orUnitPrice && SamePrice(current, *expected.orUnitPrice, expected.match, format));
    if (!priceHolds) return false;
    if (expected.modifier) {
        at.At(PassStep::LineItemGetValue, LineItemField::PriceModifier);
        if (host.LineItemGetValue(row, FieldName(LineItemField::PriceModifier)) !=
            *expected.modifier) {
            return false;
        }
    }
    WriteLineItem(host, at, row, modifier, price, recorder);
    return true;
}

}  // namespace tarvello::detail
