// Edit > Undo Round as the menu shows it: greyed while there is nothing to give back, otherwise
// how many line items it gives back and when the Round that wrote them was made.

#include "ui/main-window/frm_main.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/local_time.h"

namespace tarvello::ui {

void frmMain::UpdateUndoItem() {
    HMENU menu = GetMenu(hwnd_);
    if (!menu) return;
    const std::optional<RoundRecord> round = history_.NextUndo();
    const std::int32_t count = round ? round->Undoable() : 0;
    std::wstring caption = L"&Undo Round";
    if (count > 0) {
        caption += L" (" + std::to_wstring(count) + (count == 1 ? L" line item" : L" line items");
        const std::wstring when = LocalWhen(round->began);
        if (!when.empty()) caption += L", " + when;
        caption += L")";
    }
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_STATE;
    item.dwTypeData = caption.data();
    item.fState = count > 0 ? MFS_ENABLED : MFS_GRAYED;
    SetMenuItemInfoW(menu, main_window::kMnuEditUndo, FALSE, &item);
    DrawMenuBar(hwnd_);
}

}  // namespace tarvello::ui
