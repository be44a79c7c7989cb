#pragma once
// What a Round leaves for Undo: for every line item it wrote, the unit price, price modifier and
// quantity it had before and the unit price written, with enough of the quote as the Round
// found it to know the quote again. What Apply writes from a preview is kept the same way.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "numbers/variant.h"

namespace tarvello {

struct WrittenLineItem {
    std::int16_t row = 0;
    // The unit price as the Round read it.
    Variant unitPriceBefore;
    // The price modifier as the Round read it right before clearing it; nothing when the host
    // could not tell it (Undo then leaves the modifier empty).
    std::optional<Variant> modifierBefore;
    // The unit price the Round wrote; once the write is done, as the host left it in the value
    // handed by reference.
    double unitPriceWritten = 0;
    // The total quantity the new price was worked out with; nothing in records kept by the first
    // version of the journal, which did not keep it.
    std::optional<Variant> quantity;
    // False until both writes of the line item are done: a Round cut off between them may have
    // cleared the modifier and left the old price, which Undo then also recognises.
    bool written = false;
    // True once an Undo has begun to write the line item back, until it has finished: cut off
    // in between, the line item may hold either price.
    bool restoring = false;
    // An Undo has dealt with it: given it back, or left it alone because it changed since.
    bool dealtWith = false;
    // Dealt with by being left alone.
    bool left = false;
};

// One Round as Undo sees it.
struct RoundRecord {
    // Names the Round in the journal, among the Rounds of every copy of the program.
    std::string id;
    // When it began, as the journal shows it (UTC, "2026-12-07 14:03:22").
    std::string began;
    // The active document as the Round found it; Undo acts only on the same one.
    std::int32_t documentIndex = 0;
    std::int32_t lineItemCount = 0;
    // The line type of each row from row 0, as far as the Round went: the shape of the quote,
    // by which Undo knows it again. Empty when the Round was cut off before it could tell, or
    // kept by the first version of the journal.
    std::vector<std::int16_t> lineTypes;
    // The quantity of every priced line item (line type 1) the Round read, in row order: the n-th
    // is that of the n-th row of type 1 in lineTypes. Empty where lineTypes is, or kept by a
    // journal of the second version, which did not keep them.
    std::vector<Variant> quantities;
    // In the order written.
    std::vector<WrittenLineItem> items;
    // What it was, in words for the user ("Nearest multiple of 5, unit price, all rows"); empty
    // for a Round kept by an earlier version.
    std::string what;
    // Taken out of Undo's line by the user: it gives nothing back any more.
    bool forgotten = false;

    // The line items an Undo can still give back.
    std::int32_t Undoable() const {
        if (forgotten) return 0;
        std::int32_t count = 0;
        for (const WrittenLineItem& item : items) count += item.dealtWith ? 0 : 1;
        return count;
    }
};

}  // namespace tarvello
