#include "app/win_journal_file.h"

#include "app/journal_file_bytes.h"
#include "app/user_files.h"
#include "engine/numbers/errors.h"
#include "engine/numbers/text_util.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::app {
namespace {

// Each version of the journal that an earlier release cannot read lives in a file of its own
// name, which earlier releases never open (journal_file.h).
constexpr wchar_t kFileName[] = L"journal-3.txt";
constexpr wchar_t kLockName[] = L"journal-3.lock";
// The journal of versions 1 and 2, which earlier releases keep writing: read once, never
// written.
constexpr wchar_t kEarlierFileName[] = L"journal.txt";
// The bytes of the lock file: the first locked shared by the copies that write and had by one
// that rewrites; the second had by one copy at a time while it appends.
constexpr DWORD kWritingByte = 0;
constexpr DWORD kAppendingByte = 1;
// Another copy may hold the file for a moment (while it rewrites it): so long it is waited for.
constexpr DWORD kWaitForOtherCopyMs = 2000;

// Opens `path`, waiting a little while another copy holds it in a way that shuts this one out.
HANDLE OpenWaiting(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    const ULONGLONG deadline = GetTickCount64() + kWaitForOtherCopyMs;
    for (;;) {
        HANDLE file = CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION ||
            GetTickCount64() >= deadline) {
            return file;
        }
        Sleep(20);
    }
}

// Locks a byte of the lock file; a copy holds one exclusively for a moment only, so another
// waits a little.
bool Lock(HANDLE lock, DWORD byte, bool exclusive, DWORD waitMs) {
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    for (;;) {
        OVERLAPPED at{};
        at.Offset = byte;
        const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
        if (LockFileEx(lock, flags, 0, 1, 0, &at)) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

// Holds the appending byte for one append.
class AppendingLock {
public:
    explicit AppendingLock(HANDLE lock) : lock_(lock) {
        if (!Lock(lock_, kAppendingByte, true, kWaitForOtherCopyMs)) {
            throw JournalError("another copy of the utility did not finish writing it");
        }
    }
    ~AppendingLock() {
        OVERLAPPED at{};
        at.Offset = kAppendingByte;
        UnlockFileEx(lock_, 0, 1, 0, &at);
    }
    AppendingLock(const AppendingLock&) = delete;
    AppendingLock& operator=(const AppendingLock&) = delete;

private:
    HANDLE lock_;
};

}  // namespace

std::wstring JournalFolder() {
    return ProgramFolderIn(FOLDERID_LocalAppData);
}

// The lock file, made on first need.
ui::ScopedFile OpenLock(const std::wstring& folder) {
    ui::ScopedFile lock(CreateFileW((folder + L"\\" + kLockName).c_str(),
                                    GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!lock) Fail("its lock file could not be opened");
    return lock;
}

WinJournalFile::WinJournalFile(std::wstring folder)
    : folder_(folder.empty() ? JournalFolder() : std::move(folder)),
      path_(folder_ + L"\\" + kFileName),
      earlierPath_(folder_ + L"\\" + kEarlierFileName) {}

std::string WinJournalFile::Where() const {
    return Utf8(path_);
}

JournalChunk WinJournalFile::ReadSince(const JournalPlace& since) {
    TakeOverEarlier();
    // Copies of the program never shut a reader out: what does is another program, and the
    // menus that read the journal do not wait for it.
    ui::ScopedFile file(CreateFileW(path_.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    JournalChunk chunk;
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return chunk;
        Fail("the journal could not be opened", error);
    }
    const LONGLONG size = SizeOf(file.get());
    chunk.end = {IdentityOf(file.get()), static_cast<std::uint64_t>(size)};
    const auto from = static_cast<LONGLONG>(since.offset);
    chunk.fromStart = since.file != chunk.end.file || from > size || size - from > readLimit;
    chunk.text = chunk.fromStart ? ReadWhole(file.get(), size, readLimit, headerSearch)
                                 : ReadRange(file.get(), from, size);
    return chunk;
}

void WinJournalFile::Write(HANDLE file, const std::string& text, const char* doing) {
    const DWORD want =
        static_cast<DWORD>(diskTakes ? std::min(diskTakes(text.size()), text.size()) : text.size());
    DWORD written = 0;
    const BOOL done = WriteFile(file, text.data(), want, &written, nullptr);
    const DWORD error = done ? ERROR_DISK_FULL : GetLastError();
    if (done && written == text.size()) return;
    Fail(doing, error);
}

void WinJournalFile::Open() {
    if (file_) return;
    if (folder_.empty()) throw JournalError("the folder for it could not be found");
    if (!CreateDirectoryW(folder_.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(folder_.c_str());
        if (error != ERROR_ALREADY_EXISTS)
            Fail("its folder " + Utf8(folder_) + " could not be made");
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            throw JournalError("its folder " + Utf8(folder_) +
                               " could not be made: a file of that name is in the way");
        }
    }
    TakeOverEarlier();
    ui::ScopedFile lock = OpenLock(folder_);
    if (!Lock(lock.get(), kWritingByte, false, kWaitForOtherCopyMs)) {
        throw JournalError("another copy of the utility is rewriting it");
    }
    // Appending only, beside other copies.
    ui::ScopedFile file(OpenWaiting(path_, FILE_APPEND_DATA | GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    OPEN_ALWAYS));
    if (!file) Fail("it could not be opened");
    // A last line cut off when a program stopped is ended so that it never reads as whole,
    // whatever comes after it; what follows starts a line of its own. Under the appending
    // lock, so that another copy appending meanwhile does not end the same line again.
    {
        AppendingLock appending(lock.get());
        if (!EndsALine(file.get())) Write(file.get(), kCutOffEnding, "it could not be written");
    }
    // Held only once it is open whole: a failure on the way lets go of the file and the lock.
    file_ = std::move(file);
    lock_ = std::move(lock);
    broken_ = false;
}

void WinJournalFile::Append(const std::string& lines) {
    if (!file_) throw JournalError("it is not open");
    if (broken_) throw JournalError("a line cut off in it could not be ended");
    // One copy at a time: a line another copy cut off and could not end (a full disk) is ended
    // first, so that these lines are never glued to it.
    AppendingLock appending(lock_.get());
    try {
        Write(file_.get(), EndsALine(file_.get()) ? lines : kCutOffEnding + lines,
              "it could not be written");
    } catch (const JournalError&) {
        // What was put down of the lines must never read as whole, nor have the next line
        // glued to it; when it cannot be ended, nothing more is appended.
        try {
            Write(file_.get(), kCutOffEnding, "it could not be written");
        } catch (const JournalError&) {
            broken_ = true;
        }
        throw;
    }
}

void WinJournalFile::FlushAndClose() {
    if (!file_) return;
    const bool flushed = FlushFileBuffers(file_.get());
    const DWORD error = GetLastError();
    file_.reset();
    lock_.reset();  // closing the lock file lets its lock go
    if (!flushed) Fail("it could not be saved to disk", error);
}

bool WinJournalFile::Replace(const Rewrite& rewrite) {
    // Only with every other copy's writing finished, and none beginning meanwhile.
    ui::ScopedFile lock = OpenLock(folder_);
    if (!Lock(lock.get(), kWritingByte, true, 0)) return false;
    ui::ScopedFile held(OpenWaiting(path_, GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    OPEN_EXISTING));
    if (!held) Fail("it could not be opened for rewriting");
    const std::string text =
        rewrite(ReadWhole(held.get(), SizeOf(held.get()), readLimit, headerSearch));
    held.reset();
    const std::wstring fresh = WriteBeside(text);
    // A copy reading it for a moment may be in the way.
    const ULONGLONG deadline = GetTickCount64() + kWaitForOtherCopyMs;
    while (!MoveFileExW(fresh.c_str(), path_.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        if (GetTickCount64() >= deadline ||
            (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
            DeleteFileW(fresh.c_str());
            Fail("the new journal could not take the old one's place", error);
        }
        Sleep(20);
    }
    Step(ReplaceStep::Replaced);
    return true;
}

// The new journal is whole on disk before it takes the place of the old one, or of none. Called
// with the lock file's first byte had.
std::wstring WinJournalFile::WriteBeside(const std::string& text) {
    const std::wstring fresh = path_ + L".new";
    ui::ScopedFile file(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("a new journal could not be made");
    Step(ReplaceStep::NewFileOpened);
    Write(file.get(), text, "a new journal could not be written");
    Step(ReplaceStep::NewFileWritten);
    if (!FlushFileBuffers(file.get())) Fail("a new journal could not be saved to disk");
    Step(ReplaceStep::NewFileFlushed);
    return fresh;
}

void WinJournalFile::Step(ReplaceStep done) const {
    if (onReplaceStep) onReplaceStep(done);
}

// The first time this version's journal is needed, it begins as what the journal of the earlier
// versions holds (its whole lines; an enormous one as ReadWhole reads it), which is never
// written: earlier releases running beside this one keep all their records, and this one all
// of its own. Rounds an earlier release makes afterwards stay in its journal.
void WinJournalFile::TakeOverEarlier() {
    if (Exists(path_)) return;
    ui::ScopedFile earlier(CreateFileW(earlierPath_.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!earlier) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
        Fail("the journal of an earlier version could not be read", error);
    }
    std::string text = ReadWhole(earlier.get(), SizeOf(earlier.get()), readLimit, headerSearch);
    earlier.reset();
    text.resize(text.rfind('\n') + 1);  // a line an earlier release is still writing stays out
    if (text.empty()) return;
    ui::ScopedFile lock = OpenLock(folder_);
    if (!Lock(lock.get(), kWritingByte, true, kWaitForOtherCopyMs)) {
        if (Exists(path_)) return;
        throw JournalError("another copy of the utility holds it");
    }
    if (Exists(path_)) return;  // another copy took it over meanwhile
    const std::wstring fresh = WriteBeside(text);
    if (!MoveFileExW(fresh.c_str(), path_.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(fresh.c_str());
        Fail("the journal of an earlier version could not be taken over", error);
    }
}

}  // namespace tarvello::app
