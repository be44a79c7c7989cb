#pragma once
// UTF-8 text files: whole-file reads, whole-file replacement, and an append-only log whose
// every line reaches the file at once (the process may be ended abruptly on purpose).

#include <windows.h>

#include <string>

namespace tarvello::standin {

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

bool ReadTextFile(const std::wstring& path, std::wstring* text, std::wstring* error);
// Writes beside the target and moves over it, so a reader never sees half a file.
bool ReplaceTextFile(const std::wstring& path, const std::wstring& text);

class AppendFile {
public:
    AppendFile() = default;
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    ~AppendFile();

    bool Open(const std::wstring& path);
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void WriteLine(const std::wstring& line);

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// "error 5: Access is denied." for a Win32 or HRESULT code.
std::wstring SystemMessage(DWORD code);

}  // namespace tarvello::standin
