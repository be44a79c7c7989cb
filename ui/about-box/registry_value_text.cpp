#include "ui/about-box/registry_value_text.h"

#include <cstdint>
#include <stdexcept>

namespace tarvello::ui {

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "&h" followed by hexadecimal digits reads as that number; the value is a DWORD, so it is
// written unsigned. Any other text is kept unchanged.
std::string FormatHexText(const std::string& text) {
    if (text.size() < 3 || text[0] != '&' || (text[1] != 'h' && text[1] != 'H')) return text;
    std::uint64_t number = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        int digit = HexDigitValue(text[i]);
        if (digit < 0) return text;
        number = number * 16 + static_cast<std::uint64_t>(digit);
        if (number > UINT32_MAX) throw std::overflow_error("registry number exceeds 32 bits");
    }
    return std::to_string(number);
}

}  // namespace

std::string ValueBytesToText(const unsigned char* bytes, std::size_t count) {
    if (count == 0) throw std::invalid_argument("registry value holds no bytes");
    if (bytes[count - 1] == 0) --count;
    return std::string(reinterpret_cast<const char*>(bytes), count);
}

std::string DwordValueText(const std::string& keyVal, const std::string& valueText) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string digits = keyVal;
    for (auto it = valueText.rbegin(); it != valueText.rend(); ++it) {
        unsigned byte = static_cast<unsigned char>(*it);
        if (byte >= 16) digits += kDigits[byte / 16];
        digits += kDigits[byte % 16];
    }
    return FormatHexText("&h" + digits);
}

}  // namespace tarvello::ui
