#include "app/user_files.h"

#include "engine/numbers/text_util.h"
#include "identity/identity.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::app {
namespace {

// A file this small is read whole; anything larger is no file of ours.
constexpr DWORD kLargest = 1 << 20;

}  // namespace

std::wstring ProgramFolderIn(REFKNOWNFOLDERID known) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(known, KF_FLAG_CREATE, nullptr, &path))) folder = path;
    CoTaskMemFree(path);
    return folder.empty() ? folder : folder + L"\\" TARVELLO_TITLE;
}

std::string Utf8(const std::wstring& text) {
    return Utf8Of(Text(text.begin(), text.end()));
}

// Shared for writing and deleting too: a colleague saving the file, or another copy of this
// program putting a new one in its place, keeps no one from reading it (a file read half-written
// does not read as rules, and the next read has it whole).
std::optional<std::string> ReadSmallFile(const std::wstring& path, std::string& why, DWORD& error) {
    ui::ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        error = GetLastError();
        why = SystemReason(error);
        return std::nullopt;
    }
    if (size.QuadPart > kLargest) {
        error = 0;
        why = "it is too large to be a file of this utility";
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) {
        error = GetLastError();
        why = SystemReason(error);
        return std::nullopt;
    }
    text.resize(got);
    return text;
}

std::string SystemReason(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'.' ||
                             text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) return "system error " + std::to_string(error);
    return Utf8(text);
}

}  // namespace tarvello::app
