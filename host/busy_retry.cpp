#include "host/busy_retry.h"

#include <atomic>

namespace tarvello::host {
namespace {

class BusyMessageFilter final : public IMessageFilter {
public:
    explicit BusyMessageFilter(std::uint32_t budget) : budget_(budget) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
            *object = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    // COM asks how long to wait before calling a busy host again; -1 gives up, after which the
    // call returns RPC_E_CALL_REJECTED to the caller.
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD) override {
        if (elapsed >= budget_) return static_cast<DWORD>(-1);
        return kRetryPause;
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }

private:
    static constexpr DWORD kRetryPause = 100;
    std::atomic<ULONG> references_{1};
    std::uint32_t budget_;
};

}  // namespace

void WaitPumpingMessages(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0,
                            PM_REMOVE | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE | PM_QS_PAINT)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now),
                                    QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT,
                                    MWMO_INPUTAVAILABLE);
    }
}

ScopedBusyMessageFilter::ScopedBusyMessageFilter(std::uint32_t budgetMilliseconds) {
    filter_.Attach(new BusyMessageFilter(budgetMilliseconds));
    registered_ = SUCCEEDED(CoRegisterMessageFilter(filter_.Get(), previous_.GetAddressOf()));
}

ScopedBusyMessageFilter::~ScopedBusyMessageFilter() {
    if (registered_) {
        ComPtr<IMessageFilter> ours;
        CoRegisterMessageFilter(previous_.Get(), ours.GetAddressOf());
    }
}

}  // namespace tarvello::host
