#include "undo_last_round.h"

#include "line_item_write.h"
#include "pass_runner.h"

namespace tarvello {
namespace {

using namespace detail;

// Tells the history that a line item is being written back, and when it has been.
class RestoreRecorder : public WriteRecorder {
public:
    RestoreRecorder(RoundHistory& history, const RoundRecord& round)
        : history_(history), round_(round) {}
    void BeforeWrites() override { history_.Restoring(round_); }
    void AfterWrites(const Variant&) override {}

private:
    RoundHistory& history_;
    const RoundRecord& round_;
};

class Undo : public LineItemWalk {
public:
    Undo(RoundHistory& history, const NumberFormat& format) : history_(history), format_(format) {}

    bool Begin(std::int16_t documentIndex, std::int32_t lineItemCount) override {
        round_ = history_.NextUndo();
        if (!round_) return true;
        first_ = round_->undone;
        return documentIndex == round_->documentIndex && lineItemCount == round_->lineItemCount;
    }
    std::int32_t Length() const override { return round_ ? round_->Undoable() : 0; }
    std::int16_t RowAt(std::int32_t position) const override { return Item(position).row; }

    void Visit(std::int32_t position, std::int16_t& row, HostApplication& host, PassPosition& at,
               PassOutcome& outcome) override {
        const WrittenLineItem& item = Item(position);
        Expected expected;
        expected.unitPrice = Variant::Double(item.unitPriceWritten);
        expected.match = Expected::Match::AtHostPrecision;
        // Cut off between its two writes, the line item may still hold the price it had.
        if (!item.written || item.restoring) expected.orUnitPrice = item.unitPriceBefore;
        const Variant modifier = item.modifierBefore.value_or(Variant::FromText(Text()));
        RestoreRecorder recorder(history_, *round_);
        if (WriteIfUnchanged(host, at, row, expected, modifier, item.unitPriceBefore, format_,
                             recorder)) {
            if (!item.modifierBefore) outcome.modifierUnknown.push_back(row);
            ++outcome.written;
        } else {
            outcome.changedSince.push_back(row);
        }
        history_.DealtWith(*round_);
    }

    std::int32_t StillUndoable() const { return round_ ? round_->Undoable() : 0; }

private:
    const WrittenLineItem& Item(std::int32_t position) const {
        return round_->items.at(first_ + static_cast<std::size_t>(position));
    }

    RoundHistory& history_;
    const NumberFormat& format_;
    const RoundRecord* round_ = nullptr;
    std::size_t first_ = 0;
};

}  // namespace

PassOutcome UndoLastRound(RoundHistory& history, HostLink& link, MessageSink& messages,
                          const NumberFormat& format, PassObserver* observer) {
    Undo undo(history, format);
    PassOutcome outcome = RunPass(PassKind::Undo, undo, link, messages, format, observer);
    outcome.stillUndoable = undo.StillUndoable();
    return outcome;
}

}  // namespace tarvello
