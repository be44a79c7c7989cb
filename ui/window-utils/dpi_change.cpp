#include "ui/window-utils/dpi_change.h"

#include "ui/window-utils/dpi.h"

namespace tarvello::ui {

void TakeSuggestedRect(HWND window, LPARAM lParam) {
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam,
                    std::initializer_list<ControlSet*> sets) {
    const int dpi = DpiOfChange(wParam);
    TakeSuggestedRect(window, lParam);
    for (ControlSet* set : sets) set->ChangeDpi(dpi);
    if (sets.size() > 0) SetClientSize(window, (*sets.begin())->ClientSize(), dpi);
    return dpi;
}

}  // namespace tarvello::ui
