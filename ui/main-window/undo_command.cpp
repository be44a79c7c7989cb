// Edit > Undo Round: what the last Round wrote goes back, as far as nobody changed it since.

#include <string>
#include <utility>

#include "engine/describe_failure.h"
#include "ui/main-window/frm_main.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

void frmMain::KeepForUndo(UndoRecord&& record) {
    // Only a Round that reached the document is the last Round; one that stopped before (no
    // host, no document) leaves what Undo would give back as it was.
    if (record.started) undo_ = std::move(record);
}

// Greyed while there is nothing to give back; otherwise it says how much.
void frmMain::UpdateUndoItem() {
    HMENU menu = GetMenu(hwnd_);
    if (!menu) return;
    const auto count = static_cast<long long>(undo_.items.size());
    std::wstring caption = L"&Undo Round";
    if (count > 0) {
        caption += L" (" + std::to_wstring(count) + (count == 1 ? L" line item)" : L" line items)");
    }
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_STATE;
    item.dwTypeData = caption.data();
    item.fState = count > 0 ? MFS_ENABLED : MFS_GRAYED;
    SetMenuItemInfoW(menu, main_window::kMnuEditUndo, FALSE, &item);
    DrawMenuBar(hwnd_);
}

void frmMain::mnuEditUndo_Click() {
    if (undo_.items.empty()) return;  // Ctrl+Z with nothing to give back
    RunPass(PassWatch::Activity::Undo, [&](MessageSink& messages, PassWatch& watch) {
        const UndoOutcome outcome = pass_.UndoLastRound(undo_, messages, &watch);
        // Line items left alone are what Undo is for; a failure, or another document, is not.
        const bool wentWrong = outcome.status == UndoOutcome::Status::Failed ||
                               outcome.status == UndoOutcome::Status::DocumentChanged;
        return std::optional<Told>(
            {DescribeUndo(outcome, undo_),
             static_cast<UINT>(wentWrong ? MB_ICONERROR : MB_ICONINFORMATION)});
    });
}

}  // namespace tarvello::ui
