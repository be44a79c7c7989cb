#pragma once
// The stand-in's window: the active quote as a report list. Its selection and focused item
// are what clients get as the selected rows and the active row.

#include <windows.h>

#include <string>
#include <vector>

#include "standin/quote_document.h"

namespace tarvello::standin {

extern const wchar_t kWindowClass[];

class StandinWindow {
public:
    StandinWindow() = default;
    StandinWindow(const StandinWindow&) = delete;
    StandinWindow& operator=(const StandinWindow&) = delete;
    ~StandinWindow();

    bool Create();
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
    const QuoteDocument* doc_ = nullptr;
};

}  // namespace tarvello::standin
