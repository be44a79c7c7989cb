#pragma once
// How argument and result variants appear in the call log: kind, then value.
//   VT_I2|VT_BYREF 3    VT_BSTR "UnitPrice"    VT_R8 12.5    VT_EMPTY

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace tarvello::standin {

std::wstring VariantKindName(VARTYPE vt);
std::wstring DescribeVariant(const VARIANT& v);
// A text in double quotes, a quote inside doubled.
std::wstring QuoteText(const std::wstring& text);

}  // namespace tarvello::standin
