#include "tests/e2e/quote_table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace tarvello::e2e {
namespace {

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Field(const std::wstring& text) {
    if (text.find_first_of(L",\"") == std::wstring::npos) return Utf8(text);
    std::string out = "\"";
    for (char c : Utf8(text)) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::vector<std::wstring> SplitCsvLine(const std::wstring& line) {
    std::vector<std::wstring> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const wchar_t c = line[i];
        if (quoted) {
            if (c == L'"' && i + 1 < line.size() && line[i + 1] == L'"') {
                fields.back() += L'"';
                ++i;
            } else if (c == L'"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == L'"') {
            quoted = true;
        } else if (c == L',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

}  // namespace

std::string QuoteCsv(const std::vector<QuoteRow>& rows) {
    std::string text = "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n";
    for (const auto& row : rows) {
        text += Field(row.lineType) + "," + Field(row.description) + "," + Field(row.quantity) +
                "," + Field(row.unitPrice) + "," + Field(row.modifier) + "\n";
    }
    return text;
}

std::vector<QuoteRow> ParseDump(const std::wstring& text) {
    std::vector<QuoteRow> rows;
    size_t start = 0;
    bool header = true;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.empty() || line[0] == L'#') continue;
        if (header) {
            header = false;
            continue;
        }
        auto fields = SplitCsvLine(line);
        fields.resize(6);
        rows.push_back({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
    }
    return rows;
}

std::vector<std::wstring> PriceLines(const std::vector<QuoteRow>& rows) {
    std::vector<std::wstring> lines;
    for (size_t i = 0; i < rows.size(); ++i) {
        // Numbers are compared by value: the same double may be written in more than one
        // shortest form.
        std::wstring unit = rows[i].unitPrice;
        wchar_t* end = nullptr;
        const double value = std::wcstod(unit.c_str(), &end);
        if (!unit.empty() && end != nullptr && *end == L'\0') unit = NumberText(value);
        lines.push_back(L"row " + std::to_wstring(i) + L": type " + rows[i].lineType + L", unit " +
                        unit + L", modifier \"" + rows[i].modifier + L"\"");
    }
    return lines;
}

std::wstring NumberText(double value) {
    char text[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value && std::strchr(text, 'e') == nullptr) break;
    }
    return std::wstring(text, text + std::strlen(text));
}

}  // namespace tarvello::e2e
