#include "standin/running_object.h"

#include <oleauto.h>

namespace tarvello::standin {
namespace {

constexpr HRESULT kRpcServerUnavailable = HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
constexpr DWORD kRetryForMs = 30000;
constexpr DWORD kRetryStepMs = 200;

// Sleeps while letting the thread's messages (and incoming calls) through.
void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace

HRESULT RunningObject::Register(IUnknown* object, REFCLSID clsid) {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD cookie = 0;
        HRESULT hr = RegisterActiveObject(object, clsid, ACTIVEOBJECT_STRONG, &cookie);
        if (SUCCEEDED(hr)) cookie_ = cookie;
        if (hr != kRpcServerUnavailable || GetTickCount() - start > kRetryForMs) return hr;
        PumpFor(kRetryStepMs);
    }
}

void RunningObject::Revoke() {
    if (cookie_ == 0) return;
    RevokeActiveObject(cookie_, nullptr);
    cookie_ = 0;
}

}  // namespace tarvello::standin
