#pragma once
// The fields of a line item the pass reads and writes. The host knows them by name: the names
// are written in one table and cross to the host as text.

#include "numbers/variant.h"

namespace tarvello {

enum class LineItemField { LineType, UnitPrice, ExtendedPrice, QtyTotal, PriceModifier };

// "LineType", "UnitPrice", "ExtendedPrice", "QtyTotal", "PriceModifier".
const Text& FieldName(LineItemField field);

}  // namespace tarvello
