#pragma once
// What the main window does while a pass (a Round or an Undo) talks to the host: from about
// half a second on it shows how far the pass is, in the header band and on the taskbar button,
// at most about ten times a second; between two line items it takes the input that came
// meanwhile, so that Escape asks the pass to stop; and it decides, for every way a close can be
// asked for meanwhile, that the pass stops and the window closes once it has ended. Everything
// shown is put back when the watch goes, however the pass ended.

#include <windows.h>

#include <cstdint>

#include "engine/passes/pass.h"
#include "ui/window-utils/taskbar_progress.h"

namespace tarvello::ui {

class PassWatch : public PassObserver {
public:
    enum class Activity { Round, Undo, Preview, Apply, Look };
    // How the window closes once the pass has ended: by the Close command (the placement is
    // saved), or as the windowing system closes it (it is not).
    enum class Close { None, Command, Window };

    PassWatch(HWND window, HWND progressLine, HWND closeButton, Activity activity);
    ~PassWatch() override;
    PassWatch(const PassWatch&) = delete;
    PassWatch& operator=(const PassWatch&) = delete;

    void AtLineItem(std::int32_t row, std::int32_t position, std::int32_t count) override;
    // Takes the input that came since it last looked, then answers.
    bool LookForStop() override;

    // Takes the keys and clicks waiting in the queue, and closes posted to the window. They were
    // meant for a window that could not answer: none is played back, but what they ask for
    // counts (Escape stops; Close, Alt+C, Alt+F4 and the title bar's close stop and close).
    void TakeInput();
    // A message sent to the window while the pass runs. True when the watch answers it
    // (`result`): a close asked for in any way stops the pass, and no other command starts inside
    // it.
    bool TakeMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    Close closeAsked() const { return close_; }

private:
    void Consider(const MSG& input);
    void AskToClose(Close how);

    HWND window_;
    HWND progressLine_;
    HWND closeButton_;
    Activity activity_;
    TaskbarProgress taskbar_;
    ULONGLONG started_;
    ULONGLONG lastShown_ = 0;
    bool shown_ = false;
    bool stopAsked_ = false;
    // The first close asked for is the one that happens.
    Close close_ = Close::None;
};

}  // namespace tarvello::ui
