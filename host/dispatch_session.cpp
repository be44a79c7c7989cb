#include "host/dispatch_session.h"

#include "host/busy_retry.h"
#include "host/host_failure.h"

namespace tarvello::host {
namespace {

// COM's proxies answer for IMultiQI themselves, without a call to the server; objects served
// in this apartment do not implement it.
bool IsProxy(IDispatch* object) {
    ComPtr<IMultiQI> proxy;
    return SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(proxy.GetAddressOf())));
}

}  // namespace

DispatchSession::Names& DispatchSession::NamesOf(IDispatch* object, const std::wstring& slot,
                                                 const std::string& operation) {
    ComPtr<IUnknown> identity;
    const HRESULT result = object->QueryInterface(IID_PPV_ARGS(identity.GetAddressOf()));
    if (FAILED(result)) throw MakeHostError(result, operation);
    Names& names = slots_[slot];
    // Compared as raw pointers: WRL's ComPtr has no comparison of its own, and two of them
    // compared directly are only compared as "non-null".
    if (names.identity.Get() != identity.Get()) {
        // Another object in this slot: the old one's names say nothing about it.
        names.identity = std::move(identity);
        names.ids.clear();
    }
    return names;
}

DISPID DispatchSession::IdOf(IDispatch* object, const std::wstring& slot, const std::wstring& name,
                             const std::string& operation) {
    Names& names = NamesOf(object, slot, operation);
    const auto known = names.ids.find(name);
    if (known != names.ids.end()) return known->second;

    DISPID id = DISPID_UNKNOWN;
    auto* text = const_cast<LPOLESTR>(name.c_str());
    const HRESULT result = CallRetryingWhileBusy(busyRetry_, [&] {
        return object->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id);
    });
    if (FAILED(result)) throw MakeHostError(result, operation);
    names.ids.emplace(name, id);
    return id;
}

void DispatchSession::Invoke(IDispatch* object, DISPID id, WORD flags, VARIANTARG* arguments,
                             UINT count, VARIANT* result, const std::string& operation) {
    DISPPARAMS parameters{arguments, nullptr, count, 0};
    ExcepInfoOwner exception;
    UINT badArgument = 0;
    const HRESULT status = CallRetryingWhileBusy(busyRetry_, [&] {
        if (result != nullptr) VariantClear(result);
        exception.Reset();
        return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result,
                              exception.get(), &badArgument);
    });
    if (FAILED(status)) {
        throw MakeHostError(
            status, operation,
            status == DISP_E_EXCEPTION ? &exception.Filled(!IsProxy(object)) : nullptr);
    }
}

ComPtr<IDispatch> DispatchSession::GetObjectProperty(IDispatch* object, const std::wstring& slot,
                                                     const std::wstring& name,
                                                     const std::string& operation) {
    const DISPID id = IdOf(object, slot, name, operation);
    VariantOwner value;
    Invoke(object, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr, 0, value.get(), operation);

    ComPtr<IDispatch> member;
    HRESULT result = E_NOINTERFACE;
    if (V_VT(value.get()) == VT_DISPATCH && V_DISPATCH(value.get()) != nullptr) {
        member = V_DISPATCH(value.get());
        result = S_OK;
    } else if (V_VT(value.get()) == VT_UNKNOWN && V_UNKNOWN(value.get()) != nullptr) {
        result = V_UNKNOWN(value.get())->QueryInterface(IID_PPV_ARGS(member.GetAddressOf()));
    }
    if (FAILED(result)) throw MakeHostError(result, operation);
    return member;
}

}  // namespace tarvello::host
