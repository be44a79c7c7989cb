#include "tests/standin/automation_client.h"

#include <oleauto.h>

#include "standin/variant_text.h"
#include "standin/variant_value.h"

namespace tarvello::testing {

using Microsoft::WRL::ComPtr;
using standin::ScopedVariant;

ComPtr<IDispatch> AttachToHost(HRESULT* hr) {
    CLSID clsid;
    *hr = CLSIDFromProgID(L"Tarvello.Application", &clsid);
    if (FAILED(*hr)) return nullptr;
    ComPtr<IUnknown> unknown;
    *hr = GetActiveObject(clsid, nullptr, &unknown);
    if (FAILED(*hr)) return nullptr;
    ComPtr<IDispatch> dispatch;
    *hr = unknown.As(&dispatch);
    return dispatch;
}

namespace {

HRESULT InvokeRaw(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
                  VARIANT* result, EXCEPINFO* info) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                      static_cast<UINT>(reversed.size()), 0};
    UINT argErr = 0;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, info, &argErr);
}

}  // namespace

ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name, HRESULT* hr,
                                    WORD flags) {
    ScopedVariant result;
    EXCEPINFO info{};
    *hr = InvokeRaw(object, name, flags, {}, result.get(), &info);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (FAILED(*hr)) return nullptr;
    if (result.get()->vt != VT_DISPATCH || !result.get()->pdispVal) {
        *hr = DISP_E_TYPEMISMATCH;
        return nullptr;
    }
    return ComPtr<IDispatch>(result.get()->pdispVal);
}

CallResult Invoke(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args, WORD flags) {
    CallResult out;
    ScopedVariant result;
    EXCEPINFO info{};
    out.hr = InvokeRaw(object, name, flags, std::move(args), result.get(), &info);
    if (info.bstrDescription) out.description = info.bstrDescription;
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (SUCCEEDED(out.hr)) out.value = standin::DescribeVariant(*result.get());
    return out;
}

namespace {

VARIANT OfKind(VARTYPE vt) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    return v;
}

}  // namespace

VARIANT I2Ref(short* value) {
    VARIANT v = OfKind(VT_I2 | VT_BYREF);
    v.piVal = value;
    return v;
}

VARIANT I2(short value) {
    VARIANT v = OfKind(VT_I2);
    v.iVal = value;
    return v;
}

VARIANT R8Ref(double* value) {
    VARIANT v = OfKind(VT_R8 | VT_BYREF);
    v.pdblVal = value;
    return v;
}

VARIANT R8(double value) {
    VARIANT v = OfKind(VT_R8);
    v.dblVal = value;
    return v;
}

VARIANT Bstr(BSTR text) {
    VARIANT v = OfKind(VT_BSTR);
    v.bstrVal = text;
    return v;
}

std::wstring HexHr(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

}  // namespace tarvello::testing
