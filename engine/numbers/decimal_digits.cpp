#include "numbers/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace tarvello::detail {
namespace {

// Splits the scientific form "-d.ddde+XX" of to_chars into digits and point position.
DecimalDigits FromScientific(const char* first, const char* last) {
    DecimalDigits result;
    const char* p = first;
    if (p != last && *p == '-') {
        result.negative = true;
        ++p;
    }
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.') result.digits.push_back(*p);
    }
    int exponent = 0;
    if (p != last) {
        ++p;  // 'e'
        if (p != last && *p == '+') ++p;
        std::from_chars(p, last, exponent);
    }
    while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
    result.pointPosition = exponent + 1;
    if (result.digits == "0") {
        result.pointPosition = 1;
    }
    return result;
}

}  // namespace

DecimalDigits ShortestDigits(double value) {
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    return FromScientific(buffer, written.ptr);
}

DecimalDigits SignificantDigits(double value, int significant) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, significant - 1);
    return FromScientific(buffer, written.ptr);
}

DecimalDigits RoundHalfEvenToPlaces(const DecimalDigits& number, int places) {
    const long long fractionDigits =
        static_cast<long long>(number.digits.size()) - number.pointPosition;
    if (fractionDigits <= places) return number;

    // Digits kept: everything up to `places` after the point; may be none or negative.
    const long long kept = number.pointPosition + static_cast<long long>(places);
    DecimalDigits result;
    result.negative = number.negative;
    if (kept < 0) {
        // Every digit lies below one half of the last kept place.
        result.digits = "0";
        result.pointPosition = 1;
        return result;
    }
    const std::string keptDigits = number.digits.substr(0, static_cast<std::size_t>(kept));
    const char firstDropped = number.digits[static_cast<std::size_t>(kept)];
    const bool moreDropped = number.digits.find_first_not_of(
                                 '0', static_cast<std::size_t>(kept) + 1) != std::string::npos;
    const bool lastKeptOdd = !keptDigits.empty() && (keptDigits.back() - '0') % 2 == 1;
    const bool up = firstDropped > '5' || (firstDropped == '5' && (moreDropped || lastKeptOdd));

    // With nothing kept, the single digit "0" stands at the last kept place, 10^-places.
    std::string digits = keptDigits.empty() ? std::string("0") : keptDigits;
    long long point =
        keptDigits.empty() ? 1 - static_cast<long long>(places) : number.pointPosition;
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++point;
        } else {
            ++digits[static_cast<std::size_t>(i)];
        }
    }
    result.digits = digits;
    result.pointPosition = static_cast<int>(point);
    return result;
}

double ToDouble(const DecimalDigits& number) {
    // "-0.ddd" followed by "e<pointPosition>".
    std::string text;
    if (number.negative) text.push_back('-');
    text += "0.";
    text += number.digits;
    text.push_back('e');
    text += std::to_string(number.pointPosition);
    double value = 0;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        const double magnitude = number.pointPosition > 0 ? HUGE_VAL : 0.0;
        return number.negative ? -magnitude : magnitude;
    }
    return value;
}

}  // namespace tarvello::detail
