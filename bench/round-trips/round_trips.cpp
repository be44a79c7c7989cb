// Round-trip benchmark: a Round over N items through the real stand-in host, side by side with
// a reference client that makes only the calls a Round must make, names resolved up front.
//
//   RoundTrips.exe [--sizes 100,300] [--repeat 21] [--calls]
//
// --calls: only the calls per line item of each pass (and the journal's own costs), no timing.
//
// For each size and each kind of host (the stand-in's one object per member, and
// --fresh-members) one stand-in with its call log on counts the calls each client makes; a
// second one without log or dump file times them: the clients take turns for --repeat Rounds
// each, and the table shows the median time of each and the median of the paired ratios. The
// pass runs as the window runs it, keeping what Undo needs; it runs once more with the window's
// progress watch (the real one, on a window of its own), and once more keeping what Undo needs
// in the program's journal on disk (the real file, in a folder of the bench's), so that the
// cost of showing progress and of the journal show as ratios of their own.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/win_journal_file.h"
#include "bench/round-trips/reference_client.h"
#include "bench/round-trips/write_back_costs.h"
#include "engine/passes/round_line_items.h"
#include "host/com_host_link.h"
#include "host/com_raii.h"
#include "tests/support/standin_process.h"
#include "ui/main-window/pass_watch.h"

namespace {

using tarvello::testing::StandinProcess;
using tarvello::testing::StandinStart;
using tarvello::testing::TempDir;

class SilentSink : public tarvello::MessageSink {
public:
    void ShowError(const tarvello::Text&) override { ++shown; }
    // Never without the journal: a bench of a Round that keeps nothing would measure another
    // Round.
    bool Ask(const tarvello::Text&) override { return false; }
    int shown = 0;
};

// A window with a progress line and a Close button, for the progress watch to show on.
class WatchedWindow {
public:
    WatchedWindow() {
        window_ =
            CreateWindowExW(0, L"STATIC", L"Round-trip bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                            0, 400, 120, nullptr, nullptr, nullptr, nullptr);
        line_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 8, 8, 360, 16, window_, nullptr,
                                nullptr, nullptr);
        close_ = CreateWindowExW(0, L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE, 8, 40, 80, 24,
                                 window_, nullptr, nullptr, nullptr);
    }
    ~WatchedWindow() { DestroyWindow(window_); }
    WatchedWindow(const WatchedWindow&) = delete;
    WatchedWindow& operator=(const WatchedWindow&) = delete;

    HWND window_, line_, close_;
};

// The Round as the window runs it, keeping what Undo needs; with a progress watch when given a
// window to show it on. `kept`: the program's history over its journal, which lives as long as
// the program; by default one in memory for this Round only.
std::int32_t PassRound(WatchedWindow* shown = nullptr, tarvello::RoundHistory* kept = nullptr) {
    tarvello::host::ComHostLink link;
    SilentSink sink;
    tarvello::RoundHistory inMemory;
    tarvello::RoundHistory& history = kept ? *kept : inMemory;
    std::optional<tarvello::ui::PassWatch> watch;
    if (shown) {
        watch.emplace(shown->window_, shown->line_, shown->close_,
                      tarvello::ui::PassWatch::Activity::Round);
    }
    const tarvello::RoundingRequest request{5, tarvello::RoundedPrice::UnitPrice,
                                            tarvello::RoundingMethod::Nearest,
                                            tarvello::RowChoice::All};
    const auto outcome = tarvello::RoundLineItems(
        request, link, sink, {}, tarvello::PassHooks{&history, watch ? &*watch : nullptr});
    if (outcome.failure) throw std::runtime_error(outcome.failure->what());
    if (outcome.status == tarvello::PassOutcome::Status::Declined) {
        throw std::runtime_error("the journal could not be opened");
    }
    if (sink.shown != 0) {
        throw std::runtime_error(outcome.status == tarvello::PassOutcome::Status::HostNotRunning
                                     ? "the pass found no host running"
                                     : "the pass showed a message");
    }
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
            if (log[i].rfind(L"Invoke Application.", 0) != 0) ++counts.operations;
        }
    }
    return counts;
}

// The two kinds of host: the stand-in's default, one DocFunctions and one ItemFunctions
// object for the life of the process, and one that hands out a new object on every read.
struct HostKind {
    const char* label;
    bool freshMembers;
};
const HostKind kHostKinds[] = {{"one object", false}, {"fresh members", true}};

std::optional<StandinProcess> StartStandin(const TempDir& files, int items, const HostKind& kind,
                                           bool log) {
    const std::wstring quote =
        files.WriteFile(L"quote" + std::to_wstring(items) + L".csv", Quote(items));
    StandinStart how;
    how.dump = false;
    how.log = log;
    std::vector<std::wstring> arguments = {L"--quote", quote, L"--selected", L"*"};
    if (kind.freshMembers) arguments.push_back(L"--fresh-members");
    std::wstring error;
    auto standin = StandinProcess::Start(arguments, &error, how);
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

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Measured {
    Counts pass, reference;
    // Seconds per Round, in fours: the pass, the reference, the pass with progress shown, and
    // the pass keeping what Undo needs in a journal on disk.
    std::vector<double> passTimes, referenceTimes, watchedTimes, journaledTimes;
};

// Runs `rounds` against `standin`; a failure says whether the stand-in had ended meanwhile.
void Against(StandinProcess& standin, const std::function<void()>& rounds) {
    try {
        rounds();
    } catch (const std::exception& error) {
        const DWORD code = standin.WaitExit(0);
        if (code == STILL_ACTIVE) throw;
        char text[64];
        std::snprintf(text, sizeof text, "; the stand-in had ended (exit code 0x%lX) ",
                      static_cast<unsigned long>(code));
        const std::wstring said = standin.ReadStderr();
        throw std::runtime_error(error.what() + std::string(text) +
                                 std::string(said.begin(), said.end()));
    }
}

bool Measure(const TempDir& files, int items, const HostKind& kind, int repeat,
             Measured* measured) {
    {
        auto standin = StartStandin(files, items, kind, true);
        if (!standin) return false;
        Against(*standin, [&] {
            PassRound();
            const auto afterPass = standin->ReadLog();
            measured->pass = CountCalls(afterPass, 0);
            tarvello::bench::ReferenceRound();
            measured->reference = CountCalls(standin->ReadLog(), afterPass.size());
        });
        standin->Close();
    }
    auto standin = StartStandin(files, items, kind, false);
    if (!standin) return false;
    WatchedWindow window;
    tarvello::app::WinJournalFile journal(files.File(L"journal"));
    tarvello::RoundHistory history(journal);
    Against(*standin, [&] {
        const auto pass = [] { return PassRound(); };
        const auto watched = [&] { return PassRound(&window); };
        const auto journaled = [&] { return PassRound(nullptr, &history); };
        // One untimed Round of each warms both sides up; then they take turns going first,
        // so that a slow stretch of the machine does not fall on one side only.
        pass();
        tarvello::bench::ReferenceRound();
        watched();
        journaled();
        for (int i = 0; i < repeat; ++i) {
            if (i % 2 == 0) {
                measured->passTimes.push_back(Seconds(pass, items));
                measured->referenceTimes.push_back(Seconds(tarvello::bench::ReferenceRound, items));
                measured->watchedTimes.push_back(Seconds(watched, items));
                measured->journaledTimes.push_back(Seconds(journaled, items));
            } else {
                measured->journaledTimes.push_back(Seconds(journaled, items));
                measured->watchedTimes.push_back(Seconds(watched, items));
                measured->referenceTimes.push_back(Seconds(tarvello::bench::ReferenceRound, items));
                measured->passTimes.push_back(Seconds(pass, items));
            }
        }
    });
    standin->Close();
    return true;
}

// What the journal costs on its own, on this disk: a line item's two records handed to the
// system, and the one flush a Round ends with.
void JournalCosts(const TempDir& files) {
    tarvello::app::WinJournalFile journal(files.File(L"journal-costs"));
    const std::string item = "item\t0123456789abcdef\t17\t410.6666\t\"Rate B\"\t410\n";
    const std::string written = "written\t0123456789abcdef\t17\t410\n";
    std::vector<double> appends, flushes;
    for (int round = 0; round < 15; ++round) {
        journal.Open();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 300; ++i) {
            journal.Append(item);
            journal.Append(written);
        }
        const auto appended = std::chrono::steady_clock::now();
        journal.FlushAndClose();
        const auto flushed = std::chrono::steady_clock::now();
        appends.push_back(std::chrono::duration<double>(appended - start).count() / 300);
        flushes.push_back(std::chrono::duration<double>(flushed - appended).count());
    }
    std::printf(
        "journal: a line item's two records %.1f microseconds, the flush at a Round's end "
        "%.2f ms (medians of 15 Rounds of 300)\n",
        Median(appends) * 1e6, Median(flushes) * 1e3);
}

int Run(const std::vector<int>& sizes, int repeat, bool callsOnly) {
    std::wstring error;
    auto files = TempDir::Create(&error);
    if (!files) return 2;
    JournalCosts(*files);
    if (callsOnly) {
        for (int items : sizes) {
            for (const HostKind& kind : kHostKinds) {
                std::printf("%s: ", kind.label);
                tarvello::bench::CountWriteBack(
                    [&] { return StartStandin(*files, items, kind, true); }, items);
            }
        }
        return 0;
    }
    tarvello::bench::JournalReadingCosts(*files);
    std::printf(
        "per line item; times are medians of %d Rounds each; time ratio: the median of the %d "
        "paired ratios (their range), and best against best\n",
        repeat, repeat);
    std::printf("%6s  %-13s | %-28s | %-28s | %-30s | %-24s | %s\n", "items", "host",
                "pass: invokes lookups ms", "reference: invokes lookups ms",
                "time ratio (min..max) best", "with progress / without", "with journal / without");
    bool goalsMet = true;
    for (int items : sizes) {
        for (const HostKind& kind : kHostKinds) {
            Measured m;
            if (!Measure(*files, items, kind, repeat, &m)) return 2;
            std::vector<double> ratios, progressRatios, journalRatios;
            for (size_t i = 0; i < m.passTimes.size(); ++i) {
                ratios.push_back(m.passTimes[i] / m.referenceTimes[i]);
                progressRatios.push_back(m.watchedTimes[i] / m.passTimes[i]);
                journalRatios.push_back(m.journaledTimes[i] / m.passTimes[i]);
            }
            const double n = items;
            const double ratio = Median(ratios);
            const auto best = [](const std::vector<double>& times) {
                return *std::min_element(times.begin(), times.end());
            };
            std::printf(
                "%6d  %-13s | %13.2f %7.3f %6.2f | %18.2f %7.3f %6.2f | %.3f (%.3f..%.3f) %.3f  "
                "| %.3f (best %.3f)        | %.3f (best %.3f)\n",
                items, kind.label, m.pass.invokes / n, m.pass.nameLookups / n,
                Median(m.passTimes) * 1000 / n, m.reference.invokes / n,
                m.reference.nameLookups / n, Median(m.referenceTimes) * 1000 / n, ratio,
                best(ratios), *std::max_element(ratios.begin(), ratios.end()),
                best(m.passTimes) / best(m.referenceTimes), Median(progressRatios),
                best(m.watchedTimes) / best(m.passTimes), Median(journalRatios),
                best(m.journaledTimes) / best(m.passTimes));
            if (m.pass.operations != m.reference.operations) {
                std::printf("        (operations differ: pass %.0f, reference %.0f)\n",
                            m.pass.operations, m.reference.operations);
            }
            tarvello::bench::CountWriteBack([&] { return StartStandin(*files, items, kind, true); },
                                            items);
            std::fflush(stdout);
            goalsMet = goalsMet && m.pass.nameLookups / n < 0.1 && ratio <= 1.05;
        }
    }
    std::printf("goals (look-ups below 0.1 per item, time within 1.05 x the reference): %s\n",
                goalsMet ? "met" : "NOT met");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {100, 300};
    int repeat = 21;
    bool callsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const bool valued = i + 1 < argc;
        if (std::strcmp(argv[i], "--calls") == 0) {
            callsOnly = true;
        } else if (valued && std::strcmp(argv[i], "--sizes") == 0) {
            sizes.clear();
            for (const char* p = argv[++i]; *p;) {
                sizes.push_back(std::atoi(p));
                p = std::strchr(p, ',');
                if (p == nullptr) break;
                ++p;
            }
        } else if (valued && std::strcmp(argv[i], "--repeat") == 0) {
            repeat = std::max(1, std::atoi(argv[++i]));
        }
    }
    tarvello::host::ComApartment apartment;
    try {
        return Run(sizes, repeat, callsOnly);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "round-trips: %s\n", error.what());
        return 1;
    }
}
