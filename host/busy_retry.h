#pragma once
// Calling a host that may be busy: the call is repeated for a bounded time while the host
// answers "busy", and a COM message filter does the same where COM itself asks whether to
// retry a rejected call.

#include <windows.h>
#include <objbase.h>

#include <cstdint>

#include "host/com_raii.h"
#include "host/host_failure.h"

namespace tarvello::host {

// Waits up to `milliseconds`, dispatching posted and sent messages (so COM's own windows keep
// working) but not keyboard or mouse input, which would let the user start a second Round
// inside the first.
void WaitPumpingMessages(DWORD milliseconds);

// Runs `call` (returning an HRESULT) until it succeeds, fails for another reason, or the host
// has been busy for `budgetMilliseconds`; gives the last HRESULT.
template <typename Call>
HRESULT CallRetryingWhileBusy(std::uint32_t budgetMilliseconds, Call&& call);

// Registers a message filter on the calling thread for the holder's lifetime and puts the
// previous one back afterwards. Without an apartment of the right kind it does nothing.
class ScopedBusyMessageFilter {
public:
    explicit ScopedBusyMessageFilter(std::uint32_t budgetMilliseconds);
    ~ScopedBusyMessageFilter();
    ScopedBusyMessageFilter(const ScopedBusyMessageFilter&) = delete;
    ScopedBusyMessageFilter& operator=(const ScopedBusyMessageFilter&) = delete;

private:
    ComPtr<IMessageFilter> filter_;
    ComPtr<IMessageFilter> previous_;
    bool registered_ = false;
};

template <typename Call>
HRESULT CallRetryingWhileBusy(std::uint32_t budgetMilliseconds, Call&& call) {
    const ULONGLONG start = GetTickCount64();
    DWORD pause = 10;
    for (;;) {
        const HRESULT result = call();
        if (!IsBusy(result)) return result;
        const ULONGLONG spent = GetTickCount64() - start;
        if (spent >= budgetMilliseconds) return result;
        const ULONGLONG left = budgetMilliseconds - spent;
        WaitPumpingMessages(static_cast<DWORD>(left < pause ? left : pause));
        if (pause < 200) pause *= 2;
    }
}

}  // namespace tarvello::host
