// Starts each program given on the command line several times, in turn, and reports how long
// each took from CreateProcess until its window was visible and answering, and the private
// memory the process held at that moment.
//
//   startup_probe RUNS PROGRAM.exe [PROGRAM.exe ...]
//
// The first program is the yardstick: the others are also given as a ratio of its median.
// One unmeasured start of every program comes first, so that no program pays for the first
// start of the Wine prefix or a cold file cache.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "bench/startup/launch.h"

namespace {

using tarvello::launch::Narrow;

struct Sample {
    double milliseconds;
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

    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(started.process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    DWORD code = 0;
    if (!tarvello::launch::CloseAndWait(started, window, 15000, code)) {
        std::fprintf(stderr, "startup_probe: %s did not close; ended it\n", Narrow(exe).c_str());
    }
    return {1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
                static_cast<double>(frequency.QuadPart),
            PrivateBytes(memory) / 1024.0, static_cast<double>(memory.WorkingSetSize) / 1024.0};
}

std::wstring BaseName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
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

        std::printf("%-24s %10s %10s %10s %12s %12s\n", "program", "median ms", "min ms", "max ms",
                    "private KiB", "working KiB");
        std::vector<double> medians;
        for (size_t i = 0; i < programs.size(); ++i) {
            std::vector<double> ms, kb, ws;
            for (const Sample& s : samples[i]) {
                ms.push_back(s.milliseconds);
                kb.push_back(s.privateKb);
                ws.push_back(s.workingSetKb);
            }
            medians.push_back(Median(ms));
            std::printf("%-24s %10.1f %10.1f %10.1f %12.0f %12.0f\n",
                        Narrow(BaseName(programs[i])).c_str(), medians.back(),
                        *std::min_element(ms.begin(), ms.end()),
                        *std::max_element(ms.begin(), ms.end()), Median(kb), Median(ws));
        }
        for (size_t i = 1; i < programs.size(); ++i) {
            std::printf("ratio %s / %s (medians): %.2f\n", Narrow(BaseName(programs[i])).c_str(),
                        Narrow(BaseName(programs[0])).c_str(), medians[i] / medians[0]);
        }
        std::printf("runs: %d each; memory as medians after start-up%s\n", runs,
                    privateFromPagefile ? "; private bytes read from PagefileUsage" : "");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup_probe: %s\n", e.what());
        return 1;
    }
}
