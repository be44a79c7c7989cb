#include "journal/journal_text.h"

#include <initializer_list>
#include <utility>

#include "journal/journal_syntax.h"
#include "journal/journal_values.h"
#include "numbers/text_util.h"

namespace tarvello {
namespace {

using namespace journal_syntax;

std::string Line(JournalMark mark, const std::string& id,
                 std::initializer_list<std::string> fields) {
    std::string body(KindOf(mark).name);
    body += "\t" + id;
    for (const std::string& field : fields) body += "\t" + field;
    return Checked(std::move(body));
}

std::string Row(std::int16_t row) {
    return std::to_string(row);
}

}  // namespace

std::string JournalHeader() {
    return Checked(std::string(kMagic) + "\t" + std::to_string(kJournalVersion));
}

std::string RoundLine(const RoundRecord& round) {
    return Line(JournalMark::Round, round.id,
                {round.began, "document " + std::to_string(round.documentIndex),
                 "line items " + std::to_string(round.lineItemCount)});
}

std::string ItemLine(const std::string& id, const WrittenLineItem& item) {
    return Line(JournalMark::Item, id,
                {Row(item.row), JournalValueText(item.unitPriceBefore),
                 item.modifierBefore ? JournalValueText(*item.modifierBefore) : "unknown",
                 JournalNumberText(item.unitPriceWritten),
                 item.quantity ? JournalValueText(*item.quantity) : "unknown"});
}

std::string WrittenLine(const std::string& id, std::int16_t row, double unitPriceAsLeft) {
    return Line(JournalMark::Written, id, {Row(row), JournalNumberText(unitPriceAsLeft)});
}

std::string RestoringLine(const std::string& id, std::int16_t row) {
    return Line(JournalMark::Restoring, id, {Row(row)});
}

std::string UndoneLine(const std::string& id, std::int16_t row) {
    return Line(JournalMark::Undone, id, {Row(row)});
}

std::string LeftLine(const std::string& id, std::int16_t row) {
    return Line(JournalMark::Left, id, {Row(row)});
}

std::string QuoteLine(const std::string& id, const std::vector<std::int16_t>& lineTypes) {
    return Line(JournalMark::Quote, id, {LineTypesText(lineTypes)});
}

std::string QuantitiesLine(const std::string& id, const std::vector<Variant>& quantities) {
    return Line(JournalMark::Quantities, id, {JournalListText(quantities)});
}

std::string WhatLine(const std::string& id, const std::string& what) {
    return Line(JournalMark::What, id, {JournalValueText(Variant::FromText(TextFromUtf8(what)))});
}

std::string ForgottenLine(const std::string& id) {
    return Line(JournalMark::Forgotten, id, {});
}

std::string LinesOf(const RoundRecord& round) {
    std::string lines = RoundLine(round);
    if (!round.what.empty()) lines += WhatLine(round.id, round.what);
    if (round.forgotten) lines += ForgottenLine(round.id);
    for (const WrittenLineItem& item : round.items) {
        lines += ItemLine(round.id, item);
        if (item.written) lines += WrittenLine(round.id, item.row, item.unitPriceWritten);
        if (item.restoring) lines += RestoringLine(round.id, item.row);
        if (item.dealtWith) {
            lines += item.left ? LeftLine(round.id, item.row) : UndoneLine(round.id, item.row);
        }
    }
    if (round.lineTypes.empty()) return lines;
    lines += QuoteLine(round.id, round.lineTypes);
    if (!round.quantities.empty()) lines += QuantitiesLine(round.id, round.quantities);
    return lines;
}

}  // namespace tarvello
