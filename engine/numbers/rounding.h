#pragma once
// Room numbers/: values and arithmetic. The tagged Variant, the four failure kinds, exact
// decimals, 128-bit arithmetic, numbers and lists in text, and the rounding functions below.
// It uses the standard library only.
//
// The rounding and list-matching functions: pure functions of their arguments.
// Failures are raised as EngineError with the kind named in each comment.

#include <cstdint>
#include <optional>

#include "numbers/errors.h"
#include "numbers/number_format.h"
#include "numbers/variant.h"

namespace tarvello {

// Rounds to aDecimalPlaces places (which may be negative or fractional), halves upwards,
// through a 15-significant-digit decimal step. Never raises: a failed computation gives 0.
double RoundIt(double aNumberToRound, double aDecimalPlaces);

// 1-based start of the last occurrence of str2 in str1 (overlaps included), or 0.
std::int32_t RInStr(const Text& str1, const Text& str2);

// True (-1) when Value equals a whole entry of DelimitedList, or the list is exactly "*".
// Entries are separated by commas, semicolons or white space and compared trimmed.
Variant InDelimitedList(const Variant& DelimitedList, const Variant& Value);

// Moves Value onto a multiple of Interval. DivisionByZero for Interval 0; Overflow when a
// step leaves the 32-bit range.
Variant RoundToNext(std::int32_t Value, std::int32_t Interval);

// The text form of a value: whole numbers as their digits with a leading minus when negative,
// a double in its shortest round-trip form with a point, a Boolean as "True" or "False", the
// empty value as an empty text.
Text TextOf(const Variant& value);

// A double as text in its shortest round-trip form, fixed notation, with the regional
// decimal separator; ReadNumber reads it back to the same double.
Text FormatNumber(double value, const NumberFormat& format = {});

// A double as people read it in a table: the shortest text that reads back to the same value
// with at most 15 significant digits (beyond that, the value to 15 digits), in fixed notation
// with the regional decimal separator and no grouping; never "-0".
Text FormatShortNumber(double value, const NumberFormat& format = {});

// A value as a double: numbers by value, a Boolean as -1 or 0, the empty value as 0, text
// read by ReadNumber (TypeMismatch when it is not a number).
double ToNumber(const Variant& value, const NumberFormat& format = {});

// A value as a number when it is one: numbers by value, a Boolean as -1 or 0, a text that reads
// as a number (ReadNumber); nothing for the empty value and for any other text.
std::optional<double> NumberOrNothing(const Variant& value, const NumberFormat& format = {});

// Reads text as a decimal number: optional sign, digits and the regional decimal separator,
// with spaces or tabs around it. There must be at least one digit; "12", "12.5", ".5" and
// "12." all read. Grouping separators, exponents and currency signs are not numbers here.
// TypeMismatch when the text is not such a number or lies beyond a double; a number too
// small for a double reads as 0.
double ReadNumber(const Text& text, const NumberFormat& format = {});

// To a signed 32-bit whole number, halves to even. Overflow outside the range or for a
// non-finite double; TypeMismatch for text that is not a number.
std::int32_t ToWholeNumber(double value);
std::int32_t ToWholeNumber(const Variant& value, const NumberFormat& format = {});
std::int32_t ToWholeNumber(const Text& value, const NumberFormat& format = {});

// The same conversion to a signed 16-bit whole number.
std::int16_t ToWholeNumber16(double value);
std::int16_t ToWholeNumber16(const Variant& value, const NumberFormat& format = {});
std::int16_t ToWholeNumber16(const Text& value, const NumberFormat& format = {});

// Rounds to `places` decimal places, halves (as the number is written, shortest round-trip
// form) to even. InvalidArgument for negative places. A double or text gives a double.
Variant RoundToPlaces(const Variant& value, std::int32_t places, const NumberFormat& format = {});

}  // namespace tarvello
