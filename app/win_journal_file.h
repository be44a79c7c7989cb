#pragma once
// The journal of Rounds on disk: one plain-text file in the user's own profile,
// %LOCALAPPDATA%\Tarvello Rounding Utility\journal-3.txt (it holds prices of customer quotes:
// never the program's folder or a shared place). Copies of the program append to it side by
// side, each write whole lines, each holding a shared lock on journal-3.lock beside it meanwhile
// (and a second byte of it to itself while it appends); it is rewritten only by a copy that gets
// that lock to itself. The journal.txt of earlier versions, which earlier releases keep writing,
// is read once, when journal-3.txt is first needed, and never written.

#include <windows.h>

#include <functional>
#include <string>

#include "engine/journal/journal_file.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::app {

class WinJournalFile : public JournalFile {
public:
    // The file in `folder` (created on first need); the user's local application data when
    // `folder` is empty.
    explicit WinJournalFile(std::wstring folder = L"");
    WinJournalFile(const WinJournalFile&) = delete;
    WinJournalFile& operator=(const WinJournalFile&) = delete;

    std::string Where() const override;
    JournalChunk ReadSince(const JournalPlace& since) override;
    void Open() override;
    void Append(const std::string& lines) override;
    void FlushAndClose() override;
    bool Replace(const Rewrite& rewrite) override;

    // The steps of Replace, for tests that stop it part-way as a killed program would.
    enum class ReplaceStep { NewFileOpened, NewFileWritten, NewFileFlushed, Replaced };
    std::function<void(ReplaceStep)> onReplaceStep;

    // Beyond this only the first line and the end of a file are read: a journal never grows so
    // large, whatever put it there. Tests set a smaller one.
    LONGLONG readLimit = 64LL * 1024 * 1024;
    // How far back before that end the header that says its version is looked for: a journal
    // whose only header is its first line is not read back to it.
    LONGLONG headerSearch = 4LL * 1024 * 1024;
    // How much of a write of `wanted` bytes the disk takes, for tests that fill it: less than
    // asked, and the write puts down only that much and fails, as on a full disk.
    std::function<std::size_t(std::size_t wanted)> diskTakes;

private:
    void Write(HANDLE file, const std::string& text, const char* doing);
    std::wstring WriteBeside(const std::string& text);
    void Step(ReplaceStep done) const;
    void TakeOverEarlier();

    std::wstring folder_;
    std::wstring path_;
    // The journal of earlier versions (journal.txt), read once.
    std::wstring earlierPath_;
    // Open for appending between Open and FlushAndClose, with the lock file locked shared.
    ui::ScopedFile file_;
    ui::ScopedFile lock_;
    // A write was cut off and its fragment could not be ended: nothing more may follow it.
    bool broken_ = false;
};

// The user's own folder for the journal: %LOCALAPPDATA%\Tarvello Rounding Utility.
std::wstring JournalFolder();

}  // namespace tarvello::app
