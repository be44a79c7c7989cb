#pragma once
// Writing one line item, the way every pass writes one: the price modifier first, then the unit
// price; and the checked write, which first reads again what the new values were worked out
// from and writes only when the line item still holds it.

#include <cstdint>
#include <optional>
#include <vector>

#include "journal/round_history.h"
#include "numbers/number_format.h"
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

// One value a line item must still hold for a checked write to go ahead. Compared exactly: a
// price with the price the host left (what it hands back by reference when it keeps another
// than it was given), a value read from the host with the value read before.
struct HeldValue {
    HeldValue(LineItemField field, Variant value) : field(field), value(std::move(value)) {}

    LineItemField field;
    Variant value;
    // Another value that also counts, where a write may not have reached the host.
    std::optional<Variant> orValue;
    // The value as the pass read it already, before its first write (knowing the quote again):
    // compared without reading it once more.
    std::optional<Variant> readBefore;
};
// Read and compared in this order; the reads stop at the first value that changed.
using StillHolds = std::vector<HeldValue>;

// True when `current` is the value `expected` stands for: numbers as numbers (a number in a
// text too), anything else exactly.
bool SameValue(const Variant& current, const Variant& expected, const NumberFormat& format);

// True when `current` is the value of `held`, or its other value.
bool Holds(const Variant& current, const HeldValue& held, const NumberFormat& format);

// Reads the values of `holds` in order (those read before are compared as they were read); the
// field of the first that no longer holds, or nothing.
std::optional<LineItemField> FirstChanged(HostApplication& host, PassPosition& at,
                                          std::int16_t& row, const StillHolds& holds,
                                          const NumberFormat& format);

// Reads the line item again and, only when it still holds every value of `holds`, writes it as
// WriteLineItem does. The field that changed when it was left alone.
std::optional<LineItemField> WriteIfUnchanged(HostApplication& host, PassPosition& at,
                                              std::int16_t& row, const StillHolds& holds,
                                              const Variant& modifier, const Variant& price,
                                              const NumberFormat& format, WriteRecorder& recorder);

}  // namespace tarvello::passes
