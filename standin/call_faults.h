#pragma once
// Counts the operations clients call and decides which of them fail or end the process.

#include <cstdint>
#include <vector>

#include "standin/options.h"

namespace tarvello::standin {

class CallFaults {
public:
    enum class Action { Serve, Fail, Exit, Hold };
    struct Verdict {
        long number;  // this call's number, from 1
        Action action;
        int32_t hresult;  // for Fail
    };

    CallFaults(std::vector<FailCall> failCalls, long exitAtCall, long holdAtCall = 0)
        : failCalls_(std::move(failCalls)), exitAtCall_(exitAtCall), holdAtCall_(holdAtCall) {}

    // Counts one call and says what to do with it.
    Verdict Next();

private:
    std::vector<FailCall> failCalls_;
    long exitAtCall_;
    long holdAtCall_;
    long calls_ = 0;
};

}  // namespace tarvello::standin
