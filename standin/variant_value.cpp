#include "standin/variant_value.h"

#include <cmath>

namespace tarvello::standin {
bool IsNumericKind(VARTYPE vt) {
    switch (vt) {
        case VT_I2:
        case VT_I4:
        case VT_R4:
        case VT_R8:
        case VT_CY:
        case VT_DECIMAL:
        case VT_I1:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_I8:
        case VT_UI8:
        case VT_INT:
        case VT_UINT:
            return true;
        default:
            return false;
    }
}

const VARIANT& Dereferenced(const VARIANT& v) {
    if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal) return Dereferenced(*v.pvarVal);
    return v;
}

std::optional<double> ReadNumber(const VARIANT& arg) {
    const VARIANT& v = Dereferenced(arg);
    if (!IsNumericKind(v.vt & VT_TYPEMASK) || (v.vt & VT_ARRAY)) return std::nullopt;
    ScopedVariant number;
    if (FAILED(VariantChangeTypeEx(number.get(), const_cast<VARIANT*>(&v), LOCALE_INVARIANT, 0,
                                   VT_R8)))
        return std::nullopt;
    return number.get()->dblVal;
}

std::optional<short> ReadRow(const VARIANT& v) {
    auto number = ReadNumber(v);
    if (!number || *number != std::floor(*number) || *number < -32768 || *number > 32767)
        return std::nullopt;
    return static_cast<short>(*number);
}

std::optional<std::wstring> ReadText(const VARIANT& arg) {
    const VARIANT& v = Dereferenced(arg);
    if (v.vt == VT_BSTR) return v.bstrVal ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal)) : L"";
    if (v.vt == (VT_BSTR | VT_BYREF) && v.pbstrVal) {
        BSTR b = *v.pbstrVal;
        return b ? std::wstring(b, SysStringLen(b)) : L"";
    }
    return std::nullopt;
}

void SetI2(VARIANT* out, short value) {
    out->vt = VT_I2;
    out->iVal = value;
}

void SetI4(VARIANT* out, long value) {
    out->vt = VT_I4;
    out->lVal = value;
}

void SetR8(VARIANT* out, double value) {
    out->vt = VT_R8;
    out->dblVal = value;
}

void SetText(VARIANT* out, const std::wstring& text) {
    out->vt = VT_BSTR;
    out->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace tarvello::standin
