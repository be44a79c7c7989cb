#pragma once
// Where the About box looks for the system information tool and how it tells the user that
// the tool is unavailable. The defaults are the program's own; tests point the lookup at a
// scratch key and capture the message instead of showing it.

#include <windows.h>

#include <functional>
#include <string>

namespace tarvello::ui {

using MessagePresenter =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;

struct SysInfoSettings {
    HKEY root = HKEY_LOCAL_MACHINE;
    // Place 1 names the tool's program file, place 2 the folder that holds it.
    std::string pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    std::string pathValue = "PATH";
    std::string folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    std::string folderValue = "MSINFO";
    // Null: a real MessageBoxA.
    MessagePresenter showMessage;
};

}  // namespace tarvello::ui
