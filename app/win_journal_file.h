#pragma once
// The journal of Rounds on disk: one plain-text file in the user's own profile,
// %LOCALAPPDATA%\Tarvello Rounding Utility\journal.txt (it holds prices of customer quotes: never
// the program's folder or a shared place). Copies of the program append to it side by side,
// each write one whole line, each holding a shared lock on journal.lock beside it meanwhile; it
// is rewritten only by a copy that gets that lock to itself.

#include <windows.h>

#include <functional>
#include <string>

#include "engine/journal_file.h"
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
    // How much of a write of `wanted` bytes the disk takes, for tests that fill it: less than
    // asked, and the write puts down only that much and fails, as on a full disk.
    std::function<std::size_t(std::size_t wanted)> diskTakes;

private:
    void Write(HANDLE file, const std::string& text, const char* doing);

    std::wstring folder_;
    std::wstring path_;
    // Open for appending between Open and FlushAndClose, with the lock file locked shared.
    ui::ScopedFile file_;
    ui::ScopedFile lock_;
    // A write was cut off and its fragment could not be ended: nothing more may follow it.
    bool broken_ = false;
};

// The user's own folder for the journal: %LOCALAPPDATA%\Tarvello Rounding Utility.
std::wstring JournalFolder();

}  // namespace tarvello::app
