#pragma once
// IDispatch by hand: a fixed member table, names found case-insensitively as automation
// clients expect, arguments handed to the derived object in call order, every call logged,
// and the operations counted for fault injection.

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <functional>
#include <vector>

#include "standin/call_faults.h"
#include "standin/text_file.h"

namespace tarvello::standin {

// Exit code of a process ended on purpose at a given call.
constexpr UINT kAbruptExitCode = 99;

// What all automation objects of one process share: the call log and the call counter.
struct CallMonitor {
    AppendFile log;
    CallFaults faults{{}, 0};
    // How long a call held by --hold-at-call waits before it fails uncarried out.
    long holdMs = 3000;
    // What the host keeps of what it is given, and how it answers.
    HostManners manners;
    // Right before operation `number` (from 1) is served: the changes of --edit-at-call.
    std::function<void(long number)> beforeCall;
};

class DispatchObject : public IDispatch {
public:
    enum class Kind { Property, Operation };
    struct Member {
        DISPID id;
        const wchar_t* name;
        Kind kind;
        UINT argCount;
    };
    // What a failed operation tells the client through EXCEPINFO.
    struct CallError {
        HRESULT scode = E_FAIL;
        std::wstring description;
    };

    DispatchObject(const wchar_t* objectName, std::vector<Member> members, CallMonitor* monitor)
        : objectName_(objectName), members_(std::move(members)), monitor_(monitor) {}
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                                     UINT* argErr) override;

protected:
    virtual ~DispatchObject() = default;
    // Serves one call. `args` are in call order. Returns S_OK with *result filled, or
    // DISP_E_EXCEPTION with *error filled, or another failure HRESULT.
    virtual HRESULT Call(const Member& member, const std::vector<const VARIANT*>& args,
                         VARIANT* result, CallError* error) = 0;
    static HRESULT Raise(CallError* error, HRESULT scode, std::wstring description) {
        error->scode = scode;
        error->description = std::move(description);
        return DISP_E_EXCEPTION;
    }

    const HostManners& manners() const { return monitor_->manners; }

private:
    const Member* Find(DISPID id) const;
    HRESULT Serve(const Member& member, WORD flags, const DISPPARAMS& params, VARIANT* result,
                  CallError* error);

    const wchar_t* objectName_;
    std::vector<Member> members_;
    CallMonitor* monitor_;
    LONG refs_ = 1;
};

}  // namespace tarvello::standin
