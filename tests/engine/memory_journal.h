#pragma once
// A journal file in memory, as a test's disk: everything appended is there at once (as it would
// be for a program killed after handing it to the system), and any step can be made to fail.

#include <cstdint>
#include <string>

#include "engine/journal/journal_file.h"
#include "engine/numbers/errors.h"

namespace tarvello::testing {

class MemoryJournal : public JournalFile {
public:
    // The file's bytes.
    std::string text;
    // Opening fails with this reason when it is set (a folder that cannot be made, ...).
    std::string refuseOpen;
    // Appends left before the disk is full; negative: never full.
    int appendsLeft = -1;
    // The next append puts down only the first half of its lines, as a full disk may.
    bool tearNextAppend = false;
    // Another copy of the program has the file open: it cannot be replaced.
    bool heldByAnother = false;
    int replaced = 0;
    bool open = false;
    // Another file once it is replaced.
    std::uint64_t generation = 1;

    std::string Where() const override { return "memory"; }
    JournalChunk ReadSince(const JournalPlace& since) override {
        JournalChunk chunk;
        chunk.end = {generation, text.size()};
        chunk.fromStart = since.file != generation || since.offset > text.size();
        chunk.text = chunk.fromStart ? text : text.substr(since.offset);
        return chunk;
    }
    void Open() override {
        if (!refuseOpen.empty()) throw JournalError(refuseOpen);
        if (!text.empty() && text.back() != '\n') text += kCutOffEnding;
        open = true;
    }
    void Append(const std::string& lines) override {
        if (!open) throw JournalError("not open");
        if (appendsLeft == 0) throw JournalError("the disk is full");
        if (appendsLeft > 0) --appendsLeft;
        if (tearNextAppend) {
            tearNextAppend = false;
            text += lines.substr(0, lines.size() / 2) + kCutOffEnding;
            throw JournalError("the disk is full");
        }
        text += lines;
    }
    void FlushAndClose() override { open = false; }
    bool Replace(const Rewrite& rewrite) override {
        if (heldByAnother) return false;
        text = rewrite(text);
        ++replaced;
        ++generation;
        return true;
    }
};

}  // namespace tarvello::testing
