#include "round_decision.h"

#include <cmath>

#include "errors.h"
#include "rounding.h"
#include "rounding_rules.h"

namespace tarvello::detail {
namespace {

using Field = LineItemField;

// True when the host's active row names `row`. An answer that is not a number names no row.
bool IsActiveRow(const Variant& activeRow, std::int16_t row, const NumberFormat& format) {
    if (activeRow.kind() == Variant::Kind::Text) {
        try {
            return ReadNumber(activeRow.AsText(), format) == row;
        } catch (const EngineError&) {
            return false;
        }
    }
    return ToNumber(activeRow, format) == row;
}

// A price or quantity the Round works with must be a finite number: NaN or an infinity would
// be written back into the quote as it is, or turn a unit price into 0.
void RequireFinite(const Variant& value) {
    if (value.kind() == Variant::Kind::Double && !std::isfinite(value.AsDouble())) {
        throw EngineError(ErrorKind::TypeMismatch, "a value that is not a finite number");
    }
}

Variant Read(HostApplication& host, PassPosition& at, std::int16_t& row, Field field) {
    at.At(PassStep::LineItemGetValue, field);
    return host.LineItemGetValue(row, FieldName(field));
}

}  // namespace

void RoundDecider::ReadSelectedRows(HostApplication& host, PassPosition& at) {
    at.At(PassStep::LineItemGetSelectedRows);
    selectedRows_ = TextOf(host.LineItemGetSelectedRows());
}

std::optional<LineItemDecision> RoundDecider::Decide(HostApplication& host, PassPosition& at,
                                                     std::int16_t& row) const {
    if (ToWholeNumber16(Read(host, at, row, Field::LineType), format_) != 1) return std::nullopt;
    bool activeRowFlag = false;

    LineItemDecision decision;
    decision.unitPrice = Read(host, at, row, Field::UnitPrice);
    decision.extendedPrice = Read(host, at, row, Field::ExtendedPrice);
    decision.quantity = Read(host, at, row, Field::QtyTotal);

    // The extended price is only rounded when it is the field asked for: rounding the unit
    // price must not stop at an extended price or quantity it never uses (a quantity of 0,
    // an extended price beyond the whole-number range).
    decision.newUnitPrice =
        request_.PriceField == RoundedPrice::UnitPrice
            ? Rounded(at, Field::UnitPrice, decision.unitPrice)
            : UnitPriceFromExtended(at, decision.extendedPrice, decision.quantity);

    at.At(PassStep::LineItemGetActiveRow);
    if (IsActiveRow(host.LineItemGetActiveRow(), row, format_)) activeRowFlag = true;
    decision.chosen = IsChosen(row, activeRowFlag);
    return decision;
}

std::optional<Variant> RoundDecider::ReadModifier(HostApplication& host, PassPosition& at,
                                                  std::int16_t& row) const {
    try {
        return Read(host, at, row, Field::PriceModifier);
    } catch (const HostError& error) {
        if (error.disconnected()) throw;
    } catch (const EngineError&) {
    }
    return std::nullopt;
}

double RoundDecider::Rounded(PassPosition& at, Field field, const Variant& price) const {
    at.At(PassStep::WorkOutAmount);
    const std::int32_t n = MethodWholeNumber(request_.Method, request_.Amount);
    at.At(PassStep::RoundPrice, field);
    RequireFinite(price);
    return ApplyMethod(request_.Method, request_.Amount, n, price, format_);
}

// The extended price is rounded, and the unit price follows from it: the quotient is written
// as the division gives it, unrounded.
double RoundDecider::UnitPriceFromExtended(PassPosition& at, const Variant& extendedPrice,
                                           const Variant& quantity) const {
    const double extendedValue = Rounded(at, Field::ExtendedPrice, extendedPrice);
    at.At(PassStep::DivideByQuantity, Field::QtyTotal);
    RequireFinite(quantity);
    const double divisor = ToNumber(quantity, format_);
    if (divisor == 0.0) {
        throw EngineError(ErrorKind::DivisionByZero, "total quantity 0");
    }
    const double quotient = extendedValue / divisor;
    if (!std::isfinite(quotient)) {
        throw EngineError(ErrorKind::Overflow, "unit price outside the double range");
    }
    return quotient == 0.0 ? 0.0 : quotient;  // never a "-0" from a negative quantity
}

bool RoundDecider::IsChosen(std::int16_t row, bool activeRowFlag) const {
    switch (request_.RowScope) {
        case RowChoice::Current:
            return activeRowFlag;
        case RowChoice::Selected:
            return InDelimitedList(Variant::FromText(selectedRows_), Variant::Int16(row)).AsBool();
        case RowChoice::All:
            return true;
        case RowChoice::NoRows:
            return false;
    }
    return false;
}

}  // namespace tarvello::detail
