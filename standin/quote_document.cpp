#include "standin/quote_document.h"

#include <utility>

#include "standin/number_text.h"

namespace tarvello::standin {
namespace {

struct FieldNameEntry {
    Field field;
    const wchar_t* name;
};

constexpr FieldNameEntry kFieldNames[] = {
    {Field::LineType, L"LineType"},           {Field::Description, L"Description"},
    {Field::QtyTotal, L"QtyTotal"},           {Field::UnitPrice, L"UnitPrice"},
    {Field::PriceModifier, L"PriceModifier"}, {Field::ExtendedPrice, L"ExtendedPrice"},
};

}  // namespace

Cell Cell::FromText(const std::wstring& text) {
    double v = 0;
    if (ParseNumber(text, &v)) return Number(v);
    return Text(text);
}

std::wstring Cell::ToText() const {
    return number ? FormatNumber(*number) : text;
}

std::optional<Field> FieldFromName(const std::wstring& name) {
    for (const auto& entry : kFieldNames)
        if (name == entry.name) return entry.field;
    return std::nullopt;
}

const wchar_t* FieldName(Field field) {
    for (const auto& entry : kFieldNames)
        if (entry.field == field) return entry.name;
    return L"";
}

Cell LineItem::ExtendedPrice() const {
    if (!unitPrice.IsNumber()) return unitPrice;
    if (!qtyTotal.IsNumber()) return qtyTotal;
    return Cell::Number(*unitPrice.number * *qtyTotal.number);
}

Workspace::Shown Workspace::ShowQuote(int loadOrder) {
    QuoteDocument* shown = Active();
    if (!shown) return Shown::Refused;
    for (QuoteDocument& doc : documents) {
        if (doc.loadOrder != loadOrder) continue;
        if (&doc == shown) return Shown::Already;
        std::swap(doc, *shown);
        return Shown::Exchanged;
    }
    return Shown::Refused;
}

}  // namespace tarvello::standin
