#include "ui/about-box/frm_about.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "identity/identity.h"
#include "ui/about-box/about_box_layout.h"
#include "ui/about-box/sys_info_launcher.h"
#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/dpi.h"
#include "ui/window-utils/dpi_change.h"
#include "ui/window-utils/theme_colors.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

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
    : owner_(owner), messages_(messages), sysInfo_(std::move(sysInfo)) {}

frmAbout::~frmAbout() {
    EndModal();
}

void frmAbout::Form_Load() {
    CreateBox();
    SetTexts();
    // The texts are in: the controls make room for them, and the box takes the room they need.
    controls_.Fit();
    SizeAndCentre(hwnd_, controls_.ClientSize(), controls_.Dpi());
    owner_.Disable();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    RunModalLoop(hwnd_);
    EndModal();
}

void frmAbout::CreateBox() {
    // Created hidden, on its owner's monitor: every text is in place before the box is first
    // seen.
    const DWORD exStyle = owner_.InOwnersBand(kExStyle);
    const RECT monitor = OwnersMonitor(owner_.owner());
    CreateBase(kClassName, L"", kStyle, exStyle, monitor.left, monitor.top, 0, 0, owner_.owner(),
               nullptr);
    if (!hwnd_) throw std::runtime_error("the About box could not be created");

    const int dpi = WindowDpi(hwnd_);
    controls_.Create(hwnd_, about_box::Controls(), dpi, DialogFont(fontFace_),
                     SIZE{about_box::kClientWidthTwips, about_box::kClientHeightTwips});
    ShowIcons(dpi);
    // OK is the default button: it wears the thick border and takes Enter.
    SendMessageW(controls_.Handle(about_box::kCmdOK), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
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

// The owner is enabled again before the box goes, so that the activation goes back to it.
void frmAbout::EndModal() {
    owner_.Release();
    if (hwnd_) DestroyWindow(hwnd_);
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

LRESULT frmAbout::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return 0;
    // OK is both the default and the cancel button.
    if (id == about_box::kCmdOK || id == IDOK || id == IDCANCEL) cmdOK_Click();
    if (id == about_box::kCmdSysInfo) cmdSysInfo_Click();
    return 0;
}

LRESULT frmAbout::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (auto answer = AnswerThemeMessage(hwnd_, msg, wParam, lParam, {&controls_})) return *answer;
    switch (msg) {
        case WM_COMMAND:
            return OnCommand(GET_WM_COMMAND_ID(wParam, lParam), GET_WM_COMMAND_CMD(wParam, lParam));
        case DM_GETDEFID:
            return DefaultButtonAnswer(controls_, about_box::kCmdOK);
        case WM_ACTIVATE:
            // Like a dialog, the box gives the focus back to the control that last had it, and
            // to OK (the first in tab order) when it opens.
            return KeepFocusOnActivate(hwnd_, wParam, lParam, lastFocus_,
                                       controls_.Handle(about_box::kCmdOK));
        case WM_DPICHANGED:
            ShowIcons(FollowDpiChange(hwnd_, wParam, lParam, {&controls_}));
            return 0;
        case WM_CLOSE:
            // Closing by the title bar discards the box exactly as OK does.
            cmdOK_Click();
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

}  // namespace tarvello::ui
