#pragma once
// The Rounds that Undo can give back, and the rule of which one it gives back next. The passes
// tell it what they write and restore, line item by line item, before and after the writes;
// the window asks it how much the next Undo gives back. Nothing else keeps a copy.

#include <cstdint>
#include <vector>

#include "round_record.h"

namespace tarvello {

class RoundHistory {
public:
    // What a Round tells, in this order: it reached the document; for each line item, before its
    // first write and after its last.
    void RoundBegun(std::int32_t documentIndex, std::int32_t lineItemCount);
    void Writing(const WrittenLineItem& item);
    void Written(double unitPriceAsLeft);

    // How many line items the next Undo gives back; 0 when there is nothing to undo.
    std::int32_t UndoableCount() const;

    // The Round the next Undo gives back, or null. Undo goes through its line items from
    // `undone` on, telling for each that it begins to write it back (if it does) and that it has
    // dealt with it.
    const RoundRecord* NextUndo() const;
    void Restoring(const RoundRecord& round);
    void DealtWith(const RoundRecord& round);

private:
    RoundRecord* Newest();
    RoundRecord& Own(const RoundRecord& round);

    // Oldest first. One Round is kept: a Round that reached the document replaces the last.
    std::vector<RoundRecord> rounds_;
};

}  // namespace tarvello
