#include "app/journal_file_bytes.h"

#include <algorithm>

#include "app/user_files.h"
#include "engine/numbers/errors.h"

namespace tarvello::app {
namespace {

// The line between `from` and `end` that begins as `first` does up to its first tab (a header),
// and after which no other does: where a later version of the journal took it over, before the
// part that follows. Empty when there is none.
std::string LastHeaderBefore(HANDLE file, const std::string& first, LONGLONG from, LONGLONG end) {
    const std::size_t tab = first.find('\t');
    if (tab == std::string::npos) return std::string();
    const std::string mark = "\n" + first.substr(0, tab + 1);
    // Searched from the end back, piece by piece, each overlapping the one after it by the
    // mark: the first found is the last, and an enormous file is read no further back.
    constexpr LONGLONG kPiece = 1 << 20;
    LONGLONG found = -1;
    for (LONGLONG stop = end; stop > from && found < 0; stop -= kPiece) {
        const LONGLONG at = std::max(from, stop - kPiece);
        const std::string piece =
            ReadRange(file, at, std::min<LONGLONG>(end, stop + static_cast<LONGLONG>(mark.size())));
        const std::size_t p = piece.rfind(mark);
        if (p != std::string::npos) found = at + static_cast<LONGLONG>(p) + 1;
    }
    if (found < 0) return std::string();
    const std::string line = ReadRange(file, found, std::min<LONGLONG>(end, found + 4096));
    const std::size_t feed = line.find('\n');
    return feed == std::string::npos ? std::string() : line.substr(0, feed + 1);
}

}  // namespace

void Fail(const std::string& doing, DWORD error) {
    throw JournalError(doing + ": " + SystemReason(error));
}

std::string ReadRange(HANDLE file, LONGLONG start, LONGLONG end) {
    LARGE_INTEGER at{};
    at.QuadPart = start;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) Fail("the journal could not be read");
    std::string text(static_cast<std::size_t>(end - start), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 20));
        if (!ReadFile(file, text.data() + done, want, &got, nullptr)) {
            Fail("the journal could not be read");
        }
        if (got == 0) break;
        done += got;
    }
    text.resize(done);
    return text;
}

LONGLONG SizeOf(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) Fail("the journal's size could not be read");
    return size.QuadPart;
}

std::string ReadWhole(HANDLE file, LONGLONG size, LONGLONG limit, LONGLONG headerSearch) {
    if (size <= limit) return ReadRange(file, 0, size);
    std::string first = ReadRange(file, 0, std::min<LONGLONG>(size, 4096));
    first.resize(first.find('\n') == std::string::npos ? 0 : first.find('\n') + 1);
    // From the byte before the part, so that a part that begins on a line keeps that line.
    std::string tail = ReadRange(file, size - limit - 1, size);
    const std::size_t skipped =
        tail.find('\n') == std::string::npos ? tail.size() : tail.find('\n') + 1;
    tail.erase(0, skipped);
    const LONGLONG tailAt = size - limit - 1 + static_cast<LONGLONG>(skipped);
    const LONGLONG searchFrom = std::max<LONGLONG>(0, tailAt - headerSearch);
    return first + LastHeaderBefore(file, first, searchFrom, tailAt) + tail;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool EndsALine(HANDLE file) {
    const LONGLONG size = SizeOf(file);
    return size == 0 || ReadRange(file, size - 1, size) == "\n";
}

std::uint64_t IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) Fail("the journal could not be read");
    const std::uint64_t index =
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    // 0 stands for a journal never read.
    return (index * 31 + info.dwVolumeSerialNumber) | 1;
}

}  // namespace tarvello::app
