#include "bench/round-trips/write_back_costs.h"

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/win_journal_file.h"
#include "engine/journal/journal_text.h"
#include "engine/journal/round_history.h"
#include "engine/passes/preview_round.h"
#include "engine/passes/round_line_items.h"
#include "engine/passes/undo_last_round.h"
#include "engine/pricing/new_total_plan.h"
#include "engine/pricing/rule_pricing.h"
#include "host/com_host_link.h"

namespace tarvello::bench {
namespace {

class QuietSink : public MessageSink {
public:
    void ShowError(const Text&) override { throw std::runtime_error("the pass showed a message"); }
    bool Ask(const Text&) override { return false; }
};

struct Calls {
    double invokes = 0;     // operations and member reads
    double operations = 0;  // the six operations only
};

Calls CountSince(const std::vector<std::wstring>& log, std::size_t from) {
    Calls calls;
    for (std::size_t i = from; i < log.size(); ++i) {
        if (log[i].rfind(L"Invoke", 0) != 0) continue;
        ++calls.invokes;
        if (log[i].rfind(L"Invoke Application.", 0) != 0) ++calls.operations;
    }
    return calls;
}

}  // namespace

void CountWriteBack(const StartLogged& start, int items) {
    std::optional<testing::StandinProcess> standin = start();
    if (!standin) throw std::runtime_error("the stand-in did not start");
    host::ComHostLink link;
    QuietSink sink;
    RoundHistory history;
    const RoundingRequest request{5, RoundedPrice::UnitPrice, RoundingMethod::Nearest,
                                  RowChoice::All};
    struct Step {
        const char* name;
        std::function<PassOutcome()> run;
    };
    RoundPlan plan, byRules, newTotal;
    PriceRules rules = DefaultPriceRules();
    rules.bands[0].step = Decimal::Whole(1);
    rules.bands[0].ending = Decimal(99, 2);
    const passes::RulePricing pricing(rules, RoundedPrice::UnitPrice, {});
    const Step steps[] = {
        {"Round", [&] { return RoundLineItems(request, link, sink, {}, PassHooks{&history}); }},
        {"Undo", [&] { return UndoLastRound(history, link, sink); }},
        {"Preview", [&] { return PreviewRound(request, link, sink, plan); }},
        {"Apply", [&] { return ApplyPlan(plan, link, sink, {}, PassHooks{&history}); }},
        {"Preview by rules",
         [&] {
             return PreviewWith(pricing, RowChoice::All, PlanKind::PriceRules, link, sink, byRules);
         }},
        {"its Apply", [&] { return ApplyPlan(byRules, link, sink, {}, PassHooks{&history}); }},
        {"Preview of a new total",
         [&] {
             const PassOutcome outcome = ReadForNewTotal(RowChoice::All, link, sink, newTotal);
             SpreadOver(newTotal, Decimal::Whole(100000), Decimal(1, 2));
             return outcome;
         }},
        {"its Apply", [&] { return ApplyPlan(newTotal, link, sink, {}, PassHooks{&history}); }},
    };
    std::printf("calls per line item, %d line items:\n   ", items);
    for (const Step& step : steps) {
        const std::size_t before = standin->ReadLog().size();
        const PassOutcome outcome = step.run();
        const bool preview = std::string(step.name).rfind("Preview", 0) == 0;
        if (outcome.status != PassOutcome::Status::Completed ||
            (!preview && outcome.written != items)) {
            throw std::runtime_error(std::string(step.name) + " did not write every item");
        }
        const Calls calls = CountSince(standin->ReadLog(), before);
        std::printf("  %s %.2f (%.2f operations);", step.name, calls.invokes / items,
                    calls.operations / items);
    }
    std::printf("\n");
    standin->Close();
}

void JournalReadingCosts(const testing::TempDir& files) {
    constexpr int kRounds = 100000;
    std::string text = JournalHeader();
    RoundRecord round;
    round.began = "2026-12-07 10:00:00";
    round.lineItemCount = 12;
    round.lineTypes = {2, 1, 1, 1, 1, 3, 2, 1, 1, 1, 1, 3};
    WrittenLineItem item;
    item.row = 4;
    item.unitPriceBefore = Variant::Double(218.333);
    item.modifierBefore = Variant::FromText(u"Rate B");
    item.unitPriceWritten = 220;
    item.quantity = Variant::Double(2);
    item.written = true;
    round.items = {item};
    for (int i = 0; i < kRounds; ++i) {
        char id[17];
        std::snprintf(id, sizeof id, "%016x", i);
        round.id = id;
        text += LinesOf(round);
    }
    app::WinJournalFile journal(files.File(L"journal-enormous"));
    journal.Open();
    journal.Append(text);
    journal.FlushAndClose();

    RoundHistory history(journal);
    const auto start = std::chrono::steady_clock::now();
    history.Refresh();
    const auto read = std::chrono::steady_clock::now();
    round.id = "ffffffffffffffff";
    journal.Open();
    journal.Append(LinesOf(round));
    journal.FlushAndClose();
    const auto appended = std::chrono::steady_clock::now();
    history.Refresh();
    const auto again = std::chrono::steady_clock::now();
    const auto ms = [](auto span) { return std::chrono::duration<double>(span).count() * 1e3; };
    std::printf(
        "journal of %d Rounds (%.1f MB): read once %.0f ms, %d line items to give back; one "
        "Round more read %.2f ms\n",
        kRounds, text.size() / 1e6, ms(read - start), history.UndoableCount(),
        ms(again - appended));
}

}  // namespace tarvello::bench
