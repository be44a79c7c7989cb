#pragma once
// What the main window does while a pass (a Round or an Undo) talks to the host: from about
// half a second on it shows how far the pass is, in the header band and on the taskbar button,
// at most about ten times a second; and between two line items it looks at the input that came
// meanwhile, so that Escape, or a click on Close, asks the pass to stop. Everything shown is put
// back when the watch goes, however the pass ended.

#include <windows.h>

#include <cstdint>

#include "engine/round_line_items.h"
#include "ui/window-utils/taskbar_progress.h"

namespace tarvello::ui {

class PassWatch : public PassObserver {
public:
    enum class Activity { Round, Undo };

    PassWatch(HWND window, HWND progressLine, HWND closeButton, Activity activity);
    ~PassWatch() override;
    PassWatch(const PassWatch&) = delete;
    PassWatch& operator=(const PassWatch&) = delete;

    void AtLineItem(std::int32_t row, std::int32_t position, std::int32_t count) override;
    bool StopRequested() override;

    // A Close (the button, Alt+C, the title bar) that arrived during the pass: the pass stops,
    // and the window closes once it has ended.
    void RequestStop(bool thenClose);
    bool closeAsked() const { return closeAsked_; }
    bool windowCloseAsked() const { return windowCloseAsked_; }

private:
    // Looks at one message of input that came during the pass; it is not handed on.
    void Consider(const MSG& input);

    HWND window_;
    HWND progressLine_;
    HWND closeButton_;
    Activity activity_;
    TaskbarProgress taskbar_;
    ULONGLONG started_;
    ULONGLONG lastShown_ = 0;
    bool shown_ = false;
    bool stopAsked_ = false;
    bool closeAsked_ = false;
    bool windowCloseAsked_ = false;
};

}  // namespace tarvello::ui
