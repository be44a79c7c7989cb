#pragma once
// An exact decimal number, for the price arithmetic that must not drift: 0.1 and 0.2 add up to
// 0.3, and 2.675 is 2.675, not the double just below it. A price from the host is taken as the
// shortest decimal that reads back as the same double (what a person sees), worked on exactly,
// and written back as the double nearest the result.
//
// value = coefficient × 10^-scale, kept normalised (no trailing zeros in the coefficient while
// scale > 0), so that equal values compare equal field by field. Arithmetic that would leave the
// range throws EngineError(Overflow); every price a quote holds lies far inside it.

#include <limits>
#include <optional>
#include <string>

#include "numbers/number_format.h"
#include "numbers/variant.h"

namespace tarvello {

class Decimal {
public:
    using Coefficient = __int128;
    // |coefficient| stays below 10^kMaxDigits, and 0 <= scale <= kMaxScale.
    static constexpr int kMaxDigits = 38;
    static constexpr int kMaxScale = 36;

    Decimal() = default;
    // coefficient × 10^-scale. Overflow when the scale is beyond kMaxScale after normalising or
    // the coefficient has too many digits.
    Decimal(Coefficient coefficient, int scale);
    static Decimal Whole(long long value) { return Decimal(value, 0); }

    // The shortest decimal that reads back as `value`; nothing for NaN, an infinity, or a value
    // beyond the range (its magnitude at 10^20 or more, or digits below 10^-kMaxScale).
    static std::optional<Decimal> FromDouble(double value);
    // A typed amount, read exactly: spaces around it, an optional sign, digits and the user's
    // decimal separator. Nothing when the text is no such number or lies beyond the range.
    static std::optional<Decimal> FromText(const Text& text, const NumberFormat& format = {});

    // The double nearest the exact value (ties to even, as the platform reads decimal text).
    double ToDouble() const;
    // Every digit, fixed notation, the user's separator, no grouping: "-1234.5", "0.05", "0".
    Text ToText(const NumberFormat& format = {}) const;
    std::string ToString() const;  // the same with a point, for logs and tests

    Coefficient coefficient() const { return coefficient_; }
    int scale() const { return scale_; }
    int Sign() const { return coefficient_ > 0 ? 1 : coefficient_ < 0 ? -1 : 0; }
    bool IsZero() const { return coefficient_ == 0; }
    bool IsWhole() const { return scale_ == 0; }
    Decimal Negated() const { return Decimal(-coefficient_, scale_); }
    Decimal Abs() const { return coefficient_ < 0 ? Negated() : *this; }

    // Overflow when the exact result leaves the range.
    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);
    friend Decimal operator*(const Decimal& a, const Decimal& b);

    // Exact comparison; never overflows.
    friend int Compare(const Decimal& a, const Decimal& b);
    friend bool operator==(const Decimal& a, const Decimal& b) { return Compare(a, b) == 0; }
    friend bool operator!=(const Decimal& a, const Decimal& b) { return Compare(a, b) != 0; }
    friend bool operator<(const Decimal& a, const Decimal& b) { return Compare(a, b) < 0; }
    friend bool operator<=(const Decimal& a, const Decimal& b) { return Compare(a, b) <= 0; }
    friend bool operator>(const Decimal& a, const Decimal& b) { return Compare(a, b) > 0; }
    friend bool operator>=(const Decimal& a, const Decimal& b) { return Compare(a, b) >= 0; }

    // n × value, exactly.
    static Decimal Times(Coefficient n, const Decimal& value);

private:
    Coefficient coefficient_ = 0;
    int scale_ = 0;
};

// The greatest whole n with n × divisor <= value, for a positive divisor, and what is left over
// (value - n × divisor, from 0 up to the divisor). InvalidArgument for a divisor that is not
// positive; Overflow when n or the alignment leaves the range.
struct DecimalDivision {
    Decimal::Coefficient quotient = 0;
    Decimal remainder;
};
DecimalDivision FloorDivide(const Decimal& value, const Decimal& divisor);

// The significant digits a price holds: a double keeps 15 exactly.
constexpr int kPriceDigits = std::numeric_limits<double>::digits10;

// An amount a price can hold: an amount of more than kPriceDigits significant digits, or of
// 10^kPriceDigits or more, would not be the one typed by the time a price is written.
bool HoldsAsPrice(const Decimal& amount);

// 10^n as a coefficient, for 0 <= n <= kMaxDigits.
Decimal::Coefficient PowerOfTen(int n);

// A coefficient as decimal digits with its sign ("-12345"), for messages and tests.
std::string CoefficientText(Decimal::Coefficient value);

}  // namespace tarvello
