#pragma once
// Room request/: what a pass is given. This request and its three methods on one price, the
// host's interface and a line item's fields. It uses numbers/ only.
//
// One Round as the program hands it around: the method and its amount, the price to round and
// the rows to touch. The texts of the pass's own interface ("Nearest", "UnitPrice", "All") are
// read into these types once, where they come in, and written from them where they go out.

#include <optional>

#include "numbers/variant.h"

namespace tarvello {

enum class RoundingMethod { Decimal, Nearest, RoundUp };
enum class RoundedPrice { UnitPrice, ExtendedPrice };
// NoRows: a scope named by no known text chooses no line item.
enum class RowChoice { Current, Selected, All, NoRows };

struct RoundingRequest {
    double Amount = 0;
    RoundedPrice PriceField = RoundedPrice::ExtendedPrice;
    RoundingMethod Method = RoundingMethod::Decimal;
    RowChoice RowScope = RowChoice::All;
};

// The exact names ("Decimal", "ExtendedPrice", "Selected"), compared code unit by code unit;
// nothing for any other text, and NoRows for a scope of another name.
std::optional<RoundingMethod> MethodNamed(const Text& name);
std::optional<RoundedPrice> PriceFieldNamed(const Text& name);
RowChoice RowScopeNamed(const Text& name);

// The same names the other way; NoRows has none (an empty text).
Text NameOf(RoundingMethod method);
Text NameOf(RoundedPrice price);
Text NameOf(RowChoice rows);

}  // namespace tarvello
