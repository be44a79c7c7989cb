#pragma once
// The progress of a long task on the window's taskbar button. Where the shell offers no
// taskbar list, or the button is not there yet, nothing is shown and nothing fails.

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <cstdint>

namespace tarvello::ui {

class TaskbarProgress {
public:
    explicit TaskbarProgress(HWND window);
    // Takes the progress off the button.
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    void Show(std::uint64_t done, std::uint64_t total);

private:
    HWND window_;
    Microsoft::WRL::ComPtr<ITaskbarList3> taskbar_;
    bool shown_ = false;
};

}  // namespace tarvello::ui
