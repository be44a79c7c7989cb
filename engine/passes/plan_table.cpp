#include "passes/plan_table.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "numbers/errors.h"
#include "numbers/rounding.h"
#include "numbers/text_util.h"

namespace tarvello {
namespace {

// A value as read, as a number that can be added up, or nothing.
std::optional<double> NumberOf(const Variant& value, const NumberFormat& format) {
    const std::optional<double> number = NumberOrNothing(value, format);
    if (number && std::isfinite(*number)) return number;
    return std::nullopt;
}

// Numbers in the user's format, anything else as the host gave it.
Text Cell(const Variant& value, const NumberFormat& format) {
    if (value.IsNumber()) return FormatShortNumber(value.NumberValue(), format);
    return TextOf(value);
}

// A cell keeps to its cell when pasted: no tab or line break inside; and a text keeps to being
// text, where a spreadsheet would take its first character for the start of a formula.
Text Pasted(Text text, const NumberFormat& format) {
    for (char16_t& c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
    }
    const bool formulaLike = !text.empty() && Text(u"=+-@").find(text[0]) != Text::npos;
    if (formulaLike && !NumberOrNothing(Variant::FromText(text), format)) text.insert(0, 1, u'\'');
    return text;
}

Text Signed(double value, const NumberFormat& format) {
    const Text number = FormatShortNumber(value, format);
    return value > 0 ? u"+" + number : number;
}

// The difference of two totals carries their binary error, made large by the subtraction: it
// is shown to the digits the totals themselves are good for.
double Difference(double after, double before) {
    const double larger = std::max(std::fabs(after), std::fabs(before));
    const double difference = after - before;
    if (larger == 0 || !std::isfinite(difference)) return difference;
    const double scale = std::pow(10.0, 14 - std::floor(std::log10(larger)));
    return std::round(difference * scale) / scale;
}

}  // namespace

const Text& ColumnName(PlanTable::Column column, PlanKind kind) {
    static const Text undoNames[PlanTable::kColumnCount] = {
        u"Row",
        u"Quantity",
        u"Unit Price",
        u"Unit Price Before the Round",
        u"Extended Price",
        u"Extended Price Before the Round",
        u"Price Modifier",
        u"Note",
    };
    if (kind == PlanKind::Undo) return undoNames[column];
    static const Text names[PlanTable::kColumnCount] = {
        u"Row",
        u"Quantity",
        u"Unit Price",
        u"New Unit Price",
        u"Extended Price",
        u"New Extended Price",
        u"Price Modifier",
        u"Note",
    };
    return names[column];
}

PlanTable MakePlanTable(const RoundPlan& plan, const NumberFormat& format) {
    PlanTable table;
    table.kind = plan.kind;
    table.remark = plan.remark;
    for (const PlannedLineItem& item : plan.items) {
        PlanTable::Line line;
        line.cells[PlanTable::kRow] = WholeText(item.row);
        line.cells[PlanTable::kQuantity] = Cell(item.quantity, format);
        line.cells[PlanTable::kUnitPrice] = Cell(item.unitPrice, format);
        // A line item left as it is keeps its price as read.
        line.cells[PlanTable::kNewUnitPrice] = item.change
                                                   ? FormatShortNumber(item.newUnitPrice, format)
                                                   : Cell(item.unitPrice, format);
        line.cells[PlanTable::kExtendedPrice] = Cell(item.extendedPrice, format);
        line.cells[PlanTable::kPriceModifier] = item.modifier ? TextOf(*item.modifier) : Text();
        line.cells[PlanTable::kNote] = item.note;

        const std::optional<double> quantity = NumberOf(item.quantity, format);
        const std::optional<double> before = NumberOf(item.extendedPrice, format);
        std::optional<double> after = before;
        if (item.change) {
            after = quantity ? std::optional<double>(item.newUnitPrice * *quantity) : std::nullopt;
        }
        if (!item.change) {
            line.cells[PlanTable::kNewExtendedPrice] = Cell(item.extendedPrice, format);
        } else if (after) {
            line.cells[PlanTable::kNewExtendedPrice] = FormatShortNumber(*after, format);
        }
        if (after && before) {
            table.extendedBefore += *before;
            table.extendedAfter += *after;
        } else {
            ++table.leftOut;
        }
        const std::optional<double> unitPrice = NumberOf(item.unitPrice, format);
        const bool sameModifier =
            item.modifier && TextOf(*item.modifier) == TextOf(item.newModifier);
        line.unchanged =
            !item.change || (unitPrice && *unitPrice == item.newUnitPrice && sameModifier);
        table.lines.push_back(std::move(line));
    }
    return table;
}

Text TotalsText(const PlanTable& table, const NumberFormat& format) {
    const double difference = Difference(table.extendedAfter, table.extendedBefore);
    Text text = u"Extended price before: " + FormatShortNumber(table.extendedBefore, format) +
                u"   after: " + FormatShortNumber(table.extendedAfter, format) +
                u"   difference: " + Signed(difference, format);
    if (table.extendedBefore != 0) {
        const double percent = std::round(difference / table.extendedBefore * 10000) / 100;
        text += u" (" + Signed(percent, format) + u"%)";
    }
    if (table.leftOut > 0) {
        text += u"   (" + WholeText(table.leftOut) +
                (table.leftOut == 1 ? u" line item" : u" line items") +
                u" without a number left out)";
    }
    return text;
}

Text TabSeparatedLine(const Text* cells, std::size_t count, const NumberFormat& format) {
    Text text;
    for (std::size_t column = 0; column < count; ++column) {
        if (column > 0) text += u'\t';
        text += Pasted(cells[column], format);
    }
    return text + u"\r\n";
}

Text TabSeparated(const PlanTable& table, const NumberFormat& format) {
    Text header[PlanTable::kColumnCount];
    for (int column = 0; column < PlanTable::kColumnCount; ++column) {
        header[column] = ColumnName(static_cast<PlanTable::Column>(column), table.kind);
    }
    Text text = TabSeparatedLine(header, PlanTable::kColumnCount, format);
    for (const PlanTable::Line& line : table.lines) {
        text += TabSeparatedLine(line.cells, PlanTable::kColumnCount, format);
    }
    Text total[PlanTable::kColumnCount];
    total[PlanTable::kRow] = u"Total";
    total[PlanTable::kExtendedPrice] = FormatShortNumber(table.extendedBefore, format);
    total[PlanTable::kNewExtendedPrice] = FormatShortNumber(table.extendedAfter, format);
    return text + TabSeparatedLine(total, PlanTable::kColumnCount, format);
}

}  // namespace tarvello
