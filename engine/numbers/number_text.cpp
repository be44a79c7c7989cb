// Numbers in text and the whole-number conversions.
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "numbers/rounding.h"
#include "numbers/text_blanks.h"
#include "numbers/text_util.h"

namespace tarvello {
namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

[[noreturn]] void NotANumber(const Text& text) {
    throw EngineError(ErrorKind::TypeMismatch, "not a number: \"" + Utf8Of(text) + "\"");
}

// Nearest whole number, an exact half going to the even neighbour; independent of the
// floating-point rounding mode.
double RoundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5) return below + 1.0;
    if (fraction < 0.5) return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

template <typename Whole>
Whole ToWhole(double value) {
    if (!std::isfinite(value)) {
        throw EngineError(ErrorKind::Overflow, "whole number from a value that is not finite");
    }
    const double rounded = RoundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Whole>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Whole>::max())) {
        throw EngineError(ErrorKind::Overflow,
                          "whole number out of range: " + std::to_string(value));
    }
    return static_cast<Whole>(rounded);
}

template <typename Whole>
Whole ToWhole(const Variant& value, const NumberFormat& format) {
    switch (value.kind()) {
        case Variant::Kind::Int16:
            return static_cast<Whole>(value.AsInt16());
        default:
            return ToWhole<Whole>(ToNumber(value, format));
    }
}

}  // namespace

double ReadNumber(const Text& text, const NumberFormat& format) {
    const Text& separator = format.decimalSeparator;
    std::size_t at = 0;
    const std::size_t end = text.size();
    while (at < end && IsBlank(text[at])) ++at;

    std::string plain;  // the number rewritten for from_chars: "-123.45"
    if (at < end && (text[at] == u'-' || text[at] == u'+')) {
        if (text[at] == u'-') plain.push_back('-');
        ++at;
    }
    std::size_t digits = 0;
    bool wholePartNonZero = false;
    for (; at < end && IsDigit(text[at]); ++at, ++digits) {
        plain.push_back(static_cast<char>(text[at]));
        wholePartNonZero = wholePartNonZero || text[at] != u'0';
    }
    if (!separator.empty() && text.compare(at, separator.size(), separator) == 0) {
        at += separator.size();
        plain.push_back('.');
        for (; at < end && IsDigit(text[at]); ++at, ++digits) {
            plain.push_back(static_cast<char>(text[at]));
        }
    }
    while (at < end && IsBlank(text[at])) ++at;
    if (at != end || digits == 0) NotANumber(text);

    double value = 0;
    const auto read = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        if (wholePartNonZero) NotANumber(text);  // beyond the largest double
        return plain[0] == '-' ? -0.0 : 0.0;     // below the smallest one
    }
    if (read.ec != std::errc() || read.ptr != plain.data() + plain.size()) NotANumber(text);
    return value;
}

Text FormatNumber(double value, const NumberFormat& format) {
    char buffer[400];  // the longest fixed form of a double is about 330 characters
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return NumberTextIn(std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer)),
                        format);
}

Text FormatShortNumber(double value, const NumberFormat& format) {
    if (!std::isfinite(value)) return FormatNumber(value, format);
    double shown = 0;
    for (int digits = 1; digits <= 15; ++digits) {
        char buffer[64];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                           std::chars_format::scientific, digits - 1);
        std::from_chars(buffer, written.ptr, shown);
        if (shown == value) break;
    }
    // `shown` was read from at most 15 digits, so its shortest form has no more.
    return FormatNumber(shown == 0.0 ? 0.0 : shown, format);
}

double ToNumber(const Variant& value, const NumberFormat& format) {
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return 0.0;
        case Variant::Kind::Boolean:
            return value.BooleanValue();
        case Variant::Kind::Text:
            return ReadNumber(value.AsText(), format);
        default:
            return value.NumberValue();
    }
}

std::optional<double> NumberOrNothing(const Variant& value, const NumberFormat& format) {
    if (value.IsEmpty()) return std::nullopt;
    try {
        return ToNumber(value, format);
    } catch (const EngineError&) {
        return std::nullopt;
    }
}

std::int32_t ToWholeNumber(double value) {
    return ToWhole<std::int32_t>(value);
}
std::int32_t ToWholeNumber(const Variant& value, const NumberFormat& format) {
    return ToWhole<std::int32_t>(value, format);
}
std::int32_t ToWholeNumber(const Text& value, const NumberFormat& format) {
    return ToWhole<std::int32_t>(ReadNumber(value, format));
}

std::int16_t ToWholeNumber16(double value) {
    return ToWhole<std::int16_t>(value);
}
std::int16_t ToWholeNumber16(const Variant& value, const NumberFormat& format) {
    return ToWhole<std::int16_t>(value, format);
}
std::int16_t ToWholeNumber16(const Text& value, const NumberFormat& format) {
    return ToWhole<std::int16_t>(ReadNumber(value, format));
}

}  // namespace tarvello
