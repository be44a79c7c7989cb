#pragma once
// The stand-in's window: the active quote as a report list. Its selection and focused item
// are what clients get as the selected rows and the active row. Its Quote menu lets the user
// put another loaded quote in the active one's place.

#include <windows.h>

#include <string>
#include <vector>

#include "standin/quote_document.h"

namespace tarvello::standin {

extern const wchar_t kWindowClass[];

// Whoever owns the documents, asked when a quote is chosen from the Quote menu.
class QuoteChooser {
public:
    // `loadOrder` counts the quotes from 0 in command-line order. True when that quote is the
    // one shown afterwards.
    virtual bool ShowQuote(int loadOrder) = 0;

protected:
    ~QuoteChooser() = default;
};

class StandinWindow {
public:
    StandinWindow() = default;
    StandinWindow(const StandinWindow&) = delete;
    StandinWindow& operator=(const StandinWindow&) = delete;
    ~StandinWindow();

    // `quoteNames` in load order; `chooser` is asked for as long as the window takes commands.
    bool Create(const std::vector<std::wstring>& quoteNames, QuoteChooser* chooser);
    HWND hwnd() const { return hwnd_; }

    // Shows `doc` (null: no document open) with the given rows selected and focus on `focus`.
    void ShowDocument(const QuoteDocument* doc, const std::vector<int>& selected, int focus);
    void RefreshRow(int row);

    std::vector<int> SelectedRows() const;
    int FocusedRow() const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void FillRow(int row);

    HWND hwnd_ = nullptr;
    HWND list_ = nullptr;
    HMENU quoteMenu_ = nullptr;
    QuoteChooser* chooser_ = nullptr;
    const QuoteDocument* doc_ = nullptr;
};

}  // namespace tarvello::standin
