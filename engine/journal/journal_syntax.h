#pragma once
// The grammar of a journal line (journal_text.h) that its writer and its reader share: the kinds
// of line and how many fields each has, the check every line ends with, and the runs of line
// types. Nothing outside the journal uses it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_text.h"

namespace tarvello::journal_syntax {

constexpr std::string_view kMagic = "tarvello-rounding-journal";

// Each kind of line, spelt once for the writer and the reader: its name and how many fields
// follow the name and the Round's id, in this version and in version 1 (0: not in version 1).
struct Kind {
    JournalMark mark;
    std::string_view name;
    std::size_t fields;
    std::size_t fieldsInVersion1;
};
const Kind& KindOf(JournalMark mark);
// Nothing for a name no line has.
const Kind* KindNamed(std::string_view name);

// The body of a line with a tab, its check and its line feed.
std::string Checked(std::string body);
// The line without its check, when the check is right.
std::optional<std::string_view> WithoutCheck(std::string_view line);

// "line types 2,1x6,3": the runs of one line type, and back.
std::string LineTypesText(const std::vector<std::int16_t>& types);
std::optional<std::vector<std::int16_t>> LineTypesIn(std::string_view field);

// The fields of a line, apart by tabs; more than any line kind has makes it no line of ours.
struct LineFields {
    static constexpr std::size_t kMost = 10;
    std::string_view field[kMost];
    std::size_t count = 0;
    std::string_view operator[](std::size_t i) const { return field[i]; }
    std::size_t size() const { return count; }
};
LineFields Fields(std::string_view line);

// "document 3" -> 3.
std::optional<std::int32_t> Labelled(std::string_view field, std::string_view label);
// A Round's id: up to 32 lower-case hex digits.
bool IsId(std::string_view id);

}  // namespace tarvello::journal_syntax
