#pragma once
// Deciding what a pass does with one line item, without writing anything: whether it is a
// priced line item, its new unit price, and whether the rows asked for include it. The Round
// writes what this decides; the previews take the same decision with the same reads, whatever
// works out the price (the main window's methods, price rules, a new total).

#include <cstdint>
#include <optional>
#include <vector>

#include "numbers/number_format.h"
#include "passes/pass_runner.h"
#include "request/host_application.h"
#include "request/rounding_request.h"

namespace tarvello::passes {

// A priced line item (line type 1) as read from the host.
struct LineItemValues {
    Variant unitPrice;
    Variant extendedPrice;
    Variant quantity;
};

// What becomes of one priced line item: its new unit price, or nothing new, and why.
struct NewPrice {
    double unitPrice = 0;
    // False: the line item is left as it is.
    bool change = true;
    // Why it was left or lifted, for the preview; empty when there is nothing to say.
    Text note;
};

// Works out the new unit price of a priced line item from its values as read. Throws EngineError
// where it cannot, with `at` saying what it was working on.
class LineItemPricing {
public:
    virtual ~LineItemPricing() = default;
    virtual NewPrice Price(const LineItemValues& values, PassPosition& at) const = 0;
    // What a pass that prices so is, in words for the user and the journal; empty when the
    // pricing is told afterwards (a new total).
    virtual Text What(RowChoice) const { return Text(); }
};

// The main window's three methods, on the price field the request names.
class MethodPricing : public LineItemPricing {
public:
    MethodPricing(const RoundingRequest& request, const NumberFormat& format)
        : request_(request), format_(format) {}
    NewPrice Price(const LineItemValues& values, PassPosition& at) const override;
    Text What(RowChoice rows) const override;

private:
    double Rounded(PassPosition& at, LineItemField field, const Variant& price) const;

    RoundingRequest request_;
    NumberFormat format_;
};

// A price or quantity a pass works with must be a finite number: NaN or an infinity would be
// written back into the quote as it is, or turn a unit price into 0.
void RequireFinite(const Variant& value);

// The unit price that gives `extendedValue` at the line item's quantity: the quotient as the
// division gives it, unrounded. DivisionByZero for a quantity of 0.
double UnitPriceFromExtended(PassPosition& at, double extendedValue, const Variant& quantity,
                             const NumberFormat& format);

struct LineItemDecision {
    LineItemValues values;
    NewPrice price;
    // The rows asked for include this line item: a Round writes it.
    bool chosen = false;
};

class RoundDecider {
public:
    RoundDecider(RowChoice rows, const LineItemPricing& pricing, const NumberFormat& format)
        : rows_(rows), pricing_(pricing), format_(format) {}

    // The selected rows, read once before the walk.
    void ReadSelectedRows(HostApplication& host, PassPosition& at);

    // Reads the line item's type and, for type 1, its prices and quantity and the active row,
    // in the order the host sees them; nothing for a line item of another type.
    std::optional<LineItemDecision> Decide(HostApplication& host, PassPosition& at,
                                           std::int16_t& row);

    // The line type of every row decided so far, from row 0: the shape of the quote, by which a
    // pass that writes later knows it again.
    const std::vector<std::int16_t>& lineTypes() const { return lineTypes_; }
    // The quantity of every priced line item (line type 1) decided so far, in row order: with the
    // line types, what the quote is known by.
    const std::vector<Variant>& quantities() const { return quantities_; }

private:
    bool IsChosen(std::int16_t row, bool isActiveRow) const;

    RowChoice rows_;
    const LineItemPricing& pricing_;
    const NumberFormat& format_;
    Text selectedRows_;
    std::vector<std::int16_t> lineTypes_;
    std::vector<Variant> quantities_;
};

}  // namespace tarvello::passes
