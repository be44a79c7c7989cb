#pragma once
// Writing one line item, the way every pass writes one: the price modifier first, then the unit
// price. The passes that write what they worked out earlier go through the checked write
// (checked_write.h), which ends here.

#include <cstdint>

#include "journal/round_history.h"
#include "passes/pass_runner.h"
#include "request/host_application.h"

namespace tarvello::passes {

// Hears of the writes of one line item: before the first (what a kept record must hold by then)
// and after the last, with the unit price as the host left it in the value handed by reference.
class WriteRecorder {
public:
    virtual ~WriteRecorder() = default;
    virtual void BeforeWrites() = 0;
    virtual void AfterWrites(const Variant& unitPriceAsLeft) = 0;
};

// Tells the history (when there is one) of a line item a Round writes: what it held before the
// first write, and the price the host left after the last.
class HistoryRecorder : public WriteRecorder {
public:
    HistoryRecorder(RoundHistory* history, WrittenLineItem item)
        : history_(history), item_(std::move(item)) {}
    void BeforeWrites() override;
    void AfterWrites(const Variant& unitPriceAsLeft) override;

private:
    RoundHistory* history_;
    WrittenLineItem item_;
};

// Writes `modifier` into the price modifier and then `price` into the unit price, a number as a
// double by reference (VT_R8 | VT_BYREF), anything else as it is.
void WriteLineItem(HostApplication& host, PassPosition& at, std::int16_t& row,
                   const Variant& modifier, const Variant& price, WriteRecorder& recorder);

}  // namespace tarvello::passes
