#include "numbers/text_util.h"

#include <cstdint>
#include <string>

namespace tarvello {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(Text& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

char32_t NextCodePoint(const Text& text, std::size_t& at) {
    const char16_t c = text[at++];
    if (IsHighSurrogate(c) && at < text.size() && IsLowSurrogate(text[at])) {
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
               (static_cast<char32_t>(text[at++]) - 0xDC00);
    }
    return c;
}

bool IsSurrogate(char32_t code) {
    return code >= 0xD800 && code <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::string Utf8Of(const Text& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = NextCodePoint(text, at);
        AppendUtf8(out, IsSurrogate(code) ? kReplacement : code);
    }
    return out;
}

Text WholeText(long long value) {
    return TextFromUtf8(std::to_string(value));
}

Text TextFromUtf8(std::string_view utf8) {
    Text out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        int length = lead < 0x80           ? 1
                     : (lead >> 5) == 0x6  ? 2
                     : (lead >> 4) == 0xE  ? 3
                     : (lead >> 3) == 0x1E ? 4
                                           : 0;
        char32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
        bool valid = length != 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(utf8[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // Over-long forms, surrogates and values past U+10FFFF are not characters.
        static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && c >= kSmallest[length] && c <= 0x10FFFF && !IsSurrogate(c);
        if (valid) {
            AppendUtf16(out, c);
            i += static_cast<std::size_t>(length);
        } else {
            AppendUtf16(out, kReplacement);
            ++i;
        }
    }
    return out;
}

Text ShortenedText(const Text& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t cut = limit;
    if (cut > 0 && IsHighSurrogate(text[cut - 1])) --cut;
    return text.substr(0, cut) + u"\u2026";
}

}  // namespace tarvello
