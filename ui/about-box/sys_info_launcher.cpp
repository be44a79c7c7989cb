// The System Info button: find the system information tool through the registry and start
// it as a program of its own, or say that it is unavailable.

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "ui/about-box/sys_info_launcher.h"

#include "identity/identity.h"
#include "ui/about-box/registry_value_text.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui {

namespace {

constexpr DWORD kValueBufferSize = 1024;
constexpr const char kToolFileName[] = "\\MSINFO32.EXE";
constexpr const wchar_t kUnavailable[] = L"System Information Is Unavailable At This Time";

// Only a plain file counts: a folder, a hidden or a system file of that name does not.
bool IsNormalFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

// The path is the application name, never parsed out of a command line: a path with spaces
// could otherwise start "C:\Program.exe". The tool runs on its own; it is neither waited for
// nor tracked.
bool StartProgram(const std::string& path) {
    std::string commandLine = "\"" + path + "\"";
    std::vector<char> commandBuffer(commandLine.begin(), commandLine.end());
    commandBuffer.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), commandBuffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    ScopedHandleKernel processHandle(process.hProcess);
    ScopedHandleKernel threadHandle(process.hThread);
    // The tool's window is meant to take the focus from this one.
    AllowSetForegroundWindow(process.dwProcessId);
    return true;
}

}  // namespace

bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal) {
    // Reading is all the lookup needs; asking for more is refused to standard users on
    // HKEY_LOCAL_MACHINE.
    ScopedKey key;
    if (RegOpenKeyExA(KeyRoot, KeyName.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }

    unsigned char buffer[kValueBufferSize] = {};
    DWORD size = kValueBufferSize;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), SubKeyRef.c_str(), nullptr, &type, buffer, &size) !=
        ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }

    std::string valueText = ValueBytesToText(buffer, size);
    switch (type) {
        case REG_SZ:
            KeyVal = valueText;
            break;
        case REG_DWORD:
            KeyVal = DwordValueText(KeyVal, valueText);
            break;
        default:
            // Read, but not a kind the launcher understands: KeyVal keeps what it held.
            break;
    }
    return true;
}

void StartSysInfo(HWND owner, const SysInfoSettings& where, MessagePresenter& messages) {
    bool started = false;
    try {
        std::string toolPath;
        if (GetKeyValue(where.root, where.pathKey, where.pathValue, toolPath)) {
            // Place 1 names the program itself: it is started as read, without a look first.
            started = StartProgram(toolPath);
        } else if (GetKeyValue(where.root, where.folderKey, where.folderValue, toolPath)) {
            std::string composed = toolPath + kToolFileName;
            started = IsNormalFile(composed) && StartProgram(composed);
        }
    } catch (const std::exception&) {
        started = false;
    }
    if (started) return;

    // No icon: the tool is merely missing, nothing went wrong.
    messages.Show(owner, kUnavailable, L"" TARVELLO_TITLE, 0);
}

}  // namespace tarvello::ui
