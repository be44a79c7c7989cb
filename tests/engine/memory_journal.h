#pragma once
// A journal file in memory, as a test's disk: everything appended is there at once (as it would
// be for a program killed after handing it to the system), and any step can be made to fail.

#include <string>

#include "engine/errors.h"
#include "engine/journal_file.h"

namespace tarvello::testing {

class MemoryJournal : public JournalFile {
public:
    // The file's bytes.
    std::string text;
    // Opening fails with this reason when it is set (a folder that cannot be made, ...).
    std::string refuseOpen;
    // Appends left before the disk is full; negative: never full.
    int appendsLeft = -1;
    // Another copy of the program has the file open: it cannot be replaced.
    bool heldByAnother = false;
    int replaced = 0;
    bool open = false;

    std::string Where() const override { return "memory"; }
    std::string Read() override { return text; }
    bool Open() override {
        if (!refuseOpen.empty()) throw JournalError(refuseOpen);
        if (!text.empty() && text.back() != '\n') text += '\n';
        open = true;
        return text.empty();
    }
    void Append(const std::string& lines) override {
        if (!open) throw JournalError("not open");
        if (appendsLeft == 0) throw JournalError("the disk is full");
        if (appendsLeft > 0) --appendsLeft;
        text += lines;
    }
    void FlushAndClose() override { open = false; }
    bool Replace(const Rewrite& rewrite) override {
        if (heldByAnother) return false;
        text = rewrite(text);
        ++replaced;
        return true;
    }
};

}  // namespace tarvello::testing
