#include "journal/journal_syntax.h"

#include <array>
#include <cstdio>

#include "numbers/exact_parse.h"

namespace tarvello::journal_syntax {
namespace {

constexpr std::string_view kLineTypesLabel = "line types ";

constexpr Kind kKinds[] = {
    {JournalMark::Round, "round", 3, 3},           {JournalMark::Item, "item", 5, 4},
    {JournalMark::Written, "written", 2, 2},       {JournalMark::Restoring, "restoring", 1, 1},
    {JournalMark::Undone, "undone", 1, 1},         {JournalMark::Quote, "quote", 1, 0},
    {JournalMark::Quantities, "quantities", 1, 0}, {JournalMark::What, "what", 1, 0},
    {JournalMark::Forgotten, "forgotten", 0, 0},   {JournalMark::Left, "left", 1, 0},
};

std::uint32_t Crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char b : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string CheckOf(std::string_view bytes) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(Crc32(bytes)));
    return text;
}

// The eight lower-case hex digits of a check, as a number.
std::optional<std::uint32_t> CheckIn(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9', letter = c >= 'a' && c <= 'f';
        if (!digit && !letter) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit ? c - '0' : c - 'a' + 10);
    }
    return value;
}

}  // namespace

const Kind& KindOf(JournalMark mark) {
    for (const Kind& kind : kKinds) {
        if (kind.mark == mark) return kind;
    }
    return kKinds[0];
}

const Kind* KindNamed(std::string_view name) {
    for (const Kind& kind : kKinds) {
        if (kind.name == name) return &kind;
    }
    return nullptr;
}

std::string Checked(std::string body) {
    const std::string check = CheckOf(body);
    return body + "\t" + check + "\n";
}

std::optional<std::string_view> WithoutCheck(std::string_view line) {
    const std::size_t tab = line.rfind('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    const std::string_view body = line.substr(0, tab);
    const std::optional<std::uint32_t> check = CheckIn(line.substr(tab + 1));
    if (!check || *check != Crc32(body)) return std::nullopt;
    return body;
}

std::string LineTypesText(const std::vector<std::int16_t>& types) {
    std::string text(kLineTypesLabel);
    for (std::size_t i = 0; i < types.size();) {
        std::size_t run = 1;
        while (i + run < types.size() && types[i + run] == types[i]) ++run;
        if (i > 0) text += ",";
        text += std::to_string(types[i]);
        if (run > 1) text += "x" + std::to_string(run);
        i += run;
    }
    return text;
}

std::optional<std::vector<std::int16_t>> LineTypesIn(std::string_view field) {
    if (field.substr(0, kLineTypesLabel.size()) != kLineTypesLabel) return std::nullopt;
    field.remove_prefix(kLineTypesLabel.size());
    std::vector<std::int16_t> types;
    while (!field.empty()) {
        const std::size_t comma = field.find(',');
        const std::string_view run = field.substr(0, comma);
        field = comma == std::string_view::npos ? std::string_view() : field.substr(comma + 1);
        const std::size_t x = run.find('x');
        const auto type = ParsedExactly<std::int16_t>(run.substr(0, x));
        const auto count = x == std::string_view::npos ? std::optional<int>(1)
                                                       : ParsedExactly<int>(run.substr(x + 1));
        if (!type || !count || *count < 1 || types.size() + *count > 32768) return std::nullopt;
        types.insert(types.end(), static_cast<std::size_t>(*count), *type);
        if (comma != std::string_view::npos && field.empty()) return std::nullopt;
    }
    return types;
}

LineFields Fields(std::string_view line) {
    LineFields fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        if (fields.count == LineFields::kMost) {
            fields.count = LineFields::kMost + 1;  // too many: fits no kind
            return fields;
        }
        fields.field[fields.count++] =
            line.substr(start, tab == std::string_view::npos ? tab : tab - start);
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::optional<std::int32_t> Labelled(std::string_view field, std::string_view label) {
    if (field.substr(0, label.size()) != label) return std::nullopt;
    return ParsedExactly<std::int32_t>(field.substr(label.size()));
}

bool IsId(std::string_view id) {
    if (id.empty() || id.size() > 32) return false;
    for (const char c : id) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        if (!hex) return false;
    }
    return true;
}

}  // namespace tarvello::journal_syntax
