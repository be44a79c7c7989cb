#pragma once
// The journal around one pass that writes: opened before the host is reached, and made durable,
// closed and compacted however the pass ends, so that no pass can leave it open or hold its lock
// between passes. When it cannot be opened, the user is asked once whether to write without it.

#include "journal/round_history.h"
#include "passes/pass.h"

namespace tarvello {

class JournalSession {
public:
    JournalSession(RoundHistory& history, PassKind kind, MessageSink& messages);
    ~JournalSession();
    JournalSession(const JournalSession&) = delete;
    JournalSession& operator=(const JournalSession&) = delete;

    // The journal could not be opened and the user chose not to go on: the pass must not run.
    bool declined() const { return declined_; }

private:
    RoundHistory& history_;
    bool declined_ = false;
};

}  // namespace tarvello
