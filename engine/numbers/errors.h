#pragma once
// The failures the rounding engine raises, and the failure a host raises when a call to it
// does not succeed.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "numbers/variant.h"

namespace tarvello {

enum class ErrorKind { Overflow, DivisionByZero, TypeMismatch, InvalidArgument };

class EngineError : public std::runtime_error {
public:
    EngineError(ErrorKind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    ErrorKind kind() const { return kind_; }

private:
    ErrorKind kind_;
};

// A call to the host failed: the host refused it, raised an exception of its own, or went
// away. `code` is the platform's status code (an HRESULT on Windows) and `description`
// what the host or the platform said about it, if anything.
class HostError : public std::runtime_error {
public:
    HostError(std::int32_t code, Text description, const std::string& what)
        : std::runtime_error(what), code_(code), description_(std::move(description)) {}
    std::int32_t code() const { return code_; }
    const Text& description() const { return description_; }
    // True when the host process is gone or no longer answers.
    bool disconnected() const { return disconnected_; }
    HostError& MarkDisconnected() {
        disconnected_ = true;
        return *this;
    }
    // True when the host kept answering "busy" (most often a dialog box open in it) for longer
    // than the call waits: nothing failed, it could not take the call yet.
    bool busy() const { return busy_; }
    HostError& MarkBusy() {
        busy_ = true;
        return *this;
    }

private:
    std::int32_t code_;
    Text description_;
    bool disconnected_ = false;
    bool busy_ = false;
};

// The journal that keeps what the Rounds wrote could not be read or written: `what` says why,
// in words for the user ("the disk is full", "another program has it open").
class JournalError : public std::runtime_error {
public:
    explicit JournalError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace tarvello
