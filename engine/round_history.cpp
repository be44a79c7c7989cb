#include "round_history.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <stdexcept>

#include "errors.h"
#include "journal_text.h"

namespace tarvello {
namespace {

// The journal is rewritten once it holds this many Rounds, keeping the newest kKeptRounds with
// something left to give back.
constexpr std::size_t kRewriteAt = 2 * RoundHistory::kKeptRounds;

// Unique among the Rounds of every copy of the program, in the journal's alphabet.
std::string NewId() {
    std::random_device random;
    const std::uint64_t value =
        (static_cast<std::uint64_t>(random()) << 32) ^ static_cast<std::uint64_t>(random()) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string NowUtc() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &now);
#else
    gmtime_r(&now, &parts);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

}  // namespace

RoundHistory::RoundHistory(JournalFile& journal) : journal_(&journal) {
    Refresh();
}

void RoundHistory::Refresh() {
    if (!journal_) return;
    try {
        JournalContents contents = ReadJournal(journal_->Read());
        newerVersion_ = contents.newerVersion;
        roundsInJournal_ = contents.rounds.size();
        rounds_ = std::move(contents.rounds);
    } catch (const JournalError&) {
        // Locked or unreadable for now: what this copy knows stays.
    }
}

bool RoundHistory::ReadyToWrite(std::string& why) {
    if (!journal_) return true;
    if (newerVersion_) {
        why = "it was written by a newer version of this utility";
        return false;
    }
    try {
        const bool fresh = journal_->Open();
        open_ = true;
        if (fresh) Append(JournalHeader());
        return true;
    } catch (const JournalError& error) {
        open_ = false;
        why = error.what();
        return false;
    }
}

std::string RoundHistory::Where() const {
    return journal_ ? journal_->Where() : std::string();
}

void RoundHistory::RoundBegun(std::int32_t documentIndex, std::int32_t lineItemCount) {
    // In memory, as in the journal, the history reaches back so far.
    if (!journal_ && rounds_.size() >= kRewriteAt) rounds_.erase(rounds_.begin());
    RoundRecord round;
    round.id = NewId();
    round.began = NowUtc();
    round.documentIndex = documentIndex;
    round.lineItemCount = lineItemCount;
    Append(RoundLine(round));
    rounds_.push_back(std::move(round));
    ++roundsInJournal_;
}

void RoundHistory::Writing(const WrittenLineItem& item) {
    RoundRecord* round = Newest();
    if (!round) throw std::logic_error("a line item written outside a Round");
    WrittenLineItem record = item;
    record.written = false;
    // Before the host sees the write: a program killed after it has lost nothing.
    Append(ItemLine(round->id, record));
    round->items.push_back(std::move(record));
}

void RoundHistory::Written(double unitPriceAsLeft) {
    RoundRecord* round = Newest();
    if (!round || round->items.empty()) throw std::logic_error("no line item being written");
    WrittenLineItem& item = round->items.back();
    item.unitPriceWritten = unitPriceAsLeft;
    item.written = true;
    // The next line item's record follows only once this one's writes are done: should this
    // line be lost with the program, the item reads as one whose price may not have been
    // written, which Undo handles.
    AppendIfYouCan(WrittenLine(round->id, item.row, unitPriceAsLeft));
}

std::int32_t RoundHistory::UndoableCount() const {
    const RoundRecord* round = NextUndo();
    return round ? round->Undoable() : 0;
}

const RoundRecord* RoundHistory::NextUndo() const {
    for (auto round = rounds_.rbegin(); round != rounds_.rend(); ++round) {
        if (round->Undoable() > 0) return &*round;
    }
    return nullptr;
}

void RoundHistory::Restoring(const RoundRecord& round) {
    RoundRecord& own = Own(round);
    WrittenLineItem& item = own.items.at(own.undone);
    item.restoring = true;
    AppendIfYouCan(RestoringLine(own.id, item.row));
}

void RoundHistory::DealtWith(const RoundRecord& round) {
    RoundRecord& own = Own(round);
    WrittenLineItem& item = own.items.at(own.undone);
    item.restoring = false;
    ++own.undone;
    AppendIfYouCan(UndoneLine(own.id, item.row));
}

void RoundHistory::PassEnded() {
    if (!journal_ || !open_) return;
    open_ = false;
    try {
        journal_->FlushAndClose();
        if (roundsInJournal_ >= kRewriteAt) Compact();
    } catch (const JournalError&) {
        // What was handed to the system stays there; durability waits for the next flush.
    }
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

void RoundHistory::Append(const std::string& lines) {
    if (journal_ && open_) journal_->Append(lines);
}

void RoundHistory::AppendIfYouCan(const std::string& lines) {
    try {
        Append(lines);
    } catch (const JournalError&) {
        // After the host has seen the writes, a lost mark costs only a second look by Undo.
    }
}

// Rewrites the journal from what it holds, the other copies' Rounds included, keeping the
// newest Rounds that still have something to give back. Skipped while another copy writes.
void RoundHistory::Compact() {
    const bool replaced = journal_->Replace([](const std::string& held) {
        const JournalContents contents = ReadJournal(held);
        if (contents.newerVersion) return held;
        std::vector<const RoundRecord*> kept;
        for (auto round = contents.rounds.rbegin();
             round != contents.rounds.rend() && kept.size() < kKeptRounds; ++round) {
            if (round->Undoable() > 0) kept.push_back(&*round);
        }
        std::string text = JournalHeader();
        for (auto round = kept.rbegin(); round != kept.rend(); ++round) text += LinesOf(**round);
        return text;
    });
    if (replaced) Refresh();
}

}  // namespace tarvello
