#include "numbers/exact_decimal.h"

#include <algorithm>
#include <cmath>

#include "numbers/decimal_digits.h"
#include "numbers/errors.h"
#include "numbers/text_blanks.h"
#include "numbers/wide_arithmetic.h"

namespace tarvello {
namespace {

using Coefficient = Decimal::Coefficient;

using detail::OutOfRange;

Coefficient Limit() {
    static const Coefficient limit = PowerOfTen(Decimal::kMaxDigits);
    return limit;
}

bool InRange(Coefficient value) {
    return value < Limit() && value > -Limit();
}

Coefficient Checked(Coefficient value) {
    if (!InRange(value)) OutOfRange();
    return value;
}

// Within the 38 digits a coefficient keeps, beyond what 128 bits hold.
Coefficient Multiplied(Coefficient a, Coefficient b) {
    return Checked(detail::Mul(a, b));
}

Coefficient Added(Coefficient a, Coefficient b) {
    return Checked(detail::Add(a, b));
}

// The digits of |value|, most significant first; "0" for 0.
std::string Digits(Coefficient value) {
    std::string digits;
    do {
        const int digit = static_cast<int>(value % 10);
        digits.push_back(static_cast<char>('0' + (digit < 0 ? -digit : digit)));
        value /= 10;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

// Two values on one scale: a × 10^-scale and b × 10^-scale. Overflow when a coefficient would
// leave the range.
struct Aligned {
    Coefficient a = 0, b = 0;
    int scale = 0;
};

Aligned Align(const Decimal& a, const Decimal& b) {
    const int scale = std::max(a.scale(), b.scale());
    return {Multiplied(a.coefficient(), PowerOfTen(scale - a.scale())),
            Multiplied(b.coefficient(), PowerOfTen(scale - b.scale())), scale};
}

}  // namespace

Coefficient PowerOfTen(int n) {
    Coefficient power = 1;
    for (int i = 0; i < n; ++i) power *= 10;
    return power;
}

std::string CoefficientText(Coefficient value) {
    return (value < 0 ? "-" : "") + Digits(value);
}

bool HoldsAsPrice(const Decimal& amount) {
    Coefficient digits = amount.Abs().coefficient();
    while (digits != 0 && digits % 10 == 0) digits /= 10;
    return digits < PowerOfTen(kPriceDigits) && amount.Abs() < Decimal(PowerOfTen(kPriceDigits), 0);
}

Decimal::Decimal(Coefficient coefficient, int scale) : coefficient_(coefficient), scale_(scale) {
    while (scale_ < 0) {
        coefficient_ = Multiplied(coefficient_, 10);
        ++scale_;
    }
    while (scale_ > 0 && coefficient_ % 10 == 0) {
        coefficient_ /= 10;
        --scale_;
    }
    if (coefficient_ == 0) scale_ = 0;
    Checked(coefficient_);
    if (scale_ > kMaxScale) OutOfRange();
}

std::optional<Decimal> Decimal::FromDouble(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    if (value == 0) return Decimal();
    if (std::fabs(value) >= 1e20) return std::nullopt;
    const detail::DecimalDigits shortest = detail::ShortestDigits(value);
    const int scale = static_cast<int>(shortest.digits.size()) - shortest.pointPosition;
    if (scale > kMaxScale) return std::nullopt;
    Coefficient coefficient = 0;
    for (const char digit : shortest.digits) coefficient = coefficient * 10 + (digit - '0');
    return Decimal(shortest.negative ? -coefficient : coefficient, scale);
}

std::optional<Decimal> Decimal::FromText(const Text& text, const NumberFormat& format) {
    const Text& separator = format.decimalSeparator;
    std::size_t at = 0;
    const std::size_t end = text.size();
    while (at < end && IsBlank(text[at])) ++at;
    bool negative = false;
    if (at < end && (text[at] == u'-' || text[at] == u'+')) negative = text[at++] == u'-';
    Coefficient coefficient = 0;
    int digits = 0;
    int significant = 0;
    int scale = 0;
    bool fraction = false;
    for (; at < end; ++at) {
        const char16_t c = text[at];
        if (c >= u'0' && c <= u'9') {
            ++digits;
            if (fraction) ++scale;
            if (coefficient != 0 || c != u'0') ++significant;
            if (significant > kMaxDigits) return std::nullopt;
            coefficient = coefficient * 10 + (c - u'0');
        } else if (!fraction && !separator.empty() &&
                   text.compare(at, separator.size(), separator) == 0) {
            fraction = true;
            at += separator.size() - 1;
        } else {
            break;
        }
    }
    while (at < end && IsBlank(text[at])) ++at;
    if (at != end || digits == 0) return std::nullopt;
    while (scale > 0 && coefficient % 10 == 0) {
        coefficient /= 10;
        --scale;
    }
    if (scale > kMaxScale) return std::nullopt;
    return Decimal(negative ? -coefficient : coefficient, scale);
}

double Decimal::ToDouble() const {
    if (coefficient_ == 0) return 0.0;
    detail::DecimalDigits digits;
    digits.negative = coefficient_ < 0;
    digits.digits = Digits(coefficient_);
    digits.pointPosition = static_cast<int>(digits.digits.size()) - scale_;
    return detail::ToDouble(digits);
}

std::string Decimal::ToString() const {
    std::string digits = Digits(coefficient_);
    if (scale_ > 0) {
        if (static_cast<int>(digits.size()) <= scale_) {
            digits.insert(0, static_cast<std::size_t>(scale_ + 1) - digits.size(), '0');
        }
        digits.insert(digits.size() - static_cast<std::size_t>(scale_), ".");
    }
    return (coefficient_ < 0 ? "-" : "") + digits;
}

Text Decimal::ToText(const NumberFormat& format) const {
    return NumberTextIn(ToString(), format);
}

Decimal operator+(const Decimal& a, const Decimal& b) {
    const Aligned both = Align(a, b);
    return Decimal(Added(both.a, both.b), both.scale);
}

Decimal operator-(const Decimal& a, const Decimal& b) {
    return a + b.Negated();
}

Decimal operator*(const Decimal& a, const Decimal& b) {
    Coefficient product = Multiplied(a.coefficient_, b.coefficient_);
    int scale = a.scale_ + b.scale_;
    while (scale > 0 && product % 10 == 0) {
        product /= 10;
        --scale;
    }
    return Decimal(product, scale);
}

// Whole and fractional parts, the fraction on the largest scale: both fit whatever the scales,
// so comparing never overflows. Truncated parts order values as the values themselves.
int Compare(const Decimal& a, const Decimal& b) {
    const auto parts = [](const Decimal& d) {
        const Coefficient unit = PowerOfTen(d.scale_);
        return std::make_pair(d.coefficient_ / unit,
                              (d.coefficient_ % unit) * PowerOfTen(Decimal::kMaxScale - d.scale_));
    };
    const auto pa = parts(a), pb = parts(b);
    if (pa < pb) return -1;
    if (pb < pa) return 1;
    return 0;
}

DecimalDivision FloorDivide(const Decimal& value, const Decimal& divisor) {
    if (divisor.Sign() <= 0) {
        throw EngineError(ErrorKind::InvalidArgument, "a step that is not positive");
    }
    const Aligned both = Align(value, divisor);
    Coefficient quotient = both.a / both.b;
    Coefficient remainder = both.a % both.b;
    if (remainder < 0) {
        --quotient;
        remainder += both.b;
    }
    return DecimalDivision{quotient, Decimal(remainder, both.scale)};
}

Decimal Decimal::Times(Coefficient n, const Decimal& value) {
    return Decimal(Multiplied(n, value.coefficient_), value.scale_);
}

}  // namespace tarvello
