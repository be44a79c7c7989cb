#include "undo_last_round.h"

#include <memory>

#include "pass_progress.h"
#include "rounding.h"

namespace tarvello {
namespace {

using detail::Progress;
using Field = LineItemField;

// The unit price is still exactly the one the Round wrote: a number of that value, or a text
// that reads as it.
bool StillAsWritten(const Variant& current, double written, const NumberFormat& format) {
    try {
        if (current.IsNumber()) return current.NumberValue() == written;
        if (current.kind() == Variant::Kind::Text) {
            return ReadNumber(current.AsText(), format) == written;
        }
    } catch (const EngineError&) {
    }
    return false;
}

// A price goes back as a double, by reference, whatever number kind it was read as; anything
// else goes back as it came.
Variant PriceToWrite(const Variant& before) {
    return before.IsNumber() ? Variant::Double(before.NumberValue()) : before;
}

class Undo {
public:
    Undo(UndoRecord& record, HostApplication& host, const NumberFormat& format, Progress& progress,
         PassObserver* observer, UndoOutcome& outcome)
        : record_(record),
          host_(host),
          format_(format),
          progress_(progress),
          observer_(observer),
          outcome_(outcome) {}

    // Line items dealt with leave the record however the walk ends.
    ~Undo() { record_.items.erase(record_.items.begin(), record_.items.begin() + done_); }
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;

    // False when the caller asked to stop before the last line item.
    bool Walk() {
        const auto count = static_cast<std::int32_t>(record_.items.size());
        for (; done_ < count; ++done_) {
            if (observer_ && observer_->StopRequested()) return false;
            const WrittenLineItem& item = record_.items[static_cast<std::size_t>(done_)];
            if (observer_) observer_->AtLineItem(item.row, done_, count);
            RestoreOne(item);
        }
        progress_.row = -1;
        return true;
    }

private:
    void RestoreOne(const WrittenLineItem& item) {
        std::int16_t row = item.row;
        progress_.row = row;
        progress_.At(PassStep::LineItemGetValue, Field::UnitPrice);
        const Variant current = host_.LineItemGetValue(row, FieldName(Field::UnitPrice));
        if (!StillAsWritten(current, item.unitPriceWritten, format_)) {
            outcome_.changedSince.push_back(row);
            return;
        }
        // As a Round writes them: the modifier first, then the price.
        Variant modifier = item.modifierBefore.value_or(Variant::FromText(Text()));
        progress_.At(PassStep::LineItemSetValue, Field::PriceModifier);
        host_.LineItemSetValue(row, FieldName(Field::PriceModifier), modifier);
        Variant price = PriceToWrite(item.unitPriceBefore);
        progress_.At(PassStep::LineItemSetValue, Field::UnitPrice);
        host_.LineItemSetValue(row, FieldName(Field::UnitPrice), price);
        if (!item.modifierBefore) outcome_.modifierUnknown.push_back(row);
        ++outcome_.restored;
        ++progress_.written;
    }

    UndoRecord& record_;
    HostApplication& host_;
    const NumberFormat& format_;
    Progress& progress_;
    PassObserver* observer_;
    UndoOutcome& outcome_;
    std::int32_t done_ = 0;
};

void Run(UndoRecord& record, HostLink& link, MessageSink& messages, const NumberFormat& format,
         PassObserver* observer, Progress& progress, UndoOutcome& outcome) {
    detail::ActiveDocument document = detail::OpenActiveDocument(link, messages, format, progress);
    switch (document.status) {
        case detail::ActiveDocument::Status::HostNotRunning:
            outcome.status = UndoOutcome::Status::HostNotRunning;
            return;
        case detail::ActiveDocument::Status::NoDocument:
            outcome.status = UndoOutcome::Status::NoDocument;
            return;
        case detail::ActiveDocument::Status::Open:
            break;
    }
    HostApplication& host = *document.host;
    progress.At(PassStep::LineItemCount);
    const std::int32_t count = ToWholeNumber(host.LineItemCount(), format);
    if (document.index != record.documentIndex || count != record.lineItemCount) {
        outcome.status = UndoOutcome::Status::DocumentChanged;
        return;
    }
    if (!Undo(record, host, format, progress, observer, outcome).Walk()) {
        outcome.status = UndoOutcome::Status::Stopped;
    }
}

}  // namespace

UndoOutcome UndoLastRound(UndoRecord& record, HostLink& link, MessageSink& messages,
                          const NumberFormat& format, PassObserver* observer) {
    Progress progress;
    UndoOutcome outcome;
    try {
        detail::Reporting(progress, [&] {
            Run(record, link, messages, format, observer, progress, outcome);
            return 0;
        });
    } catch (RoundFailure& failure) {
        failure.undoing = true;
        outcome.status = UndoOutcome::Status::Failed;
        outcome.failure = std::move(failure);
    }
    return outcome;
}

}  // namespace tarvello
