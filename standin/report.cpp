#include "standin/report.h"

#include <windows.h>

#include "standin/text_file.h"

namespace tarvello::standin {

void Report(bool quiet, const std::wstring& message) {
    if (!quiet) {
        MessageBoxW(nullptr, message.c_str(), L"Tarvello (stand-in)", MB_OK | MB_ICONERROR);
        return;
    }
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (!err || err == INVALID_HANDLE_VALUE) return;
    std::string bytes = ToUtf8(message) + "\r\n";
    DWORD written = 0;
    WriteFile(err, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace tarvello::standin
