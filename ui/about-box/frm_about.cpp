#include "ui/about-box/frm_about.h"

#include <windowsx.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "identity/identity.h"
#include "identity/resource_ids.h"
#include "ui/about-box/about_box_layout.h"
#include "ui/about-box/sys_info_launcher.h"
#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/theme_colors.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

// The program's icon when the executable carries one, the platform's otherwise (test programs
// have none).
HICON ProgramIcon(int size) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TARVELLO_ICON_ID),
                                              IMAGE_ICON, size, size, LR_SHARED));
    if (!icon) {
        icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */,
                                             IMAGE_ICON, size, size, LR_SHARED));
    }
    return icon;
}

// The font the platform gives a dialog that names none: the stock GUI font ("MS Shell Dlg",
// 8 points). The box's twips were laid out for its metrics; the larger message font of newer
// systems would clip the one-line version label.
FontSpec DialogFont(int dpi, std::wstring& face) {
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    face = lf.lfFaceName;
    FontSpec font;
    font.face = face.c_str();
    font.points = lf.lfHeight < 0 ? -lf.lfHeight * 72.0 / dpi : 8.0;
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
    owner_.Disable();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    RunModalLoop(hwnd_);
    EndModal();
}

void frmAbout::CreateBox() {
    HICON icon = ProgramIcon(GetSystemMetrics(SM_CXICON));
    HICON smallIcon = ProgramIcon(GetSystemMetrics(SM_CXSMICON));

    // Created hidden: every text is in place before the box is first seen.
    const DWORD exStyle = owner_.InOwnersBand(kExStyle);
    CreateBase(kClassName, L"", kStyle, exStyle, 0, 0, 0, 0, owner_.owner(), nullptr, icon,
               smallIcon);
    if (!hwnd_) throw std::runtime_error("the About box could not be created");
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    const int dpi = SizeAndCentre(hwnd_, about_box::kClientWidthTwips,
                                  about_box::kClientHeightTwips, kStyle, exStyle);

    controls_.Create(hwnd_, about_box::Controls(), dpi, DialogFont(dpi, fontFace_));
    SendMessageW(controls_.Handle(about_box::kPicIcon), STM_SETICON, reinterpret_cast<WPARAM>(icon),
                 0);
    // OK is the default button: it wears the thick border and takes Enter.
    SendMessageW(controls_.Handle(about_box::kCmdOK), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
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
        case WM_CLOSE:
            // Closing by the title bar discards the box exactly as OK does.
            cmdOK_Click();
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

}  // namespace tarvello::ui
