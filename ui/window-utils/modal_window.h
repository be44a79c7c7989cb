#pragma once
// What a window shown modally over its owner needs, for the About box and the preview alike:
// the owner disabled meanwhile, a message loop of its own, and the focus given back to the
// control that last had it when the window is activated again.

#include <windows.h>

#include "ui/window-utils/control_factory.h"

namespace tarvello::ui {

class ModalOwner {
public:
    // Disables `owner`; only what this disabled is enabled again (it may have been disabled by
    // a box of someone else's already).
    explicit ModalOwner(HWND owner) : owner_(owner) {}
    ~ModalOwner() { Release(); }
    ModalOwner(const ModalOwner&) = delete;
    ModalOwner& operator=(const ModalOwner&) = delete;

    void Disable() {
        if (owner_ && !disabled_) disabled_ = !EnableWindow(owner_, FALSE);
    }
    // Before the modal window goes, so that the windowing system hands the activation back to
    // the owner rather than to some other program.
    void Release() {
        if (disabled_) EnableWindow(owner_, TRUE);
        disabled_ = false;
    }
    HWND owner() const { return owner_; }
    // The main window lives in the top-most band; a window beneath it would be hidden by its own
    // owner, so a modal window joins that band too.
    DWORD InOwnersBand(DWORD exStyle) const {
        const bool topMost = owner_ && (GetWindowLongPtrW(owner_, GWL_EXSTYLE) & WS_EX_TOPMOST);
        return topMost ? exStyle | WS_EX_TOPMOST : exStyle;
    }

private:
    HWND owner_;
    bool disabled_ = false;
};

// The monitor the owner lies on (the one nearest to it); a modal window is made at its corner,
// so that it has that monitor's DPI from the start.
RECT OwnersMonitor(HWND owner);

// Sizes a window of fixed size for a client area of `client` pixels at `dpi` and centres it on
// its owner's monitor, as the program's modal windows open.
void SizeAndCentre(HWND window, SIZE client, int dpi);

// Runs the window's own message loop until the window is gone, keys going through
// HandleDialogKeys as in the program's main loop. A quit request arriving meanwhile ends the
// loop and is passed on to the loop outside.
void RunModalLoop(HWND window);

// For WM_ACTIVATE: remembers the focused control as the window loses the activation and gives
// the focus back to it (or to `first`) as it gets it again.
LRESULT KeepFocusOnActivate(HWND window, WPARAM wParam, LPARAM lParam, HWND& lastFocus, HWND first);

// For DM_GETDEFID: Enter presses the push button that has the focus, and `defaultId` when no
// button has it.
LRESULT DefaultButtonAnswer(const ControlSet& controls, int defaultId);

}  // namespace tarvello::ui
