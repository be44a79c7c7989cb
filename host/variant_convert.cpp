#include "host/variant_convert.h"

#include <cstdint>
#include <cstdio>
#include <limits>

#include "engine/numbers/errors.h"
#include "host/com_raii.h"

namespace tarvello::host {
namespace {

const char* BaseTypeName(VARTYPE type) {
    switch (type) {
        case VT_EMPTY:
            return "VT_EMPTY";
        case VT_NULL:
            return "VT_NULL";
        case VT_I2:
            return "VT_I2";
        case VT_I4:
            return "VT_I4";
        case VT_R4:
            return "VT_R4";
        case VT_R8:
            return "VT_R8";
        case VT_CY:
            return "VT_CY";
        case VT_DATE:
            return "VT_DATE";
        case VT_BSTR:
            return "VT_BSTR";
        case VT_DISPATCH:
            return "VT_DISPATCH";
        case VT_ERROR:
            return "VT_ERROR";
        case VT_BOOL:
            return "VT_BOOL";
        case VT_VARIANT:
            return "VT_VARIANT";
        case VT_UNKNOWN:
            return "VT_UNKNOWN";
        case VT_DECIMAL:
            return "VT_DECIMAL";
        case VT_I1:
            return "VT_I1";
        case VT_UI1:
            return "VT_UI1";
        case VT_UI2:
            return "VT_UI2";
        case VT_UI4:
            return "VT_UI4";
        case VT_I8:
            return "VT_I8";
        case VT_UI8:
            return "VT_UI8";
        case VT_INT:
            return "VT_INT";
        case VT_UINT:
            return "VT_UINT";
        case VT_RECORD:
            return "VT_RECORD";
        default:
            return nullptr;
    }
}

// Wider whole numbers keep a 32-bit kind when they fit, so that the engine's range checks
// see the value itself; beyond that only a double can carry them.
Variant FromWhole(std::int64_t value) {
    if (value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max()) {
        return Variant::Int32(static_cast<std::int32_t>(value));
    }
    return Variant::Double(static_cast<double>(value));
}

Variant FromUnsigned(std::uint64_t value) {
    if (value <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return FromWhole(static_cast<std::int64_t>(value));
    }
    return Variant::Double(static_cast<double>(value));
}

[[noreturn]] void Mismatch(VARTYPE type) {
    throw EngineError(ErrorKind::TypeMismatch, "the host answered with a value of kind " +
                                                   VarTypeName(type) +
                                                   ", which is neither a number nor text");
}

double FromDecimal(const DECIMAL& value) {
    double result = 0;
    DECIMAL copy = value;
    if (FAILED(VarR8FromDec(&copy, &result))) Mismatch(VT_DECIMAL);
    return result;
}

}  // namespace

std::string VarTypeName(VARTYPE type) {
    std::string name;
    if (type & VT_ARRAY) name += "VT_ARRAY|";
    const VARTYPE base = type & VT_TYPEMASK;
    if (const char* known = BaseTypeName(base)) {
        name += known;
    } else {
        char number[16];
        std::snprintf(number, sizeof number, "VT_%u", static_cast<unsigned>(base));
        name += number;
    }
    if (type & VT_BYREF) name += "|VT_BYREF";
    return name;
}

namespace {

// `reported` is the kind the host answered with, for the message.
Variant FromValue(const VARIANT& value, VARTYPE reported) {
    switch (V_VT(&value)) {
        case VT_EMPTY:
            return Variant();
        case VT_I2:
            return Variant::Int16(V_I2(&value));
        case VT_I4:
            return Variant::Int32(V_I4(&value));
        case VT_R4:
            return Variant::Double(V_R4(&value));
        case VT_R8:
            return Variant::Double(V_R8(&value));
        case VT_CY:
            return Variant::Double(V_CY(&value).int64 / 10000.0);
        case VT_DATE:
            return Variant::Double(V_DATE(&value));
        case VT_BSTR:
            return Variant::FromText(Bstr::ToText(V_BSTR(&value)));
        case VT_BOOL:
            return Variant::Boolean(V_BOOL(&value) != VARIANT_FALSE);
        case VT_DECIMAL:
            return Variant::Double(FromDecimal(V_DECIMAL(&value)));
        case VT_I1:
            return Variant::Int16(V_I1(&value));
        case VT_UI1:
            return Variant::Int16(V_UI1(&value));
        case VT_UI2:
            return FromWhole(V_UI2(&value));
        case VT_UI4:
            return FromUnsigned(V_UI4(&value));
        case VT_I8:
            return FromWhole(V_I8(&value));
        case VT_UI8:
            return FromUnsigned(V_UI8(&value));
        case VT_INT:
            return FromWhole(V_INT(&value));
        case VT_UINT:
            return FromUnsigned(V_UINT(&value));
        default:
            Mismatch(reported);
    }
}

}  // namespace

Variant FromAutomationValue(const VARIANT& value) {
    const VARTYPE type = V_VT(&value);
    if (type & VT_ARRAY) Mismatch(type);
    if (type & VT_BYREF) {
        // A value handed by reference (a variant inside a variant included) is read through
        // a copy of what it points at.
        VariantOwner target;
        if (V_BYREF(&value) == nullptr ||
            FAILED(VariantCopyInd(target.get(), const_cast<VARIANT*>(&value)))) {
            Mismatch(type);
        }
        return FromValue(*target, type);
    }
    return FromValue(value, type);
}

}  // namespace tarvello::host
