#include "plan_table.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "errors.h"
#include "rounding.h"
#include "text_util.h"

namespace tarvello {
namespace {

// A value as read, as a number, or nothing when it is not one.
std::optional<double> NumberOf(const Variant& value, const NumberFormat& format) {
    if (value.IsEmpty()) return std::nullopt;
    try {
        const double number = ToNumber(value, format);
        if (std::isfinite(number)) return number;
    } catch (const EngineError&) {
    }
    return std::nullopt;
}

// Numbers in the user's format, anything else as the host gave it.
Text Cell(const Variant& value, const NumberFormat& format) {
    if (value.IsNumber()) return FormatShortNumber(value.NumberValue(), format);
    return TextOf(value);
}

// A cell keeps to its cell when pasted: no tab or line break inside.
Text Flat(Text text) {
    for (char16_t& c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
    }
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

const Text& ColumnName(PlanTable::Column column) {
    static const Text names[PlanTable::kColumnCount] = {
        u"Row",
        u"Quantity",
        u"Unit Price",
        u"New Unit Price",
        u"Extended Price",
        u"New Extended Price",
        u"Price Modifier",
    };
    return names[column];
}

PlanTable MakePlanTable(const RoundPlan& plan, const NumberFormat& format) {
    PlanTable table;
    for (const PlannedLineItem& item : plan.items) {
        PlanTable::Line line;
        line.row = item.row;
        line.cells[PlanTable::kRow] = TextFromUtf8(std::to_string(item.row));
        line.cells[PlanTable::kQuantity] = Cell(item.quantity, format);
        line.cells[PlanTable::kUnitPrice] = Cell(item.unitPrice, format);
        line.cells[PlanTable::kNewUnitPrice] = FormatShortNumber(item.newUnitPrice, format);
        line.cells[PlanTable::kExtendedPrice] = Cell(item.extendedPrice, format);
        line.cells[PlanTable::kPriceModifier] = item.modifier ? TextOf(*item.modifier) : Text();

        const std::optional<double> quantity = NumberOf(item.quantity, format);
        const std::optional<double> before = NumberOf(item.extendedPrice, format);
        if (quantity) {
            line.cells[PlanTable::kNewExtendedPrice] =
                FormatShortNumber(item.newUnitPrice * *quantity, format);
        }
        if (quantity && before) {
            table.extendedBefore += *before;
            table.extendedAfter += item.newUnitPrice * *quantity;
        } else {
            ++table.leftOut;
        }
        const std::optional<double> unitPrice = NumberOf(item.unitPrice, format);
        const bool noModifier = item.modifier && TextOf(*item.modifier).empty();
        line.unchanged = unitPrice && *unitPrice == item.newUnitPrice && noModifier;
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
        text += u"   (" + TextFromUtf8(std::to_string(table.leftOut)) +
                (table.leftOut == 1 ? u" line item" : u" line items") +
                u" without a number left out)";
    }
    return text;
}

Text TabSeparated(const PlanTable& table, const NumberFormat& format) {
    Text text;
    const auto addLine = [&text](const Text* cells) {
        for (int column = 0; column < PlanTable::kColumnCount; ++column) {
            if (column > 0) text += u'\t';
            text += Flat(cells[column]);
        }
        text += u"\r\n";
    };
    Text header[PlanTable::kColumnCount];
    for (int column = 0; column < PlanTable::kColumnCount; ++column) {
        header[column] = ColumnName(static_cast<PlanTable::Column>(column));
    }
    addLine(header);
    for (const PlanTable::Line& line : table.lines) addLine(line.cells);
    Text total[PlanTable::kColumnCount];
    total[PlanTable::kRow] = u"Total";
    total[PlanTable::kExtendedPrice] = FormatShortNumber(table.extendedBefore, format);
    total[PlanTable::kNewExtendedPrice] = FormatShortNumber(table.extendedAfter, format);
    addLine(total);
    return text;
}

}  // namespace tarvello
