#pragma once
// Where the About box looks for the system information tool. The defaults are the program's
// own; tests point the lookup at a scratch key.

#include <windows.h>

#include <string>

namespace tarvello::ui {

struct SysInfoSettings {
    HKEY root = HKEY_LOCAL_MACHINE;
    // Place 1 names the tool's program file, place 2 the folder that holds it.
    std::string pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    std::string pathValue = "PATH";
    std::string folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    std::string folderValue = "MSINFO";
};

}  // namespace tarvello::ui
