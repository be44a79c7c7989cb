#pragma once
// The file behind the journal of Rounds, as the platform keeps it. The history (round_history.h)
// says what goes into it; the Windows build keeps it in the user's local application data, and
// tests keep it in memory.

#include <functional>
#include <string>

namespace tarvello {

class JournalFile {
public:
    virtual ~JournalFile() = default;

    // Where the journal is, for the user ("C:\Users\...\rounds.journal").
    virtual std::string Where() const = 0;
    // What the file holds now (its last part only, when it is enormous); empty when there is no
    // file yet. Throws JournalError when it is there but cannot be read.
    virtual std::string Read() = 0;
    // Opens the file for appending, creating its folder and itself on first need. A file whose
    // last line was cut off gets a line feed, so that what is appended starts a line of its
    // own. True when the file is empty (new). Throws JournalError.
    virtual bool Open() = 0;
    // Hands whole lines to the system at the end of the file (one write each call), so that a
    // program killed afterwards has lost none of them. Throws JournalError.
    virtual void Append(const std::string& lines) = 0;
    // Makes what was appended durable, then closes the file. Throws JournalError.
    virtual void FlushAndClose() = 0;
    // Replaces the whole file with what `rewrite` makes of what it holds, at once: afterwards it
    // holds either what it held or the new text, never a mixture, whenever the program is
    // stopped. Nobody can write to it in between. False, and the file as it was, when another
    // copy of the program has it open. Throws JournalError.
    using Rewrite = std::function<std::string(const std::string& held)>;
    virtual bool Replace(const Rewrite& rewrite) = 0;
};

}  // namespace tarvello
