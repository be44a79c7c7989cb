// What a Round was, in the words the window's options use: the journal keeps them, and Round
// History shows them.
#include "numbers/errors.h"
#include "numbers/rounding.h"
#include "numbers/text_util.h"
#include "passes/describe_failure.h"
#include "request/rounding_rules.h"

namespace tarvello {
namespace {

Text FieldAndRows(RoundedPrice field, RowChoice rows) {
    Text text = field == RoundedPrice::UnitPrice ? u", unit price" : u", extended price";
    switch (rows) {
        case RowChoice::Current:
            return text + u", current row";
        case RowChoice::Selected:
            return text + u", selected rows";
        case RowChoice::All:
            return text + u", all rows";
        case RowChoice::NoRows:
            break;
    }
    return text + u", no rows";
}

}  // namespace

Text DescribeRoundChoice(const RoundingRequest& request, const NumberFormat& format) {
    Text amount;
    try {
        amount = WholeText(detail::MethodWholeNumber(request.Method, request.Amount));
    } catch (const EngineError&) {
        amount = FormatShortNumber(request.Amount, format);
    }
    Text method;
    switch (request.Method) {
        case RoundingMethod::Decimal:
            method = amount + (amount == u"1" ? u" decimal place" : u" decimal places");
            break;
        case RoundingMethod::Nearest:
            method = u"Nearest multiple of " + amount;
            break;
        case RoundingMethod::RoundUp:
            method = u"Up to a multiple of " + amount;
            break;
    }
    return method + FieldAndRows(request.PriceField, request.RowScope);
}

Text DescribeRulesChoice(RoundedPrice field, RowChoice rows) {
    return u"Price rules" + FieldAndRows(field, rows);
}

Text DescribeNewTotalChoice(const Decimal& newTotal, const NumberFormat& format) {
    return u"New total " + newTotal.ToText(format);
}

}  // namespace tarvello
