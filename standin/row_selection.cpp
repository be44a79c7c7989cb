#include "standin/row_selection.h"

#include <algorithm>

namespace tarvello::standin {

std::wstring FormatSelectedRows(std::vector<int> rows, int rowCount) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rowCount > 0 && static_cast<int>(rows.size()) == rowCount) return L"*";
    std::wstring out;
    for (int row : rows) {
        if (!out.empty()) out += L',';
        out += std::to_wstring(row);
    }
    return out;
}

bool ParseRowList(const std::wstring& text, int rowCount, std::vector<int>* rows,
                  std::wstring* error) {
    rows->clear();
    if (text == L"*") {
        for (int r = 0; r < rowCount; ++r) rows->push_back(r);
        return true;
    }
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(L',', pos);
        if (end == std::wstring::npos) end = text.size();
        std::wstring entry = text.substr(pos, end - pos);
        pos = end + 1;
        bool digits = !entry.empty() && entry.size() <= 5 &&
                      entry.find_first_not_of(L"0123456789") == std::wstring::npos;
        int row = digits ? std::stoi(entry) : -1;
        if (!digits || row >= rowCount) {
            *error = L"row \"" + entry + L"\" is not a row of the document (rows 0 to " +
                     std::to_wstring(rowCount - 1) + L")";
            return false;
        }
        rows->push_back(row);
    }
    std::sort(rows->begin(), rows->end());
    rows->erase(std::unique(rows->begin(), rows->end()), rows->end());
    return true;
}

}  // namespace tarvello::standin
