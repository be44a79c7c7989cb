#include "passes/undo_last_round.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "passes/pass_runner.h"
#include "passes/undo_expectations.h"

namespace tarvello {
namespace passes {

LineItemHeld AsTheRoundLeftIt(const WrittenLineItem& item, const QuoteRead& read) {
    LineItemHeld held;
    held.unitPrice = PriceAsLeft(item);
    held.quantity = FieldHeld::Read(
        item.quantity ? *item.quantity
                      : read.Find(item.row, LineItemField::QtyTotal).value_or(Variant()));
    held.modifier = FieldHeld::Read(Variant::FromText(Text()));
    if (EitherWay(item) && item.modifierBefore) held.modifier.read.push_back(*item.modifierBefore);
    held.modifier.untoldHolds = !item.modifierBefore;
    held.extendedPrice =
        FieldHeld::Read(read.Find(item.row, LineItemField::ExtendedPrice).value_or(Variant()));
    return held;
}

LineItemWrite AsBefore(const WrittenLineItem& item) {
    Variant modifier = item.modifierBefore.value_or(Variant());
    if (modifier.IsEmpty()) modifier = Variant::FromText(Text());
    return {modifier, item.unitPriceBefore};
}

std::vector<WrittenLineItem> StillToGiveBack(const RoundRecord& round) {
    std::vector<WrittenLineItem> items;
    for (const WrittenLineItem& item : round.items) {
        if (!item.dealtWith) items.push_back(item);
    }
    return items;
}

}  // namespace passes

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

// Which Round an Undo gives back, and how much of it.
struct UndoChoice {
    // Nothing: the one the history names next.
    std::optional<std::string> id;
    // Nothing: every line item still to give back; otherwise those of these rows (what the user
    // saw given back in a preview), the others kept for later.
    std::optional<std::vector<std::int16_t>> rows;
};

class Undo : public LineItemWalk {
public:
    Undo(RoundHistory& history, const NumberFormat& format, UndoChoice choice)
        : history_(history), same_(format), choice_(std::move(choice)) {}

    bool Begin(HostApplication& host, PassPosition& at, std::int16_t documentIndex,
               std::int32_t lineItemCount) override {
        round_ = choice_.id ? history_.Find(*choice_.id) : history_.NextUndo();
        if (!round_) return true;
        for (const WrittenLineItem& item : StillToGiveBack(*round_)) {
            if (!choice_.rows || std::count(choice_.rows->begin(), choice_.rows->end(), item.row)) {
                items_.push_back(item);
            }
        }
        if (documentIndex != round_->documentIndex || lineItemCount != round_->lineItemCount) {
            return false;
        }
        verdict_ =
            KnowQuote(host, at, ShapeLeft(*round_), same_, read_, /*readExtended=*/true).verdict;
        // Rows that seem moved are written only where the user has seen what each gets.
        return verdict_ == QuoteVerdict::Same || (verdict_ == QuoteVerdict::Moved && choice_.rows);
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
        // Undo Round moves on past a line item it left; one left from a preview the user saw
        // stays to be given back once it holds again.
        if (visited.what != Visited::Left || !choice_.rows)
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
    UndoChoice choice_;
    std::optional<RoundRecord> round_;
    QuoteRead read_;
    QuoteVerdict verdict_ = QuoteVerdict::Another;
    // The line items to give back, in the order written.
    std::vector<WrittenLineItem> items_;
    std::int32_t dealtWith_ = 0;
};

}  // namespace

PassOutcome UndoLastRound(RoundHistory& history, HostLink& link, MessageSink& messages,
                          const NumberFormat& format, PassObserver* observer) {
    Undo undo(history, format, {});
    return RunPass(PassKind::Undo, undo, link, messages, format, PassHooks{&history, observer});
}

PassOutcome ApplyUndoPlan(const RoundPlan& plan, RoundHistory& history, HostLink& link,
                          MessageSink& messages, const NumberFormat& format,
                          PassObserver* observer) {
    std::vector<std::int16_t> rows;
    for (const PlannedLineItem& item : plan.items) {
        if (item.change) rows.push_back(item.row);
    }
    Undo undo(history, format, {plan.undoOf, std::move(rows)});
    return RunPass(PassKind::Undo, undo, link, messages, format, PassHooks{&history, observer});
}

}  // namespace tarvello
