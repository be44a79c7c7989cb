#pragma once
// What a Round leaves for Undo: for every line item it wrote, the unit price and the price
// modifier it had before and the unit price written, with the document as the Round found it.
// What Apply writes from a preview is kept the same way.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "variant.h"

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
    // False until both writes of the line item are done: a Round cut off between them may have
    // cleared the modifier and left the old price, which Undo then also recognises.
    bool written = false;
    // True once an Undo has begun to write the line item back, until it has finished: cut off
    // in between, the line item may hold either price.
    bool restoring = false;
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
    // In the order written.
    std::vector<WrittenLineItem> items;
    // The line items an Undo has dealt with (given back, or left alone because they changed
    // since), from the front: Undo goes through them in the order written.
    std::size_t undone = 0;

    std::int32_t Undoable() const { return static_cast<std::int32_t>(items.size() - undone); }
};

}  // namespace tarvello
