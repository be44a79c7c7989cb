#include "pass_progress.h"

#include "rounding.h"
#include "text_util.h"

namespace tarvello::detail {

ActiveDocument OpenActiveDocument(HostLink& link, MessageSink& messages, const NumberFormat& format,
                                  Progress& progress) {
    ActiveDocument document;
    progress.At(PassStep::IsHostRunning);
    if (!link.IsHostRunning()) {
        messages.ShowError(kHostNotRunningText);
        document.status = ActiveDocument::Status::HostNotRunning;
        return document;
    }
    progress.At(PassStep::Attach);
    document.host = link.Attach();
    if (!document.host) {
        // A link should throw rather than hand back nothing; treat it as a failed attach.
        throw HostError(static_cast<std::int32_t>(0x80004005), Text(), "attach gave no object");
    }
    progress.At(PassStep::GetActiveDocumentIndex);
    document.index = ToWholeNumber16(document.host->GetActiveDocumentIndex(), format);
    if (document.index == -1) {
        messages.ShowError(kNoDocumentText);
        document.host.reset();
        document.status = ActiveDocument::Status::NoDocument;
    }
    return document;
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
    if (progress.field) where += " (" + Utf8Of(FieldName(*progress.field)) + ")";
    RoundFailure failure(cause, "stopped" + where + ": " + what);
    failure.step = progress.step;
    failure.field = progress.field;
    failure.row = progress.row;
    failure.written = progress.written;
    return failure;
}

}  // namespace tarvello::detail
