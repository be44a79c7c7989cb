#include "app/roaming_file.h"

#include <windows.h>

#include "app/user_files.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::app {

RoamingFile::RoamingFile(std::wstring name, std::wstring folder)
    : folder_(folder.empty() ? ProgramFolderIn(FOLDERID_RoamingAppData) : std::move(folder)),
      path_(folder_ + L"\\" + name) {}

std::string RoamingFile::Where() const {
    return Utf8(path_);
}

std::optional<std::string> RoamingFile::Read(std::string& why) {
    DWORD error = 0;
    std::optional<std::string> text = ReadSmallFile(path_, why, error);
    // No file is no rules kept yet, not a failure.
    if (!text && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)) why.clear();
    return text;
}

// Through a new file that takes the old one's place: a program stopped in between leaves the
// old rules or the new, never half of them.
bool RoamingFile::Write(const std::string& text, std::string& why) {
    if (folder_.empty()) {
        why = "the folder for it could not be found";
        return false;
    }
    if (!CreateDirectoryW(folder_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        why = SystemReason(GetLastError());
        return false;
    }
    const std::wstring fresh = path_ + L".new";
    {
        ui::ScopedFile file(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file ||
            !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                       nullptr) ||
            written != text.size() || !FlushFileBuffers(file.get())) {
            why = SystemReason(GetLastError());
            file.reset();
            DeleteFileW(fresh.c_str());
            return false;
        }
    }
    if (!MoveFileExW(fresh.c_str(), path_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        why = SystemReason(GetLastError());
        DeleteFileW(fresh.c_str());
        return false;
    }
    return true;
}

bool RoamingFile::KeepAside(const std::string& suffix, std::string& where, std::string& why) {
    const std::wstring aside = path_ + std::wstring(suffix.begin(), suffix.end());
    where = Utf8(aside);
    if (CopyFileW(path_.c_str(), aside.c_str(), FALSE)) return true;
    why = SystemReason(GetLastError());
    return false;
}

}  // namespace tarvello::app
