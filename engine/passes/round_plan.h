#pragma once
// What a pass would write, decided without writing: for every line item it would write (or
// shows and leaves), the values it read and the new unit price, with the quote as it found it.
// A Round's preview, a preview by price rules and one of a new total all make one.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "numbers/exact_decimal.h"
#include "numbers/variant.h"

namespace tarvello {

// What worked out the new prices: the main window's method, price rules, a new total, or the
// Undo of a Round chosen in Round History (the prices it had before).
enum class PlanKind { Round, PriceRules, NewTotal, Undo };

struct PlannedLineItem {
    std::int16_t row = 0;
    // As read from the host.
    Variant quantity;
    Variant unitPrice;
    Variant extendedPrice;
    // The modifier Apply would clear; nothing when the host could not tell it.
    std::optional<Variant> modifier;
    // The modifier Apply writes: none, or for an Undo the one the line item had before the Round.
    Variant newModifier = Variant::FromText(Text());
    double newUnitPrice = 0;
    // False: shown, but left as it is (a guard of the price rules, a line item without a price
    // in a new total): Apply writes nothing into it.
    bool change = true;
    // Why it is left or lifted, in words for the preview; empty when there is nothing to say.
    Text note;
    // A new total: the extended price the line item comes to at its new price (or as it is, when
    // it stays), exactly as the preview counts it into the total reached.
    std::optional<Decimal> newExtendedPrice;
};

struct RoundPlan {
    PlanKind kind = PlanKind::Round;
    std::int32_t documentIndex = 0;
    std::int32_t lineItemCount = 0;
    // The line type of every row and the quantity of every priced line item (line type 1, in
    // row order), as previewed: Apply knows the quote again by them.
    std::vector<std::int16_t> lineTypes;
    std::vector<Variant> quantities;
    // In row order.
    std::vector<PlannedLineItem> items;
    // A word about the whole plan, shown with the totals (a new total that cannot be reached
    // exactly); empty for most.
    Text remark;
    // NewTotal: the total asked for; after Apply the host's own total is compared with it.
    std::optional<Decimal> newTotal;
    // What the plan is, in words for the user and the journal ("Price rules, unit price, all
    // rows").
    Text what;
    // Undo: the Round it gives back.
    std::string undoOf;
};

}  // namespace tarvello
