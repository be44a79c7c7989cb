#include "standin/call_faults.h"

namespace tarvello::standin {

CallFaults::Verdict CallFaults::Next() {
    long n = ++calls_;
    if (exitAtCall_ != 0 && n == exitAtCall_) return {n, Action::Exit, 0};
    if (holdAtCall_ != 0 && n == holdAtCall_) return {n, Action::Hold, 0};
    for (const auto& f : failCalls_)
        if (n >= f.first && n - f.first < f.count) return {n, Action::Fail, f.hresult};
    return {n, Action::Serve, 0};
}

}  // namespace tarvello::standin
