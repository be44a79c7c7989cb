#pragma once
// Quotes as the end-to-end tests write them for the stand-in and read them back from its dump.

#include <string>
#include <vector>

namespace tarvello::e2e {

struct QuoteRow {
    std::wstring lineType;
    std::wstring description;
    std::wstring quantity;
    std::wstring unitPrice;
    std::wstring modifier;
    std::wstring extendedPrice;  // only in the dump
};

// The quote file's text (UTF-8, with its header line).
std::string QuoteCsv(const std::vector<QuoteRow>& rows);
// The rows of a dump file's text, header and comment lines skipped.
std::vector<QuoteRow> ParseDump(const std::wstring& text);

// "row 2: type 1, unit 25.3, modifier \"\"" lines for whole-table comparisons.
std::vector<std::wstring> PriceLines(const std::vector<QuoteRow>& rows);

// The shortest text that reads back as the same double, as the dump writes numbers.
std::wstring NumberText(double value);

}  // namespace tarvello::e2e
