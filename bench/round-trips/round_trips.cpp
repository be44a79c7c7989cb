// Round-trip benchmark: a Round over N items through the real stand-in host, side by side with
// a reference client that makes only the calls a Round must make, names resolved up front.
//
//   RoundTrips.exe [--sizes 100,1000,5000] [--repeat 3]
//
// For each size one stand-in with its call log on counts the calls each client makes; a
// second one without log or dump file times them (taking turns; the ratio of the best of
// --repeat runs each, and the median of the paired ratios).

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/round-trips/reference_client.h"
#include "engine/round_line_items.h"
#include "host/com_host_link.h"
#include "host/com_raii.h"
#include "tests/support/standin_process.h"

namespace {

using tarvello::testing::StandinProcess;
using tarvello::testing::StandinStart;
using tarvello::testing::TempDir;

class SilentSink : public tarvello::MessageSink {
public:
    void ShowError(const tarvello::Text&) override { ++shown; }
    int shown = 0;
};

std::int32_t PassRound() {
    tarvello::host::ComHostLink link;
    SilentSink sink;
    const auto outcome = tarvello::RoundLineItems(5, u"UnitPrice", u"Nearest", u"All", link, sink);
    if (sink.shown != 0) throw std::runtime_error("the pass showed a message");
    return outcome.written;
}

std::string Quote(int items) {
    std::string text = "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n";
    for (int i = 0; i < items; ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "1,Item %d,%d,%d.%02d,List\n", i + 1, 1 + i % 7,
                      10 + (i * 37) % 400, (i * 13) % 100);
        text += line;
    }
    return text;
}

struct Counts {
    double invokes = 0;      // operations and member reads
    double operations = 0;   // the six operations only
    double nameLookups = 0;  // GetIDsOfNames
};

Counts CountCalls(const std::vector<std::wstring>& log, size_t from) {
    Counts counts;
    for (size_t i = from; i < log.size(); ++i) {
        if (log[i].rfind(L"GetIDsOfNames", 0) == 0) ++counts.nameLookups;
        if (log[i].rfind(L"Invoke", 0) == 0) {
            ++counts.invokes;
            if (log[i].find(L"[get]") == std::wstring::npos) ++counts.operations;
        }
    }
    return counts;
}

std::optional<StandinProcess> StartStandin(const TempDir& files, int items, bool log) {
    const std::wstring quote =
        files.WriteFile(L"quote" + std::to_wstring(items) + L".csv", Quote(items));
    StandinStart how;
    how.dump = false;
    how.log = log;
    std::wstring error;
    auto standin = StandinProcess::Start({L"--quote", quote, L"--selected", L"*"}, &error, how);
    if (!standin) std::fprintf(stderr, "the stand-in did not start: %ls\n", error.c_str());
    return standin;
}

double Seconds(const std::function<std::int32_t()>& round, int items) {
    const auto start = std::chrono::steady_clock::now();
    const std::int32_t written = round();
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    if (written != items) throw std::runtime_error("a Round did not write every item");
    return spent.count();
}

int Run(const std::vector<int>& sizes, int repeat) {
    std::wstring error;
    auto files = TempDir::Create(&error);
    if (!files) return 2;
    std::printf("%8s | %-32s | %-32s | %s\n", "items", "pass: invokes  lookups  ms/item",
                "reference: invokes  lookups  ms/item", "time ratio");
    for (int items : sizes) {
        Counts pass, reference;
        {
            auto standin = StartStandin(*files, items, true);
            if (!standin) return 2;
            PassRound();
            const auto afterPass = standin->ReadLog();
            pass = CountCalls(afterPass, 0);
            tarvello::bench::ReferenceRound();
            reference = CountCalls(standin->ReadLog(), afterPass.size());
            standin->Close();
        }
        std::vector<double> passTimes, referenceTimes;
        {
            auto standin = StartStandin(*files, items, false);
            if (!standin) return 2;
            // One untimed Round of each warms both sides up; then they take turns going first,
            // so that a slow stretch of the machine does not fall on one side only.
            PassRound();
            tarvello::bench::ReferenceRound();
            for (int i = 0; i < repeat; ++i) {
                if (i % 2 == 0) {
                    passTimes.push_back(Seconds(PassRound, items));
                    referenceTimes.push_back(Seconds(tarvello::bench::ReferenceRound, items));
                } else {
                    referenceTimes.push_back(Seconds(tarvello::bench::ReferenceRound, items));
                    passTimes.push_back(Seconds(PassRound, items));
                }
            }
            standin->Close();
        }
        const double passBest = *std::min_element(passTimes.begin(), passTimes.end());
        const double referenceBest =
            *std::min_element(referenceTimes.begin(), referenceTimes.end());
        std::vector<double> ratios;
        for (size_t i = 0; i < passTimes.size(); ++i) {
            ratios.push_back(passTimes[i] / referenceTimes[i]);
        }
        std::sort(ratios.begin(), ratios.end());
        const double n = items;
        std::printf("%8d | %10.2f %8.3f %10.3f   | %10.2f %8.3f %10.3f        | %.3f\n", items,
                    pass.invokes / n, pass.nameLookups / n, passBest * 1000 / n,
                    reference.invokes / n, reference.nameLookups / n, referenceBest * 1000 / n,
                    passBest / referenceBest);
        std::printf(
            "%8s   (operations per item: pass %.2f, reference %.2f; median of the %zu "
            "paired time ratios %.3f)\n",
            "", pass.operations / n, reference.operations / n, ratios.size(),
            ratios[ratios.size() / 2]);
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {100, 1000, 5000};
    int repeat = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--sizes") == 0) {
            sizes.clear();
            for (const char* p = argv[i + 1]; *p;) {
                sizes.push_back(std::atoi(p));
                p = std::strchr(p, ',');
                if (p == nullptr) break;
                ++p;
            }
        } else if (std::strcmp(argv[i], "--repeat") == 0) {
            repeat = std::max(1, std::atoi(argv[i + 1]));
        }
    }
    tarvello::host::ComApartment apartment;
    try {
        return Run(sizes, repeat);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "round-trips: %s\n", error.what());
        return 1;
    }
}
