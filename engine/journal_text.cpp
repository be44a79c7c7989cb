#include "journal_text.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "text_util.h"

namespace tarvello {
namespace {

constexpr std::string_view kMagic = "tarvello-rounding-journal";

std::string Number(double value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string Quoted(const Text& text) {
    std::string out = "\"";
    for (const char c : Utf8Of(text)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::string ValueText(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return "empty";
        case Variant::Kind::Text:
            return Quoted(value.AsText());
        case Variant::Kind::Boolean:
            return value.AsBool() ? "true" : "false";
        default:
            return Number(value.NumberValue());
    }
}

std::string Row(std::int16_t row) {
    return std::to_string(row);
}

// ---- reading ----

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

template <typename Whole>
std::optional<Whole> WholeIn(std::string_view text) {
    Whole value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> NumberIn(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<Variant> ValueIn(std::string_view text) {
    if (text == "empty") return Variant();
    if (text == "true") return Variant::Boolean(true);
    if (text == "false") return Variant::Boolean(false);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        std::string plain;
        for (std::size_t i = 1; i + 1 < text.size(); ++i) {
            char c = text[i];
            if (c == '"') return std::nullopt;
            if (c == '\\') {
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
                    default:
                        return std::nullopt;
                }
            }
            plain += c;
        }
        return Variant::FromText(TextFromUtf8(plain));
    }
    if (const std::optional<double> number = NumberIn(text)) return Variant::Double(*number);
    return std::nullopt;
}

// "document 3" -> 3.
std::optional<std::int32_t> Labelled(std::string_view field, std::string_view label) {
    if (field.substr(0, label.size()) != label) return std::nullopt;
    return WholeIn<std::int32_t>(field.substr(label.size()));
}

bool IsId(std::string_view id) {
    if (id.empty() || id.size() > 32) return false;
    for (const char c : id) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        if (!hex) return false;
    }
    return true;
}

class Reader {
public:
    // False when the line is not one this version reads.
    bool Line(std::string_view line) {
        const std::vector<std::string_view> f = Fields(line);
        if (f[0] == kMagic && f.size() == 2) {
            const auto version = WholeIn<int>(f[1]);
            if (!version) return false;
            if (*version > kJournalVersion) contents.newerVersion = true;
            return true;
        }
        if (f.size() < 2 || !IsId(f[1])) return false;
        if (f[0] == "round" && f.size() == 5) return Round(f);
        RoundRecord* round = Find(f[1]);
        if (!round) return false;
        const auto row = f.size() >= 3 ? WholeIn<std::int16_t>(f[2]) : std::nullopt;
        if (!row) return false;
        if (f[0] == "item" && f.size() == 6) return Item(*round, *row, f);
        WrittenLineItem* item = ItemOf(*round, *row);
        if (!item) return false;
        if (f[0] == "written" && f.size() == 4) {
            const auto asLeft = NumberIn(f[3]);
            if (!asLeft) return false;
            item->unitPriceWritten = *asLeft;
            item->written = true;
            return true;
        }
        if (f[0] == "restoring" && f.size() == 3) {
            item->restoring = true;
            return true;
        }
        if (f[0] == "undone" && f.size() == 3) {
            item->restoring = false;
            dealtWith_[{round->id, *row}] = true;
            return true;
        }
        return false;
    }

    JournalContents Finish() {
        for (RoundRecord& round : contents.rounds) {
            while (round.undone < round.items.size() &&
                   dealtWith_.count({round.id, round.items[round.undone].row})) {
                ++round.undone;
            }
        }
        if (contents.newerVersion) contents.rounds.clear();
        return std::move(contents);
    }

    JournalContents contents;

private:
    bool Round(const std::vector<std::string_view>& f) {
        const auto index = Labelled(f[3], "document ");
        const auto count = Labelled(f[4], "line items ");
        if (!index || !count || Find(f[1])) return false;
        RoundRecord round;
        round.id = std::string(f[1]);
        round.began = std::string(f[2]);
        round.documentIndex = *index;
        round.lineItemCount = *count;
        contents.rounds.push_back(std::move(round));
        return true;
    }

    bool Item(RoundRecord& round, std::int16_t row, const std::vector<std::string_view>& f) {
        const auto before = ValueIn(f[3]);
        const auto written = NumberIn(f[5]);
        if (!before || !written || ItemOf(round, row)) return false;
        WrittenLineItem item;
        item.row = row;
        item.unitPriceBefore = *before;
        if (f[4] != "unknown") {
            item.modifierBefore = ValueIn(f[4]);
            if (!item.modifierBefore) return false;
        }
        item.unitPriceWritten = *written;
        round.items.push_back(std::move(item));
        return true;
    }

    RoundRecord* Find(std::string_view id) {
        for (auto round = contents.rounds.rbegin(); round != contents.rounds.rend(); ++round) {
            if (round->id == id) return &*round;
        }
        return nullptr;
    }

    static WrittenLineItem* ItemOf(RoundRecord& round, std::int16_t row) {
        for (WrittenLineItem& item : round.items) {
            if (item.row == row) return &item;
        }
        return nullptr;
    }

    std::map<std::pair<std::string, std::int16_t>, bool> dealtWith_;
};

}  // namespace

std::string JournalHeader() {
    return std::string(kMagic) + "\t" + std::to_string(kJournalVersion) + "\n";
}

std::string RoundLine(const RoundRecord& round) {
    return "round\t" + round.id + "\t" + round.began + "\tdocument " +
           std::to_string(round.documentIndex) + "\tline items " +
           std::to_string(round.lineItemCount) + "\n";
}

std::string ItemLine(const std::string& id, const WrittenLineItem& item) {
    return "item\t" + id + "\t" + Row(item.row) + "\t" + ValueText(item.unitPriceBefore) + "\t" +
           (item.modifierBefore ? ValueText(*item.modifierBefore) : "unknown") + "\t" +
           Number(item.unitPriceWritten) + "\n";
}

std::string WrittenLine(const std::string& id, std::int16_t row, double unitPriceAsLeft) {
    return "written\t" + id + "\t" + Row(row) + "\t" + Number(unitPriceAsLeft) + "\n";
}

std::string RestoringLine(const std::string& id, std::int16_t row) {
    return "restoring\t" + id + "\t" + Row(row) + "\n";
}

std::string UndoneLine(const std::string& id, std::int16_t row) {
    return "undone\t" + id + "\t" + Row(row) + "\n";
}

std::string LinesOf(const RoundRecord& round) {
    std::string lines = RoundLine(round);
    for (std::size_t i = 0; i < round.items.size(); ++i) {
        const WrittenLineItem& item = round.items[i];
        lines += ItemLine(round.id, item);
        if (item.written) lines += WrittenLine(round.id, item.row, item.unitPriceWritten);
        if (item.restoring) lines += RestoringLine(round.id, item.row);
        if (i < round.undone) lines += UndoneLine(round.id, item.row);
    }
    return lines;
}

JournalContents ReadJournal(const std::string& text) {
    Reader reader;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            // A last line without its line feed was cut off while it was written.
            if (start < text.size()) ++reader.contents.skipped;
            break;
        }
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && !reader.Line(line)) ++reader.contents.skipped;
        start = end + 1;
    }
    return reader.Finish();
}

}  // namespace tarvello
