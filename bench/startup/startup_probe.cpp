// Starts each program given on the command line several times, in turn, and reports how long
// each took from CreateProcess until its window was visible and answering, the processor time
// the process had used by then, and the private memory it held at that moment.
//
//   startup_probe RUNS PROGRAM.exe [PROGRAM.exe ...]
//
// Every program's medians are also given as ratios to those of each program before it.
// One unmeasured start of every program comes first, so that no program pays for the first
// start of the Wine prefix or a cold file cache. Processor time is the steadier figure on a
// busy machine: waiting for a processor does not count in it.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "tests/support/launch.h"

namespace {

using tarvello::launch::Narrow;

struct Sample {
    double wallMs;
    double cpuMs;
    double privateKb;
    double workingSetKb;
};

bool privateFromPagefile = false;

// Windows reports a process's private bytes twice, as PrivateUsage and PagefileUsage; Wine
// fills in only the second.
double PrivateBytes(const PROCESS_MEMORY_COUNTERS_EX& memory) {
    if (memory.PrivateUsage != 0) return static_cast<double>(memory.PrivateUsage);
    privateFromPagefile = true;
    return static_cast<double>(memory.PagefileUsage);
}

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    auto ticks = [](FILETIME t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Sample StartOnce(const std::wstring& exe) {
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    tarvello::launch::Started started = tarvello::launch::Start(exe, L"");
    HWND window = tarvello::launch::WaitUntilReady(started, L"", 60000);
    QueryPerformanceCounter(&end);

    Sample s{};
    s.wallMs = 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    s.cpuMs = CpuMs(started.process.get());
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(started.process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    s.privateKb = PrivateBytes(memory) / 1024.0;
    s.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024.0;

    DWORD code = 0;
    if (!tarvello::launch::CloseAndWait(started, window, 15000, code)) {
        std::fprintf(stderr, "startup_probe: %s did not close; ended it\n", Narrow(exe).c_str());
    }
    return s;
}

std::string BaseName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return Narrow(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

struct Summary {
    double wallMedian, wallMin, wallMax, cpuMedian, privateKb, workingSetKb;
};

Summary Summarize(const std::vector<Sample>& samples) {
    std::vector<double> wall, cpu, priv, ws;
    for (const Sample& s : samples) {
        wall.push_back(s.wallMs);
        cpu.push_back(s.cpuMs);
        priv.push_back(s.privateKb);
        ws.push_back(s.workingSetKb);
    }
    return {Median(wall),
            *std::min_element(wall.begin(), wall.end()),
            *std::max_element(wall.begin(), wall.end()),
            Median(cpu),
            Median(priv),
            Median(ws)};
}

void Report(const std::vector<std::wstring>& programs, const std::vector<Summary>& summaries) {
    std::printf("%-26s %9s %8s %8s %8s %12s %12s\n", "program", "median ms", "min ms", "max ms",
                "cpu ms", "private KiB", "working KiB");
    for (size_t i = 0; i < programs.size(); ++i) {
        const Summary& s = summaries[i];
        std::printf("%-26s %9.1f %8.1f %8.1f %8.1f %12.0f %12.0f\n", BaseName(programs[i]).c_str(),
                    s.wallMedian, s.wallMin, s.wallMax, s.cpuMedian, s.privateKb, s.workingSetKb);
    }
    for (size_t i = 1; i < programs.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            std::printf("ratio %s / %s: %.2f wall, %.2f cpu\n", BaseName(programs[i]).c_str(),
                        BaseName(programs[j]).c_str(),
                        summaries[i].wallMedian / summaries[j].wallMedian,
                        summaries[i].cpuMedian / summaries[j].cpuMedian);
        }
    }
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) {
        std::fprintf(stderr, "usage: startup_probe RUNS PROGRAM.exe [PROGRAM.exe ...]\n");
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    std::vector<std::wstring> programs(argv + 2, argv + argc);
    LocalFree(argv);
    if (runs < 1) {
        std::fprintf(stderr, "startup_probe: RUNS must be 1 or more\n");
        return 2;
    }

    try {
        std::vector<std::vector<Sample>> samples(programs.size());
        for (const auto& p : programs) StartOnce(p);
        // Interleaved, and the order turned round every run, so that a drift of the machine
        // during the run is shared out evenly.
        for (int run = 0; run < runs; ++run) {
            for (size_t k = 0; k < programs.size(); ++k) {
                size_t i = run % 2 ? programs.size() - 1 - k : k;
                samples[i].push_back(StartOnce(programs[i]));
            }
        }
        std::vector<Summary> summaries;
        for (const auto& s : samples) summaries.push_back(Summarize(s));
        Report(programs, summaries);
        std::printf("runs: %d each; medians; memory at the moment the window was ready%s\n", runs,
                    privateFromPagefile ? "; private bytes read from PagefileUsage" : "");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup_probe: %s\n", e.what());
        return 1;
    }
}
