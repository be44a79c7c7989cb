#include "journal/journal_text.h"

#include <optional>
#include <utility>

#include "journal/journal_syntax.h"
#include "journal/journal_values.h"
#include "numbers/text_util.h"
#include "numbers/exact_parse.h"

namespace tarvello {
namespace {

using namespace journal_syntax;

std::uint64_t HashOf(std::string_view id) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : id) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

std::uint64_t ItemKey(std::size_t round, std::int16_t row) {
    return (static_cast<std::uint64_t>(round) << 16) | static_cast<std::uint16_t>(row);
}

}  // namespace

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
    return LineOf(line, version_);
}

bool JournalReader::Own(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return LineOf(line, kJournalVersion);
}

bool JournalReader::LineOf(std::string_view line, int version) {
    LineFields f = Fields(line);
    if (f[0] == kMagic) return Header(line);
    if (version >= 2) {
        const std::optional<std::string_view> body = WithoutCheck(line);
        if (!body) return false;
        f = Fields(*body);
    }
    const Kind* kind = KindNamed(f[0]);
    if (!kind || f.size() < 2 || !IsId(f[1])) return false;
    if (f.size() != 2 + (version >= 2 ? kind->fields : kind->fieldsInVersion1)) return false;
    if (kind->mark == JournalMark::Round) return Round(f.field);
    RoundRecord* round = Find(f[1]);
    if (!round) return false;
    if (kind->mark == JournalMark::Quote) {
        const auto types = LineTypesIn(f[2]);
        if (!types) return false;
        round->lineTypes = *types;
        return true;
    }
    if (kind->mark == JournalMark::What) {
        const auto what = JournalValueIn(f[2]);
        if (!what || what->kind() != Variant::Kind::Text) return false;
        round->what = Utf8Of(what->AsText());
        return true;
    }
    if (kind->mark == JournalMark::Forgotten) {
        round->forgotten = true;
        return true;
    }
    if (kind->mark == JournalMark::Quantities) {
        auto quantities = JournalListIn(f[2]);
        if (!quantities) return false;
        round->quantities = std::move(*quantities);
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
        case JournalMark::Left:
            item->restoring = false;
            item->dealtWith = true;
            item->left = kind->mark == JournalMark::Left;
            return true;
        default:
            return false;
    }
}

// A header of the first version carries no check; a later one does. One that claims a version
// beyond this one is believed only with its check right (a damaged line must not shut the
// journal for good), and then nothing here writes into it.
bool JournalReader::Header(std::string_view line) {
    const LineFields f = Fields(line);
    const auto version = f.size() >= 2 ? ParsedExactly<int>(f[1]) : std::nullopt;
    if (!version || *version < 1) return false;
    if (*version == 1 ? f.size() != 2 : !WithoutCheck(line)) return false;
    if (*version > kJournalVersion) {
        newerVersion_ = true;
    } else {
        version_ = *version;
    }
    return true;
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
