// The preview's list, totals and copy: the plan's table as the user reads and pastes it.

#include "ui/preview-window/frm_preview.h"

#include <commctrl.h>

#include "ui/preview-window/preview_layout.h"
#include "ui/window-utils/clipboard.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

using namespace preview_window;

namespace {

// Why nothing would be written, for the line shown in the list's place.
const wchar_t* NothingText(PlanKind kind) {
    switch (kind) {
        case PlanKind::Round:
            return L"No line item would be written: with these choices the Round leaves every line "
                   L"item of the active document as it is.";
        case PlanKind::Undo:
            return L"No line item would be written: this Round has nothing left to give back.";
        default:
            return L"No line item would be written: no line item of type 1 lies in the rows chosen "
                   L"in the main window.";
    }
}

}  // namespace

std::vector<std::wstring> frmPreview::ColumnNames() const {
    std::vector<std::wstring> names;
    for (int column = 0; column < PlanTable::kColumnCount; ++column) {
        names.push_back(ToWide(ColumnName(static_cast<PlanTable::Column>(column), kind_)));
    }
    return names;
}

void frmPreview::FillList() {
    HWND list = controls_.Handle(kLvwLineItems);
    const int dpi = controls_.Dpi();
    AddColumns(list, Columns(), ColumnNames(), dpi);
    int index = 0;
    for (const PlanTable::Line& line : table_.lines) {
        std::vector<std::wstring> cells;
        for (const Text& cell : line.cells) cells.push_back(ToWide(cell));
        if (line.unchanged) cells[PlanTable::kNewUnitPrice] += L" (unchanged)";
        AddRow(list, index++, cells);
    }
    SizeColumns(list, Columns(), ColumnNames(), dpi);

    const bool nothing = table_.lines.empty();
    ShowWindow(list, nothing ? SW_HIDE : SW_SHOW);
    HWND nothingLine = controls_.Handle(kLblNothing);
    ShowWindow(nothingLine, nothing ? SW_SHOW : SW_HIDE);
    SetWindowTextW(nothingLine, NothingText(kind_));
    EnableWindow(controls_.Handle(kCmdApply), !nothing);
    std::wstring totals = ToWide(TotalsText(table_, format_));
    if (!table_.remark.empty()) totals += L"\r\n" + ToWide(table_.remark);
    // An Undo says which Round it gives back.
    if (kind_ == PlanKind::Undo && !what_.empty()) totals += L"\r\n" + ToWide(what_);
    SetWindowTextW(controls_.Handle(kLblTotals), totals.c_str());
}

void frmPreview::cmdCopy_Click() {
    CopyOrTell(hwnd_, ToWide(TabSeparated(table_, format_)), L"The preview", messages_);
}

}  // namespace tarvello::ui
