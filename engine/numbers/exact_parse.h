#pragma once
// A number read from a field of the program's own files (the journal, the price rules), which
// only it writes: the whole field must be the number, in the C locale, nothing before or after.

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace tarvello {

// A whole number or a double, as std::to_chars writes it; nothing for anything else.
template <typename Number>
std::optional<Number> ParsedExactly(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace tarvello
