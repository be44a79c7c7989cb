#pragma once
// Whole numbers of 128 bits, for exact decimals and for spreading a total (a quote's decimals
// scaled away): products of prices and totals fit, and any step that would not throws
// EngineError(Overflow).

#include <climits>

#include "numbers/errors.h"

namespace tarvello::detail {

using Wide = __int128;

constexpr Wide kWideMax = static_cast<Wide>((static_cast<unsigned __int128>(1) << 127) - 1);

[[noreturn]] inline void OutOfRange() {
    throw EngineError(ErrorKind::Overflow, "beyond the range of exact arithmetic");
}

inline Wide Mul(Wide a, Wide b) {
    Wide product = 0;
    if (__builtin_mul_overflow(a, b, &product)) OutOfRange();
    return product;
}

inline Wide Add(Wide a, Wide b) {
    Wide sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) OutOfRange();
    return sum;
}

inline Wide Abs(Wide a) {
    return a < 0 ? -a : a;
}

// Division rounding down and up, and the remainder from 0 to the divisor, for b > 0.
inline Wide FloorDiv(Wide a, Wide b) {
    Wide quotient = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) --quotient;
    return quotient;
}

inline Wide CeilDiv(Wide a, Wide b) {
    return -FloorDiv(-a, b);
}

inline Wide Mod(Wide a, Wide b) {
    return a - FloorDiv(a, b) * b;
}

inline Wide Gcd(Wide a, Wide b) {
    a = Abs(a);
    b = Abs(b);
    while (b != 0) {
        const Wide rest = a % b;
        a = b;
        b = rest;
    }
    return a;
}

inline long long Narrow(Wide value) {
    if (value > LLONG_MAX || value < LLONG_MIN) OutOfRange();
    return static_cast<long long>(value);
}

}  // namespace tarvello::detail
