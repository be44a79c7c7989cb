#pragma once
// A double written as decimal digits: the exact, locale-free text form that both decimal
// roundings work on, so that no rounding of ours ever depends on printf or the C locale.

#include <string>

namespace tarvello::detail {

// value = (negative ? -1 : 1) * 0.d1 d2 ... dn * 10^pointPosition, with d1 != 0 unless the
// value is 0 (then digits is "0" and pointPosition 1). So "123.45" is digits "12345" and
// pointPosition 3; "0.012" is digits "12" and pointPosition -1.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int pointPosition = 1;
};

// The shortest digits that read back as exactly `value` (finite values only).
DecimalDigits ShortestDigits(double value);

// `value` rounded to `significant` significant digits, an exact tie going to the even digit.
DecimalDigits SignificantDigits(double value, int significant);

// Keeps `places` digits after the decimal point; the digits dropped decide the rounding, a
// dropped part of exactly one half going to the even last kept digit. The result is not
// normalised (it may start with zeros or be all zeros).
DecimalDigits RoundHalfEvenToPlaces(const DecimalDigits& number, int places);

// The nearest double to the digits.
double ToDouble(const DecimalDigits& number);

}  // namespace tarvello::detail
