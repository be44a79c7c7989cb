#pragma once
// Drives a modal window (the About box, the preview) from inside its own modal loop. Steps are
// queued on a test owner window before the window is loaded; its loop dispatches them once it
// is up, one posted message per step, so that what a step posts (keys, clicks) is handled before
// the next step runs.

#include <windows.h>

#include <deque>
#include <functional>

namespace tarvello::test {

class ModalDriver {
public:
    // `boxClass`: the window class of the modal window the steps drive.
    explicit ModalDriver(const wchar_t* boxClass);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    HWND owner() const { return owner_; }
    // Runs `step` inside the modal loop, after everything posted before it.
    void Then(std::function<void()> step);
    // Arms a guard for one modal run: should the window still be open when the guard fires (the
    // steps failed to close it), the guard destroys it so that the test ends and fails.
    void ArmGuard();
    void DisarmGuard();
    bool guardFired() const { return guardFired_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    const wchar_t* boxClass_;
    HWND owner_ = nullptr;
    std::deque<std::function<void()>> steps_;
    bool guardFired_ = false;
};

// The open window of class `boxClass` of this thread, or null.
HWND FindModal(const wchar_t* boxClass);
// Posts a key press to the window that has the focus, as the keyboard would deliver it.
void PressKey(UINT virtualKey);
// Copies what the window's client area shows on the screen, children included, into `dc`.
void CopyClient(HWND window, HDC dc);
// Posts Alt plus a letter (an access key).
void PressAltKey(wchar_t letter);

}  // namespace tarvello::test
