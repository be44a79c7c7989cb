#include "standin/startup.h"

#include "standin/quote_csv.h"
#include "standin/row_selection.h"
#include "standin/text_file.h"

namespace tarvello::standin {
namespace {

std::wstring FileName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool PrepareStart(const StandinOptions& options, StartState* state, std::wstring* error) {
    Workspace& ws = state->workspace;
    for (const auto& path : options.quotes) {
        std::wstring text, why;
        QuoteDocument doc;
        doc.name = FileName(path);
        doc.loadOrder = static_cast<int>(ws.documents.size());
        if (!ReadTextFile(path, &text, &why) || !ParseQuote(text, &doc.items, &why)) {
            *error = L"Cannot load the quote " + path + L": " + why;
            return false;
        }
        ws.documents.push_back(std::move(doc));
    }
    int documents = static_cast<int>(ws.documents.size());
    ws.active = options.activeDocument.value_or(documents > 0 ? 0 : -1);
    if (ws.active < -1 || ws.active >= documents) {
        *error = L"--active-document " + std::to_wstring(ws.active) + L": there " +
                 (documents == 1 ? L"is 1 document"
                                 : L"are " + std::to_wstring(documents) + L" documents");
        return false;
    }
    int rows = ws.Active() ? static_cast<int>(ws.Active()->items.size()) : 0;
    if (options.selected && !ParseRowList(*options.selected, rows, &state->selected, error)) {
        *error = L"--selected: " + *error;
        return false;
    }
    state->focus = options.activeRow;
    if (rows == 0 && state->focus == 0) state->focus = -1;  // the default where there is no row
    if (state->focus >= rows) {
        *error = L"--active-row " + std::to_wstring(state->focus) + L": the document has " +
                 std::to_wstring(rows) + L" rows";
        return false;
    }
    return true;
}

}  // namespace tarvello::standin
