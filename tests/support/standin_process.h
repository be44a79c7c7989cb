#pragma once
// Starting and stopping the stand-in Tarvello host from tests: a private temporary folder,
// the process launched with a ready file, and a clean close through its window.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tarvello::testing {

// The stand-in's executable as a Windows path: TARVELLO_STANDIN_EXE from the environment,
// else the path the build compiled in, else TarvelloStandin.exe beside the running program.
std::wstring StandinPath();

// A fresh folder under the temporary directory, removed with everything in it.
class TempDir {
public:
    static std::optional<TempDir> Create(std::wstring* error);
    TempDir(TempDir&& other) noexcept;
    TempDir& operator=(TempDir&& other) noexcept;
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::wstring& path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Writes `utf8` to File(name) and returns that path (empty on failure).
    std::wstring WriteFile(const std::wstring& name, const std::string& utf8) const;

private:
    explicit TempDir(std::wstring path) : path_(std::move(path)) {}
    std::wstring path_;
};

// Whole file as text (UTF-8 decoded, a leading byte-order mark dropped); empty when missing.
std::wstring ReadTextFile(const std::wstring& path);
// The file's lines without their line ends.
std::vector<std::wstring> ReadLines(const std::wstring& path);

struct StandinStart {
    bool dump = true;              // add --dump in the private folder (unless args have one)
    bool log = true;               // add --log in the private folder (unless args have one)
    DWORD readyTimeoutMs = 60000;  // the first start in a new Wine prefix is slow
};

class StandinProcess {
public:
    // Starts the stand-in with `args` plus --quiet and --ready-file, and waits (bounded) until
    // its object is in the running object table. On failure says why in *error (exit code
    // and standard error when the process ended).
    static std::optional<StandinProcess> Start(std::vector<std::wstring> args, std::wstring* error,
                                               const StandinStart& how = StandinStart{});
    // Starts without waiting for readiness and waits for the process to end: for runs that
    // are expected to refuse (a foreign registration, a bad command line). Returns the exit
    // code, or nullopt if it did not end within `timeoutMs`. `stderrText` gets its standard error.
    static std::optional<DWORD> RunToExit(std::vector<std::wstring> args, DWORD timeoutMs,
                                          std::wstring* stderrText, std::wstring* error);

    StandinProcess(StandinProcess&& other) noexcept { *this = std::move(other); }
    StandinProcess& operator=(StandinProcess&& other) noexcept;
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;
    // Closes the process if it still runs (WM_CLOSE, then terminated after a bounded wait).
    ~StandinProcess();

    // Sends WM_CLOSE to the stand-in's window and waits (bounded) for the process to end.
    // True when it ended with exit code 0.
    bool Close(DWORD timeoutMs = 20000);
    // Waits up to `ms` while pumping this thread's messages; the exit code, or STILL_ACTIVE.
    DWORD WaitExit(DWORD ms);
    bool Running() const;

    // Puts the n-th --quote (from 0) in the active document's place through the window's
    // Quote menu command, as the user would. True once that quote is the one shown (its dump
    // written); false with no document open, no such quote, or no answer in time.
    bool ShowQuote(int n);

    DWORD ProcessId() const { return processId_; }
    HWND Window() const;  // the top-level window of class TarvelloStandinWindow, or null

    const std::wstring& DumpPath() const { return dumpPath_; }
    const std::wstring& LogPath() const { return logPath_; }
    std::wstring ReadDump() const { return ReadTextFile(dumpPath_); }
    std::vector<std::wstring> ReadLog() const { return ReadLines(logPath_); }
    std::wstring ReadStderr() const;
    const TempDir& Folder() const { return *dir_; }

private:
    StandinProcess() = default;
    void Release();

    std::optional<TempDir> dir_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    std::wstring dumpPath_;
    std::wstring logPath_;
    std::wstring stderrPath_;
};

}  // namespace tarvello::testing
