#include "passes/round_line_items.h"

#include "numbers/errors.h"
#include "numbers/text_util.h"
#include "passes/line_item_write.h"
#include "passes/pass_runner.h"
#include "passes/round_decision.h"

namespace tarvello {
namespace {

using namespace passes;

// Row by row: decide, and write a chosen line item at once.
class Round : public LineItemWalk {
public:
    Round(const RoundingRequest& request, const NumberFormat& format, RoundHistory* history)
        : pricing_(request, format),
          decider_(request.RowScope, pricing_, format),
          rows_(request.RowScope),
          history_(history) {}

    void BeforeCount(HostApplication& host, PassPosition& at) override {
        decider_.ReadSelectedRows(host, at);
    }
    bool Begin(HostApplication&, PassPosition&, std::int16_t documentIndex,
               std::int32_t lineItemCount) override {
        length_ = lineItemCount;
        if (history_) {
            history_->RoundBegun(documentIndex, lineItemCount, Utf8Of(pricing_.What(rows_)));
        }
        return true;
    }
    std::int32_t Length() const override { return length_; }
    std::int16_t RowAt(std::int32_t position) const override {
        return static_cast<std::int16_t>(position);
    }
    void Visit(std::int32_t, std::int16_t& row, HostApplication& host, PassPosition& at,
               PassOutcome& outcome) override {
        const std::optional<LineItemDecision> decision = decider_.Decide(host, at, row);
        if (!decision || !decision->chosen) return;
        WrittenLineItem item;
        item.row = row;
        item.unitPriceBefore = decision->values.unitPrice;
        item.modifierBefore = ReadModifier(host, at, row);
        item.unitPriceWritten = decision->price.unitPrice;
        item.quantity = decision->values.quantity;
        HistoryRecorder recorder(history_, item);
        WriteLineItem(host, at, row, Variant::FromText(Text()),
                      Variant::Double(decision->price.unitPrice), recorder);
        ++outcome.written;
    }
    // The shape of the quote as far as the walk went, by which Undo knows the quote again: it
    // costs no call of its own, since the walk reads every line type and quantity anyway.
    void Ended(PassOutcome&) override {
        if (history_) history_->QuoteSeen(decider_.lineTypes(), decider_.quantities());
    }

private:
    MethodPricing pricing_;
    RoundDecider decider_;
    RowChoice rows_;
    RoundHistory* history_;
    std::int32_t length_ = 0;
};

}  // namespace

PassOutcome RoundLineItems(const RoundingRequest& request, HostLink& host, MessageSink& messages,
                           const NumberFormat& format, const PassHooks& hooks) {
    Round round(request, format, hooks.history);
    return RunPass(PassKind::Round, round, host, messages, format, hooks);
}

PassOutcome RoundLineItems(double Amount, Text PriceField, Text Method, Text RowScope,
                           HostLink& host, MessageSink& messages, const NumberFormat& format) {
    // An unknown method or field would give no new price at all: refuse before the host is
    // touched rather than walk the document for nothing.
    PassPosition at;
    at.At(PassStep::ReadMethod);
    std::optional<RoundingMethod> method = MethodNamed(Method);
    std::optional<RoundedPrice> field;
    if (method) {
        at.At(PassStep::ReadPriceField);
        field = PriceFieldNamed(PriceField);
    }
    if (!method || !field) {
        const EngineError refused(ErrorKind::InvalidArgument,
                                  method ? "unknown price field \"" + Utf8Of(PriceField) + "\""
                                         : "unknown rounding method \"" + Utf8Of(Method) + "\"");
        PassOutcome outcome;
        outcome.status = PassOutcome::Status::Failed;
        outcome.failure = FailureOf(refused, PassKind::Round, at, 0);
        return outcome;
    }
    const RoundingRequest request{Amount, *field, *method, RowScopeNamed(RowScope)};
    return RoundLineItems(request, host, messages, format);
}

}  // namespace tarvello
