#include "journal_text.h"

#include <array>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <utility>

#include "exact_parse.h"
#include "journal_values.h"

namespace tarvello {
namespace {

constexpr std::string_view kMagic = "tarvello-rounding-journal";
constexpr std::string_view kLineTypesLabel = "line types ";

// Each kind of line, spelt once for the writer and the reader: its name and how many fields
// follow the name and the Round's id, in this version and in version 1 (0: not in version 1).
struct Kind {
    JournalMark mark;
    std::string_view name;
    std::size_t fields;
    std::size_t fieldsInVersion1;
};
constexpr Kind kKinds[] = {
    {JournalMark::Round, "round", 3, 3},     {JournalMark::Item, "item", 5, 4},
    {JournalMark::Written, "written", 2, 2}, {JournalMark::Restoring, "restoring", 1, 1},
    {JournalMark::Undone, "undone", 1, 1},   {JournalMark::Quote, "quote", 1, 0},
};

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

std::uint64_t HashOf(std::string_view id) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : id) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

std::uint64_t ItemKey(std::size_t round, std::int16_t row) {
    return (static_cast<std::uint64_t>(round) << 16) | static_cast<std::uint16_t>(row);
}

// A whole line with its check and its line feed.
std::string Checked(std::string body) {
    const std::string check = CheckOf(body);
    return body + "\t" + check + "\n";
}

std::string Line(JournalMark mark, const std::string& id,
                 std::initializer_list<std::string> fields) {
    std::string body(KindOf(mark).name);
    body += "\t" + id;
    for (const std::string& field : fields) body += "\t" + field;
    return Checked(std::move(body));
}

std::string Row(std::int16_t row) {
    return std::to_string(row);
}

// "2,1x6,3": the runs of one line type.
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

// The fields of a line, apart by tabs; more than any line kind has makes it no line of ours.
struct LineFields {
    static constexpr std::size_t kMost = 10;
    std::string_view field[kMost];
    std::size_t count = 0;
    std::string_view operator[](std::size_t i) const { return field[i]; }
    std::size_t size() const { return count; }
};

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

// "document 3" -> 3.
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

// The line without its check, when the check is right.
std::optional<std::string_view> WithoutCheck(std::string_view line) {
    const std::size_t tab = line.rfind('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    const std::string_view body = line.substr(0, tab);
    const std::optional<std::uint32_t> check = CheckIn(line.substr(tab + 1));
    if (!check || *check != Crc32(body)) return std::nullopt;
    return body;
}

}  // namespace

std::string JournalHeader() {
    return Checked(std::string(kMagic) + "\t" + std::to_string(kJournalVersion));
}

std::string RoundLine(const RoundRecord& round) {
    return Line(JournalMark::Round, round.id,
                {round.began, "document " + std::to_string(round.documentIndex),
                 "line items " + std::to_string(round.lineItemCount)});
}

std::string ItemLine(const std::string& id, const WrittenLineItem& item) {
    return Line(JournalMark::Item, id,
                {Row(item.row), JournalValueText(item.unitPriceBefore),
                 item.modifierBefore ? JournalValueText(*item.modifierBefore) : "unknown",
                 JournalNumberText(item.unitPriceWritten),
                 item.quantity ? JournalValueText(*item.quantity) : "unknown"});
}

std::string WrittenLine(const std::string& id, std::int16_t row, double unitPriceAsLeft) {
    return Line(JournalMark::Written, id, {Row(row), JournalNumberText(unitPriceAsLeft)});
}

std::string RestoringLine(const std::string& id, std::int16_t row) {
    return Line(JournalMark::Restoring, id, {Row(row)});
}

std::string UndoneLine(const std::string& id, std::int16_t row) {
    return Line(JournalMark::Undone, id, {Row(row)});
}

std::string QuoteLine(const std::string& id, const std::vector<std::int16_t>& lineTypes) {
    return Line(JournalMark::Quote, id, {LineTypesText(lineTypes)});
}

std::string LinesOf(const RoundRecord& round) {
    std::string lines = RoundLine(round);
    for (const WrittenLineItem& item : round.items) {
        lines += ItemLine(round.id, item);
        if (item.written) lines += WrittenLine(round.id, item.row, item.unitPriceWritten);
        if (item.restoring) lines += RestoringLine(round.id, item.row);
        if (item.dealtWith) lines += UndoneLine(round.id, item.row);
    }
    if (!round.lineTypes.empty()) lines += QuoteLine(round.id, round.lineTypes);
    return lines;
}

std::size_t JournalReader::Read(std::string_view text) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) return start;
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && !Line(line)) ++skipped_;
        start = end + 1;
    }
}

bool JournalReader::Line(std::string_view line) {
    LineFields f = Fields(line);
    if (f[0] == kMagic) {
        // A header of the first version carries no check; a later one does, and one that claims
        // a version beyond this one is taken at its word, so that nothing here writes into it.
        const auto version = f.size() >= 2 ? ParsedExactly<int>(f[1]) : std::nullopt;
        if (!version || *version < 1) return false;
        if (*version > kJournalVersion) {
            newerVersion_ = true;
            return true;
        }
        if (*version == 1 ? f.size() != 2 : !WithoutCheck(line)) return false;
        version_ = *version;
        return true;
    }
    if (version_ >= 2) {
        const std::optional<std::string_view> body = WithoutCheck(line);
        if (!body) return false;
        f = Fields(*body);
    }
    const Kind* kind = KindNamed(f[0]);
    if (!kind || f.size() < 2 || !IsId(f[1])) return false;
    if (f.size() != 2 + (version_ >= 2 ? kind->fields : kind->fieldsInVersion1)) return false;
    if (kind->mark == JournalMark::Round) return Round(f.field);
    RoundRecord* round = Find(f[1]);
    if (!round) return false;
    if (kind->mark == JournalMark::Quote) {
        const auto types = LineTypesIn(f[2]);
        if (!types) return false;
        round->lineTypes = *types;
        return true;
    }
    const auto row = ParsedExactly<std::int16_t>(f[2]);
    if (!row) return false;
    if (kind->mark == JournalMark::Item) return Item(*round, *row, f.field, f.size());
    WrittenLineItem* item = ItemOf(*round, *row);
    if (!item) return false;
    switch (kind->mark) {
        case JournalMark::Written: {
            const auto asLeft = JournalNumberIn(f[3]);
            if (!asLeft) return false;
            item->unitPriceWritten = *asLeft;
            item->written = true;
            return true;
        }
        case JournalMark::Restoring:
            item->restoring = !item->dealtWith;
            return true;
        case JournalMark::Undone:
            item->restoring = false;
            item->dealtWith = true;
            return true;
        default:
            return false;
    }
}

bool JournalReader::Own(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    const int version = version_;
    version_ = kJournalVersion;
    const bool counted = Line(line);
    version_ = version;
    return counted;
}

RoundRecord* JournalReader::Find(std::string_view id) {
    const auto [first, last] = roundAt_.equal_range(HashOf(id));
    for (auto at = first; at != last; ++at) {
        if (rounds_[at->second].id == id) return &rounds_[at->second];
    }
    return nullptr;
}

bool JournalReader::Round(const std::string_view* f) {
    const auto index = Labelled(f[3], "document ");
    const auto count = Labelled(f[4], "line items ");
    if (!index || !count || Find(f[1])) return false;
    RoundRecord round;
    round.id = std::string(f[1]);
    round.began = std::string(f[2]);
    round.documentIndex = *index;
    round.lineItemCount = *count;
    roundAt_.emplace(HashOf(round.id), rounds_.size());
    rounds_.push_back(std::move(round));
    return true;
}

bool JournalReader::Item(RoundRecord& round, std::int16_t row, const std::string_view* f,
                         std::size_t size) {
    const auto before = JournalValueIn(f[3]);
    const auto written = JournalNumberIn(f[5]);
    if (!before || !written || ItemOf(round, row)) return false;
    WrittenLineItem item;
    item.row = row;
    item.unitPriceBefore = *before;
    if (f[4] != "unknown") {
        item.modifierBefore = JournalValueIn(f[4]);
        if (!item.modifierBefore) return false;
    }
    item.unitPriceWritten = *written;
    if (size > 6 && f[6] != "unknown") {
        item.quantity = JournalValueIn(f[6]);
        if (!item.quantity) return false;
    }
    itemAt_.emplace(ItemKey(static_cast<std::size_t>(&round - rounds_.data()), row),
                    round.items.size());
    round.items.push_back(std::move(item));
    return true;
}

WrittenLineItem* JournalReader::ItemOf(RoundRecord& round, std::int16_t row) {
    const auto at = itemAt_.find(ItemKey(static_cast<std::size_t>(&round - rounds_.data()), row));
    return at == itemAt_.end() ? nullptr : &round.items[at->second];
}

JournalContents ReadJournal(const std::string& text) {
    JournalReader reader;
    const std::size_t read = reader.Read(text);
    JournalContents contents;
    // A last line without its line feed was cut off while it was written.
    contents.skipped = reader.skipped() + (read < text.size() ? 1 : 0);
    contents.newerVersion = reader.newerVersion();
    if (!contents.newerVersion) contents.rounds = reader.rounds();
    return contents;
}

}  // namespace tarvello
