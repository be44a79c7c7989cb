#pragma once
// What each band row does, shown beside it as the user types: worked out afresh from the texts
// on every change, never with a word to the user about what does not read yet.

#include <array>

#include "numbers/number_format.h"
#include "numbers/variant.h"
#include "pricing/price_rules_form.h"

namespace tarvello {

// One text per band row, empty for a row that shows none. When the rows read as a whole, each
// used row shows its band in place ("12.34 → 11.99"); while the user is midway, a row whose own
// boxes read shows its band taken alone, from its From with no upper end, and the others none.
// The limit on the change plays no part: it is about line items, not bands.
std::array<Text, kBandRows> BandExamples(const RulesTexts& typed, const NumberFormat& format);

}  // namespace tarvello
