#pragma once
// Deciding what a Round does with one line item, without writing anything: whether it is a
// priced line item, its new unit price, and whether the request chooses it. The Round writes
// what this decides; a pass that only looks would take the same decision.

#include <cstdint>
#include <optional>

#include "host_application.h"
#include "number_format.h"
#include "pass_runner.h"
#include "rounding_request.h"

namespace tarvello::detail {

struct LineItemDecision {
    // As read from the host.
    Variant unitPrice;
    Variant extendedPrice;
    Variant quantity;
    double newUnitPrice = 0;
    // The request's rows include this line item: a Round writes it.
    bool chosen = false;
};

class RoundDecider {
public:
    RoundDecider(const RoundingRequest& request, const NumberFormat& format)
        : request_(request), format_(format) {}

    // The selected rows, read once before the walk.
    void ReadSelectedRows(HostApplication& host, PassPosition& at);

    // Reads the line item's type and, for type 1, its prices and quantity and the active row,
    // in the order the host sees them; nothing for a line item of another type.
    std::optional<LineItemDecision> Decide(HostApplication& host, PassPosition& at,
                                           std::int16_t& row) const;

    // The price modifier of a chosen line item as it is, read right before a Round would clear
    // it. A host that cannot tell it (an error for that field, a value of a kind that is no text
    // or number) gives nothing; one that has gone away throws.
    std::optional<Variant> ReadModifier(HostApplication& host, PassPosition& at,
                                        std::int16_t& row) const;

private:
    double Rounded(PassPosition& at, LineItemField field, const Variant& price) const;
    double UnitPriceFromExtended(PassPosition& at, const Variant& extendedPrice,
                                 const Variant& quantity) const;
    bool IsChosen(std::int16_t row, bool activeRowFlag) const;

    const RoundingRequest& request_;
    const NumberFormat& format_;
    Text selectedRows_;
};

}  // namespace tarvello::detail
