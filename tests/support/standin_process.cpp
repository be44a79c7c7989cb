#include "tests/support/standin_process.h"
#include "standin/quote_menu.h"
#include "tests/support/launch.h"
#include "tests/support/process_start.h"

#include <utility>

namespace tarvello::testing {
namespace {

constexpr wchar_t kWindowClass[] = L"TarvelloStandinWindow";

using launch::Widen;

// A Unix path (what the build knows under Wine) seen from Windows: Z: is the root.
std::wstring ToWindowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Quotes one argument so that CommandLineToArgvW gives it back unchanged.
std::wstring QuoteArg(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') backslashes = backslashes * 2 + 1;
        out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

bool HasOption(const std::vector<std::wstring>& args, const wchar_t* name, std::wstring* value) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) {
            *value = args[i + 1];
            return true;
        }
    }
    return false;
}

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Waits for `process` to end while keeping this thread's messages flowing (a test thread
// is a COM apartment of its own).
bool WaitProcess(HANDLE process, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD left = elapsed >= ms ? 0 : ms - elapsed;
        DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false;
        PumpMessages();
    }
}

struct Launched {
    HANDLE process = nullptr;
    DWORD pid = 0;
};

std::optional<Launched> Launch(const std::vector<std::wstring>& args,
                               const std::wstring& stderrPath, std::wstring* error) {
    std::wstring exe = StandinPath();
    std::wstring cmd = QuoteArg(exe);
    for (const auto& a : args) cmd += L" " + QuoteArg(a);

    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE err = CreateFileW(stderrPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = err;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    BOOL ok = launch::StartProcess(exe.c_str(), cmd.data(), TRUE, nullptr, &si, &pi);
    DWORD lastError = GetLastError();
    if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
    if (!ok) {
        if (error)
            *error = L"cannot start " + exe + L" (error " + std::to_wstring(lastError) + L")";
        return std::nullopt;
    }
    CloseHandle(pi.hThread);
    return Launched{pi.hProcess, pi.dwProcessId};
}

}  // namespace

std::wstring StandinPath() {
    wchar_t env[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(L"TARVELLO_STANDIN_EXE", env, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2) return ToWindowsPath(env);
#ifdef TARVELLO_STANDIN_EXE
    std::wstring built = ToWindowsPath(Widen(TARVELLO_STANDIN_EXE));
    if (FileExists(built)) return built;
#endif
    wchar_t self[MAX_PATH * 2];
    DWORD len = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    std::wstring dir(self, len);
    size_t slash = dir.find_last_of(L"\\/");
    dir = slash == std::wstring::npos ? L"." : dir.substr(0, slash);
    return dir + L"\\TarvelloStandin.exe";
}

std::optional<TempDir> TempDir::Create(std::wstring* error) {
    wchar_t base[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, base);
    if (n == 0) {
        if (error) *error = L"no temporary directory";
        return std::nullopt;
    }
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring path = std::wstring(base) + L"tarvello-test-" +
                            std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++counter);
        if (CreateDirectoryW(path.c_str(), nullptr)) return TempDir(path);
    }
    if (error) *error = L"cannot create a temporary folder";
    return std::nullopt;
}

TempDir::TempDir(TempDir&& other) noexcept : path_(std::exchange(other.path_, std::wstring())) {}

TempDir& TempDir::operator=(TempDir&& other) noexcept {
    if (this != &other) {
        if (!path_.empty()) RemoveTree(path_);
        path_ = std::exchange(other.path_, std::wstring());
    }
    return *this;
}

TempDir::~TempDir() {
    if (!path_.empty()) RemoveTree(path_);
}

std::wstring TempDir::WriteFile(const std::wstring& name, const std::string& utf8) const {
    std::wstring path = File(name);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    DWORD written = 0;
    BOOL ok = ::WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == utf8.size() ? path : std::wstring();
}

std::wstring ReadTextFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(h);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    return Widen(bytes);
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
    std::wstring text = ReadTextFile(path);
    std::vector<std::wstring> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(L'\n', pos);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(line);
        pos = end + 1;
    }
    return lines;
}

std::optional<StandinProcess> StandinProcess::Start(std::vector<std::wstring> args,
                                                    std::wstring* error, const StandinStart& how) {
    StandinProcess p;
    p.dir_ = TempDir::Create(error);
    if (!p.dir_) return std::nullopt;
    std::wstring ready = p.dir_->File(L"ready.txt");
    p.stderrPath_ = p.dir_->File(L"stderr.txt");
    if (!HasOption(args, L"--dump", &p.dumpPath_) && how.dump) {
        p.dumpPath_ = p.dir_->File(L"dump.csv");
        args.insert(args.end(), {L"--dump", p.dumpPath_});
    }
    if (!HasOption(args, L"--log", &p.logPath_) && how.log) {
        p.logPath_ = p.dir_->File(L"calls.log");
        args.insert(args.end(), {L"--log", p.logPath_});
    }
    args.insert(args.end(), {L"--quiet", L"--ready-file", ready});

    auto launched = Launch(args, p.stderrPath_, error);
    if (!launched) return std::nullopt;
    p.process_ = launched->process;
    p.processId_ = launched->pid;

    DWORD start = GetTickCount();
    while (!FileExists(ready)) {
        if (WaitProcess(p.process_, 50)) {
            DWORD code = 0;
            GetExitCodeProcess(p.process_, &code);
            if (error)
                *error = L"the stand-in ended with exit code " + std::to_wstring(code) +
                         L" before it was ready: " + p.ReadStderr();
            return std::nullopt;
        }
        if (GetTickCount() - start > how.readyTimeoutMs) {
            if (error) *error = L"the stand-in did not get ready in time";
            return std::nullopt;  // the destructor ends it
        }
    }
    return p;
}

std::optional<DWORD> StandinProcess::RunToExit(std::vector<std::wstring> args, DWORD timeoutMs,
                                               std::wstring* stderrText, std::wstring* error) {
    auto dir = TempDir::Create(error);
    if (!dir) return std::nullopt;
    args.push_back(L"--quiet");
    std::wstring errPath = dir->File(L"stderr.txt");
    auto launched = Launch(args, errPath, error);
    if (!launched) return std::nullopt;
    std::optional<DWORD> result;
    if (WaitProcess(launched->process, timeoutMs)) {
        DWORD code = 0;
        GetExitCodeProcess(launched->process, &code);
        result = code;
    } else {
        if (error) *error = L"the stand-in did not end in time";
        TerminateProcess(launched->process, 1);
        WaitForSingleObject(launched->process, 5000);
    }
    CloseHandle(launched->process);
    if (stderrText) *stderrText = ReadTextFile(errPath);
    return result;
}

StandinProcess& StandinProcess::operator=(StandinProcess&& other) noexcept {
    if (this != &other) {
        Release();
        dir_ = std::move(other.dir_);
        process_ = std::exchange(other.process_, nullptr);
        processId_ = std::exchange(other.processId_, 0);
        dumpPath_ = std::move(other.dumpPath_);
        logPath_ = std::move(other.logPath_);
        stderrPath_ = std::move(other.stderrPath_);
    }
    return *this;
}

StandinProcess::~StandinProcess() {
    Release();
}

void StandinProcess::Release() {
    if (!process_) return;
    if (Running() && !Close(10000)) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

bool StandinProcess::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND StandinProcess::Window() const {
    return launch::FindWindowOfClass(processId_, kWindowClass);
}

bool StandinProcess::Close(DWORD timeoutMs) {
    if (!process_) return false;
    if (Running()) {
        HWND hwnd = Window();
        if (!hwnd) return false;
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    return WaitExit(timeoutMs) == 0;
}

bool StandinProcess::ShowQuote(int n) {
    HWND hwnd = Window();
    if (!hwnd || n < 0 || n > 0xFFFF - standin::kQuoteCommandBase) return false;
    DWORD_PTR answer = 1;
    // Sent, not posted: the stand-in has shown and dumped the quote before it answers.
    return SendMessageTimeoutW(hwnd, WM_COMMAND, MAKEWPARAM(standin::kQuoteCommandBase + n, 0), 0,
                               SMTO_ABORTIFHUNG, 20000, &answer) != 0 &&
           answer == 0;
}

DWORD StandinProcess::WaitExit(DWORD ms) {
    if (!process_ || !WaitProcess(process_, ms)) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::wstring StandinProcess::ReadStderr() const {
    return ReadTextFile(stderrPath_);
}

}  // namespace tarvello::testing
