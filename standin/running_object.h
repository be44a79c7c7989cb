#pragma once
// The application object's entry in the running object table, revoked when this ends.

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace tarvello::standin {

class RunningObject {
public:
    RunningObject() = default;
    RunningObject(const RunningObject&) = delete;
    RunningObject& operator=(const RunningObject&) = delete;
    ~RunningObject() { Revoke(); }

    // Registers `object` under `clsid` (strong). In a fresh Wine prefix the RPC service may
    // not answer yet: that failure is retried for a bounded time.
    HRESULT Register(IUnknown* object, REFCLSID clsid);
    void Revoke();

private:
    DWORD cookie_ = 0;
};

}  // namespace tarvello::standin
