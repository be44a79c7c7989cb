#include "ui/window-utils/report_list.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/window-utils/twips.h"

namespace tarvello::ui {

void AddColumns(HWND list, const std::vector<ColumnSpec>& columns,
                const std::vector<std::wstring>& names, int dpi) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        std::wstring name = names.at(column);
        LVCOLUMNW heading{};
        heading.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        heading.fmt = columns[column].number ? LVCFMT_RIGHT : LVCFMT_LEFT;
        heading.cx = TwipsToPixels(columns[column].widthTwips, dpi);
        heading.pszText = name.data();
        heading.iSubItem = static_cast<int>(column);
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&heading));
    }
}

void AddRow(HWND list, int index, const std::vector<std::wstring>& cells) {
    for (std::size_t column = 0; column < cells.size(); ++column) {
        std::wstring text = cells[column];
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.iSubItem = static_cast<int>(column);
        item.pszText = text.data();
        SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
                     reinterpret_cast<LPARAM>(&item));
    }
}

void SizeColumns(HWND list, const std::vector<ColumnSpec>& columns,
                 const std::vector<std::wstring>& names, int dpi) {
    for (std::size_t column = 0; column < columns.size(); ++column) {
        const int opened = TwipsToPixels(columns[column].widthTwips, dpi);
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
        const int content = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
        const int header =
            static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0,
                                          reinterpret_cast<LPARAM>(names.at(column).c_str()))) +
            TwipsToPixels(kColumnPaddingTwips, dpi);
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, std::max({opened, content, header}));
    }
}

int WidthShort(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    int columns = 0;
    for (int column = 0; column < count; ++column) {
        columns += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
    }
    RECT client;
    GetClientRect(list, &client);
    // Room for the scroll bar a long list shows.
    const int needed = columns + GetSystemMetrics(SM_CXVSCROLL) - client.right;
    return std::max(needed, 0);
}

}  // namespace tarvello::ui
