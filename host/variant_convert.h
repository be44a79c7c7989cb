#pragma once
// Turns the automation values a host answers with into the engine's Variant.

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "engine/numbers/variant.h"

namespace tarvello::host {

// Numbers and text keep their value; whole numbers that fit keep a whole-number kind, wider
// ones and fractional kinds become doubles; a date becomes its serial number, as a date does
// when a script uses it as a number. Any kind that is neither a number nor text (objects,
// arrays, errors, null) throws EngineError(TypeMismatch) naming the kind.
Variant FromAutomationValue(const VARIANT& value);

// "VT_I2", "VT_R8|VT_BYREF", "VT_ARRAY|VT_VARIANT", ... for messages.
std::string VarTypeName(VARTYPE type);

}  // namespace tarvello::host
