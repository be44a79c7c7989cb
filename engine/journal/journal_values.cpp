#include "journal/journal_values.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "numbers/exact_parse.h"
#include "numbers/text_util.h"

namespace tarvello {
namespace {

// UTF-8 with the journal's escapes. A surrogate without its partner has no UTF-8 form: it is
// written as \uXXXX, so that the modifier given back is the one read, code unit for code unit.
std::string Quoted(const Text& text) {
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextCodePoint(text, at);
        switch (c) {
            case U'"':
                out += "\\\"";
                continue;
            case U'\\':
                out += "\\\\";
                continue;
            case U'\t':
                out += "\\t";
                continue;
            case U'\r':
                out += "\\r";
                continue;
            case U'\n':
                out += "\\n";
                continue;
            default:
                break;
        }
        if (IsSurrogate(c)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
            out += escape;
        } else {
            AppendUtf8(out, c);
        }
    }
    return out + "\"";
}

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

std::optional<Text> Unquoted(std::string_view text) {
    Text result;
    std::string pending;  // UTF-8 not yet converted
    const auto flush = [&] {
        result += TextFromUtf8(pending);
        pending.clear();
    };
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        char c = text[i];
        if (c == '"') return std::nullopt;
        if (c != '\\') {
            pending += c;
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        switch (text[++i]) {
            case '"':
                c = '"';
                break;
            case '\\':
                c = '\\';
                break;
            case 't':
                c = '\t';
                break;
            case 'r':
                c = '\r';
                break;
            case 'n':
                c = '\n';
                break;
            case 'u': {
                if (i + 5 >= text.size()) return std::nullopt;
                unsigned unit = 0;
                for (std::size_t k = 1; k <= 4; ++k) {
                    const auto digit = HexDigit(text[i + k]);
                    if (!digit) return std::nullopt;
                    unit = unit * 16 + static_cast<unsigned>(*digit);
                }
                i += 4;
                flush();
                result += static_cast<char16_t>(unit);
                continue;
            }
            default:
                return std::nullopt;
        }
        pending += c;
    }
    flush();
    return result;
}

}  // namespace

std::string JournalNumberText(double value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string JournalValueText(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return "empty";
        case Variant::Kind::Text:
            return Quoted(value.AsText());
        case Variant::Kind::Boolean:
            return value.AsBool() ? "true" : "false";
        default:
            return JournalNumberText(value.NumberValue());
    }
}

std::optional<double> JournalNumberIn(std::string_view text) {
    return ParsedExactly<double>(text);
}

std::optional<Variant> JournalValueIn(std::string_view text) {
    if (text == "empty") return Variant();
    if (text == "true") return Variant::Boolean(true);
    if (text == "false") return Variant::Boolean(false);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        const std::optional<Text> plain = Unquoted(text);
        if (!plain) return std::nullopt;
        return Variant::FromText(*plain);
    }
    if (const std::optional<double> number = JournalNumberIn(text)) return Variant::Double(*number);
    return std::nullopt;
}

std::string JournalListText(const std::vector<Variant>& values) {
    std::string text;
    for (const Variant& value : values) {
        if (!text.empty()) text += ",";
        text += JournalValueText(value);
    }
    return text;
}

std::optional<std::vector<Variant>> JournalListIn(std::string_view text) {
    std::vector<Variant> values;
    for (std::size_t start = 0; start < text.size();) {
        // A text runs to its closing quote, commas and escaped quotes in it included.
        std::size_t end = start;
        if (text[start] == '"') {
            for (++end; end < text.size() && text[end] != '"'; ++end) {
                if (text[end] == '\\') ++end;
            }
            ++end;
        } else {
            end = std::min(text.find(',', start), text.size());
        }
        const std::optional<Variant> value = JournalValueIn(text.substr(start, end - start));
        if (!value || (end < text.size() && (text[end] != ',' || end + 1 == text.size()))) {
            return std::nullopt;
        }
        values.push_back(*value);
        start = end + 1;
    }
    return values;
}

}  // namespace tarvello
