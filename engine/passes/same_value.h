#pragma once
// What "still as it was" means, said once for every pass that writes: equal to a person, not
// equal bit for bit. A host may answer an empty text as an empty value, and may keep a price to
// a fixed number of decimals without saying so; nothing else counts as the same.

#include <optional>

#include "numbers/exact_decimal.h"
#include "numbers/number_format.h"
#include "numbers/variant.h"

namespace tarvello::passes {

// The value a number or a number in a text stands for, exactly; nothing for anything else.
std::optional<Decimal> DecimalOf(const Variant& value, const NumberFormat& format);

class SameValue {
public:
    explicit SameValue(const NumberFormat& format) : format_(format) {}

    // A unit price as the host shows it in this pass. A host that keeps a fixed number of
    // decimals shows it in all of them together, not in one value's own digits: 33.3 shows one
    // decimal, but beside 33.3333 it is a price of a host that keeps four.
    void SeePrice(const Variant& price);

    // Two values the host gave (now, and before): numbers exactly as decimals (a number in a
    // text too); an empty text and an empty value are the same, as Visual Basic has them; any
    // other text code unit by code unit.
    bool Same(const Variant& now, const Variant& before) const;

    // A price the pass worked out and writes or wrote, against what the line item holds now:
    // the same; or, where the prices of this pass show that the host keeps fewer decimals than
    // the price has, that price rounded to them (33.333333333333336 kept as 33.3333). Any other
    // value is a change, however small.
    bool Kept(const Variant& now, double worked) const;

    const NumberFormat& format() const { return format_; }

private:
    NumberFormat format_;
    // The most decimals any price of the pass showed; -1 before the first.
    int decimalsShown_ = -1;
};

}  // namespace tarvello::passes
