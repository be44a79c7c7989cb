#include "round_history.h"

#include <stdexcept>

namespace tarvello {

void RoundHistory::RoundBegun(std::int32_t documentIndex, std::int32_t lineItemCount) {
    rounds_.clear();
    rounds_.push_back(RoundRecord{documentIndex, lineItemCount, {}, 0});
}

void RoundHistory::Writing(const WrittenLineItem& item) {
    RoundRecord* round = Newest();
    if (!round) throw std::logic_error("a line item written outside a Round");
    round->items.push_back(item);
    round->items.back().written = false;
}

void RoundHistory::Written(double unitPriceAsLeft) {
    RoundRecord* round = Newest();
    if (!round || round->items.empty()) throw std::logic_error("no line item being written");
    round->items.back().unitPriceWritten = unitPriceAsLeft;
    round->items.back().written = true;
}

std::int32_t RoundHistory::UndoableCount() const {
    const RoundRecord* round = NextUndo();
    return round ? round->Undoable() : 0;
}

const RoundRecord* RoundHistory::NextUndo() const {
    if (rounds_.empty() || rounds_.back().Undoable() == 0) return nullptr;
    return &rounds_.back();
}

void RoundHistory::Restoring(const RoundRecord& round) {
    RoundRecord& own = Own(round);
    own.items.at(own.undone).restoring = true;
}

void RoundHistory::DealtWith(const RoundRecord& round) {
    RoundRecord& own = Own(round);
    own.items.at(own.undone).restoring = false;
    ++own.undone;
}

RoundRecord* RoundHistory::Newest() {
    return rounds_.empty() ? nullptr : &rounds_.back();
}

RoundRecord& RoundHistory::Own(const RoundRecord& round) {
    for (RoundRecord& own : rounds_) {
        if (&own == &round) return own;
    }
    throw std::logic_error("a Round this history does not hold");
}

}  // namespace tarvello
