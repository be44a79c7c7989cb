#pragma once
// The About box: title, version, description and disclaimer, and a button that starts the
// platform's system information tool. Each Help > About builds a fresh frmAbout and calls
// Form_Load, which returns once the box has closed; nothing of the box outlives that call.

#include <windows.h>

#include <string>

#include "ui/about-box/sys_info_settings.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/modal_window.h"
#include "ui/window-utils/program_icons.h"

namespace tarvello::ui {

class frmAbout : public ModalWindow {
public:
    static constexpr const wchar_t* kClassName = L"TarvelloAboutBox";

    // `messages` tells the user when the system information tool is unavailable.
    frmAbout(HWND owner, MessagePresenter& messages, SysInfoSettings sysInfo = {});

    // Sets the texts, shows the box modally over the owner (the owner takes no input meanwhile)
    // and returns when the box has closed.
    void Form_Load();

    // Starts the system information tool, or tells the user it is unavailable.
    void StartSysInfo();

    // Event handlers, one per user event.
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    void ShowIcons(int dpi);
    void SetTexts();
    void OnCommand(int id, int code) override;
    void FollowDpi(WPARAM wParam, LPARAM lParam) override;

    MessagePresenter& messages_;
    SysInfoSettings sysInfo_;
    std::wstring fontFace_;  // the controls' font keeps a pointer to it
    WindowIcons icons_;
    ScopedIcon pictureIcon_;
};

}  // namespace tarvello::ui
