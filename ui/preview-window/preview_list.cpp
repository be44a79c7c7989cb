// The preview's list, totals and copy: the plan's table as the user reads and pastes it.

#include "ui/preview-window/frm_preview.h"

#include <commctrl.h>

#include <algorithm>

#include "identity/identity.h"
#include "ui/preview-window/preview_layout.h"
#include "ui/window-utils/clipboard.h"
#include "ui/window-utils/twips.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

using namespace preview_window;

void frmPreview::FillList() {
    HWND list = controls_.Handle(kLvwLineItems);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const int dpi = controls_.Dpi();
    const auto& columns = Columns();
    for (int column = 0; column < PlanTable::kColumnCount; ++column) {
        std::wstring name = ToWide(ColumnName(static_cast<PlanTable::Column>(column)));
        LVCOLUMNW heading{};
        heading.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        heading.fmt = columns[static_cast<std::size_t>(column)].number ? LVCFMT_RIGHT : LVCFMT_LEFT;
        heading.cx = TwipsToPixels(columns[static_cast<std::size_t>(column)].widthTwips, dpi);
        heading.pszText = name.data();
        heading.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&heading));
    }
    int index = 0;
    for (const PlanTable::Line& line : table_.lines) {
        for (int column = 0; column < PlanTable::kColumnCount; ++column) {
            std::wstring text = ToWide(line.cells[column]);
            if (column == PlanTable::kNewUnitPrice && line.unchanged) text += L" (unchanged)";
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = index;
            item.iSubItem = column;
            item.pszText = text.data();
            SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
                         reinterpret_cast<LPARAM>(&item));
        }
        ++index;
    }

    SizeColumns(dpi);

    const bool nothing = table_.lines.empty();
    ShowWindow(list, nothing ? SW_HIDE : SW_SHOW);
    HWND nothingLine = controls_.Handle(kLblNothing);
    ShowWindow(nothingLine, nothing ? SW_SHOW : SW_HIDE);
    SetWindowTextW(nothingLine,
                   kind_ == PlanKind::Round
                       ? L"No line item would be written: with these choices the Round leaves "
                         L"every line item of the active document as it is."
                       : L"No line item would be written: no line item of type 1 lies in the rows "
                         L"chosen in the main window.");
    EnableWindow(controls_.Handle(kCmdApply), !nothing);
    std::wstring totals = ToWide(TotalsText(table_, format_));
    if (!table_.remark.empty()) totals += L"\r\n" + ToWide(table_.remark);
    SetWindowTextW(controls_.Handle(kLblTotals), totals.c_str());
}

// Readable however narrow the window, which then scrolls the list sideways.
void frmPreview::SizeColumns(int dpi) {
    HWND list = controls_.Handle(kLvwLineItems);
    const auto& columns = Columns();
    for (int column = 0; column < PlanTable::kColumnCount; ++column) {
        const int opened = TwipsToPixels(columns[static_cast<std::size_t>(column)].widthTwips, dpi);
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
        const int content = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
        const std::wstring name = ToWide(ColumnName(static_cast<PlanTable::Column>(column)));
        const int header = static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0,
                                                         reinterpret_cast<LPARAM>(name.c_str()))) +
                           TwipsToPixels(kColumnPaddingTwips, dpi);
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, std::max({opened, content, header}));
    }
}

void frmPreview::cmdCopy_Click() {
    const wchar_t* why = nullptr;
    switch (CopyTextToClipboard(hwnd_, ToWide(TabSeparated(table_, format_)))) {
        case ClipboardCopy::Copied:
            return;
        case ClipboardCopy::ClipboardUnavailable:
            why =
                L"the clipboard could not be opened; another program may be using it. Try Copy "
                L"again in a moment.";
            break;
        case ClipboardCopy::NoMemory:
            why =
                L"there was not enough memory for its text. Close some programs or windows and "
                L"try Copy again.";
            break;
    }
    messages_.Show(hwnd_, std::wstring(L"The preview could not be put on the clipboard: ") + why,
                   L"" TARVELLO_TITLE, MB_ICONERROR);
}

}  // namespace tarvello::ui
