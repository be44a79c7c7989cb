#include "journal/round_history.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <stdexcept>

#include "numbers/errors.h"

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

RoundHistory::RoundHistory() = default;

RoundHistory::RoundHistory(JournalFile& journal) : journal_(&journal) {}

void RoundHistory::Refresh() {
    if (!journal_) return;
    try {
        const JournalChunk chunk = journal_->ReadSince(readUpTo_);
        if (chunk.fromStart) model_ = JournalReader();
        const std::size_t read = model_.Read(chunk.text);
        // The journal was rewritten (or is read for the first time): the marks it could not
        // take count again on top of what it says.
        if (chunk.fromStart) {
            for (const std::string& line : unjournaled_) model_.Own(line);
        }
        // A line still being written is read again, whole, next time.
        readUpTo_ = chunk.end;
        readUpTo_.offset -= chunk.text.size() - read;
    } catch (const JournalError&) {
        // Locked or unreadable for now: what this copy knows stays.
    }
}

std::string RoundHistory::Where() const {
    return journal_ ? journal_->Where() : std::string();
}

bool RoundHistory::OpenJournal(std::string& why) {
    withoutJournal_ = false;
    if (!journal_) return true;
    Refresh();
    if (model_.newerVersion()) {
        why = "it was written by a newer version of this utility";
        return false;
    }
    try {
        journal_->Open();
        open_ = true;
        // A journal of the earlier version (or a new one) gets this version's header first, so
        // that the lines after it are read with their checks.
        if (model_.version() < kJournalVersion) journal_->Append(JournalHeader());
        return true;
    } catch (const JournalError& error) {
        why = error.what();
        CloseJournal();
        return false;
    }
}

void RoundHistory::GoWithoutJournal() {
    withoutJournal_ = true;
}

void RoundHistory::CloseJournal() {
    withoutJournal_ = false;
    current_.clear();
    if (!journal_ || !open_) return;
    open_ = false;
    try {
        journal_->FlushAndClose();
        if (model_.rounds().size() >= kRewriteAt) Compact();
    } catch (const JournalError&) {
        // What was handed to the system stays there; durability waits for the next flush.
    }
}

void RoundHistory::RoundBegun(std::int32_t documentIndex, std::int32_t lineItemCount,
                              const std::string& what) {
    if (withoutJournal_) return;
    RoundRecord round;
    round.id = NewId();
    round.began = NowUtc();
    round.documentIndex = documentIndex;
    round.lineItemCount = lineItemCount;
    Add(RoundLine(round));
    current_ = round.id;
    if (!what.empty()) AddIfYouCan(WhatLine(round.id, what));
}

void RoundHistory::Writing(const WrittenLineItem& item) {
    if (withoutJournal_) return;
    if (current_.empty()) throw std::logic_error("a line item written outside a Round");
    WrittenLineItem record = item;
    record.written = false;
    // Before the host sees the write: a program killed after it has lost nothing.
    Add(ItemLine(current_, record));
    currentRow_ = item.row;
}

void RoundHistory::Written(double unitPriceAsLeft) {
    if (withoutJournal_) return;
    if (current_.empty()) throw std::logic_error("no line item being written");
    // The next line item's record follows only once this one's writes are done: should this
    // line be lost with the program, the item reads as one whose price may not have been
    // written, which Undo handles.
    AddIfYouCan(WrittenLine(current_, currentRow_, unitPriceAsLeft));
}

void RoundHistory::QuoteSeen(const std::vector<std::int16_t>& lineTypes,
                             const std::vector<Variant>& quantities) {
    if (withoutJournal_ || current_.empty() || lineTypes.empty()) return;
    AddIfYouCan(QuoteLine(current_, lineTypes));
    if (!quantities.empty()) AddIfYouCan(QuantitiesLine(current_, quantities));
}

std::int32_t RoundHistory::UndoableCount() const {
    const std::optional<RoundRecord> round = NextUndo();
    return round ? round->Undoable() : 0;
}

std::optional<RoundRecord> RoundHistory::NextUndo() const {
    if (model_.newerVersion()) return std::nullopt;
    const std::vector<RoundRecord>& rounds = model_.rounds();
    for (auto round = rounds.rbegin(); round != rounds.rend(); ++round) {
        if (round->Undoable() > 0) return *round;
    }
    return std::nullopt;
}

void RoundHistory::Restoring(const std::string& id, std::int16_t row) {
    AddIfYouCan(RestoringLine(id, row));
}

void RoundHistory::DealtWith(const std::string& id, std::int16_t row, bool left) {
    AddIfYouCan(left ? LeftLine(id, row) : UndoneLine(id, row));
}

const std::vector<RoundRecord>& RoundHistory::Rounds() const {
    static const std::vector<RoundRecord> none;
    return model_.newerVersion() ? none : model_.rounds();
}

std::optional<RoundRecord> RoundHistory::Find(const std::string& id) const {
    for (const RoundRecord& round : Rounds()) {
        if (round.id == id) return round;
    }
    return std::nullopt;
}

void RoundHistory::Forget(const std::string& id, std::string& why) {
    why.clear();
    if (!OpenJournal(why)) GoWithoutJournal();
    AddIfYouCan(ForgottenLine(id));
    CloseJournal();
}

void RoundHistory::Add(const std::string& line) {
    if (journal_ && open_) journal_->Append(line);
    model_.Own(line);
}

// After the host has seen the writes, a mark the journal cannot take costs only a second look
// by Undo: it is kept in memory instead.
void RoundHistory::AddIfYouCan(const std::string& line) {
    bool journaled = false;
    if (journal_ && open_) {
        try {
            journal_->Append(line);
            journaled = true;
        } catch (const JournalError&) {
        }
    }
    if (journal_ && !journaled) unjournaled_.push_back(line);
    model_.Own(line);
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
