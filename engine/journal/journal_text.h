#pragma once
// The journal as text: one line per event, written before the host sees the write it stands
// for, so that a program killed at any moment has lost nothing of what it changed. Plain UTF-8
// that a person can read; fields apart by tabs, and last on every line its check, the CRC-32 of
// everything before that last tab in eight hex digits:
//
// clang-format off
//   tarvello-rounding-journal	3	<check>
//   round	<id>	<began, UTC>	document <index>	line items <count>	<check>
//   item	<id>	<row>	<unit price before>	<modifier before>	<unit price written>	<quantity>	<check>
//   written	<id>	<row>	<unit price as the host left it>	<check>
//   restoring	<id>	<row>	<check>
//   undone	<id>	<row>	<check>
//   left	<id>	<row>	<check>
//   quote	<id>	line types <type of row 0, row 1, ...>	<check>
//   quantities	<id>	<quantity of each line item of type 1, from row 0, apart by commas>	<check>
//   what	<id>	<what the Round was, in words: a text value>	<check>
//   forgotten	<id>	<check>
// clang-format on
//
// "undone" says that an Undo gave a line item back, "left" that it left it because it changed
// since (an earlier version wrote "undone" for both). "what" follows the Round's line; "forgotten"
// takes a Round out of Undo's line, whatever it still had to give back. "quote" and "quantities"
// come once the Round's walk has ended and say the shape of the quote as far as it went; a run of
// one line type is written "1x12". Values: a number in its shortest form with a point ("12.5"), a
// text in double quotes with \" \\ \t \r \n escaped and a lone surrogate as \uD800, "empty",
// "true"/"false", and "unknown" for a modifier the host could not tell.
//
// A line counts only when it reads as one of these with its check right: a line cut off or
// damaged is passed over, whatever was appended after it; a header that claims a version beyond
// this one counts only with its check right. Lines after a header of an earlier version (what
// the journal of an earlier version of the utility held when this one took it over,
// journal_file.h) are read as that version wrote them: version 1 with no check and an item
// without its quantity, version 2 without "quantities".

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "journal/round_record.h"

namespace tarvello {

constexpr int kJournalVersion = 3;

// What a journal line stands for.
enum class JournalMark {
    Round,
    Item,
    Written,
    Restoring,
    Undone,
    Quote,
    Quantities,
    What,
    Forgotten,
    Left
};

// The first line of a journal this version writes.
std::string JournalHeader();

std::string RoundLine(const RoundRecord& round);
std::string ItemLine(const std::string& id, const WrittenLineItem& item);
std::string WrittenLine(const std::string& id, std::int16_t row, double unitPriceAsLeft);
std::string RestoringLine(const std::string& id, std::int16_t row);
std::string UndoneLine(const std::string& id, std::int16_t row);
std::string LeftLine(const std::string& id, std::int16_t row);
std::string QuoteLine(const std::string& id, const std::vector<std::int16_t>& lineTypes);
std::string QuantitiesLine(const std::string& id, const std::vector<Variant>& quantities);
std::string WhatLine(const std::string& id, const std::string& what);
std::string ForgottenLine(const std::string& id);

// Every line of a Round as it stands, as they would have been appended: for rewriting the
// journal without what it no longer needs.
std::string LinesOf(const RoundRecord& round);

// Reads a journal line by line, as often as more of it comes: what it holds is always what the
// lines read so far say. A line read twice changes nothing the second time, so that the lines a
// copy of the program applies as it appends them can be read back from the file.
class JournalReader {
public:
    // Reads every whole line of `text` (up to its last line feed) and says how many bytes that
    // was; what follows (a line still being written, or cut off) is left for the next read.
    std::size_t Read(std::string_view text);
    // One line, without its line feed. False when it does not count.
    bool Line(std::string_view line);
    // A line this version writes, read as this version reads it whatever the version of the
    // journal it goes into: what a copy of the program adds counts at once.
    bool Own(std::string_view line);

    // Oldest first; the Rounds whose first line was read, with what was read of them.
    const std::vector<RoundRecord>& rounds() const { return rounds_; }
    RoundRecord* Find(std::string_view id);
    // The journal says it was written by a newer version: none of it counts, and it must not be
    // written to.
    bool newerVersion() const { return newerVersion_; }
    // The version of the last header read: what is appended next must follow it.
    int version() const { return version_; }
    // Lines passed over.
    std::size_t skipped() const { return skipped_; }

private:
    // One line, read as a journal of `version` holds it.
    bool LineOf(std::string_view line, int version);
    bool Header(std::string_view line);
    // `f`: the line's fields, as many as its kind has.
    bool Round(const std::string_view* f);
    bool Item(RoundRecord& round, std::int16_t row, const std::string_view* f, std::size_t size);
    WrittenLineItem* ItemOf(RoundRecord& round, std::int16_t row);

    std::vector<RoundRecord> rounds_;
    // The place of each Round by a hash of its id, and of each item by its Round's place and
    // its row: a journal grown enormous is read in one go, line after line.
    std::unordered_multimap<std::uint64_t, std::size_t> roundAt_;
    std::unordered_map<std::uint64_t, std::size_t> itemAt_;
    int version_ = 1;
    bool newerVersion_ = false;
    std::size_t skipped_ = 0;
};

// A whole journal at once.
struct JournalContents {
    std::vector<RoundRecord> rounds;
    bool newerVersion = false;
    std::size_t skipped = 0;
};
JournalContents ReadJournal(const std::string& text);

}  // namespace tarvello
