#include "rounding_rules.h"

#include "rounding.h"

namespace tarvello::detail {

std::optional<Method> MethodNamed(const Text& name) {
    if (name == u"Decimal") return Method::Decimal;
    if (name == u"Nearest") return Method::Nearest;
    if (name == u"RoundUp") return Method::RoundUp;
    return std::nullopt;
}

std::optional<PriceField> PriceFieldNamed(const Text& name) {
    if (name == u"UnitPrice") return PriceField::UnitPrice;
    if (name == u"ExtendedPrice") return PriceField::ExtendedPrice;
    return std::nullopt;
}

RowScope RowScopeNamed(const Text& name) {
    if (name == u"Current") return RowScope::Current;
    if (name == u"Selected") return RowScope::Selected;
    if (name == u"All") return RowScope::All;
    return RowScope::NoRows;
}

double EffectiveAmount(Method method, double amount) {
    if (method != Method::Decimal && amount < 1.0) return 1.0;
    return amount;
}

std::int32_t MethodWholeNumber(Method method, double amount) {
    const std::int32_t n = ToWholeNumber(EffectiveAmount(method, amount));
    if (method == Method::Decimal && n < 0) {
        throw EngineError(ErrorKind::InvalidArgument, "negative number of decimal places");
    }
    return n;
}

double ApplyMethod(Method method, double amount, std::int32_t n, const Variant& price,
                   const NumberFormat& format) {
    switch (method) {
        case Method::Decimal:
            return RoundToPlaces(price, n, format).NumberValue();
        case Method::Nearest:
            return RoundToNext(ToWholeNumber(price, format), n).AsInt32();
        case Method::RoundUp: {
            const std::int32_t below = RoundToNext(ToWholeNumber(price, format), n).AsInt32();
            const double asRead = ToNumber(price, format);
            if (below >= asRead) return below;
            // The second step adds the amount itself, not its whole number.
            const double raised = asRead + EffectiveAmount(method, amount);
            return RoundToNext(ToWholeNumber(raised), n).AsInt32();
        }
    }
    return 0.0;
}

}  // namespace tarvello::detail
