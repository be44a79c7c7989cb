#pragma once
// The three rounding methods as the pass applies them to one price.

#include <cstdint>

#include "numbers/number_format.h"
#include "numbers/variant.h"
#include "request/rounding_request.h"

namespace tarvello::detail {

// The amount as the method uses it: Nearest and RoundUp count an amount below 1 as 1.
double EffectiveAmount(RoundingMethod method, double amount);

// n, the whole number of the method: places for Decimal, the multiple otherwise.
// Overflow when the amount is outside the 32-bit range; InvalidArgument for negative places.
std::int32_t MethodWholeNumber(RoundingMethod method, double amount);

// The method applied to a price as read from the host; `n` from MethodWholeNumber.
// Overflow when the price, the rounded price or RoundUp's sum leaves the 32-bit range;
// TypeMismatch when the price is not a number.
double ApplyMethod(RoundingMethod method, double amount, std::int32_t n, const Variant& price,
                   const NumberFormat& format);

}  // namespace tarvello::detail
