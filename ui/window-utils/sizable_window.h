#pragma once
// A modal window the user may make larger, for a long list (the preview, Round History): it opens
// with its table's client area and the room its texts need, never smaller than its owner, centred
// on its owner's monitor; its controls follow its size by their anchors; on another monitor's
// scaling it takes the layout of the new DPI and keeps its smallest size in proportion.

#include <windows.h>

#include <vector>

#include "ui/window-utils/modal_window.h"

namespace tarvello::ui {

// Which edges of the client area a control keeps its distance to when the window is resized: a
// control held to both left and right (or top and bottom) grows with the window.
struct Anchor {
    int id;
    bool left, top, right, bottom;
};

class SizableWindow : public ModalWindow {
protected:
    // `anchors` must outlive the window (a layout's static table).
    SizableWindow(HWND owner, const std::vector<Anchor>& anchors)
        : ModalWindow(owner), anchors_(anchors) {}

    // The texts are in: the window takes its first size and place, `moreWidth` pixels wider than
    // its table as far as its owner's monitor has room (a list whose columns need more).
    void SizeAndPlace(int moreWidth = 0);
    // What a window adds when its DPI changes, before its layout is taken as the one to follow
    // (the preview's columns).
    virtual void FollowDpiToo(int /*dpi*/) {}

    void FollowDpi(WPARAM wParam, LPARAM lParam) override;
    // WM_SIZE and WM_GETMINMAXINFO; the rest to ModalWindow.
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void RememberLayout();
    void FollowClientSize();
    void Follow(int width, int height);

    const std::vector<Anchor>& anchors_;
    // The controls as laid out for the client area the window was made with.
    struct Placed {
        int id;
        RECT rect;
    };
    std::vector<Placed> placed_;
    SIZE createdClient_{};
    SIZE minimumWindow_{};
};

}  // namespace tarvello::ui
