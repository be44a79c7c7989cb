#include "app/user_files.h"

#include "engine/numbers/text_util.h"
#include "identity/identity.h"

namespace tarvello::app {

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
