#pragma once
// Room journal/: what the Rounds wrote, kept for Undo. The history below, the journal's text
// format, its values and its reader over a JournalFile. It uses numbers/ only.
//
// The Rounds that Undo can give back, and the rule of which one it gives back next: the newest
// with something left to give back, then the one before it, as far as the history reaches. The
// passes tell it what they write and restore, line item by line item, before and after the
// writes; the window asks it how much the next Undo gives back. Nothing else keeps a copy.
//
// Behind a journal (journal_file.h) it survives the program: each line item's record is handed
// to the system before the host sees its first write, and what every copy of the program wrote
// is read back from there. What it holds is always what the journal's lines say: the lines it
// appends are read into it as they are appended, and reading them back changes nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "journal/journal_file.h"
#include "journal/journal_text.h"
#include "journal/round_record.h"

namespace tarvello {

class RoundHistory {
public:
    // How many Rounds the journal keeps at least; older ones are dropped when it is rewritten.
    static constexpr std::size_t kKeptRounds = 20;

    // In memory only: closing the program forgets it.
    RoundHistory();
    // Behind `journal`, which must outlive it. Reads nothing yet: the program starts without
    // waiting for the journal, however large.
    explicit RoundHistory(JournalFile& journal);

    // Reads what was appended to the journal since the last read (all of it the first time, or
    // once another copy has rewritten it), the Rounds and Undos of other copies included. A
    // journal that cannot be read leaves the history as it was.
    void Refresh();
    // Where the journal is, for the user; empty in memory.
    std::string Where() const;

    // Around a pass that writes (journal_session.h): opens the journal for writing, or says why
    // it cannot, in words for the user.
    bool OpenJournal(std::string& why);
    // The pass goes on without the journal: what it writes is not kept for Undo, and what an
    // Undo gives back is kept in memory only, for as long as the program runs.
    void GoWithoutJournal();
    // However the pass ended: what it wrote is made durable, the journal closed, and one that
    // has grown rewritten without what it no longer needs. Never throws.
    void CloseJournal();

    // What a Round tells, in this order: it reached the document; for each line item, before its
    // first write and after its last; once its walk has ended, the line types it saw and the
    // quantities of the priced line items among them (round_record.h). Writing
    // throws JournalError when the journal cannot take the line item's record: the Round must
    // not write what Undo could not give back.
    void RoundBegun(std::int32_t documentIndex, std::int32_t lineItemCount,
                    const std::string& what = std::string());
    void Writing(const WrittenLineItem& item);
    void Written(double unitPriceAsLeft);
    void QuoteSeen(const std::vector<std::int16_t>& lineTypes,
                   const std::vector<Variant>& quantities);

    // How many line items the next Undo gives back; 0 when there is nothing to undo.
    std::int32_t UndoableCount() const;
    // The Round the next Undo gives back, as it stands now; its id names it afterwards.
    std::optional<RoundRecord> NextUndo() const;
    // Undo tells, for each line item it takes in hand, that it begins to write it back (if it
    // does) and that it has dealt with it. What the journal cannot take of these is kept in
    // memory, and still counts after the journal is read again.
    void Restoring(const std::string& id, std::int16_t row);
    // `left`: left alone because it changed since, not given back.
    void DealtWith(const std::string& id, std::int16_t row, bool left = false);

    // Every Round it holds, oldest first, as it stands now.
    const std::vector<RoundRecord>& Rounds() const;
    // The Round of that id; nothing when it is not held (any more).
    std::optional<RoundRecord> Find(const std::string& id) const;
    // Takes the Round out of Undo's line: Undo moves on to the one before it. Written to the
    // journal like every other mark (opened for it, and closed again), so that other copies and
    // a restart see it; when the journal cannot take it, it is kept in memory and `why` says why.
    void Forget(const std::string& id, std::string& why);

private:
    // A line this copy adds: read into the history, and handed to the journal when it is open.
    void Add(const std::string& line);
    void AddIfYouCan(const std::string& line);
    void Compact();

    JournalFile* journal_ = nullptr;
    JournalReader model_;
    JournalPlace readUpTo_;
    bool open_ = false;
    bool withoutJournal_ = false;
    // The Round in progress and the row of its line item being written.
    std::string current_;
    std::int16_t currentRow_ = 0;
    // Undo's marks the journal could not take.
    std::vector<std::string> unjournaled_;
};

}  // namespace tarvello
