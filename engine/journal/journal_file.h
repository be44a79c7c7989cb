#pragma once
// The file behind the journal of Rounds, as the platform keeps it. The history (round_history.h)
// says what goes into it; the Windows build keeps it in the user's local application data
// (app/win_journal_file.h), and tests keep it in memory.

#include <cstdint>
#include <functional>
#include <string>

namespace tarvello {

// How far the journal has been read: in which file (another file once the journal has been
// rewritten) and up to which byte.
struct JournalPlace {
    std::uint64_t file = 0;
    std::uint64_t offset = 0;
};

// What a read brought.
struct JournalChunk {
    std::string text;
    // The text is the journal from its start (its first line, the last line before its last
    // part that begins as the first does, and that part, when it is enormous), not only what came
    // after the place asked for: the file was rewritten or never read.
    bool fromStart = true;
    // The place right after the text.
    JournalPlace end;
};

class JournalFile {
public:
    virtual ~JournalFile() = default;

    // Where the journal is, for the user ("C:\Users\...\journal-3.txt").
    virtual std::string Where() const = 0;
    // What was appended after `since`; the whole journal when `since` is in another file than
    // the journal now, or beyond its end. Empty when there is no file yet. Throws JournalError
    // when it is there but cannot be read. The journal an earlier version of the program kept in
    // a file of another name is taken over on first need (by this or Open): this one begins as
    // what that one holds, and that one is never written.
    virtual JournalChunk ReadSince(const JournalPlace& since) = 0;
    // Opens the file for appending, creating its folder and itself on first need. A last line
    // cut off when a program stopped is ended so that it can never read as whole, and what is
    // appended starts a line of its own. Throws JournalError, holding nothing when it does.
    virtual void Open() = 0;
    // Hands whole lines to the system at the end of the file (one write each call), so that a
    // program killed afterwards has lost none of them; they start a line of their own, whatever
    // another copy left unended. Throws JournalError when they could not all be written; what
    // was cut off is then never read as a whole line.
    virtual void Append(const std::string& lines) = 0;
    // Makes what was appended durable, then closes the file. Throws JournalError.
    virtual void FlushAndClose() = 0;
    // Replaces the whole file with what `rewrite` makes of what it holds (its first line, the
    // last header before its last part and that part, when enormous), at once: afterwards it holds
    // either what it held or the new text, never a mixture, whenever the program is stopped. Nobody
    // can write to it in between. False, and the file as it was, when another copy of the program
    // has it open. Throws JournalError.
    using Rewrite = std::function<std::string(const std::string& held)>;
    virtual bool Replace(const Rewrite& rewrite) = 0;
};

// What a line cut off when a program stopped is ended with: a field no line of the journal has
// there, so that the line never reads as whole, in any version.
constexpr char kCutOffEnding[] = "\tcut off\n";

}  // namespace tarvello
