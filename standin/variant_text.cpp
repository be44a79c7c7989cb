#include "standin/variant_text.h"

#include <oleauto.h>

#include "standin/number_text.h"
#include "standin/variant_value.h"

namespace tarvello::standin {
namespace {

struct KindName {
    VARTYPE vt;
    const wchar_t* name;
};

constexpr KindName kKinds[] = {
    {VT_EMPTY, L"VT_EMPTY"},     {VT_NULL, L"VT_NULL"},
    {VT_I2, L"VT_I2"},           {VT_I4, L"VT_I4"},
    {VT_R4, L"VT_R4"},           {VT_R8, L"VT_R8"},
    {VT_CY, L"VT_CY"},           {VT_DATE, L"VT_DATE"},
    {VT_BSTR, L"VT_BSTR"},       {VT_DISPATCH, L"VT_DISPATCH"},
    {VT_ERROR, L"VT_ERROR"},     {VT_BOOL, L"VT_BOOL"},
    {VT_VARIANT, L"VT_VARIANT"}, {VT_UNKNOWN, L"VT_UNKNOWN"},
    {VT_DECIMAL, L"VT_DECIMAL"}, {VT_I1, L"VT_I1"},
    {VT_UI1, L"VT_UI1"},         {VT_UI2, L"VT_UI2"},
    {VT_UI4, L"VT_UI4"},         {VT_I8, L"VT_I8"},
    {VT_UI8, L"VT_UI8"},         {VT_INT, L"VT_INT"},
    {VT_UINT, L"VT_UINT"},
};

}  // namespace

std::wstring VariantKindName(VARTYPE vt) {
    std::wstring name;
    VARTYPE base = vt & VT_TYPEMASK;
    for (const auto& k : kKinds)
        if (k.vt == base) name = k.name;
    if (name.empty()) name = L"VT_" + std::to_wstring(base);
    if (vt & VT_ARRAY) name += L"|VT_ARRAY";
    if (vt & VT_BYREF) name += L"|VT_BYREF";
    return name;
}

std::wstring QuoteText(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"') out += L'"';
        out += c;
    }
    return out + L"\"";
}

std::wstring DescribeVariant(const VARIANT& v) {
    std::wstring out = VariantKindName(v.vt);
    if (v.vt & VT_ARRAY) return out;
    if (v.vt == (VT_VARIANT | VT_BYREF))
        return v.pvarVal ? out + L" " + DescribeVariant(*v.pvarVal) : out;
    ScopedVariant value;
    if (FAILED(VariantCopyInd(value.get(), const_cast<VARIANT*>(&v)))) return out;
    VARTYPE vt = value.get()->vt;
    if (vt == VT_BSTR) {
        BSTR b = value.get()->bstrVal;
        return out + L" " + QuoteText(b ? std::wstring(b, SysStringLen(b)) : std::wstring());
    }
    if (vt == VT_ERROR) {
        wchar_t hex[16];
        swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(value.get()->scode));
        return out + L" " + hex;
    }
    if (IsNumericKind(vt) || vt == VT_DATE || vt == VT_BOOL) {
        ScopedVariant number;
        if (SUCCEEDED(VariantChangeTypeEx(number.get(), value.get(), LOCALE_INVARIANT, 0, VT_R8)))
            return out + L" " + FormatNumber(number.get()->dblVal);
    }
    return out;
}

}  // namespace tarvello::standin
