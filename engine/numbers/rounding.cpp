#include "numbers/rounding.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "numbers/decimal_digits.h"

namespace tarvello {
namespace {

using detail::DecimalDigits;

// RoundIt's decimal step holds at most a 96-bit magnitude.
constexpr double kDecimalLimit = 79228162514264337593543950336.0;  // 2^96
constexpr int kDecimalSignificantDigits = 15;

// The greatest whole number not above the digits, as the nearest double.
double FloorToDouble(const DecimalDigits& number) {
    const std::size_t wholeDigits =
        number.pointPosition > 0 ? static_cast<std::size_t>(number.pointPosition) : 0;
    if (wholeDigits >= number.digits.size()) return detail::ToDouble(number);

    // A fraction remains, so at most 15 whole digits: they fit 64 bits exactly.
    std::uint64_t whole = 0;
    for (std::size_t i = 0; i < wholeDigits; ++i) {
        whole = whole * 10 + static_cast<std::uint64_t>(number.digits[i] - '0');
    }
    const bool hasFraction = number.digits.find_first_not_of('0', wholeDigits) != std::string::npos;
    if (!number.negative) return static_cast<double>(whole);
    if (hasFraction) ++whole;
    return whole == 0 ? 0.0 : -static_cast<double>(whole);
}

void RequireInRange(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw EngineError(ErrorKind::Overflow, "RoundToNext: result outside the 32-bit range");
    }
}

}  // namespace

double RoundIt(double aNumberToRound, double aDecimalPlaces) {
    const double factor = std::pow(10.0, aDecimalPlaces);
    if (!std::isfinite(factor) || factor == 0.0) return 0.0;
    const double scaled = aNumberToRound * factor + 0.5;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= kDecimalLimit) return 0.0;

    const DecimalDigits decimal = detail::SignificantDigits(scaled, kDecimalSignificantDigits);
    const double result = FloorToDouble(decimal) / factor;
    return std::isfinite(result) ? result : 0.0;
}

Variant RoundToNext(std::int32_t Value, std::int32_t Interval) {
    if (Interval == 0) throw EngineError(ErrorKind::DivisionByZero, "RoundToNext: interval 0");
    if (Value == std::numeric_limits<std::int32_t>::min() && Interval == -1) {
        throw EngineError(ErrorKind::Overflow, "RoundToNext: remainder outside the 32-bit range");
    }
    const std::int32_t remainder = Value % Interval;
    const double half = Interval / 2.0;
    std::int64_t result = 0;
    if (half > remainder) {
        result = static_cast<std::int64_t>(Value) - remainder;
    } else {
        const std::int64_t difference = static_cast<std::int64_t>(Interval) - remainder;
        RequireInRange(difference);
        result = difference + Value;
    }
    RequireInRange(result);
    return Variant::Int32(static_cast<std::int32_t>(result));
}

Variant RoundToPlaces(const Variant& value, std::int32_t places, const NumberFormat& format) {
    if (places < 0) {
        throw EngineError(ErrorKind::InvalidArgument, "RoundToPlaces: negative places");
    }
    switch (value.kind()) {
        case Variant::Kind::Int16:
        case Variant::Kind::Int32:
            return value;  // already whole
        case Variant::Kind::Boolean:
            return Variant::Int16(value.BooleanValue());
        case Variant::Kind::Empty:
            return Variant::Int16(0);
        default:
            break;
    }
    const double number =
        value.kind() == Variant::Kind::Text ? ReadNumber(value.AsText(), format) : value.AsDouble();
    if (!std::isfinite(number)) return Variant::Double(number);
    // Halves are decided on the number as it is written, not on its base-2 neighbour.
    const DecimalDigits rounded =
        detail::RoundHalfEvenToPlaces(detail::ShortestDigits(number), places);
    const double result = detail::ToDouble(rounded);
    // -0.001 to two places is 0, not a "-0" for the host to show.
    return Variant::Double(result == 0.0 ? 0.0 : result);
}

}  // namespace tarvello
