#include "standin/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tarvello::standin {

std::wstring FormatNumber(double value) {
    if (value == 0) value = 0;  // no "-0" in logs and dumps
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof(buf), value);
    return std::wstring(buf, result.ptr);
}

bool ParseNumber(const std::wstring& text, double* value) {
    size_t begin = text.find_first_not_of(L" \t");
    size_t end = text.find_last_not_of(L" \t");
    if (begin == std::wstring::npos) return false;
    std::string narrow;
    for (size_t i = begin; i <= end; ++i) {
        wchar_t c = text[i];
        if (c > 0x7F) return false;
        narrow += static_cast<char>(c);
    }
    const char* first = narrow.data();
    if (*first == '+') ++first;  // from_chars takes no plus sign
    const char* last = narrow.data() + narrow.size();
    auto result = std::from_chars(first, last, *value);
    return result.ec == std::errc() && result.ptr == last && std::isfinite(*value);
}

}  // namespace tarvello::standin
