#pragma once
// What a Round left in the line items it wrote, as every pass that gives a Round back expects to
// find them (Undo, its preview in Round History, and Round History's look at the Rounds kept).

#include <vector>

#include "journal/round_record.h"
#include "passes/checked_write.h"
#include "passes/quote_recognition.h"

namespace tarvello::passes {

// Cut off between its two writes (by the Round, or by an earlier Undo), a line item may still
// hold, or hold again, what it had before.
inline bool EitherWay(const WrittenLineItem& item) {
    return !item.written || item.restoring;
}

// The price the Round left: the one it wrote, as the host would keep it.
inline FieldHeld PriceAsLeft(const WrittenLineItem& item) {
    FieldHeld price;
    price.worked = {item.unitPriceWritten};
    if (EitherWay(item)) price.read = {item.unitPriceBefore};
    return price;
}

// The Round's quote as it and the Undos since left it: the line items still to give back as the
// Round left them, those given back as they were before it; those left because they changed
// since tell nothing.
inline QuoteShape ShapeLeft(const RoundRecord& round) {
    QuoteShape shape{round.lineTypes, round.quantities, {}};
    for (const WrittenLineItem& item : round.items) {
        if (!item.dealtWith) {
            shape.items.push_back({item.row, PriceAsLeft(item), item.quantity});
        } else if (!item.left) {
            shape.items.push_back({item.row, FieldHeld::Read(item.unitPriceBefore), item.quantity});
        }
    }
    return shape;
}

// What the Round left in the line item: its price, no modifier (one the host could not tell the
// Round was cleared all the same), the quantity the price was worked out with, and the extended
// price the host shows for them, as the sweep found it.
LineItemHeld AsTheRoundLeftIt(const WrittenLineItem& item, const QuoteRead& read);

// What it held before the Round. A modifier the host answered as an empty value goes back as
// the empty text the interface writes: the same modifier to a person, and one a host that takes
// only texts for it takes.
LineItemWrite AsBefore(const WrittenLineItem& item);

// The line items of `round` no Undo has dealt with yet, in the order written.
std::vector<WrittenLineItem> StillToGiveBack(const RoundRecord& round);

}  // namespace tarvello::passes
