#include "request/rounding_rules.h"

#include "numbers/rounding.h"

namespace tarvello::detail {

double EffectiveAmount(RoundingMethod method, double amount) {
    if (method != RoundingMethod::Decimal && amount < 1.0) return 1.0;
    return amount;
}

std::int32_t MethodWholeNumber(RoundingMethod method, double amount) {
    const std::int32_t n = ToWholeNumber(EffectiveAmount(method, amount));
    if (method == RoundingMethod::Decimal && n < 0) {
        throw EngineError(ErrorKind::InvalidArgument, "negative number of decimal places");
    }
    return n;
}

double ApplyMethod(RoundingMethod method, double amount, std::int32_t n, const Variant& price,
                   const NumberFormat& format) {
    switch (method) {
        case RoundingMethod::Decimal:
            return RoundToPlaces(price, n, format).NumberValue();
        case RoundingMethod::Nearest:
            return RoundToNext(ToWholeNumber(price, format), n).AsInt32();
        case RoundingMethod::RoundUp: {
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
