#include "standin/dispatch_object.h"

#include <oleauto.h>

#include "standin/variant_text.h"
#include "standin/variant_value.h"

namespace tarvello::standin {
namespace {

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

void FillExcepInfo(EXCEPINFO* info, const DispatchObject::CallError& error) {
    if (!info) return;
    *info = EXCEPINFO{};
    info->bstrSource = ScopedBstr(L"Tarvello.Application").release();
    info->bstrDescription = ScopedBstr(error.description).release();
    info->scode = error.scode;
}

// How the call was flagged: nothing for a plain method call, " [get]" for a property get,
// " [method|get]" for a call flagged as both, " [put]" for a property put.
std::wstring FlagsMark(WORD flags) {
    const bool method = (flags & DISPATCH_METHOD) != 0;
    const bool get = (flags & DISPATCH_PROPERTYGET) != 0;
    std::wstring mark;
    if (get) mark = method ? L" [method|get]" : L" [get]";
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) mark += L" [put]";
    return mark;
}

}  // namespace

HRESULT DispatchObject::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG DispatchObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG DispatchObject::Release() {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;  // late binding only
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0) return E_INVALIDARG;
    std::wstring line = std::wstring(L"GetIDsOfNames ") + objectName_;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        std::wstring name = names[i] ? names[i] : L"";
        line += L" " + QuoteText(name);
        ids[i] = DISPID_UNKNOWN;
        if (i > 0) {  // the operations have no named parameters
            hr = DISP_E_UNKNOWNNAME;
            continue;
        }
        for (const auto& m : members_) {
            if (CompareStringOrdinal(name.c_str(), -1, m.name, -1, TRUE) == CSTR_EQUAL)
                ids[0] = m.id;
        }
        if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    if (FAILED(hr)) line += L" -> FAILED " + Hex(hr);
    monitor_->log.WriteLine(line);
    return hr;
}

const DispatchObject::Member* DispatchObject::Find(DISPID id) const {
    for (const auto& m : members_)
        if (m.id == id) return &m;
    return nullptr;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
    if (argErr) *argErr = 0;
    const Member* member = Find(id);
    std::wstring line = std::wstring(L"Invoke ") + objectName_ + L".";
    line += member ? member->name : L"#" + std::to_wstring(id);

    DISPPARAMS none{};
    const DISPPARAMS& p = params ? *params : none;
    if (member && member->kind == Kind::Operation) {
        line += L"(";
        // Invoke receives the arguments last first.
        for (UINT i = 0; i < p.cArgs; ++i) {
            if (i > 0) line += L", ";
            line += DescribeVariant(p.rgvarg[p.cArgs - 1 - i]);
        }
        line += L")";
    }
    line += FlagsMark(flags);

    HRESULT hr = S_OK;
    CallError error;
    ScopedVariant value;
    if (riid != IID_NULL) {
        hr = DISP_E_UNKNOWNINTERFACE;
    } else if (!member || !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) {
        hr = DISP_E_MEMBERNOTFOUND;
    } else if (p.cNamedArgs != 0) {
        hr = DISP_E_NONAMEDARGS;
    } else {
        CallFaults::Verdict verdict{0, CallFaults::Action::Serve, 0};
        if (member->kind == Kind::Operation) verdict = monitor_->faults.Next();
        if (verdict.action == CallFaults::Action::Exit) {
            monitor_->log.WriteLine(line + L" -> TERMINATED");
            TerminateProcess(GetCurrentProcess(), kAbruptExitCode);
        }
        if (verdict.action == CallFaults::Action::Hold) {
            // The caller is to be ended meanwhile: the call is never carried out.
            monitor_->log.WriteLine(line + L" -> HELD");
            Sleep(static_cast<DWORD>(monitor_->holdMs));
            hr = RPC_E_CALL_CANCELED;
        } else if (verdict.action == CallFaults::Action::Fail) {
            hr = verdict.hresult;
            error.description = L"Injected failure";
        } else {
            if (verdict.number > 0 && monitor_->beforeCall) monitor_->beforeCall(verdict.number);
            hr = Serve(*member, flags, p, value.get(), &error);
        }
    }

    if (FAILED(hr)) {
        monitor_->log.WriteLine(line + L" -> FAILED " + Hex(hr));
        if (hr == DISP_E_EXCEPTION) FillExcepInfo(excepInfo, error);
        return hr;
    }
    if (member->kind == Kind::Operation) line += L" -> " + DescribeVariant(*value.get());
    monitor_->log.WriteLine(line);
    if (result) {
        VariantInit(result);
        value.MoveTo(result);
    }
    return S_OK;
}

HRESULT DispatchObject::Serve(const Member& member, WORD, const DISPPARAMS& p, VARIANT* result,
                              CallError* error) {
    if (p.cArgs != member.argCount) return DISP_E_BADPARAMCOUNT;
    std::vector<const VARIANT*> args;
    for (UINT i = 0; i < p.cArgs; ++i) args.push_back(&p.rgvarg[p.cArgs - 1 - i]);
    return Call(member, args, result, error);
}

}  // namespace tarvello::standin
