#pragma once
// The one checked write every pass that writes what it worked out earlier goes through (Apply of
// a preview, of price rules or of a new total, and Undo): just before it writes a line item, it
// reads every field of it in the same visit and compares each, by one rule (same_value.h), with
// what the new value was worked out from. Each pass only says what it expects and what it writes:
// as a compare-and-swap, nothing written unless the line item still holds what was expected.

#include <cstdint>
#include <optional>
#include <vector>

#include "passes/line_item_write.h"
#include "passes/pass.h"
#include "passes/pass_runner.h"
#include "passes/same_value.h"
#include "request/host_application.h"

namespace tarvello::passes {

// What one field must hold: one of the values the host gave before, or one of the prices the
// pass worked out, as the host would keep it (two where a write may or may not have reached the
// host).
struct FieldHeld {
    std::vector<Variant> read;
    std::vector<double> worked;
    // The host could not tell the field before either (the modifier): not being told it now holds
    // too, and so does an empty one.
    bool untoldHolds = false;

    static FieldHeld Read(Variant value) { return FieldHeld{{std::move(value)}, {}, false}; }
};

// Every readable field of a line item as the write expects to find it.
struct LineItemHeld {
    // As every pass reads a line type (a whole number of 16 bits): the passes write only into
    // priced line items.
    std::int16_t lineType = 1;
    FieldHeld unitPrice;
    FieldHeld quantity;
    FieldHeld modifier;
    FieldHeld extendedPrice;
};

// Every readable field as one visit found it; the modifier nothing where the host did not tell it.
struct LineItemNow {
    Variant lineType;
    Variant unitPrice;
    Variant extendedPrice;
    Variant quantity;
    std::optional<Variant> modifier;
};

// What the write puts into the line item: the modifier first, then the unit price.
struct LineItemWrite {
    Variant modifier;
    Variant unitPrice;
};

enum class Visited { Written, AlreadySo, Left };

struct VisitOutcome {
    Visited what = Visited::Written;
    // For Left: the first field found changed.
    ChangedLineItem left;
};

// True when `now` is one of the values `held` allows.
bool Holds(const Variant& now, const FieldHeld& held, const SameValue& same);

// A line type as the passes read it, against the one expected.
bool SameLineType(const Variant& now, std::int16_t expected, const NumberFormat& format);

// Reads the line item at `row` (its line type first, and the rest only while that holds) and
// compares every field with `held`, in the order line type, unit price, quantity, modifier,
// extended price: the host works the extended price out from the others, so a change to one of
// them is named as that change. The first that does not hold, or nothing. `now` gets what was
// read.
std::optional<ChangedLineItem> FirstChange(HostApplication& host, PassPosition& at,
                                           std::int16_t& row, const LineItemHeld& held,
                                           const SameValue& same, LineItemNow* now = nullptr);

// The checked write: FirstChange, and only when every field holds and the write would change
// something, the write (WriteLineItem), told to `recorder`.
VisitOutcome WriteIfStillHeld(HostApplication& host, PassPosition& at, std::int16_t& row,
                              const LineItemHeld& held, const LineItemWrite& write,
                              const SameValue& same, WriteRecorder& recorder);

// Tells `outcome` what became of the line item at `row`: written, already so, or left and why.
void Tell(const VisitOutcome& visited, std::int16_t row, PassOutcome& outcome);

}  // namespace tarvello::passes
