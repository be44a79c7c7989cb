#pragma once
// A list view in report form, as the preview and Round History show a table: its columns from a
// table in twips, its rows as texts, and each column as wide as its widest text or its header,
// whichever is wider, and at least as the table has it.

#include <windows.h>

#include <string>
#include <vector>

namespace tarvello::ui {

// A column as it opens, in twips; numbers are right-aligned.
struct ColumnSpec {
    int widthTwips;
    bool number;
};

// Room beside a header's text, for its margins and the sort mark's place.
constexpr int kColumnPaddingTwips = 360;

// Full-row selection and grid lines, and the columns of `names`, as wide as `columns` has them
// at `dpi`.
void AddColumns(HWND list, const std::vector<ColumnSpec>& columns,
                const std::vector<std::wstring>& names, int dpi);
// A row at `index`, one text a column.
void AddRow(HWND list, int index, const std::vector<std::wstring>& cells);
// Readable however narrow the window, which then scrolls the list sideways.
void SizeColumns(HWND list, const std::vector<ColumnSpec>& columns,
                 const std::vector<std::wstring>& names, int dpi);
// How much wider the list would have to be to show every column without scrolling; 0 when it
// shows them all.
int WidthShort(HWND list);

}  // namespace tarvello::ui
