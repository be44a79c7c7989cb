#include "ui/about-box/frm_about.h"

#include <algorithm>
#include <string>
#include <utility>

#include "identity/identity.h"
#include "ui/about-box/about_box_layout.h"
#include "ui/about-box/sys_info_launcher.h"
#include "ui/window-utils/dpi.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

namespace {

// The font the platform gives a dialog that names none: the stock GUI font ("MS Shell Dlg",
// 8 points). The box's twips were laid out for its metrics; the larger message font of newer
// systems would clip the one-line version label.
FontSpec DialogFont(std::wstring& face) {
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    face = lf.lfFaceName;
    FontSpec font;
    font.face = face.c_str();
    // The stock font is made for the system's DPI, whatever the box's own.
    font.points = lf.lfHeight < 0 ? -lf.lfHeight * 72.0 / SystemDpi() : 8.0;
    font.weight = lf.lfWeight ? static_cast<int>(lf.lfWeight) : FW_NORMAL;
    return font;
}

}  // namespace

frmAbout::frmAbout(HWND owner, MessagePresenter& messages, SysInfoSettings sysInfo)
    : ModalWindow(owner), messages_(messages), sysInfo_(std::move(sysInfo)) {}

void frmAbout::Form_Load() {
    // Created hidden, on its owner's monitor: every text is in place before the box is first
    // seen. OK is both the default and the cancel button.
    CreateModal({kClassName, L"", "the About box", about_box::Controls(),
                 SIZE{about_box::kClientWidthTwips, about_box::kClientHeightTwips},
                 about_box::kCmdOK, about_box::kCmdOK, DialogFont(fontFace_)});
    ShowIcons(controls_.Dpi());
    SetTexts();
    FitAndCentre();
    // Like a dialog, the box opens with the focus on OK, the first in tab order.
    ReturnFocusTo(controls_.Handle(about_box::kCmdOK));
    ShowModal();
}

// The title bar's icons and the picture's, drawn for the box's DPI.
void frmAbout::ShowIcons(int dpi) {
    icons_.SetOn(hwnd_, dpi);
    HWND picture = controls_.Handle(about_box::kPicIcon);
    RECT area;
    GetClientRect(picture, &area);
    ScopedIcon icon = LoadProgramIcon(std::min(area.right, area.bottom));
    SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    pictureIcon_ = std::move(icon);
}

void frmAbout::SetTexts() {
    const std::string title = TARVELLO_TITLE;
    SetWindowTextW(hwnd_, ToWide("About " + title).c_str());
    const std::string version = "Version " + std::to_string(TARVELLO_VERSION_MAJOR) + "." +
                                std::to_string(TARVELLO_VERSION_MINOR) + "." +
                                std::to_string(TARVELLO_VERSION_REVISION);
    SetDlgItemTextW(hwnd_, about_box::kLblVersion, ToWide(version).c_str());
    SetDlgItemTextW(hwnd_, about_box::kLblTitle, ToWide(title).c_str());
    SetDlgItemTextW(hwnd_, about_box::kLblDescription,
                    L"This utility is designed to help Tarvello users round by either nearest "
                    L"multiple or decimal place.");
    SetDlgItemTextW(hwnd_, about_box::kLblDisclaimer,
                    L"Brellwick Technologies, Inc. does not take responsibility for this utility. "
                    L"Brellwick Technologies, Inc. does not support this utility.");
}

void frmAbout::cmdOK_Click() {
    EndModal();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    ui::StartSysInfo(hwnd_, sysInfo_, messages_);
}

void frmAbout::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if (id == about_box::kCmdOK) cmdOK_Click();
    if (id == about_box::kCmdSysInfo) cmdSysInfo_Click();
}

void frmAbout::FollowDpi(WPARAM wParam, LPARAM lParam) {
    ModalWindow::FollowDpi(wParam, lParam);
    ShowIcons(controls_.Dpi());
}

}  // namespace tarvello::ui
