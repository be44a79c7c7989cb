#include "round_line_items.h"

#include <cmath>
#include <memory>
#include <string>

#include "app/version.h"
#include "rounding.h"
#include "rounding_rules.h"
#include "text_util.h"

namespace tarvello {

const char16_t kHostNotRunningText[] =
    u"Tarvello is not running. Tarvello must be running in order to use this API";
const char16_t kNoDocumentText[] = u"There are no documents currently open in Tarvello.";

namespace {

using detail::Method;
using detail::PriceField;
using detail::RowScope;

const Text kLineType = u"LineType";
const Text kUnitPrice = u"UnitPrice";
const Text kExtendedPrice = u"ExtendedPrice";
const Text kQtyTotal = u"QtyTotal";
const Text kPriceModifier = u"PriceModifier";

// Where the pass is, kept up to date so that a failure can say where it stopped.
struct Progress {
    std::string operation;
    std::string field;
    std::int32_t row = -1;
    std::int32_t written = 0;
    std::int32_t rowsVisited = 0;

    void At(const char* op, const Text& fieldName = Text()) {
        operation = op;
        field = detail::Narrow(fieldName);
    }
};

struct Request {
    double amount;
    Method method;
    PriceField priceField;
    RowScope rowScope;
};

Request CheckRequest(double Amount, const Text& PriceField, const Text& Method,
                     const Text& RowScope, Progress& progress) {
    // An unknown method or field would give no new price at all: refuse before the host is
    // touched rather than walk the document for nothing.
    progress.At("RoundLineItems", u"Method");
    const auto method = detail::MethodNamed(Method);
    if (!method) {
        throw EngineError(ErrorKind::InvalidArgument,
                          "unknown rounding method \"" + detail::Narrow(Method) + "\"");
    }
    progress.At("RoundLineItems", u"PriceField");
    const auto field = detail::PriceFieldNamed(PriceField);
    if (!field) {
        throw EngineError(ErrorKind::InvalidArgument,
                          "unknown price field \"" + detail::Narrow(PriceField) + "\"");
    }
    return Request{Amount, *method, *field, detail::RowScopeNamed(RowScope)};
}

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

class Pass {
public:
    Pass(const Request& request, HostApplication& host, const NumberFormat& format,
         Progress& progress)
        : request_(request), host_(host), format_(format), progress_(progress) {}

    void Walk(const Text& selectedRows, std::int16_t lastRow) {
        // One counter for the whole walk: the host gets a reference to it in every call.
        std::int16_t row = 0;
        for (std::int32_t index = 0; index <= lastRow; ++index) {
            row = static_cast<std::int16_t>(index);
            progress_.row = index;
            progress_.rowsVisited = index + 1;
            RoundRow(row, selectedRows);
        }
        progress_.row = -1;
    }

private:
    void RoundRow(std::int16_t& row, const Text& selectedRows) {
        progress_.At("LineItemGetValue", kLineType);
        if (ToWholeNumber16(host_.LineItemGetValue(row, kLineType), format_) != 1) return;
        bool activeRowFlag = false;

        progress_.At("LineItemGetValue", kUnitPrice);
        const Variant unitPrice = host_.LineItemGetValue(row, kUnitPrice);
        progress_.At("LineItemGetValue", kExtendedPrice);
        const Variant extendedPrice = host_.LineItemGetValue(row, kExtendedPrice);
        progress_.At("LineItemGetValue", kQtyTotal);
        const Variant quantity = host_.LineItemGetValue(row, kQtyTotal);

        // The extended price is only rounded when it is the field asked for: rounding the unit
        // price must not stop at an extended price or quantity it never uses (a quantity of 0,
        // an extended price beyond the whole-number range).
        const double newUnitPrice = request_.priceField == PriceField::UnitPrice
                                        ? Rounded(kUnitPrice, unitPrice)
                                        : UnitPriceFromExtended(extendedPrice, quantity);

        progress_.At("LineItemGetActiveRow");
        if (IsActiveRow(host_.LineItemGetActiveRow(), row, format_)) activeRowFlag = true;

        if (!IsChosen(row, activeRowFlag, selectedRows)) return;
        progress_.At("LineItemSetValue", kPriceModifier);
        Variant noModifier = Variant::FromText(Text());
        host_.LineItemSetValue(row, kPriceModifier, noModifier);
        progress_.At("LineItemSetValue", kUnitPrice);
        Variant price = Variant::Double(newUnitPrice);
        host_.LineItemSetValue(row, kUnitPrice, price);
        ++progress_.written;
    }

    double Rounded(const Text& field, const Variant& price) {
        const char* method = request_.method == Method::Decimal   ? "Decimal"
                             : request_.method == Method::Nearest ? "Nearest"
                                                                  : "RoundUp";
        progress_.At(method, u"Amount");
        const std::int32_t n = detail::MethodWholeNumber(request_.method, request_.amount);
        progress_.At(method, field);
        return detail::ApplyMethod(request_.method, request_.amount, n, price, format_);
    }

    // The extended price is rounded, and the unit price follows from it: the quotient is
    // written as the division gives it, unrounded.
    double UnitPriceFromExtended(const Variant& extendedPrice, const Variant& quantity) {
        const double extendedValue = Rounded(kExtendedPrice, extendedPrice);
        progress_.At("Divide", kQtyTotal);
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
        switch (request_.rowScope) {
            case RowScope::Current:
                return activeRowFlag;
            case RowScope::Selected:
                return InDelimitedList(Variant::FromText(selectedRows), Variant::Int16(row))
                    .AsBool();
            case RowScope::All:
                return true;
            case RowScope::NoRows:
                return false;
        }
        return false;
    }

    const Request& request_;
    HostApplication& host_;
    const NumberFormat& format_;
    Progress& progress_;
};

RoundOutcome Run(const Request& request, HostLink& link, MessageSink& messages,
                 const NumberFormat& format, Progress& progress) {
    RoundOutcome outcome;
    progress.At("IsHostRunning");
    if (!link.IsHostRunning()) {
        messages.ShowError(kHostNotRunningText, TARVELLO_TITLE_U16);
        outcome.status = RoundOutcome::Status::HostNotRunning;
        return outcome;
    }
    // Released on every way out of this function, a failure included.
    progress.At("Attach");
    std::unique_ptr<HostApplication> host = link.Attach();
    if (!host) {
        // A link should throw rather than hand back nothing; treat it as a failed attach.
        throw HostError(static_cast<std::int32_t>(0x80004005), Text(), "attach gave no object");
    }

    progress.At("GetActiveDocumentIndex");
    if (ToWholeNumber16(host->GetActiveDocumentIndex(), format) == -1) {
        messages.ShowError(kNoDocumentText, TARVELLO_TITLE_U16);
        host.reset();
        outcome.status = RoundOutcome::Status::NoDocument;
        return outcome;
    }
    progress.At("LineItemGetSelectedRows");
    const Text selectedRows = TextOf(host->LineItemGetSelectedRows());
    progress.At("LineItemCount");
    const std::int16_t lastRow = ToWholeNumber16(ToNumber(host->LineItemCount(), format) - 1.0);

    Pass(request, *host, format, progress).Walk(selectedRows, lastRow);
    host.reset();
    outcome.rowsVisited = progress.rowsVisited;
    outcome.written = progress.written;
    return outcome;
}

FailureCause CauseOf(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::Overflow:
            return FailureCause::Overflow;
        case ErrorKind::DivisionByZero:
            return FailureCause::DivisionByZero;
        case ErrorKind::TypeMismatch:
            return FailureCause::TypeMismatch;
        case ErrorKind::InvalidArgument:
            return FailureCause::InvalidArgument;
    }
    return FailureCause::InvalidArgument;
}

RoundFailure FailureAt(FailureCause cause, const std::string& what, const Progress& progress) {
    std::string where = progress.row >= 0 ? " at row " + std::to_string(progress.row) : "";
    std::string during = progress.operation;
    if (!progress.field.empty()) during += " " + progress.field;
    RoundFailure failure(cause, "rounding stopped" + where + " (" + during + "): " + what);
    failure.row = progress.row;
    failure.written = progress.written;
    failure.operation = progress.operation;
    failure.field = progress.field;
    return failure;
}

}  // namespace

RoundOutcome RoundLineItems(double Amount, Text PriceField, Text Method, Text RowScope,
                            HostLink& host, MessageSink& messages, const NumberFormat& format) {
    Progress progress;
    try {
        const Request request = CheckRequest(Amount, PriceField, Method, RowScope, progress);
        return Run(request, host, messages, format, progress);
    } catch (const EngineError& error) {
        throw FailureAt(CauseOf(error.kind()), error.what(), progress);
    } catch (const HostError& error) {
        RoundFailure failure = FailureAt(FailureCause::Host, error.what(), progress);
        failure.hostCode = error.code();
        failure.hostText = error.description();
        failure.hostGone = error.disconnected();
        throw failure;
    }
}

}  // namespace tarvello
