// Option buttons of a ControlSet: one exclusive group per frame, whose options need not be
// neighbours in tab order, with the option that is on as the frame's one tab stop.

#include "ui/window-utils/control_factory.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace tarvello::ui {

bool ControlSet::IsOptionOn(int id) const {
    HWND hwnd = Handle(id);
    return hwnd && SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ControlSet::SetOptionOn(int id) {
    const ControlSpec* chosen = Row(id);
    if (!chosen || chosen->kind != ControlKind::OptionButton) return false;
    bool wasOff = !IsOptionOn(id);
    for (const ControlSpec& row : rows_) {
        if (row.kind != ControlKind::OptionButton || row.container != chosen->container) continue;
        HWND hwnd = Handle(row.id);
        bool on = row.id == id;
        if (on != (SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED)) {
            SendMessageW(hwnd, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        // The option that is on is its frame's one tab stop.
        LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        LONG_PTR wanted = on ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        if (wanted != style) SetWindowLongPtrW(hwnd, GWL_STYLE, wanted);
    }
    return wasOff;
}

// The next (or previous) option of the same frame in tab-index order, wrapping around.
HWND ControlSet::NeighbourOption(int id, bool forward) const {
    const ControlSpec* current = Row(id);
    if (!current) return nullptr;
    std::vector<const ControlSpec*> group;
    for (const ControlSpec& row : rows_) {
        if (row.kind == ControlKind::OptionButton && row.container == current->container) {
            group.push_back(&row);
        }
    }
    std::stable_sort(group.begin(), group.end(), [](const ControlSpec* a, const ControlSpec* b) {
        return a->tabIndex < b->tabIndex;
    });
    auto at = std::find(group.begin(), group.end(), current);
    if (at == group.end() || group.size() < 2) return nullptr;
    std::size_t index = static_cast<std::size_t>(at - group.begin());
    std::size_t next =
        forward ? (index + 1) % group.size() : (index + group.size() - 1) % group.size();
    return Handle(group[next]->id);
}

LRESULT CALLBACK ControlSet::OptionKeys(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR subclassId, DWORD_PTR refData) {
    auto* self = reinterpret_cast<ControlSet*>(refData);
    switch (msg) {
        case WM_GETDLGCODE:
            // The set moves between a frame's options itself, since they need not be
            // neighbours in the dialog manager's order.
            if (lParam) {
                const MSG* key = reinterpret_cast<const MSG*>(lParam);
                if (key->message == WM_KEYDOWN &&
                    (key->wParam == VK_UP || key->wParam == VK_DOWN || key->wParam == VK_LEFT ||
                     key->wParam == VK_RIGHT)) {
                    return DefSubclassProc(hwnd, msg, wParam, lParam) | DLGC_WANTARROWS;
                }
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_LEFT || wParam == VK_RIGHT) {
                const ControlSpec* row = self->RowOf(hwnd);
                HWND next =
                    row ? self->NeighbourOption(row->id, wParam == VK_DOWN || wParam == VK_RIGHT)
                        : nullptr;
                if (next) {
                    SetFocus(next);
                    SendMessageW(next, BM_CLICK, 0, 0);
                }
                return 0;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &ControlSet::OptionKeys, subclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace tarvello::ui
