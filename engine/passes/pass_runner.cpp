#include "passes/pass_runner.h"

#include <memory>
#include <string>

#include "numbers/errors.h"
#include "numbers/rounding.h"
#include "numbers/text_util.h"
#include "passes/journal_session.h"

namespace tarvello {

const char16_t kHostNotRunningText[] =
    u"Tarvello is not running. Tarvello must be running in order to use this API";
const char16_t kNoDocumentText[] = u"There are no documents currently open in Tarvello.";

namespace passes {
namespace {

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

PassFailure FailureAt(FailureCause cause, const std::string& what, PassKind kind,
                      const PassPosition& at, std::int32_t written) {
    std::string where = at.row >= 0 ? " at row " + std::to_string(at.row) : "";
    if (at.field) where += " (" + Utf8Of(FieldName(*at.field)) + ")";
    PassFailure failure(cause, "stopped" + where + ": " + what);
    failure.pass = kind;
    failure.step = at.step;
    failure.field = at.field;
    failure.row = at.row;
    failure.written = written;
    return failure;
}

// The walk proper, with the host held. Gives Completed or Stopped; what it changed is in
// `outcome` however it ends.
PassOutcome::Status Walk(LineItemWalk& walk, HostApplication& host, PassPosition& at,
                         PassObserver* observer, PassOutcome& outcome) {
    const std::int32_t length = walk.Length();
    // One counter for the whole walk: the host gets a reference to it in every call.
    std::int16_t row = 0;
    for (std::int32_t position = 0; position < length; ++position) {
        row = walk.RowAt(position);
        if (observer && observer->LookForStop()) {
            outcome.stoppedBeforeRow = row;
            return PassOutcome::Status::Stopped;
        }
        if (observer) observer->AtLineItem(row, position, length);
        at.row = row;
        outcome.visited = position + 1;
        walk.Visit(position, row, host, at, outcome);
    }
    at.row = -1;
    return PassOutcome::Status::Completed;
}

void Run(LineItemWalk& walk, HostLink& link, MessageSink& messages, const NumberFormat& format,
         PassObserver* observer, PassPosition& at, PassOutcome& outcome) {
    at.At(PassStep::IsHostRunning);
    if (!link.IsHostRunning()) {
        outcome.status = PassOutcome::Status::HostNotRunning;
        messages.ShowError(kHostNotRunningText);
        return;
    }
    at.At(PassStep::Attach);
    std::unique_ptr<HostApplication> host = link.Attach();
    if (!host) {
        // A link should throw rather than hand back nothing; treat it as a failed attach.
        throw HostError(static_cast<std::int32_t>(0x80004005), Text(), "attach gave no object");
    }
    at.At(PassStep::GetActiveDocumentIndex);
    const std::int16_t index = ToWholeNumber16(host->GetActiveDocumentIndex(), format);
    if (index == -1) {
        // The box may stay up for minutes: nothing of the host is held meanwhile.
        host.reset();
        outcome.status = PassOutcome::Status::NoDocument;
        messages.ShowError(kNoDocumentText);
        return;
    }
    walk.BeforeCount(*host, at);
    at.At(PassStep::LineItemCount);
    outcome.lineItemCount = LineItemCountOf(host->LineItemCount(), format);
    if (!walk.Begin(*host, at, index, outcome.lineItemCount)) {
        outcome.status = walk.Refusal();
        return;
    }
    outcome.status = Walk(walk, *host, at, observer, outcome);
}

}  // namespace

std::int32_t LineItemCountOf(const Variant& count, const NumberFormat& format) {
    return ToWholeNumber16(ToNumber(count, format) - 1.0) + 1;
}

Variant ReadLineItem(HostApplication& host, PassPosition& at, std::int16_t& row,
                     LineItemField field) {
    at.At(PassStep::LineItemGetValue, field);
    return host.LineItemGetValue(row, FieldName(field));
}

std::optional<Variant> ReadModifier(HostApplication& host, PassPosition& at, std::int16_t& row) {
    try {
        return ReadLineItem(host, at, row, LineItemField::PriceModifier);
    } catch (const HostError& error) {
        if (error.disconnected()) throw;
    } catch (const EngineError&) {
    }
    return std::nullopt;
}

PassFailure FailureOf(const EngineError& error, PassKind kind, const PassPosition& at,
                      std::int32_t written) {
    return FailureAt(CauseOf(error.kind()), error.what(), kind, at, written);
}

PassFailure FailureOf(const HostError& error, PassKind kind, const PassPosition& at,
                      std::int32_t written) {
    PassFailure failure = FailureAt(FailureCause::Host, error.what(), kind, at, written);
    failure.hostCode = error.code();
    failure.hostText = error.description();
    failure.hostGone = error.disconnected();
    failure.hostBusy = error.busy();
    return failure;
}

PassOutcome RunPass(PassKind kind, LineItemWalk& walk, HostLink& link, MessageSink& messages,
                    const NumberFormat& format, const PassHooks& hooks) {
    PassOutcome outcome;
    outcome.pass = kind;
    std::optional<JournalSession> journal;
    if (WritesToHost(kind) && hooks.history) {
        journal.emplace(*hooks.history, kind, messages);
        if (journal->declined()) {
            outcome.status = PassOutcome::Status::Declined;
            return outcome;
        }
    }
    PassObserver* observer = hooks.observer;
    PassPosition at;
    try {
        Run(walk, link, messages, format, observer, at, outcome);
    } catch (const EngineError& error) {
        outcome.status = PassOutcome::Status::Failed;
        outcome.failure = FailureOf(error, kind, at, outcome.written);
    } catch (const HostError& error) {
        outcome.status = PassOutcome::Status::Failed;
        outcome.failure = FailureOf(error, kind, at, outcome.written);
    } catch (const JournalError& error) {
        outcome.status = PassOutcome::Status::Failed;
        outcome.failure = FailureAt(FailureCause::Journal, error.what(), kind, at, outcome.written);
        outcome.failure->journalReason = error.what();
    }
    walk.Ended(outcome);
    return outcome;
}

}  // namespace passes
}  // namespace tarvello
