#pragma once
// The selected-rows text the stand-in hands to clients, and the row lists of its command line.

#include <string>
#include <vector>

namespace tarvello::standin {

// "*" when every one of `rowCount` rows is selected (and there is at least one), "" when
// none, else the ascending indexes joined by commas: "1,2,5".
std::wstring FormatSelectedRows(std::vector<int> rows, int rowCount);

// Reads "1,2,5" or "*" (all of `rowCount` rows) or "" (none). Rows must lie in
// 0..rowCount-1; on failure says which entry is wrong.
bool ParseRowList(const std::wstring& text, int rowCount, std::vector<int>* rows,
                  std::wstring* error);

}  // namespace tarvello::standin
