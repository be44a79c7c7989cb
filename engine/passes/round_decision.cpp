#include "passes/round_decision.h"

#include <cmath>

#include "numbers/errors.h"
#include "numbers/rounding.h"
#include "passes/describe_failure.h"
#include "request/rounding_rules.h"

namespace tarvello::passes {
namespace {

using Field = LineItemField;

// True when the host's active row names `row`. An answer that is not a number names no row.
bool IsActiveRow(const Variant& activeRow, std::int16_t row, const NumberFormat& format) {
    const std::optional<double> number = NumberOrNothing(activeRow, format);
    return number && *number == row;
}

}  // namespace

void RequireFinite(const Variant& value) {
    if (value.kind() == Variant::Kind::Double && !std::isfinite(value.AsDouble())) {
        throw EngineError(ErrorKind::TypeMismatch, "a value that is not a finite number");
    }
}

double UnitPriceFromExtended(PassPosition& at, double extendedValue, const Variant& quantity,
                             const NumberFormat& format) {
    at.At(PassStep::DivideByQuantity, Field::QtyTotal);
    RequireFinite(quantity);
    const double divisor = ToNumber(quantity, format);
    if (divisor == 0.0) {
        throw EngineError(ErrorKind::DivisionByZero, "total quantity 0");
    }
    const double quotient = extendedValue / divisor;
    if (!std::isfinite(quotient)) {
        throw EngineError(ErrorKind::Overflow, "unit price outside the double range");
    }
    return quotient == 0.0 ? 0.0 : quotient;  // never a "-0" from a negative quantity
}

// The extended price is only rounded when it is the field asked for: rounding the unit price
// must not stop at an extended price or quantity it never uses (a quantity of 0, an extended
// price beyond the whole-number range).
NewPrice MethodPricing::Price(const LineItemValues& values, PassPosition& at) const {
    NewPrice price;
    if (request_.PriceField == RoundedPrice::UnitPrice) {
        price.unitPrice = Rounded(at, Field::UnitPrice, values.unitPrice);
    } else {
        const double extendedValue = Rounded(at, Field::ExtendedPrice, values.extendedPrice);
        price.unitPrice = UnitPriceFromExtended(at, extendedValue, values.quantity, format_);
    }
    return price;
}

Text MethodPricing::What(RowChoice rows) const {
    RoundingRequest request = request_;
    request.RowScope = rows;
    return DescribeRoundChoice(request, format_);
}

double MethodPricing::Rounded(PassPosition& at, Field field, const Variant& price) const {
    at.At(PassStep::WorkOutAmount);
    const std::int32_t n = detail::MethodWholeNumber(request_.Method, request_.Amount);
    at.At(PassStep::RoundPrice, field);
    RequireFinite(price);
    return detail::ApplyMethod(request_.Method, request_.Amount, n, price, format_);
}

void RoundDecider::ReadSelectedRows(HostApplication& host, PassPosition& at) {
    at.At(PassStep::LineItemGetSelectedRows);
    selectedRows_ = TextOf(host.LineItemGetSelectedRows());
}

std::optional<LineItemDecision> RoundDecider::Decide(HostApplication& host, PassPosition& at,
                                                     std::int16_t& row) {
    const std::int16_t lineType =
        ToWholeNumber16(ReadLineItem(host, at, row, Field::LineType), format_);
    lineTypes_.push_back(lineType);
    if (lineType != 1) return std::nullopt;

    LineItemDecision decision;
    decision.values.unitPrice = ReadLineItem(host, at, row, Field::UnitPrice);
    decision.values.extendedPrice = ReadLineItem(host, at, row, Field::ExtendedPrice);
    decision.values.quantity = ReadLineItem(host, at, row, Field::QtyTotal);
    quantities_.push_back(decision.values.quantity);
    decision.price = pricing_.Price(decision.values, at);

    at.At(PassStep::LineItemGetActiveRow);
    const bool isActiveRow = IsActiveRow(host.LineItemGetActiveRow(), row, format_);
    decision.chosen = IsChosen(row, isActiveRow);
    return decision;
}

bool RoundDecider::IsChosen(std::int16_t row, bool isActiveRow) const {
    switch (rows_) {
        case RowChoice::Current:
            return isActiveRow;
        case RowChoice::Selected:
            return InDelimitedList(Variant::FromText(selectedRows_), Variant::Int16(row)).AsBool();
        case RowChoice::All:
            return true;
        case RowChoice::NoRows:
            return false;
    }
    return false;
}

}  // namespace tarvello::passes
