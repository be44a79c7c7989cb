#include "round_line_items.h"

#include <cmath>
#include <memory>
#include <string>

#include "pass_progress.h"
#include "rounding.h"
#include "rounding_rules.h"
#include "text_util.h"

namespace tarvello {

const char16_t kHostNotRunningText[] =
    u"Tarvello is not running. Tarvello must be running in order to use this API";
const char16_t kNoDocumentText[] = u"There are no documents currently open in Tarvello.";

namespace {

using detail::Progress;
using Field = LineItemField;

// True when the host's active row names `row`. An answer that is not a number names no row.
bool IsActiveRow(const Variant& activeRow, std::int16_t row, const NumberFormat& format) {
    if (activeRow.kind() == Variant::Kind::Text) {
        try {
            return ReadNumber(activeRow.AsText(), format) == row;
        } catch (const EngineError&) {
            return false;
        }
    }
    return ToNumber(activeRow, format) == row;
}

// A price or quantity the Round works with must be a finite number: NaN or an infinity would
// be written back into the quote as it is, or turn a unit price into 0.
void RequireFinite(const Variant& value) {
    if (value.kind() == Variant::Kind::Double && !std::isfinite(value.AsDouble())) {
        throw EngineError(ErrorKind::TypeMismatch, "a value that is not a finite number");
    }
}

class Pass {
public:
    Pass(const RoundingRequest& request, HostApplication& host, const NumberFormat& format,
         Progress& progress, const PassHooks& hooks)
        : request_(request), host_(host), format_(format), progress_(progress), hooks_(hooks) {}

    // False when the caller asked the pass to stop before it reached the last row.
    bool Walk(const Text& selectedRows, std::int16_t lastRow) {
        // One counter for the whole walk: the host gets a reference to it in every call.
        std::int16_t row = 0;
        for (std::int32_t index = 0; index <= lastRow; ++index) {
            if (hooks_.observer && hooks_.observer->StopRequested()) return false;
            if (hooks_.observer) hooks_.observer->AtLineItem(index, index, lastRow + 1);
            row = static_cast<std::int16_t>(index);
            progress_.row = index;
            progress_.rowsVisited = index + 1;
            RoundRow(row, selectedRows);
        }
        progress_.row = -1;
        return true;
    }

private:
    Variant Read(std::int16_t& row, Field field) {
        progress_.At(PassStep::LineItemGetValue, field);
        return host_.LineItemGetValue(row, FieldName(field));
    }

    // Gives back the value as the host left it: a price goes by reference.
    Variant Write(std::int16_t& row, Field field, Variant value) {
        progress_.At(PassStep::LineItemSetValue, field);
        host_.LineItemSetValue(row, FieldName(field), value);
        return value;
    }

    void RoundRow(std::int16_t& row, const Text& selectedRows) {
        if (ToWholeNumber16(Read(row, Field::LineType), format_) != 1) return;
        bool activeRowFlag = false;

        const Variant unitPrice = Read(row, Field::UnitPrice);
        const Variant extendedPrice = Read(row, Field::ExtendedPrice);
        const Variant quantity = Read(row, Field::QtyTotal);

        // The extended price is only rounded when it is the field asked for: rounding the unit
        // price must not stop at an extended price or quantity it never uses (a quantity of 0,
        // an extended price beyond the whole-number range).
        const double newUnitPrice = request_.PriceField == RoundedPrice::UnitPrice
                                        ? Rounded(Field::UnitPrice, unitPrice)
                                        : UnitPriceFromExtended(extendedPrice, quantity);

        progress_.At(PassStep::LineItemGetActiveRow);
        if (IsActiveRow(host_.LineItemGetActiveRow(), row, format_)) activeRowFlag = true;

        if (!IsChosen(row, activeRowFlag, selectedRows)) return;
        WrittenLineItem undo{row, unitPrice, ReadModifierForUndo(row), newUnitPrice};
        Write(row, Field::PriceModifier, Variant::FromText(Text()));
        try {
            undo.unitPriceWritten =
                Write(row, Field::UnitPrice, Variant::Double(newUnitPrice)).NumberValue();
        } catch (...) {
            // The modifier is cleared but the price not written: Undo can still give the
            // modifier back, as long as the price is the one it was.
            if (unitPrice.IsNumber()) {
                undo.unitPriceWritten = unitPrice.NumberValue();
                Record(std::move(undo));
            }
            throw;
        }
        Record(std::move(undo));
        ++progress_.written;
    }

    // The modifier as it was, for Undo. A host that cannot tell it (an error for that field, a
    // value of a kind that is no text or number) does not stop the Round; one that has gone
    // away does.
    std::optional<Variant> ReadModifierForUndo(std::int16_t& row) {
        try {
            return Read(row, Field::PriceModifier);
        } catch (const HostError& error) {
            if (error.disconnected()) throw;
        } catch (const EngineError&) {
        }
        return std::nullopt;
    }

    void Record(WrittenLineItem item) {
        if (hooks_.undo) hooks_.undo->items.push_back(std::move(item));
    }

    double Rounded(Field field, const Variant& price) {
        progress_.At(PassStep::WorkOutAmount);
        const std::int32_t n = detail::MethodWholeNumber(request_.Method, request_.Amount);
        progress_.At(PassStep::RoundPrice, field);
        RequireFinite(price);
        return detail::ApplyMethod(request_.Method, request_.Amount, n, price, format_);
    }

    // The extended price is rounded, and the unit price follows from it: the quotient is
    // written as the division gives it, unrounded.
    double UnitPriceFromExtended(const Variant& extendedPrice, const Variant& quantity) {
        const double extendedValue = Rounded(Field::ExtendedPrice, extendedPrice);
        progress_.At(PassStep::DivideByQuantity, Field::QtyTotal);
        RequireFinite(quantity);
        const double divisor = ToNumber(quantity, format_);
        if (divisor == 0.0) {
            throw EngineError(ErrorKind::DivisionByZero, "total quantity 0");
        }
        const double quotient = extendedValue / divisor;
        if (!std::isfinite(quotient)) {
            throw EngineError(ErrorKind::Overflow, "unit price outside the double range");
        }
        return quotient == 0.0 ? 0.0 : quotient;  // never a "-0" from a negative quantity
    }

    bool IsChosen(std::int16_t row, bool activeRowFlag, const Text& selectedRows) const {
        switch (request_.RowScope) {
            case RowChoice::Current:
                return activeRowFlag;
            case RowChoice::Selected:
                return InDelimitedList(Variant::FromText(selectedRows), Variant::Int16(row))
                    .AsBool();
            case RowChoice::All:
                return true;
            case RowChoice::NoRows:
                return false;
        }
        return false;
    }

    const RoundingRequest& request_;
    HostApplication& host_;
    const NumberFormat& format_;
    Progress& progress_;
    const PassHooks& hooks_;
};

RoundOutcome Run(const RoundingRequest& request, HostLink& link, MessageSink& messages,
                 const NumberFormat& format, Progress& progress, const PassHooks& hooks) {
    RoundOutcome outcome;
    detail::ActiveDocument document = detail::OpenActiveDocument(link, messages, format, progress);
    switch (document.status) {
        case detail::ActiveDocument::Status::HostNotRunning:
            outcome.status = RoundOutcome::Status::HostNotRunning;
            return outcome;
        case detail::ActiveDocument::Status::NoDocument:
            outcome.status = RoundOutcome::Status::NoDocument;
            return outcome;
        case detail::ActiveDocument::Status::Open:
            break;
    }
    HostApplication* host = document.host.get();
    progress.At(PassStep::LineItemGetSelectedRows);
    const Text selectedRows = TextOf(host->LineItemGetSelectedRows());
    progress.At(PassStep::LineItemCount);
    const std::int16_t lastRow = ToWholeNumber16(ToNumber(host->LineItemCount(), format) - 1.0);
    outcome.lineItemCount = lastRow + 1;
    if (hooks.undo) *hooks.undo = UndoRecord{true, document.index, outcome.lineItemCount, {}};

    const bool walkedToTheEnd =
        Pass(request, *host, format, progress, hooks).Walk(selectedRows, lastRow);
    document.host.reset();
    if (!walkedToTheEnd) outcome.status = RoundOutcome::Status::Stopped;
    outcome.rowsVisited = progress.rowsVisited;
    outcome.written = progress.written;
    return outcome;
}

}  // namespace

RoundOutcome RoundLineItems(const RoundingRequest& request, HostLink& host, MessageSink& messages,
                            const NumberFormat& format, const PassHooks& hooks) {
    Progress progress;
    return detail::Reporting(progress,
                             [&] { return Run(request, host, messages, format, progress, hooks); });
}

RoundOutcome RoundLineItems(double Amount, Text PriceField, Text Method, Text RowScope,
                            HostLink& host, MessageSink& messages, const NumberFormat& format) {
    Progress progress;
    return detail::Reporting(progress, [&] {
        // An unknown method or field would give no new price at all: refuse before the host is
        // touched rather than walk the document for nothing.
        progress.At(PassStep::ReadMethod);
        const auto method = MethodNamed(Method);
        if (!method) {
            throw EngineError(ErrorKind::InvalidArgument,
                              "unknown rounding method \"" + Utf8Of(Method) + "\"");
        }
        progress.At(PassStep::ReadPriceField);
        const auto field = PriceFieldNamed(PriceField);
        if (!field) {
            throw EngineError(ErrorKind::InvalidArgument,
                              "unknown price field \"" + Utf8Of(PriceField) + "\"");
        }
        const RoundingRequest request{Amount, *field, *method, RowScopeNamed(RowScope)};
        return Run(request, host, messages, format, progress, PassHooks{});
    });
}

}  // namespace tarvello
