#include "passes/preview_round.h"

#include "numbers/rounding.h"
#include "passes/line_item_write.h"
#include "passes/pass_runner.h"
#include "passes/quote_recognition.h"

namespace tarvello {
namespace {

using namespace passes;

// Row by row, as a Round goes, without its two writes.
class Preview : public LineItemWalk {
public:
    Preview(RoundPlan& plan, RowChoice rows, const LineItemPricing& pricing,
            const NumberFormat& format)
        : plan_(plan), decider_(rows, pricing, format) {}

    void BeforeCount(HostApplication& host, PassPosition& at) override {
        decider_.ReadSelectedRows(host, at);
    }
    bool Begin(HostApplication&, PassPosition&, std::int16_t documentIndex,
               std::int32_t lineItemCount) override {
        plan_.documentIndex = documentIndex;
        plan_.lineItemCount = lineItemCount;
        return true;
    }
    std::int32_t Length() const override { return plan_.lineItemCount; }
    std::int16_t RowAt(std::int32_t position) const override {
        return static_cast<std::int16_t>(position);
    }
    void Visit(std::int32_t, std::int16_t& row, HostApplication& host, PassPosition& at,
               PassOutcome&) override {
        const std::optional<LineItemDecision> decision = decider_.Decide(host, at, row);
        if (!decision || !decision->chosen) return;
        PlannedLineItem item;
        item.row = row;
        item.quantity = decision->values.quantity;
        item.unitPrice = decision->values.unitPrice;
        item.extendedPrice = decision->values.extendedPrice;
        item.modifier = decider_.ReadModifier(host, at, row);
        item.newUnitPrice = decision->price.unitPrice;
        item.change = decision->price.change;
        item.note = decision->price.note;
        plan_.items.push_back(std::move(item));
    }
    void Ended(PassOutcome&) override {
        plan_.lineTypes = decider_.lineTypes();
        plan_.quantities = decider_.quantities();
    }

private:
    RoundPlan& plan_;
    RoundDecider decider_;
};

// Everything the planned price was worked out from. The extended price comes last: the host
// works it out from the others, and a change to one of them is named as that change.
StillHolds AsPreviewed(const PlannedLineItem& item) {
    StillHolds holds;
    holds.emplace_back(LineItemField::LineType, Variant::Int16(1));
    holds.emplace_back(LineItemField::UnitPrice, item.unitPrice);
    holds.emplace_back(LineItemField::QtyTotal, item.quantity);
    if (item.modifier) holds.emplace_back(LineItemField::PriceModifier, *item.modifier);
    holds.emplace_back(LineItemField::ExtendedPrice, item.extendedPrice);
    return holds;
}

// The quote as previewed: its line types, the quantity of each of its priced line items, and
// the line items Apply writes, at the unit price previewed. A new total by its line types only:
// every line item it is spread over is then read whole, and one changed since the preview is
// told as such, not as another quote.
QuoteShape ShapeOf(const RoundPlan& plan) {
    QuoteShape shape{plan.lineTypes, plan.quantities, {}};
    if (plan.newTotal) {
        shape.quantities.clear();
        return shape;
    }
    for (const PlannedLineItem& item : plan.items) {
        if (!item.change) continue;
        ExpectedLineItem expected;
        expected.row = item.row;
        expected.unitPrice.value = item.unitPrice;
        expected.quantity = item.quantity;
        shape.items.push_back(std::move(expected));
    }
    return shape;
}

class Apply : public LineItemWalk {
public:
    Apply(const RoundPlan& plan, const NumberFormat& format, RoundHistory* history)
        : plan_(plan), format_(format), history_(history) {
        for (const PlannedLineItem& item : plan_.items) {
            // A new total is checked against the host's own, which every line item counts in.
            if (item.change || plan_.newTotal) items_.push_back(&item);
        }
    }

    bool Begin(HostApplication& host, PassPosition& at, std::int16_t documentIndex,
               std::int32_t lineItemCount) override {
        if (documentIndex != plan_.documentIndex || lineItemCount != plan_.lineItemCount) {
            return false;
        }
        if (!IsSameQuote(host, at, ShapeOf(plan_), format_, read_)) return false;
        // Every price of a new total depends on every line item of the rows chosen: all of them
        // are read before the first write, and that read is each one's check.
        if (plan_.newTotal) {
            changedSince_ = FirstChangedOfAll(host, at);
            if (changedSince_) return false;
        }
        if (history_) history_->RoundBegun(documentIndex, lineItemCount);
        return true;
    }
    std::int32_t Length() const override { return static_cast<std::int32_t>(items_.size()); }
    std::int16_t RowAt(std::int32_t position) const override { return Item(position).row; }

    void Visit(std::int32_t position, std::int16_t& row, HostApplication& host, PassPosition& at,
               PassOutcome& outcome) override {
        const PlannedLineItem& item = Item(position);
        if (item.change) Write(item, row, host, at, outcome);
        if (plan_.newTotal) ReadBackExtendedPrice(row, host, at, outcome);
    }

    PassOutcome::Status Refusal() const override {
        return changedSince_ ? PassOutcome::Status::ChangedSincePreview
                             : PassOutcome::Status::DocumentChanged;
    }

    void Ended(PassOutcome& outcome) override {
        if (changedSince_) {
            outcome.checked.changedSince = {*changedSince_};
            return;
        }
        // Known from now on by the quantities just read: a few may differ from the preview's.
        if (history_) {
            history_->QuoteSeen(plan_.lineTypes,
                                QuantitiesNow({plan_.lineTypes, plan_.quantities, {}}, read_));
        }
        outcome.checked.newTotal = plan_.newTotal;
        if (!readBackWhole_) outcome.checked.hostTotal.reset();
    }

private:
    const PlannedLineItem& Item(std::int32_t position) const {
        return *items_.at(static_cast<std::size_t>(position));
    }

    // What the line item's new price was worked out from, as the checks before its write take it:
    // the line type, unit price and quantity as knowing the quote read them; the modifier and the
    // extended price (which the host works out from the others) read now.
    StillHolds Checks(const PlannedLineItem& item) const {
        StillHolds holds = AsPreviewed(item);
        read_.Into(holds, item.row,
                   {LineItemField::LineType, LineItemField::UnitPrice, LineItemField::QtyTotal});
        return holds;
    }

    // The first line item of a new total changed since the preview, every one read.
    std::optional<ChangedLineItem> FirstChangedOfAll(HostApplication& host, PassPosition& at) {
        for (const PlannedLineItem& item : plan_.items) {
            std::int16_t row = item.row;
            if (const auto changed = FirstChanged(host, at, row, Checks(item), format_)) {
                return ChangedLineItem{row, *changed};
            }
        }
        checkedBeforeWrites_ = true;
        return std::nullopt;
    }

    void Write(const PlannedLineItem& item, std::int16_t& row, HostApplication& host,
               PassPosition& at, PassOutcome& outcome) {
        WrittenLineItem record;
        record.row = row;
        record.unitPriceBefore = item.unitPrice;
        record.modifierBefore = item.modifier;
        record.unitPriceWritten = item.newUnitPrice;
        record.quantity = item.quantity;
        HistoryRecorder recorder(history_, record);
        const std::optional<LineItemField> changed = WriteIfUnchanged(
            host, at, row, checkedBeforeWrites_ ? StillHolds() : Checks(item),
            Variant::FromText(Text()), Variant::Double(item.newUnitPrice), format_, recorder);
        if (changed) {
            outcome.checked.changedSince.push_back({row, *changed});
        } else {
            ++outcome.written;
        }
    }

    // The host works out the extended price: what it shows is what the quote comes to.
    void ReadBackExtendedPrice(std::int16_t& row, HostApplication& host, PassPosition& at,
                               PassOutcome& outcome) {
        const std::optional<double> extended =
            NumberOrNothing(ReadLineItem(host, at, row, LineItemField::ExtendedPrice), format_);
        if (!extended) readBackWhole_ = false;
        outcome.checked.hostTotal = outcome.checked.hostTotal.value_or(0) + extended.value_or(0);
    }

    const RoundPlan& plan_;
    const NumberFormat& format_;
    RoundHistory* history_;
    std::vector<const PlannedLineItem*> items_;
    ValuesRead read_;
    // A new total: every line item was read before the first write, and found as previewed.
    bool checkedBeforeWrites_ = false;
    std::optional<ChangedLineItem> changedSince_;
    bool readBackWhole_ = true;
};

}  // namespace

PassOutcome PreviewWith(const LineItemPricing& pricing, RowChoice rows, PlanKind kind,
                        HostLink& host, MessageSink& messages, RoundPlan& plan,
                        const NumberFormat& format, PassObserver* observer) {
    plan = RoundPlan{};
    plan.kind = kind;
    Preview preview(plan, rows, pricing, format);
    return RunPass(PassKind::Preview, preview, host, messages, format,
                   PassHooks{nullptr, observer});
}

PassOutcome PreviewRound(const RoundingRequest& request, HostLink& host, MessageSink& messages,
                         RoundPlan& plan, const NumberFormat& format, PassObserver* observer) {
    const MethodPricing pricing(request, format);
    return PreviewWith(pricing, request.RowScope, PlanKind::Round, host, messages, plan, format,
                       observer);
}

PassOutcome ApplyPlan(const RoundPlan& plan, HostLink& host, MessageSink& messages,
                      const NumberFormat& format, const PassHooks& hooks) {
    Apply apply(plan, format, hooks.history);
    return RunPass(PassKind::Apply, apply, host, messages, format, hooks);
}

}  // namespace tarvello
