#include "passes/undo_last_round.h"

#include <optional>
#include <vector>

#include "passes/checked_write.h"
#include "passes/pass_runner.h"
#include "passes/quote_recognition.h"

namespace tarvello {
namespace {

using namespace passes;
using Field = LineItemField;

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

// Cut off between its two writes (by the Round, or by an earlier Undo), a line item may still
// hold, or hold again, what it had before.
bool EitherWay(const WrittenLineItem& item) {
    return !item.written || item.restoring;
}

// The price the Round left: the one it wrote, as the host would keep it.
FieldHeld PriceAsLeft(const WrittenLineItem& item) {
    FieldHeld price;
    price.worked = {item.unitPriceWritten};
    if (EitherWay(item)) price.read = {item.unitPriceBefore};
    return price;
}

// What the Round left in the line item: its price, no modifier (one the host could not tell the
// Round was cleared all the same), the quantity the price was worked out with, and the extended
// price the host shows for them, as the sweep found it.
LineItemHeld AsTheRoundLeftIt(const WrittenLineItem& item, const QuoteRead& read) {
    LineItemHeld held;
    held.unitPrice = PriceAsLeft(item);
    held.quantity = FieldHeld::Read(
        item.quantity ? *item.quantity : read.Find(item.row, Field::QtyTotal).value_or(Variant()));
    held.modifier = FieldHeld::Read(Variant::FromText(Text()));
    if (EitherWay(item) && item.modifierBefore) held.modifier.read.push_back(*item.modifierBefore);
    held.modifier.untoldHolds = !item.modifierBefore;
    held.extendedPrice =
        FieldHeld::Read(read.Find(item.row, Field::ExtendedPrice).value_or(Variant()));
    return held;
}

// What it held before the Round. A modifier the host answered as an empty value goes back as
// the empty text the interface writes: the same modifier to a person, and one a host that takes
// only texts for it takes.
LineItemWrite AsBefore(const WrittenLineItem& item) {
    Variant modifier = item.modifierBefore.value_or(Variant());
    if (modifier.IsEmpty()) modifier = Variant::FromText(Text());
    return {modifier, item.unitPriceBefore};
}

class Undo : public LineItemWalk {
public:
    Undo(RoundHistory& history, const NumberFormat& format) : history_(history), same_(format) {}

    bool Begin(HostApplication& host, PassPosition& at, std::int16_t documentIndex,
               std::int32_t lineItemCount) override {
        round_ = history_.NextUndo();
        if (!round_) return true;
        QuoteShape shape{round_->lineTypes, round_->quantities, {}};
        for (const WrittenLineItem& item : round_->items) {
            if (item.dealtWith) continue;
            items_.push_back(item);
            shape.items.push_back({item.row, PriceAsLeft(item), item.quantity});
        }
        if (documentIndex != round_->documentIndex || lineItemCount != round_->lineItemCount) {
            return false;
        }
        verdict_ = KnowQuote(host, at, shape, same_, read_, /*readExtended=*/true);
        return verdict_ == QuoteVerdict::Same;
    }
    PassOutcome::Status Refusal() const override {
        return verdict_ == QuoteVerdict::Moved ? PassOutcome::Status::LineItemsMoved
                                               : PassOutcome::Status::DocumentChanged;
    }
    std::int32_t Length() const override { return static_cast<std::int32_t>(items_.size()); }
    std::int16_t RowAt(std::int32_t position) const override { return Item(position).row; }

    void Visit(std::int32_t position, std::int16_t& row, HostApplication& host, PassPosition& at,
               PassOutcome& outcome) override {
        const WrittenLineItem& item = Item(position);
        RestoreRecorder recorder(history_, round_->id, item.row);
        const VisitOutcome visited = WriteIfStillHeld(host, at, row, AsTheRoundLeftIt(item, read_),
                                                      AsBefore(item), same_, recorder);
        Tell(visited, row, outcome);
        if (visited.what == Visited::Written && !item.modifierBefore) {
            outcome.checked.modifierUnknown.push_back(row);
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
    SameValue same_;
    std::optional<RoundRecord> round_;
    QuoteRead read_;
    QuoteVerdict verdict_ = QuoteVerdict::Another;
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
