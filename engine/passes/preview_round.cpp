#include "passes/preview_round.h"

#include <cmath>

#include "numbers/rounding.h"
#include "numbers/text_util.h"
#include "passes/checked_write.h"
#include "passes/pass_runner.h"
#include "passes/quote_recognition.h"
#include "passes/undo_last_round.h"

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
        item.modifier = ReadModifier(host, at, row);
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

// Everything the planned price was worked out from, as the preview read it.
LineItemHeld AsPreviewed(const PlannedLineItem& item) {
    LineItemHeld held;
    held.unitPrice = FieldHeld::Read(item.unitPrice);
    held.quantity = FieldHeld::Read(item.quantity);
    held.modifier = FieldHeld::Read(item.modifier.value_or(Variant::FromText(Text())));
    held.modifier.untoldHolds = !item.modifier;
    held.extendedPrice = FieldHeld::Read(item.extendedPrice);
    return held;
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
        if (item.change)
            shape.items.push_back({item.row, FieldHeld::Read(item.unitPrice), item.quantity});
    }
    return shape;
}

// What the host shows is what the preview showed, to the last digit a double can tell: the host
// works the extended price out in binary, one rounding away from the exact product.
bool ShowsAsPreviewed(const std::optional<double>& shown, const Decimal& previewed) {
    if (!shown) return false;
    if (const std::optional<Decimal> exact = Decimal::FromDouble(*shown)) {
        if (*exact == previewed) return true;
    }
    const double meant = previewed.ToDouble();
    const double ulp = std::nextafter(std::fabs(meant), INFINITY) - std::fabs(meant);
    return std::fabs(*shown - meant) <= 4 * ulp;
}

class Apply : public LineItemWalk {
public:
    Apply(const RoundPlan& plan, const NumberFormat& format, RoundHistory* history)
        : plan_(plan), same_(format), history_(history) {
        for (const PlannedLineItem& item : plan_.items) {
            // A new total is checked against the host's own, which every line item counts in.
            if (item.change || plan_.newTotal) items_.push_back(&item);
            // The preview's prices show the host's decimals as well as the ones read now.
            same_.SeePrice(item.unitPrice);
        }
    }

    bool Begin(HostApplication& host, PassPosition& at, std::int16_t documentIndex,
               std::int32_t lineItemCount) override {
        if (documentIndex != plan_.documentIndex || lineItemCount != plan_.lineItemCount) {
            return false;
        }
        verdict_ = KnowQuote(host, at, ShapeOf(plan_), same_, read_).verdict;
        if (verdict_ != QuoteVerdict::Same) return false;
        // Every price of a new total depends on every line item of the rows chosen: all of them
        // are read and compared before the first write.
        if (plan_.newTotal) {
            changedSince_ = FirstChangedOfAll(host, at);
            if (changedSince_) return false;
        }
        if (history_) history_->RoundBegun(documentIndex, lineItemCount, Utf8Of(plan_.what));
        return true;
    }
    std::int32_t Length() const override { return static_cast<std::int32_t>(items_.size()); }
    std::int16_t RowAt(std::int32_t position) const override { return Item(position).row; }

    void Visit(std::int32_t position, std::int16_t& row, HostApplication& host, PassPosition& at,
               PassOutcome& outcome) override {
        const PlannedLineItem& item = Item(position);
        if (item.change) Write(item, row, host, at, outcome);
        if (plan_.newTotal) ReadBackExtendedPrice(item, row, host, at, outcome);
    }

    PassOutcome::Status Refusal() const override {
        if (changedSince_) return PassOutcome::Status::ChangedSincePreview;
        return verdict_ == QuoteVerdict::Moved ? PassOutcome::Status::LineItemsMoved
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
        if (plan_.newTotal && readBackWhole_) {
            outcome.checked.totalPreviewed = totalPreviewed_;
        } else {
            outcome.checked.hostTotal.reset();
            outcome.checked.otherExtendedPrices.clear();
        }
    }

private:
    const PlannedLineItem& Item(std::int32_t position) const {
        return *items_.at(static_cast<std::size_t>(position));
    }

    // The first line item of a new total changed since the preview, every one read.
    std::optional<ChangedLineItem> FirstChangedOfAll(HostApplication& host, PassPosition& at) {
        for (const PlannedLineItem& item : plan_.items) {
            std::int16_t row = item.row;
            if (const auto changed = FirstChange(host, at, row, AsPreviewed(item), same_)) {
                return changed;
            }
        }
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
        const LineItemWrite write{Variant::FromText(Text()), Variant::Double(item.newUnitPrice)};
        Tell(WriteIfStillHeld(host, at, row, AsPreviewed(item), write, same_, recorder), row,
             outcome);
    }

    // The host works out the extended price: what it shows is what the quote comes to, told when
    // it is not what the preview showed.
    void ReadBackExtendedPrice(const PlannedLineItem& item, std::int16_t& row,
                               HostApplication& host, PassPosition& at, PassOutcome& outcome) {
        const std::optional<double> shown = NumberOrNothing(
            ReadLineItem(host, at, row, LineItemField::ExtendedPrice), same_.format());
        if (!shown || !item.newExtendedPrice) {
            readBackWhole_ = false;
            return;
        }
        outcome.checked.hostTotal = outcome.checked.hostTotal.value_or(0) + *shown;
        totalPreviewed_ = totalPreviewed_ + *item.newExtendedPrice;
        if (!ShowsAsPreviewed(shown, *item.newExtendedPrice)) {
            outcome.checked.otherExtendedPrices.push_back({row, *shown, *item.newExtendedPrice});
        }
    }

    const RoundPlan& plan_;
    SameValue same_;
    RoundHistory* history_;
    std::vector<const PlannedLineItem*> items_;
    QuoteRead read_;
    QuoteVerdict verdict_ = QuoteVerdict::Another;
    std::optional<ChangedLineItem> changedSince_;
    Decimal totalPreviewed_;
    bool readBackWhole_ = true;
};

}  // namespace

PassOutcome PreviewWith(const LineItemPricing& pricing, RowChoice rows, PlanKind kind,
                        HostLink& host, MessageSink& messages, RoundPlan& plan,
                        const NumberFormat& format, PassObserver* observer) {
    plan = RoundPlan{};
    plan.kind = kind;
    plan.what = pricing.What(rows);
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
    if (plan.kind == PlanKind::Undo && hooks.history) {
        return ApplyUndoPlan(plan, *hooks.history, host, messages, format, hooks.observer);
    }
    Apply apply(plan, format, hooks.history);
    return RunPass(PassKind::Apply, apply, host, messages, format, hooks);
}

}  // namespace tarvello
