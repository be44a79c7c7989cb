#pragma once
// What the Round and the Undo share on their way through the document: where they are, so
// that a failure can say where it stopped, and how a failure of the engine or of the host
// becomes the one RoundFailure the caller gets.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "errors.h"
#include "host_application.h"
#include "number_format.h"
#include "round_line_items.h"

namespace tarvello::detail {

struct Progress {
    PassStep step = PassStep::ReadMethod;
    std::optional<LineItemField> field;
    std::int32_t row = -1;
    std::int32_t written = 0;
    std::int32_t rowsVisited = 0;

    void At(PassStep now, std::optional<LineItemField> about = std::nullopt) {
        step = now;
        field = about;
    }
};

// The opening of every pass: is the host running, attach, which document is active. When the
// host is not running or no document is open, the pass's message has been shown and nothing is
// held.
struct ActiveDocument {
    enum class Status { Open, HostNotRunning, NoDocument };
    Status status = Status::Open;
    // Held while open; the pass releases it on every way out.
    std::unique_ptr<HostApplication> host;
    std::int16_t index = -1;
};
ActiveDocument OpenActiveDocument(HostLink& link, MessageSink& messages, const NumberFormat& format,
                                  Progress& progress);

FailureCause CauseOf(ErrorKind kind);
RoundFailure FailureAt(FailureCause cause, const std::string& what, const Progress& progress);

// Runs `body`; an EngineError or HostError leaving it becomes a RoundFailure that says where.
template <typename Body>
auto Reporting(Progress& progress, Body&& body) -> decltype(body()) {
    try {
        return body();
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

}  // namespace tarvello::detail
