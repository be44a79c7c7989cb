#include "ui/window-utils/sizable_window.h"

#include <algorithm>

#include "ui/window-utils/dpi.h"
#include "ui/window-utils/dpi_change.h"

namespace tarvello::ui {

// The table's client area with room for the texts, never smaller than the owner (a long list
// reads better in a larger window), centred on the owner's monitor as every modal window opens.
void SizableWindow::SizeAndPlace(int moreWidth) {
    controls_.Fit();
    RememberLayout();
    RECT ownerRect{0, 0, 0, 0};
    if (owner()) GetWindowRect(owner(), &ownerRect);
    minimumWindow_ = {std::max(ownerRect.right - ownerRect.left, 200L),
                      std::max(ownerRect.bottom - ownerRect.top, 150L)};
    SetClientSize(hwnd_, createdClient_, controls_.Dpi());
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    const RECT monitor = OwnersMonitor(owner());
    const int wider = std::min<int>(frame.right - frame.left + std::max(moreWidth, 0),
                                    monitor.right - monitor.left);
    const int width = std::max<int>({frame.right - frame.left, wider, minimumWindow_.cx});
    const int height = std::max<int>(frame.bottom - frame.top, minimumWindow_.cy);
    if (width != frame.right - frame.left || height != frame.bottom - frame.top) {
        SetWindowPos(hwnd_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CentreOnOwnersMonitor(hwnd_);
    // The window may have opened larger than its table (a large owner): follow it.
    FollowClientSize();
}

void SizableWindow::RememberLayout() {
    createdClient_ = controls_.ClientSize();
    placed_.clear();
    for (const ControlSpec& row : controls_.Rows()) {
        HWND control = controls_.Handle(row.id);
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
        placed_.push_back({row.id, rect});
    }
}

void SizableWindow::FollowClientSize() {
    RECT client;
    GetClientRect(hwnd_, &client);
    Follow(client.right, client.bottom);
}

void SizableWindow::Follow(int width, int height) {
    const int dx = width - createdClient_.cx;
    const int dy = height - createdClient_.cy;
    for (const Anchor& anchor : anchors_) {
        const auto placed = std::find_if(placed_.begin(), placed_.end(),
                                         [&](const Placed& p) { return p.id == anchor.id; });
        if (placed == placed_.end()) continue;
        RECT r = placed->rect;
        if (anchor.right) {
            r.right += dx;
            if (!anchor.left) r.left += dx;
        }
        if (anchor.bottom) {
            r.bottom += dy;
            if (!anchor.top) r.top += dy;
        }
        SetWindowPos(controls_.Handle(anchor.id), nullptr, r.left, r.top,
                     std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// On another monitor's scaling: fonts, layout and what the window adds of the new DPI in the
// suggested rectangle; the smallest size as the owner's is there.
void SizableWindow::FollowDpi(WPARAM wParam, LPARAM lParam) {
    const int before = controls_.Dpi();
    const int dpi = DpiOfChange(wParam);
    TakeSuggestedRect(hwnd_, lParam);
    controls_.ChangeDpi(dpi);
    FollowDpiToo(dpi);
    RememberLayout();
    minimumWindow_ = {MulDiv(minimumWindow_.cx, dpi, before),
                      MulDiv(minimumWindow_.cy, dpi, before)};
    FollowClientSize();
}

LRESULT SizableWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            Follow(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {minimumWindow_.cx, minimumWindow_.cy};
            return 0;
        }
        default:
            return ModalWindow::OnMessage(msg, wParam, lParam);
    }
}

}  // namespace tarvello::ui
