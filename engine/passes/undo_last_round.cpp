#include "passes/undo_last_round.h"

#include <optional>
#include <vector>

#include "passes/line_item_write.h"
#include "passes/pass_runner.h"
#include "passes/quote_recognition.h"

namespace tarvello {
namespace {

using namespace passes;

// Tells the history that a line item is being written back.
class RestoreRecorder : public WriteRecorder {
public:
    RestoreRecorder(RoundHistory& history, const std::string& id, std::int16_t row)
        : history_(history), id_(id), row_(row) {}
    void BeforeWrites() override { history_.Restoring(id_, row_); }
    void AfterWrites(const Variant&) override {}

private:
    RoundHistory& history_;
    const std::string& id_;
    std::int16_t row_;
};

// What the line item holds when nobody changed it since the Round: the price as the host left
// it, no modifier, the quantity the price was worked out with. Cut off between its two writes
// (by the Round, or by an earlier Undo), it may also still hold, or hold again, what it had
// before.
bool EitherWay(const WrittenLineItem& item) {
    return !item.written || item.restoring;
}

HeldValue PriceAsLeft(const WrittenLineItem& item) {
    HeldValue price(LineItemField::UnitPrice, Variant::Double(item.unitPriceWritten));
    if (EitherWay(item)) price.orValue = item.unitPriceBefore;
    return price;
}

StillHolds AsTheRoundLeftIt(const WrittenLineItem& item) {
    const bool eitherWay = EitherWay(item);
    StillHolds holds;
    holds.push_back(PriceAsLeft(item));
    if (item.quantity) holds.emplace_back(LineItemField::QtyTotal, *item.quantity);
    // A host that could not tell the modifier to the Round is not asked for it again.
    if (item.modifierBefore) {
        HeldValue modifier(LineItemField::PriceModifier, Variant::FromText(Text()));
        if (eitherWay) modifier.orValue = *item.modifierBefore;
        holds.push_back(std::move(modifier));
    }
    return holds;
}

class Undo : public LineItemWalk {
public:
    Undo(RoundHistory& history, const NumberFormat& format) : history_(history), format_(format) {}

    bool Begin(HostApplication& host, PassPosition& at, std::int16_t documentIndex,
               std::int32_t lineItemCount) override {
        round_ = history_.NextUndo();
        if (!round_) return true;
        QuoteShape shape{round_->lineTypes, round_->quantities, {}};
        for (const WrittenLineItem& item : round_->items) {
            if (item.dealtWith) continue;
            items_.push_back(item);
            ExpectedLineItem expected;
            expected.row = item.row;
            expected.unitPrice = PriceAsLeft(item);
            expected.quantity = item.quantity;
            shape.items.push_back(std::move(expected));
        }
        if (documentIndex != round_->documentIndex || lineItemCount != round_->lineItemCount) {
            return false;
        }
        return IsSameQuote(host, at, shape, format_, read_);
    }
    std::int32_t Length() const override { return static_cast<std::int32_t>(items_.size()); }
    std::int16_t RowAt(std::int32_t position) const override { return Item(position).row; }

    void Visit(std::int32_t position, std::int16_t& row, HostApplication& host, PassPosition& at,
               PassOutcome& outcome) override {
        const WrittenLineItem& item = Item(position);
        const Variant modifier = item.modifierBefore.value_or(Variant::FromText(Text()));
        RestoreRecorder recorder(history_, round_->id, item.row);
        // The price is read once more right before it is written over; the quantity as the quote
        // was known by it.
        StillHolds holds = AsTheRoundLeftIt(item);
        read_.Into(holds, item.row, {LineItemField::QtyTotal});
        const std::optional<LineItemField> changed = WriteIfUnchanged(
            host, at, row, holds, modifier, item.unitPriceBefore, format_, recorder);
        if (changed) {
            outcome.checked.changedSince.push_back({row, *changed});
        } else {
            if (!item.modifierBefore) outcome.checked.modifierUnknown.push_back(row);
            ++outcome.written;
        }
        history_.DealtWith(round_->id, item.row);
        ++dealtWith_;
    }

    void Ended(PassOutcome& outcome) override {
        outcome.checked.stillUndoable = static_cast<std::int32_t>(items_.size()) - dealtWith_;
    }

private:
    const WrittenLineItem& Item(std::int32_t position) const {
        return items_.at(static_cast<std::size_t>(position));
    }

    RoundHistory& history_;
    const NumberFormat& format_;
    std::optional<RoundRecord> round_;
    ValuesRead read_;
    // The line items still to give back, in the order written.
    std::vector<WrittenLineItem> items_;
    std::int32_t dealtWith_ = 0;
};

}  // namespace

PassOutcome UndoLastRound(RoundHistory& history, HostLink& link, MessageSink& messages,
                          const NumberFormat& format, PassObserver* observer) {
    Undo undo(history, format);
    return RunPass(PassKind::Undo, undo, link, messages, format, PassHooks{&history, observer});
}

}  // namespace tarvello
