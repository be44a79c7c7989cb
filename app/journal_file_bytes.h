#pragma once
// The bytes of the journal's files (win_journal_file.h) as the journal reads them: a range, the
// size, the whole file or what stands for an enormous one, whether its last line is ended, and
// which file it is. Failures are JournalError, with the system's reason.

#include <windows.h>

#include <cstdint>
#include <string>

namespace tarvello::app {

// Throws JournalError: "<doing>: <the system's reason for error>".
[[noreturn]] void Fail(const std::string& doing, DWORD error = GetLastError());

// The bytes from `start` up to `end` (fewer when the file ends before).
std::string ReadRange(HANDLE file, LONGLONG start, LONGLONG end);
LONGLONG SizeOf(HANDLE file);

// The whole file of `size` bytes; beyond `limit` its first line (which says its version), the
// last line before its last part that begins as the first does up to its first tab (the header
// that says the version of that part, where a later version took the journal over), looked for
// no further back than `headerSearch` bytes before that part, and that part, from its first
// whole line on: at most about `limit` + `headerSearch` bytes are read, whatever the size.
std::string ReadWhole(HANDLE file, LONGLONG size, LONGLONG limit, LONGLONG headerSearch);

bool Exists(const std::wstring& path);
// True when the file is empty or its last line is ended.
bool EndsALine(HANDLE file);
// Names the file, so that a rewritten journal (a new file in the old one's place) is known.
std::uint64_t IdentityOf(HANDLE file);

}  // namespace tarvello::app
