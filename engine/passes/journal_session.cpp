#include "passes/journal_session.h"

#include <string>

#include "passes/describe_failure.h"

namespace tarvello {

JournalSession::JournalSession(RoundHistory& history, PassKind kind, MessageSink& messages)
    : history_(history) {
    std::string why;
    if (history_.OpenJournal(why)) return;
    if (messages.Ask(DescribeMissingJournal(kind, history_.Where(), why))) {
        history_.GoWithoutJournal();
    } else {
        declined_ = true;
    }
}

JournalSession::~JournalSession() {
    history_.CloseJournal();
}

}  // namespace tarvello
