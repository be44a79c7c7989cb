#include "passes/same_value.h"

#include "numbers/errors.h"

namespace tarvello::passes {
namespace {

// Fewer decimals than this are what round prices show, not a host that keeps money so: every
// host that keeps a fixed precision keeps cents at least.
constexpr int kFewestKeptDecimals = 2;

bool IsBlank(const Variant& value) {
    return value.IsEmpty() || (value.kind() == Variant::Kind::Text && value.AsText().empty());
}

}  // namespace

std::optional<Decimal> DecimalOf(const Variant& value, const NumberFormat& format) {
    try {
        switch (value.kind()) {
            case Variant::Kind::Int16:
            case Variant::Kind::Int32:
            case Variant::Kind::Double:
                return Decimal::FromDouble(value.NumberValue());
            case Variant::Kind::Text:
                return Decimal::FromText(value.AsText(), format);
            default:
                return std::nullopt;
        }
    } catch (const EngineError&) {
        return std::nullopt;
    }
}

void SameValue::SeePrice(const Variant& price) {
    if (const std::optional<Decimal> value = DecimalOf(price, format_)) {
        if (value->scale() > decimalsShown_) decimalsShown_ = value->scale();
    }
}

bool SameValue::Same(const Variant& now, const Variant& before) const {
    if (IsBlank(now) || IsBlank(before)) return IsBlank(now) && IsBlank(before);
    const std::optional<Decimal> a = DecimalOf(now, format_);
    const std::optional<Decimal> b = DecimalOf(before, format_);
    if (a && b) return *a == *b;
    if (a || b) return false;
    // Beyond the exact range (or not a number at all): as the host gave them.
    if (now.IsNumber() && before.IsNumber()) return now.NumberValue() == before.NumberValue();
    return now == before;
}

bool SameValue::Kept(const Variant& now, double worked) const {
    const Variant workedValue = Variant::Double(worked);
    if (Same(now, workedValue)) return true;
    const int kept = decimalsShown_;
    if (kept < kFewestKeptDecimals) return false;
    const std::optional<Decimal> held = DecimalOf(now, format_);
    const std::optional<Decimal> meant = DecimalOf(workedValue, format_);
    if (!held || !meant || meant->scale() <= kept || held->scale() > kept) return false;
    try {
        // Rounded to `kept` decimals, whichever way the host breaks a tie: at most half of the
        // last decimal kept away.
        const Decimal halfStep(5, kept + 1);
        return (*held - *meant).Abs() <= halfStep;
    } catch (const EngineError&) {
        return false;
    }
}

}  // namespace tarvello::passes
