// How soon Round History is on the screen over journals of every size, with the real program
// beside the real stand-in: no journal, one of 256 MB whose only header is its first line, and
// one of 20 kept Rounds of 10,000 line items each. The stand-in shows a quote of three line items,
// so that no Round's quote is read (its line-type fingerprint differs): what is timed is the
// program's own work.
//
//   RoundHistoryBench.exe UTILITY.exe [RUNS]
//
// Each run starts the utility over one journal and times until its window answers (ready: the
// journal it reads once its window is painted is read by then), waits until its processor time
// stands still, then chooses Edit > Round History and times until that window is visible and
// answers. The journals take turns, RUNS
// times (default 9); medians are printed. Then the program's own reader reads each journal once
// in this process, as the main window does once it is on the screen, with the header looked for
// as far back as it is now and, as before, back to the first byte.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/win_journal_file.h"
#include "bench/round-history/bench_journals.h"
#include "engine/journal/round_history.h"
#include "tests/support/launch.h"
#include "tests/support/standin_process.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/round-history-window/round_history_layout.h"

namespace {

using tarvello::launch::Narrow;
namespace launch = tarvello::launch;

using tarvello::ui::main_window::kMnuEditRoundHistory;
using tarvello::ui::round_history_window::kCmdClose;

struct Journal {
    const char* name;
    std::function<std::string()> text;
    std::wstring kept;  // where it waits between runs
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Now() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](FILETIME t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

// Waits until the process has used no processor time for 300 ms: its journal is read.
void WaitUntilIdle(HANDLE process) {
    double last = CpuMs(process);
    for (int still = 0; still < 6; Sleep(50)) {
        const double now = CpuMs(process);
        still = now == last ? still + 1 : 0;
        last = now;
    }
}

bool WriteWhole(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool whole =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(file);
    return whole;
}

struct Times {
    std::vector<double> ready, window;
};

// One start of the utility over the journal in place; false when something did not come.
bool RunOnce(const std::wstring& utility, Times& times) {
    const double start = Now();
    launch::Started started = launch::Start(utility, L"");
    HWND main = launch::WaitUntilReady(started, L"", 60000);
    const double ready = Now();
    WaitUntilIdle(started.process.get());
    const double read = Now();
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(kMnuEditRoundHistory, 0), 0);
    HWND history = nullptr;
    for (const ULONGLONG deadline = GetTickCount64() + 60000;
         !history && GetTickCount64() < deadline;) {
        HWND found = launch::FindWindowOfClass(started.processId, L"TarvelloRoundHistory");
        DWORD_PTR ignored = 0;
        if (found && IsWindowVisible(found) &&
            SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 60000, &ignored)) {
            history = found;
        }
    }
    const double shown = Now();
    if (history) PostMessageW(GetDlgItem(history, kCmdClose), BM_CLICK, 0, 0);
    DWORD code = 0;
    launch::CloseAndWait(started, main, 20000, code);
    if (!history) return false;
    times.ready.push_back(ready - start);
    times.window.push_back(shown - read);
    return true;
}

// The program's own reader over `path`, once, as the main window reads it at first.
double FirstRead(const std::wstring& folder, LONGLONG headerSearch, std::size_t& rounds) {
    tarvello::app::WinJournalFile file(folder);
    file.headerSearch = headerSearch;
    tarvello::RoundHistory history(file);
    const auto start = std::chrono::steady_clock::now();
    history.Refresh();
    const auto end = std::chrono::steady_clock::now();
    rounds = history.Rounds().size();
    return std::chrono::duration<double>(end - start).count() * 1e3;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) {
        std::fprintf(stderr, "usage: RoundHistoryBench UTILITY.exe [RUNS]\n");
        return 2;
    }
    const std::wstring utility = argv[1];
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 9;
    LocalFree(argv);
    try {
        const std::wstring folder = tarvello::app::JournalFolder();
        const std::wstring path = folder + L"\\journal-3.txt";
        CreateDirectoryW(folder.c_str(), nullptr);
        std::vector<Journal> journals = {
            {"no journal", nullptr, L""},
            {"256 MB, its only header its first line",
             [] { return tarvello::bench::Enormous(256LL << 20); }, folder + L"\\bench-256mb.txt"},
            {"20 Rounds of 10,000 line items",
             [] { return tarvello::bench::KeptRounds(20, 10000); },
             folder + L"\\bench-20x10000.txt"},
        };
        for (const Journal& journal : journals) {
            if (!journal.text) continue;
            const std::string text = journal.text();
            std::printf("%s: %.1f MB\n", journal.name, text.size() / 1048576.0);
            if (!WriteWhole(journal.kept, text)) throw std::runtime_error("cannot write a journal");
        }
        std::wstring error;
        std::optional<tarvello::testing::TempDir> dir = tarvello::testing::TempDir::Create(&error);
        if (!dir) throw std::runtime_error(Narrow(error));
        std::optional<tarvello::testing::StandinProcess> host =
            tarvello::testing::StandinProcess::Start(
                {L"--quote",
                 dir->WriteFile(L"quote.csv",
                                "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n"
                                "1,A,1,101,\n1,B,2,47,\n1,C,1,238,\n")},
                &error);
        if (!host) throw std::runtime_error(Narrow(error));

        std::vector<Times> times(journals.size());
        // One start unmeasured, so that no journal pays for a cold prefix.
        Times warm;
        RunOnce(utility, warm);
        for (int run = 0; run < runs; ++run) {
            for (std::size_t j = 0; j < journals.size(); ++j) {
                DeleteFileW(path.c_str());
                if (journals[j].text) MoveFileW(journals[j].kept.c_str(), path.c_str());
                const bool ran = RunOnce(utility, times[j]);
                if (journals[j].text) MoveFileW(path.c_str(), journals[j].kept.c_str());
                if (!ran) throw std::runtime_error("Round History did not come");
            }
        }
        std::printf("\n%-42s %10s %10s %10s %10s\n", "journal", "ready ms", "(least)", "window ms",
                    "(least)");
        const auto least = [](const std::vector<double>& v) {
            return *std::min_element(v.begin(), v.end());
        };
        for (std::size_t j = 0; j < journals.size(); ++j) {
            std::printf("%-42s %10.1f %10.1f %10.1f %10.1f\n", journals[j].name,
                        Median(times[j].ready), least(times[j].ready), Median(times[j].window),
                        least(times[j].window));
        }
        std::printf(
            "(medians of %d runs; ready: from the start until the main window answers, its "
            "journal read; window: from Edit > Round History until its window answers)\n\n",
            runs);

        for (const Journal& journal : journals) {
            if (!journal.text) continue;
            DeleteFileW(path.c_str());
            MoveFileW(journal.kept.c_str(), path.c_str());
            for (const LONGLONG search :
                 {tarvello::app::WinJournalFile().headerSearch, LLONG_MAX}) {
                std::size_t rounds = 0;
                const double ms = FirstRead(folder, search, rounds);
                std::printf("%s, header looked for %s: read in %.0f ms, %zu Rounds\n", journal.name,
                            search == LLONG_MAX ? "back to the start" : "as now", ms, rounds);
            }
            MoveFileW(path.c_str(), journal.kept.c_str());
            DeleteFileW(journal.kept.c_str());
        }
        DeleteFileW(path.c_str());
        host->Close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "RoundHistoryBench: %s\n", e.what());
        return 1;
    }
    return 0;
}
