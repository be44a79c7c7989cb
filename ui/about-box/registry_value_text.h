#pragma once
// How a registry value's bytes become the text the launcher works with.

#include <cstddef>
#include <string>

namespace tarvello::ui {

// One character per byte; a final zero byte (the stored terminator) is dropped, a value
// stored without one keeps its last character. A value of no bytes has no last character to
// look at and is an error (std::invalid_argument).
std::string ValueBytesToText(const unsigned char* bytes, std::size_t count);

// A 32-bit number's text: the bytes of valueText from the last to the first, each written in
// upper-case hexadecimal without leading zeros, appended to keyVal, then "&h" in front. A text
// that then reads as "&h" and hexadecimal digits becomes the decimal number they denote;
// anything else stays as it is. Throws std::overflow_error past 32 bits.
std::string DwordValueText(const std::string& keyVal, const std::string& valueText);

}  // namespace tarvello::ui
