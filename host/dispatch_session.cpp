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

// What Invoke itself answers when the number means nothing to the object. A member that is
// found but fails reports DISP_E_EXCEPTION, whatever its EXCEPINFO says.
bool IsUnknownMember(HRESULT status) {
    return status == DISP_E_MEMBERNOTFOUND || status == DISP_E_UNKNOWNNAME;
}

}  // namespace

DISPID DispatchSession::LookUp(IDispatch* object, const std::wstring& name,
                               const std::string& operation) {
    DISPID id = DISPID_UNKNOWN;
    auto* text = const_cast<LPOLESTR>(name.c_str());
    const HRESULT result = CallRetryingWhileBusy(busyRetry_, [&] {
        return object->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id);
    });
    if (FAILED(result)) throw MakeHostError(result, operation);
    return id;
}

HRESULT DispatchSession::TryInvoke(IDispatch* object, DISPID id, WORD flags, DISPPARAMS& parameters,
                                   VARIANT* result, ExcepInfoOwner& exception) {
    UINT badArgument = 0;
    return CallRetryingWhileBusy(busyRetry_, [&] {
        if (result != nullptr) VariantClear(result);
        exception.Reset();
        return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result,
                              exception.get(), &badArgument);
    });
}

void DispatchSession::Call(IDispatch* object, const std::wstring& slot, const std::wstring& name,
                           WORD flags, VARIANTARG* arguments, UINT count, VARIANT* result,
                           const std::string& operation) {
    DISPPARAMS parameters{arguments, nullptr, count, 0};
    ExcepInfoOwner exception;
    const auto key = std::make_pair(slot, name);
    auto known = ids_.find(key);
    const bool cached = known != ids_.end();
    if (!cached) known = ids_.emplace(key, LookUp(object, name, operation)).first;

    HRESULT status = TryInvoke(object, known->second, flags, parameters, result, exception);
    if (cached && IsUnknownMember(status)) {
        // The number came from another object of this slot; this one may number its members
        // differently. Asked once, tried once: a name it does not know fails as the look-up.
        known->second = LookUp(object, name, operation);
        status = TryInvoke(object, known->second, flags, parameters, result, exception);
    }
    if (FAILED(status)) {
        throw MakeHostError(
            status, operation,
            status == DISP_E_EXCEPTION ? &exception.Filled(!IsProxy(object)) : nullptr);
    }
}

ComPtr<IDispatch> DispatchSession::GetObjectProperty(IDispatch* object, const std::wstring& slot,
                                                     const std::wstring& name,
                                                     const std::string& operation) {
    VariantOwner value;
    Call(object, slot, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr, 0, value.get(),
         operation);

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
