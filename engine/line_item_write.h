#pragma once
// Writing one line item, the way every pass writes one: the price modifier first, then the unit
// price; and the checked write, which first reads the line item and writes only when it still
// holds what the pass expects.

#include <cstdint>
#include <optional>

#include "host_application.h"
#include "number_format.h"
#include "pass_runner.h"
#include "round_history.h"

namespace tarvello::detail {

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

// What a line item must still hold for a checked write to go ahead.
struct Expected {
    // A host may keep a price at a fixed precision of its own and hand back, for the double it
    // was given, the nearest value it can hold: a price within half a hundredth of the one
    // expected is that price (AtHostPrecision). A price read from the host and compared with
    // another read from it is compared exactly.
    enum class Match { Exactly, AtHostPrecision };
    Variant unitPrice;
    Match match = Match::Exactly;
    // Another unit price that also counts, where a write may not have reached the host.
    std::optional<Variant> orUnitPrice;
    // When given, the price modifier is read too and must be exactly this.
    std::optional<Variant> modifier;
};

// True when `current` is the price `expected` (or `or`) stands for.
bool SamePrice(const Variant& current, const Variant& expected, Expected::Match match,
               const NumberFormat& format);

// Reads the unit price (and the modifier, when it is expected) and, only when the line item
// holds what is expected, writes it as WriteLineItem does. False when it was left alone.
bool WriteIfUnchanged(HostApplication& host, PassPosition& at, std::int16_t& row,
                      const Expected& expected, const Variant& modifier, const Variant& price,
                      const NumberFormat& format, WriteRecorder& recorder);

}  // namespace tarvello::detail
