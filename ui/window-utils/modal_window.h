#pragma once
// The one base of the program's modal windows (the About box, the preview, Price Rules and Round
// to a Total): made hidden on its owner's monitor and shown centred on it, the owner disabled
// meanwhile, a message loop of its own, Enter for the default button, Escape and the title bar's
// close for the cancel button, the theme's colours, a change of DPI followed, and the focus given
// back to the control that last had it. A window adds only what is its own: its texts, its
// commands and whatever else it answers.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/window-utils/accessible_names.h"
#include "ui/window-utils/base_window.h"
#include "ui/window-utils/control_factory.h"
#include "ui/window-utils/scoped_win.h"

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

// The monitor the owner lies on (the primary one when it lies on none); a modal window is made
// at its corner, so that it has that monitor's DPI from the start.
RECT OwnersMonitor(HWND owner);

// Centres a window as it is on its owner's monitor.
void CentreOnOwnersMonitor(HWND window);

// Sizes a window of fixed size for a client area of `client` pixels at `dpi` and centres it on
// its owner's monitor, as the program's modal windows open.
void SizeAndCentre(HWND window, SIZE client, int dpi);

// What makes one modal window.
struct ModalForm {
    const wchar_t* className;
    const wchar_t* caption;
    const char* name;  // what could not be made, when it could not ("the About box")
    const std::vector<ControlSpec>& controls;
    SIZE clientTwips;  // the client area as the table has it
    int defaultId;     // the push button Enter presses when no other button has the focus
    int cancelId;      // the push button Escape and the title bar's close press
    FontSpec font = kProgramFont;
    bool sizable = false;  // a frame the user may drag, and a maximise box
};

class ModalWindow : public BaseWindow<ModalWindow> {
public:
    ModalWindow(const ModalWindow&) = delete;
    ModalWindow& operator=(const ModalWindow&) = delete;

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    explicit ModalWindow(HWND owner) : owner_(owner) {}
    virtual ~ModalWindow();

    // Creates the window hidden, at the corner of its owner's monitor, and its controls at that
    // monitor's DPI with what they tell screen readers; the default button wears the thick border.
    void CreateModal(const ModalForm& form);
    // The texts are in: the controls make room for them, and the window takes the room they need,
    // centred on its owner's monitor.
    void FitAndCentre();
    // Texts changed while the window is open: the controls make room for them again, and the
    // window keeps its place and takes the size they need now.
    void FitAgain();
    // Shows the window over its disabled owner and returns once it has closed.
    void ShowModal();
    // Closes the window. The owner is enabled again before the window goes, so that the
    // activation goes back to it.
    void EndModal();

    // Tells screen readers, beside its name, why a control is as it is (why it is greyed).
    void Describe(HWND control, const std::wstring& description) {
        if (accessible_) accessible_->Describe(control, description);
    }
    // The control the focus goes back to when the window is next activated (as it opens, too).
    void ReturnFocusTo(HWND control);
    // Focuses a text box (as soon as the window is shown) with its whole text selected, so that
    // what the user types next takes its place.
    void FocusText(HWND box);
    // The window's shortcut keys, ahead of the dialog keys (dialog_keys.h) while no text box has
    // the focus.
    void SetShortcuts(std::vector<ACCEL> keys);

    HWND owner() const { return owner_.owner(); }

    // A WM_COMMAND; Escape and the title bar's close come as a click of the cancel button.
    virtual void OnCommand(int id, int code) = 0;
    // Every message the base does not answer itself; DefWindowProc unless overridden.
    virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // WM_DPICHANGED: the suggested rectangle, the controls' fonts and layout of the new DPI, and
    // the client area that layout needs.
    virtual void FollowDpi(WPARAM wParam, LPARAM lParam);

    ControlSet controls_;

private:
    ModalOwner owner_;
    std::optional<AccessibleAnnotations> accessible_;
    ScopedAccelerators shortcuts_;
    HWND lastFocus_ = nullptr;
    int defaultId_ = 0;
    int cancelId_ = 0;
};

}  // namespace tarvello::ui
