#include "ui/window-utils/taskbar_progress.h"

namespace tarvello::ui {

TaskbarProgress::TaskbarProgress(HWND window) : window_(window) {
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(taskbar_.GetAddressOf()))) ||
        FAILED(taskbar_->HrInit())) {
        taskbar_.Reset();
    }
}

TaskbarProgress::~TaskbarProgress() {
    if (taskbar_ && shown_) taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
}

void TaskbarProgress::Show(std::uint64_t done, std::uint64_t total) {
    if (!taskbar_) return;
    shown_ = true;
    taskbar_->SetProgressValue(window_, done, total);
}

}  // namespace tarvello::ui
