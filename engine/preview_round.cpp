#include "preview_round.h"

#include "line_item_write.h"
#include "pass_runner.h"
#include "round_decision.h"

namespace tarvello {
namespace {

using namespace detail;

// Row by row, as a Round goes, without its two writes.
class Preview : public LineItemWalk {
public:
    Preview(RoundPlan& plan, const NumberFormat& format)
        : plan_(plan), decider_(plan.request, format) {}

    void BeforeCount(HostApplication& host, PassPosition& at) override {
        decider_.ReadSelectedRows(host, at);
    }
    bool Begin(std::int16_t documentIndex, std::int32_t lineItemCount) override {
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
        plan_.items.push_back(
            PlannedLineItem{row, decision->quantity, decision->unitPrice, decision->extendedPrice,
                            decider_.ReadModifier(host, at, row), decision->newUnitPrice});
    }

private:
    RoundPlan& plan_;
    RoundDecider decider_;
};

class Apply : public LineItemWalk {
public:
    Apply(const RoundPlan& plan, const NumberFormat& format, RoundHistory* history)
        : plan_(plan), format_(format), history_(history) {}

    bool Begin(std::int16_t documentIndex, std::int32_t lineItemCount) override {
        if (documentIndex != plan_.documentIndex || lineItemCount != plan_.lineItemCount) {
            return false;
        }
        if (history_) history_->RoundBegun(documentIndex, lineItemCount);
        return true;
    }
    std::int32_t Length() const override { return static_cast<std::int32_t>(plan_.items.size()); }
    std::int16_t RowAt(std::int32_t position) const override { return Item(position).row; }

    void Visit(std::int32_t position, std::int16_t& row, HostApplication& host, PassPosition& at,
               PassOutcome& outcome) override {
        const PlannedLineItem& item = Item(position);
        Expected expected;
        expected.unitPrice = item.unitPrice;
        expected.modifier = item.modifier;
        HistoryRecorder recorder(
            history_, WrittenLineItem{row, item.unitPrice, item.modifier, item.newUnitPrice});
        if (WriteIfUnchanged(host, at, row, expected, Variant::FromText(Text()),
                             Variant::Double(item.newUnitPrice), format_, recorder)) {
            ++outcome.written;
        } else {
            outcome.changedSince.push_back(row);
        }
    }

private:
    const PlannedLineItem& Item(std::int32_t position) const {
        return plan_.items.at(static_cast<std::size_t>(position));
    }

    const RoundPlan& plan_;
    const NumberFormat& format_;
    RoundHistory* history_;
};

}  // namespace

PassOutcome PreviewRound(const RoundingRequest& request, HostLink& host, MessageSink& messages,
                         RoundPlan& plan, const NumberFormat& format, PassObserver* observer) {
    plan = RoundPlan{request, 0, 0, {}};
    Preview preview(plan, format);
    return RunPass(PassKind::Preview, preview, host, messages, format, observer);
}

PassOutcome ApplyPlan(const RoundPlan& plan, HostLink& host, MessageSink& messages,
                      const NumberFormat& format, const PassHooks& hooks) {
    Apply apply(plan, format, hooks.history);
    PassOutcome outcome = RunPass(PassKind::Apply, apply, host, messages, format, hooks.observer);
    if (hooks.history) hooks.history->PassEnded();
    return outcome;
}

}  // namespace tarvello
