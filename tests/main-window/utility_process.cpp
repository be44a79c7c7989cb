#include "tests/main-window/utility_process.h"

#include <shlobj.h>

#include "engine/numbers/text_util.h"
#include "tests/main-window/remote_window.h"
#include "tests/support/process_start.h"

namespace tarvello::ui::testing {

std::string Narrow(const std::wstring& text) {
    return Utf8Of(Text(text.begin(), text.end()));
}

Utility::~Utility() {
    if (!process_.hProcess) return;
    if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
    }
    Release();
}

bool Utility::Start(std::wstring* error) {
    Release();
    std::wstring commandLine = L"\"" + ToWindowsPath(TARVELLO_ROUNDING_EXE) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!launch::StartProcess(nullptr, commandLine.data(), FALSE, nullptr, &si, &process_)) {
        *error = L"cannot start " + commandLine;
        return false;
    }
    // The window exists once the program waits for input for the first time.
    WaitForInputIdle(process_.hProcess, 60000);
    window_ = FindWindowOfClass(process_.dwProcessId, L"TarvelloRoundingMain");
    if (!window_) *error = L"the utility's window did not appear";
    return window_ != nullptr;
}

void Utility::Kill() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 9);
    WaitForSingleObject(process_.hProcess, 20000);
    Release();
}

bool Utility::WaitExit(DWORD ms) const {
    return WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
}

void Utility::Release() {
    if (process_.hThread) CloseHandle(process_.hThread);
    if (process_.hProcess) CloseHandle(process_.hProcess);
    process_ = PROCESS_INFORMATION{};
    window_ = nullptr;
}

void ForgetJournal() {
    PWSTR local = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) {
        const std::wstring folder = std::wstring(local) + L"\\Tarvello Rounding Utility\\";
        for (const wchar_t* name :
             {L"journal-3.txt", L"journal-3.lock", L"journal.txt", L"journal.lock"}) {
            DeleteFileW((folder + name).c_str());
        }
    }
    CoTaskMemFree(local);
    DeleteFileW(KeptRulesPath().c_str());
}

std::wstring KeptRulesPath() {
    PWSTR roaming = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) {
        path = std::wstring(roaming) + L"\\Tarvello Rounding Utility\\price-rules.txt";
    }
    CoTaskMemFree(roaming);
    return path;
}

Rows CsvRows(const std::wstring& csv) {
    Rows rows;
    size_t start = 0;
    while (start < csv.size()) {
        size_t end = csv.find(L'\n', start);
        std::wstring line =
            csv.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty()) {
            std::vector<std::wstring> cells;
            size_t from = 0;
            for (;;) {
                size_t comma = line.find(L',', from);
                cells.push_back(line.substr(
                    from, comma == std::wstring::npos ? std::wstring::npos : comma - from));
                if (comma == std::wstring::npos) break;
                from = comma + 1;
            }
            rows.push_back(cells);
        }
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return rows;
}

Rows WaitForDocument(tarvello::testing::StandinProcess& host, const Rows& expected) {
    Rows now = CsvRows(host.ReadDump());
    for (const ULONGLONG deadline = GetTickCount64() + 60000;
         now != expected && GetTickCount64() < deadline; Sleep(200)) {
        now = CsvRows(host.ReadDump());
    }
    return now;
}

}  // namespace tarvello::ui::testing
