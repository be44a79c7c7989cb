#include "standin/quote_csv.h"

#include <array>

#include "standin/number_text.h"

namespace tarvello::standin {
namespace {

constexpr std::array<Field, 5> kColumns = {Field::LineType, Field::Description, Field::QtyTotal,
                                           Field::UnitPrice, Field::PriceModifier};

std::wstring QuoteField(const std::wstring& field) {
    if (field.find_first_of(L",\"\r\n") == std::wstring::npos && field.rfind(L"#", 0) != 0)
        return field;
    std::wstring out = L"\"";
    for (wchar_t c : field) {
        if (c == L'"') out += L'"';
        out += c;
    }
    return out + L"\"";
}

bool IsBlank(const std::vector<std::wstring>& record) {
    return record.size() == 1 && record[0].find_first_not_of(L" \t") == std::wstring::npos;
}

}  // namespace

std::vector<std::vector<std::wstring>> SplitCsv(const std::wstring& text) {
    std::vector<std::vector<std::wstring>> records;
    std::vector<std::wstring> record;
    std::wstring field;
    bool quoted = false, atRecordStart = true, skipping = false;
    size_t i = 0;
    auto endRecord = [&] {
        record.push_back(field);
        if (!IsBlank(record)) records.push_back(record);
        record.clear();
        field.clear();
        atRecordStart = true;
    };
    if (!text.empty() && text[0] == 0xFEFF) i = 1;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (skipping) {
            if (c == L'\n') {
                skipping = false;
                atRecordStart = true;
            }
            continue;
        }
        if (atRecordStart && c == L'#') {
            skipping = true;
            continue;
        }
        atRecordStart = false;
        if (quoted) {
            if (c == L'"') {
                if (i + 1 < text.size() && text[i + 1] == L'"') {
                    field += L'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == L'"') {
            quoted = true;
        } else if (c == L',') {
            record.push_back(field);
            field.clear();
        } else if (c == L'\n') {
            endRecord();
        } else if (c != L'\r') {
            field += c;
        }
    }
    if (!atRecordStart || !field.empty() || !record.empty()) endRecord();
    return records;
}

bool ParseQuote(const std::wstring& text, std::vector<LineItem>* items, std::wstring* error) {
    auto records = SplitCsv(text);
    if (records.empty()) {
        *error = L"the file has no header line";
        return false;
    }
    std::array<size_t, kColumns.size()> position{};
    for (size_t c = 0; c < kColumns.size(); ++c) {
        const auto& header = records[0];
        position[c] = header.size();
        for (size_t h = 0; h < header.size(); ++h)
            if (header[h] == FieldName(kColumns[c])) position[c] = h;
        if (position[c] == header.size()) {
            *error = std::wstring(L"the header has no column ") + FieldName(kColumns[c]);
            return false;
        }
    }
    items->clear();
    for (size_t r = 1; r < records.size(); ++r) {
        const auto& rec = records[r];
        auto cell = [&](size_t c) { return position[c] < rec.size() ? rec[position[c]] : L""; };
        LineItem item;
        item.lineType = Cell::FromText(cell(0));
        item.description = cell(1);
        item.qtyTotal = Cell::FromText(cell(2));
        item.unitPrice = Cell::FromText(cell(3));
        item.priceModifier = cell(4);
        if (item.lineType.IsNumber() &&
            (*item.lineType.number != static_cast<short>(*item.lineType.number))) {
            *error = L"record " + std::to_wstring(r) + L": LineType " + item.lineType.ToText() +
                     L" is not a whole number from -32768 to 32767";
            return false;
        }
        items->push_back(std::move(item));
    }
    if (items->size() > 32767) {
        *error = L"more than 32767 line items";
        return false;
    }
    return true;
}

std::wstring FormatQuote(const std::vector<LineItem>& items) {
    std::wstring out;
    for (Field f : kColumns) out += std::wstring(FieldName(f)) + L",";
    out += L"ExtendedPrice\r\n";
    for (const auto& item : items) {
        out += QuoteField(item.lineType.ToText()) + L",";
        out += QuoteField(item.description) + L",";
        out += QuoteField(item.qtyTotal.ToText()) + L",";
        out += QuoteField(item.unitPrice.ToText()) + L",";
        out += QuoteField(item.priceModifier) + L",";
        out += QuoteField(item.ExtendedPrice().ToText()) + L"\r\n";
    }
    return out;
}

}  // namespace tarvello::standin
