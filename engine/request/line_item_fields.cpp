#include "request/line_item_fields.h"

namespace tarvello {

const Text& FieldName(LineItemField field) {
    static const Text kNames[] = {u"LineType", u"UnitPrice", u"ExtendedPrice", u"QtyTotal",
                                  u"PriceModifier"};
    return kNames[static_cast<int>(field)];
}

}  // namespace tarvello
