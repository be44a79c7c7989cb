#pragma once
// The real stand-in host process and the real rounding pass over real COM.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/passes/round_line_items.h"
#include "host/com_host_link.h"
#include "host/com_raii.h"
#include "tests/e2e/quote_table.h"
#include "tests/host/same_lines.h"
#include "tests/support/standin_process.h"

namespace tarvello::e2e {

class RecordingSink : public MessageSink {
public:
    void ShowError(const Text& message) override { shown.push_back(message); }
    bool Ask(const Text& question) override {
        asked.push_back(question);
        return false;
    }
    std::vector<Text> shown;
    std::vector<Text> asked;
};

struct Request {
    double amount;
    Text field;
    Text method;
    Text scope;
};

// Starts a stand-in for each test, or for a whole suite, and closes it afterwards.
class Standin {
public:
    // Writes `quote` (when given) to a file of its own and starts the stand-in with it and
    // `arguments`. Fails the test when it does not start.
    void Start(const std::optional<std::vector<QuoteRow>>& quote,
               std::vector<std::wstring> arguments = {});
    // With several quotes, the first shown; ShowQuote(n) of the process opens the n-th instead.
    void Start(const std::vector<std::vector<QuoteRow>>& quotes,
               std::vector<std::wstring> arguments = {});
    void Close();
    bool running() const { return process_.has_value(); }
    tarvello::testing::StandinProcess& process() { return *process_; }

    std::vector<QuoteRow> Dump() const { return ParseDump(process_->ReadDump()); }
    std::vector<std::wstring> Log() const { return process_->ReadLog(); }

private:
    std::optional<tarvello::testing::TempDir> files_;
    std::optional<tarvello::testing::StandinProcess> process_;
};

// One Round through the real link; `sink` receives the pass's messages.
PassOutcome RunRound(const Request& request, RecordingSink& sink);
// The same Round, which must fail: its failure.
PassFailure RunRoundFailing(const Request& request, RecordingSink& sink);

}  // namespace tarvello::e2e
