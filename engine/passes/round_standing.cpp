#include "passes/round_standing.h"

#include <algorithm>

#include "numbers/rounding.h"
#include "numbers/text_util.h"
#include "passes/describe_failure.h"
#include "passes/pass_runner.h"
#include "passes/undo_expectations.h"

namespace tarvello {
namespace {

using namespace passes;
using State = RoundStanding::State;

// Two Rounds of one quote, as far as their records tell: the same document, the same number of
// line items, and the same line types where both kept them.
bool SameQuote(const RoundRecord& a, const RoundRecord& b) {
    return a.documentIndex == b.documentIndex && a.lineItemCount == b.lineItemCount &&
           (a.lineTypes.empty() || b.lineTypes.empty() || a.lineTypes == b.lineTypes);
}

bool Contains(const std::vector<std::int16_t>& rows, std::int16_t row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// Where a Round whose quote may be the open one stands against it.
void LookAt(RoundStanding& standing, HostApplication& host, PassPosition& at,
            std::int16_t documentIndex, std::int32_t lineItemCount, const NumberFormat& format,
            QuoteRead& read) {
    const RoundRecord& round = standing.round;
    if (documentIndex != round.documentIndex || lineItemCount != round.lineItemCount) {
        standing.state = State::OtherQuote;
        return;
    }
    const std::vector<WrittenLineItem> items = StillToGiveBack(round);
    SameValue same(format);
    const QuoteKnown known =
        KnowQuote(host, at, ShapeLeft(round), same, read, /*readExtended=*/true);
    if (known.verdict == QuoteVerdict::Another) {
        standing.state = State::OtherQuote;
        return;
    }
    for (const WrittenLineItem& item : items) {
        standing.holding += Contains(known.notHolding, item.row) ? 0 : 1;
    }
    if (known.verdict == QuoteVerdict::Moved) {
        standing.state = State::Moved;
    } else {
        standing.state = standing.dealtWith > 0 ? State::PartlyUndone : State::CanBeUndone;
    }
}

// One Round a step, so that a long look shows how far it is and stops on Escape between two
// Rounds.
class Look : public LineItemWalk {
public:
    Look(std::vector<RoundStanding>& standings, const NumberFormat& format)
        : standings_(standings), format_(format) {
        for (std::size_t n = 0; n < standings_.size(); ++n) {
            if (standings_[n].state == State::NotLooked) toLook_.push_back(n);
        }
    }

    bool Begin(HostApplication&, PassPosition&, std::int16_t documentIndex,
               std::int32_t lineItemCount) override {
        documentIndex_ = documentIndex;
        lineItemCount_ = lineItemCount;
        return true;
    }
    std::int32_t Length() const override { return static_cast<std::int32_t>(toLook_.size()); }
    // The first line item the Round still has to give back, where a failure is told.
    std::int16_t RowAt(std::int32_t position) const override {
        const RoundRecord& round = Standing(position).round;
        for (const WrittenLineItem& item : round.items) {
            if (!item.dealtWith) return item.row;
        }
        return round.items.empty() ? 0 : round.items.front().row;
    }
    void Visit(std::int32_t position, std::int16_t&, HostApplication& host, PassPosition& at,
               PassOutcome&) override {
        LookAt(Standing(position), host, at, documentIndex_, lineItemCount_, format_, read_);
    }

private:
    RoundStanding& Standing(std::int32_t position) const {
        return standings_[toLook_.at(static_cast<std::size_t>(position))];
    }

    std::vector<RoundStanding>& standings_;
    NumberFormat format_;
    std::vector<std::size_t> toLook_;
    std::int16_t documentIndex_ = 0;
    std::int32_t lineItemCount_ = 0;
    // One read of the quote for all of them: what one Round's look read, the next takes.
    QuoteRead read_;
};

// Why a line item would be left, for the preview's note.
Text LeftBecauseOf(const ChangedLineItem& changed, bool moved) {
    if (moved) return u"left: line items seem to have moved";
    if (changed.why == LeftBecause::NotRead) {
        return u"left: its " + detail::FieldWord(changed.field) + u" could not be read";
    }
    return u"left: its " + detail::FieldWord(changed.field) + u" has changed since the Round";
}

class UndoPreview : public LineItemWalk {
public:
    UndoPreview(const RoundHistory& history, const std::string& id, RoundPlan& plan,
                const NumberFormat& format)
        : history_(history), id_(id), plan_(plan), same_(format) {}

    bool Begin(HostApplication& host, PassPosition& at, std::int16_t documentIndex,
               std::int32_t lineItemCount) override {
        round_ = history_.Find(id_);
        if (!round_) return false;
        plan_.kind = PlanKind::Undo;
        plan_.undoOf = id_;
        plan_.what = u"Undo of " + TextFromUtf8(round_->what.empty() ? "a Round" : round_->what);
        plan_.documentIndex = round_->documentIndex;
        plan_.lineItemCount = round_->lineItemCount;
        plan_.lineTypes = round_->lineTypes;
        plan_.quantities = round_->quantities;
        if (documentIndex != round_->documentIndex || lineItemCount != round_->lineItemCount) {
            return false;
        }
        items_ = StillToGiveBack(*round_);
        known_ = KnowQuote(host, at, ShapeLeft(*round_), same_, read_, /*readExtended=*/true);
        return known_.verdict != QuoteVerdict::Another;
    }
    std::int32_t Length() const override { return static_cast<std::int32_t>(items_.size()); }
    std::int16_t RowAt(std::int32_t position) const override { return Item(position).row; }

    void Visit(std::int32_t position, std::int16_t& row, HostApplication& host, PassPosition& at,
               PassOutcome&) override {
        const WrittenLineItem& item = Item(position);
        LineItemNow now;
        const std::optional<ChangedLineItem> changed =
            FirstChange(host, at, row, AsTheRoundLeftIt(item, read_), same_, &now);
        PlannedLineItem planned;
        planned.row = item.row;
        planned.quantity = now.quantity;
        planned.unitPrice = now.unitPrice;
        planned.extendedPrice = now.extendedPrice;
        planned.modifier = now.modifier;
        planned.newModifier = AsBefore(item).modifier;
        planned.newUnitPrice = NumberOrNothing(item.unitPriceBefore, same_.format()).value_or(0);
        const bool moved =
            known_.verdict == QuoteVerdict::Moved && Contains(known_.notHolding, item.row);
        if (changed || moved) {
            planned.change = false;
            planned.note = LeftBecauseOf(changed.value_or(ChangedLineItem{item.row}), moved);
        } else if (const Text back =
                       AsBefore(item).modifier.IsEmpty() ? Text() : TextOf(AsBefore(item).modifier);
                   !back.empty()) {
            planned.note = u"gives back \"" + back + u"\"";
        }
        plan_.items.push_back(std::move(planned));
    }

private:
    const WrittenLineItem& Item(std::int32_t position) const {
        return items_.at(static_cast<std::size_t>(position));
    }

    const RoundHistory& history_;
    std::string id_;
    RoundPlan& plan_;
    SameValue same_;
    std::optional<RoundRecord> round_;
    std::vector<WrittenLineItem> items_;
    QuoteRead read_;
    QuoteKnown known_;
};

}  // namespace

RoundStanding StandingOf(const RoundRecord& round, const std::vector<RoundRecord>& rounds) {
    RoundStanding standing;
    standing.round = round;
    for (const WrittenLineItem& item : round.items) {
        standing.written += item.written ? 1 : 0;
        standing.dealtWith += item.dealtWith ? 1 : 0;
    }
    if (round.forgotten) {
        standing.state = State::Forgotten;
    } else if (round.Undoable() == 0) {
        standing.state = State::Undone;
    }
    // The newest Round after it on the same quote that still has something to give back.
    const auto self = std::find_if(rounds.begin(), rounds.end(),
                                   [&](const RoundRecord& r) { return r.id == round.id; });
    for (auto newer = rounds.rbegin(); self != rounds.end() && newer.base() - 1 != self; ++newer) {
        if (newer->Undoable() > 0 && SameQuote(*newer, round)) {
            standing.inTheWay = newer->id;
            break;
        }
    }
    return standing;
}

PassOutcome LookAtRounds(const RoundHistory& history, HostLink& link, MessageSink& messages,
                         std::vector<RoundStanding>& standings, const NumberFormat& format,
                         PassObserver* observer) {
    const std::vector<RoundRecord>& rounds = history.Rounds();
    standings.clear();
    for (auto round = rounds.rbegin(); round != rounds.rend(); ++round) {
        standings.push_back(StandingOf(*round, rounds));
    }
    Look look(standings, format);
    return RunPass(PassKind::Preview, look, link, messages, format, PassHooks{nullptr, observer});
}

PassOutcome PreviewUndo(const RoundHistory& history, const std::string& id, HostLink& link,
                        MessageSink& messages, RoundPlan& plan, const NumberFormat& format,
                        PassObserver* observer) {
    plan = RoundPlan{};
    UndoPreview preview(history, id, plan, format);
    return RunPass(PassKind::Preview, preview, link, messages, format,
                   PassHooks{nullptr, observer});
}

}  // namespace tarvello
