#pragma once
// What a Round leaves for Undo: for every line item it wrote, the unit price and the price
// modifier it had before and the unit price written, with the document as the Round found it.
// Kept in memory only.

#include <cstdint>
#include <optional>
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
    // The unit price the host holds after the Round's write, as the host left it in the value
    // handed by reference. Undo restores a line item only while it still holds exactly this.
    double unitPriceWritten = 0;
};

struct UndoRecord {
    // True once the Round began to walk the document: from then on it is the last Round, even
    // when it wrote nothing.
    bool started = false;
    // The active document as the Round found it; Undo acts only on the same one.
    std::int32_t documentIndex = 0;
    std::int32_t lineItemCount = 0;
    // In the order written.
    std::vector<WrittenLineItem> items;
};

}  // namespace tarvello
