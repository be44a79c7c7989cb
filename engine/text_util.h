#pragma once
// Small conversions between the engine's 16-bit texts and the 8-bit texts of messages.

#include <cstdint>
#include <string>
#include <string_view>

#include "variant.h"

namespace tarvello::detail {

// Widens ASCII text code unit by code unit.
inline Text Widen(std::string_view ascii) {
    return Text(ascii.begin(), ascii.end());
}

// Narrows for diagnostics: code units outside ASCII become '?'.
inline std::string Narrow(const Text& text) {
    std::string result;
    result.reserve(text.size());
    for (char16_t c : text) result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return result;
}

}  // namespace tarvello::detail
