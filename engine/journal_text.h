#pragma once
// The journal as text: one line per event, written before the host sees the write it stands
// for, so that a program killed at any moment has lost nothing of what it changed. Plain UTF-8
// that a person can read; fields apart by tabs:
//
//   tarvello-rounding-journal	1
//   round	<id>	<began, UTC>	document <index>	line items <count>
//   item	<id>	<row>	<unit price before>	<modifier before>	<unit price written>
//   written	<id>	<row>	<unit price as the host left it>
//   restoring	<id>	<row>
//   undone	<id>	<row>
//
// Values: a number in its shortest form with a point ("12.5"), a text in double quotes with
// \" \\ \t \r \n escaped, "empty", "true"/"false", and "unknown" for a modifier the host could
// not tell. A line counts only when it is whole (it ends in a line feed) and reads as one of
// these; anything else (a torn last line, garbage) is passed over.

#include <cstddef>
#include <string>
#include <vector>

#include "round_record.h"

namespace tarvello {

constexpr int kJournalVersion = 1;

// The first line of a journal this version writes.
std::string JournalHeader();

std::string RoundLine(const RoundRecord& round);
std::string ItemLine(const std::string& id, const WrittenLineItem& item);
std::string WrittenLine(const std::string& id, std::int16_t row, double unitPriceAsLeft);
std::string RestoringLine(const std::string& id, std::int16_t row);
std::string UndoneLine(const std::string& id, std::int16_t row);

// Every line of a Round as it stands, as they would have been appended: for rewriting the
// journal without what it no longer needs.
std::string LinesOf(const RoundRecord& round);

struct JournalContents {
    // Oldest first; the Rounds whose first line was read, with what was read of them.
    std::vector<RoundRecord> rounds;
    // The journal says it was written by a newer version: nothing of it is read, and it is not
    // written to.
    bool newerVersion = false;
    // Lines passed over.
    std::size_t skipped = 0;
};
JournalContents ReadJournal(const std::string& text);

}  // namespace tarvello
