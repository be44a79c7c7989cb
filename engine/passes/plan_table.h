#pragma once
// A preview as a table for people: one line per line item a Round would write, in row order,
// and the totals of the extended price before and after. The preview window shows it, and
// copies it as tab-separated text that pastes into a spreadsheet as a table.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "numbers/number_format.h"
#include "numbers/variant.h"
#include "passes/round_plan.h"

namespace tarvello {

struct PlanTable {
    enum Column {
        kRow,
        kQuantity,
        kUnitPrice,
        kNewUnitPrice,
        kExtendedPrice,
        kNewExtendedPrice,
        kPriceModifier,
        kNote,
        kColumnCount
    };
    struct Line {
        Text cells[kColumnCount];
        // The unit price stays and there is no modifier to clear (the Round writes the line item,
        // but nothing about it changes), or the line item is left as it is.
        bool unchanged = false;
    };
    std::vector<Line> lines;
    // What worked the plan out: an Undo's new prices are those from before its Round.
    PlanKind kind = PlanKind::Round;
    // A word about the whole plan (a new total that cannot be reached exactly).
    Text remark;
    // Over the line items whose extended prices are numbers.
    double extendedBefore = 0;
    double extendedAfter = 0;
    // Line items left out of the totals because a value is not a number.
    std::int32_t leftOut = 0;
};

// "Row", "Quantity", "Unit Price", "New Unit Price", "Extended Price", "New Extended Price",
// "Price Modifier", "Note"; for an Undo the new prices are "... Before the Round".
const Text& ColumnName(PlanTable::Column column, PlanKind kind = PlanKind::Round);

// Numbers in the user's format (FormatShortNumber); texts as the host gave them.
PlanTable MakePlanTable(const RoundPlan& plan, const NumberFormat& format);

// "Extended price before: 1234.5   after: 1240   difference: +5.5 (+0.45%)".
Text TotalsText(const PlanTable& table, const NumberFormat& format);

// The header line, one line per line item and a last line "Total" with the two totals in the
// extended-price columns; cells apart by tabs, lines ended by CR LF. A text a spreadsheet would
// take for a formula (it begins with =, +, - or @ and is no number) keeps a leading apostrophe,
// so that it pastes as the text it is; numbers stay numbers.
Text TabSeparated(const PlanTable& table, const NumberFormat& format);

// One line of such a table: `count` cells apart by tabs, ended by CR LF, each kept to its cell
// and a formula-looking text kept as text. Round History copies its list so too.
Text TabSeparatedLine(const Text* cells, std::size_t count, const NumberFormat& format);

}  // namespace tarvello
