#include "passes/checked_write.h"

#include "numbers/errors.h"
#include "numbers/rounding.h"

namespace tarvello::passes {
namespace {

using Field = LineItemField;

bool ModifierHolds(const std::optional<Variant>& now, const FieldHeld& held,
                   const SameValue& same) {
    return now ? Holds(*now, held, same) : held.untoldHolds;
}

std::optional<ChangedLineItem> Changed(std::int16_t row, Field field, bool told = true) {
    return ChangedLineItem{row, field, told ? LeftBecause::Changed : LeftBecause::NotRead};
}

// The write would leave the line item as it is: the price it holds is the one to be written, and
// the modifier it holds (as far as the host tells it) the one to be written too. Exactly: on a
// host that keeps fewer decimals than a new price has, a write that changes nothing it shows
// costs nothing, while a price not written on a host that keeps them all would be a change lost.
bool AlreadySo(const LineItemNow& now, const LineItemWrite& write, const SameValue& same) {
    return same.Same(now.unitPrice, write.unitPrice) && now.modifier &&
           same.Same(*now.modifier, write.modifier);
}

}  // namespace

bool Holds(const Variant& now, const FieldHeld& held, const SameValue& same) {
    for (const Variant& value : held.read) {
        if (same.Same(now, value)) return true;
    }
    for (const double price : held.worked) {
        if (same.Kept(now, price)) return true;
    }
    return held.untoldHolds && same.Same(now, Variant());
}

bool SameLineType(const Variant& now, std::int16_t expected, const NumberFormat& format) {
    try {
        return ToWholeNumber16(now, format) == expected;
    } catch (const EngineError&) {
        return false;  // a line type that is no number is not the one the pass saw
    }
}

std::optional<ChangedLineItem> FirstChange(HostApplication& host, PassPosition& at,
                                           std::int16_t& row, const LineItemHeld& held,
                                           const SameValue& same, LineItemNow* now) {
    LineItemNow read;
    LineItemNow& into = now ? *now : read;
    // A line item of another type now may have no prices to read at all.
    into.lineType = ReadLineItem(host, at, row, Field::LineType);
    if (!SameLineType(into.lineType, held.lineType, same.format())) {
        return Changed(row, Field::LineType);
    }
    into.unitPrice = ReadLineItem(host, at, row, Field::UnitPrice);
    into.extendedPrice = ReadLineItem(host, at, row, Field::ExtendedPrice);
    into.quantity = ReadLineItem(host, at, row, Field::QtyTotal);
    into.modifier = ReadModifier(host, at, row);
    if (!Holds(into.unitPrice, held.unitPrice, same)) return Changed(row, Field::UnitPrice);
    if (!Holds(into.quantity, held.quantity, same)) return Changed(row, Field::QtyTotal);
    if (!ModifierHolds(into.modifier, held.modifier, same)) {
        return Changed(row, Field::PriceModifier, into.modifier.has_value());
    }
    if (!Holds(into.extendedPrice, held.extendedPrice, same)) {
        return Changed(row, Field::ExtendedPrice);
    }
    return std::nullopt;
}

VisitOutcome WriteIfStillHeld(HostApplication& host, PassPosition& at, std::int16_t& row,
                              const LineItemHeld& held, const LineItemWrite& write,
                              const SameValue& same, WriteRecorder& recorder) {
    LineItemNow now;
    if (const std::optional<ChangedLineItem> changed =
            FirstChange(host, at, row, held, same, &now)) {
        return {Visited::Left, *changed};
    }
    if (AlreadySo(now, write, same)) return {Visited::AlreadySo, {}};
    WriteLineItem(host, at, row, write.modifier, write.unitPrice, recorder);
    return {Visited::Written, {}};
}

void Tell(const VisitOutcome& visited, std::int16_t row, PassOutcome& outcome) {
    switch (visited.what) {
        case Visited::Written:
            ++outcome.written;
            break;
        case Visited::AlreadySo:
            outcome.checked.alreadySo.push_back(row);
            break;
        case Visited::Left:
            outcome.checked.changedSince.push_back(visited.left);
            break;
    }
}

}  // namespace tarvello::passes
