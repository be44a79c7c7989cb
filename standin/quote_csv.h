#pragma once
// Quote files: a header line naming the columns, then one line item per line. Columns are
// found by their header names, so a dump (which adds ExtendedPrice) reads back as a quote.

#include <string>
#include <vector>

#include "standin/quote_document.h"

namespace tarvello::standin {

// Splits CSV text into records of fields: double-quoted fields may hold commas, line breaks
// and "" for a quote; blank lines and lines starting with # are skipped.
std::vector<std::vector<std::wstring>> SplitCsv(const std::wstring& text);

// Reads the line items of `text` into *items; on failure says which line and why.
bool ParseQuote(const std::wstring& text, std::vector<LineItem>* items, std::wstring* error);

// The document's line items as CSV, with a trailing ExtendedPrice column, CRLF line ends.
std::wstring FormatQuote(const std::vector<LineItem>& items);

}  // namespace tarvello::standin
