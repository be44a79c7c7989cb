#include "bench/round-history/bench_journals.h"

#include <cstdio>

#include "engine/journal/journal_text.h"

namespace tarvello::bench {
namespace {

RoundRecord Round(int number, int items) {
    RoundRecord round;
    char id[17];
    std::snprintf(id, sizeof id, "%016x", number);
    round.id = id;
    round.began = "2026-12-07 10:00:00";
    round.lineItemCount = items;
    round.what = "Nearest multiple of 5, unit price, all rows";
    round.lineTypes.assign(static_cast<std::size_t>(items), 1);
    for (int row = 0; row < items; ++row) {
        WrittenLineItem item;
        item.row = static_cast<std::int16_t>(row);
        item.unitPriceBefore = Variant::Double(218.333 + row);
        item.modifierBefore = Variant::FromText(u"Rate B");
        item.unitPriceWritten = 220 + row;
        item.quantity = Variant::Double(2);
        item.written = true;
        round.items.push_back(item);
        round.quantities.push_back(Variant::Double(2));
    }
    return round;
}

}  // namespace

std::string KeptRounds(int rounds, int items) {
    std::string text = JournalHeader();
    for (int number = 0; number < rounds; ++number) text += LinesOf(Round(number, items));
    return text;
}

std::string Enormous(long long bytes) {
    std::string text = JournalHeader();
    // An item line whose check is another's: passed over as damaged.
    std::string damaged = ItemLine("ffffffffffffffff", Round(0, 1).items[0]);
    damaged.replace(damaged.size() - 9, 8, "00000000");
    text.reserve(static_cast<std::size_t>(bytes) + 1000000);
    while (static_cast<long long>(text.size()) < bytes) text += damaged;
    for (int number = 1; number <= 3; ++number) text += LinesOf(Round(number, 12));
    return text;
}

}  // namespace tarvello::bench
