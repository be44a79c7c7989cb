#pragma once
// The Rounds that Undo can give back, and the rule of which one it gives back next: the newest
// with something left to give back, then the one before it, as far as the history reaches. The
// passes tell it what they write and restore, line item by line item, before and after the
// writes; the window asks it how much the next Undo gives back. Nothing else keeps a copy.
//
// Behind a journal (journal_file.h) it survives the program: each line item's record is handed
// to the system before the host sees its first write, and what every copy of the program wrote
// is read back from there.

#include <cstdint>
#include <string>
#include <vector>

#include "journal_file.h"
#include "round_record.h"

namespace tarvello {

class RoundHistory {
public:
    // How many Rounds the journal keeps at least; older ones are dropped when it is rewritten.
    static constexpr std::size_t kKeptRounds = 20;

    // In memory only: closing the program forgets it.
    RoundHistory() = default;
    // Behind `journal`, which must outlive it; reads what the journal holds.
    explicit RoundHistory(JournalFile& journal);

    // Reads what the journal holds now, the Rounds and Undos of other copies included. A journal
    // that cannot be read leaves the history as it was.
    void Refresh();
    // Before a pass that writes: opens the journal for writing. False, with the reason in words
    // for the user, when it cannot be written.
    bool ReadyToWrite(std::string& why);
    // Where the journal is, for the user; empty in memory.
    std::string Where() const;

    // What a Round tells, in this order: it reached the document; for each line item, before its
    // first write and after its last. Writing throws JournalError when the journal cannot take
    // the line item's record: the Round must not write what Undo could not give back.
    void RoundBegun(std::int32_t documentIndex, std::int32_t lineItemCount);
    void Writing(const WrittenLineItem& item);
    void Written(double unitPriceAsLeft);

    // How many line items the next Undo gives back; 0 when there is nothing to undo.
    std::int32_t UndoableCount() const;

    // The Round the next Undo gives back, or null. Undo goes through its line items from
    // `undone` on, telling for each that it begins to write it back (if it does) and that it has
    // dealt with it. What the journal cannot take of these is kept in memory only.
    const RoundRecord* NextUndo() const;
    void Restoring(const RoundRecord& round);
    void DealtWith(const RoundRecord& round);

    // After a pass that wrote, however it ended: what it wrote is made durable, and a journal
    // that has grown is rewritten without what it no longer needs.
    void PassEnded();

private:
    RoundRecord* Newest();
    RoundRecord& Own(const RoundRecord& round);
    // Hands lines to the journal while it is open for writing.
    void Append(const std::string& lines);
    void AppendIfYouCan(const std::string& lines);
    void Compact();

    JournalFile* journal_ = nullptr;
    bool open_ = false;
    bool newerVersion_ = false;
    // How many Rounds the journal held when last read or written.
    std::size_t roundsInJournal_ = 0;
    // Oldest first.
    std::vector<RoundRecord> rounds_;
};

}  // namespace tarvello
