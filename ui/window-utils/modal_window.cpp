#include "ui/window-utils/modal_window.h"

#include <windowsx.h>

#include <stdexcept>
#include <string>

#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/dpi.h"
#include "ui/window-utils/dpi_change.h"
#include "ui/window-utils/theme_colors.h"

namespace tarvello::ui {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kSizableStyle = WS_THICKFRAME | WS_MAXIMIZEBOX;

// Runs the window's own message loop until the window is gone, keys going through
// HandleDialogKeys as in the program's main loop. A quit request arriving meanwhile ends the
// loop and is passed on to the loop outside.
void RunModalLoop(HWND window) {
    MSG msg;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (!HandleDialogKeys(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// For WM_ACTIVATE: remembers the focused control as the window loses the activation and gives
// the focus back to it as it gets it again, as a dialog does.
LRESULT KeepFocusOnActivate(HWND window, WPARAM wParam, LPARAM lParam, HWND& lastFocus) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) lastFocus = focus;
        return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
    }
    if (lastFocus) SetFocus(lastFocus);
    return 0;
}

// For DM_GETDEFID: Enter presses the push button that has the focus, and `defaultId` when no
// button has it.
LRESULT DefaultButtonAnswer(const ControlSet& controls, int defaultId) {
    const ControlSpec* focused = controls.RowOf(GetFocus());
    const int id = focused && focused->kind == ControlKind::PushButton ? focused->id : defaultId;
    return MAKELRESULT(id, DC_HASDEFID);
}

}  // namespace

RECT OwnersMonitor(HWND owner) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &info)) {
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return info.rcMonitor;
}

void CentreOnOwnersMonitor(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    const RECT monitor = OwnersMonitor(GetWindow(window, GW_OWNER));
    const int x = monitor.left + (monitor.right - monitor.left - (frame.right - frame.left)) / 2;
    const int y = monitor.top + (monitor.bottom - monitor.top - (frame.bottom - frame.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizeAndCentre(HWND window, SIZE client, int dpi) {
    SetClientSize(window, client, dpi);
    CentreOnOwnersMonitor(window);
}

// A window still open here did not reach its loop (a failure on the way): it goes without its
// object, for what derives from this has already gone.
ModalWindow::~ModalWindow() {
    if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    EndModal();
}

void ModalWindow::CreateModal(const ModalForm& form) {
    const DWORD style = form.sizable ? kStyle | kSizableStyle : kStyle;
    const RECT monitor = OwnersMonitor(owner_.owner());
    CreateBase(form.className, form.caption, style, owner_.InOwnersBand(WS_EX_DLGMODALFRAME),
               monitor.left, monitor.top, 0, 0, owner_.owner(), nullptr);
    if (!hwnd_) throw std::runtime_error(std::string(form.name) + " could not be created");

    controls_.Create(hwnd_, form.controls, WindowDpi(hwnd_), form.font, form.clientTwips);
    defaultId_ = form.defaultId;
    cancelId_ = form.cancelId;
    SendMessageW(controls_.Handle(defaultId_), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    accessible_.emplace();
    accessible_->Annotate({&controls_});
}

void ModalWindow::FitAndCentre() {
    controls_.Fit();
    SizeAndCentre(hwnd_, controls_.ClientSize(), controls_.Dpi());
}

void ModalWindow::FitAgain() {
    const SIZE before = controls_.ClientSize();
    controls_.Fit();
    const SIZE now = controls_.ClientSize();
    if (now.cx != before.cx || now.cy != before.cy) SetClientSize(hwnd_, now, controls_.Dpi());
}

void ModalWindow::ShowModal() {
    owner_.Disable();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    RunModalLoop(hwnd_);
    EndModal();
}

void ModalWindow::EndModal() {
    owner_.Release();
    accessible_.reset();
    if (hwnd_) {
        RemovePropW(hwnd_, kShortcutsProperty);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

void ModalWindow::ReturnFocusTo(HWND control) {
    lastFocus_ = control;
}

void ModalWindow::FocusText(HWND box) {
    if (!box) return;
    ReturnFocusTo(box);
    if (IsWindowVisible(hwnd_)) SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
}

void ModalWindow::SetShortcuts(std::vector<ACCEL> keys) {
    shortcuts_.reset(CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
    SetPropW(hwnd_, kShortcutsProperty, shortcuts_.get());
}

LRESULT ModalWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void ModalWindow::FollowDpi(WPARAM wParam, LPARAM lParam) {
    FollowDpiChange(hwnd_, wParam, lParam, {&controls_});
}

LRESULT ModalWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Its colours come from the user's theme, as the main window's do.
    if (auto answer = AnswerThemeMessage(hwnd_, msg, wParam, lParam, {&controls_})) return *answer;
    switch (msg) {
        case WM_COMMAND: {
            // What the dialog manager sends for Escape, and for Enter where it has no default
            // button's id (DM_GETDEFID gives it one).
            const int sent = GET_WM_COMMAND_ID(wParam, lParam);
            const int id = sent == IDCANCEL ? cancelId_ : sent == IDOK ? defaultId_ : sent;
            OnCommand(id, GET_WM_COMMAND_CMD(wParam, lParam));
            return 0;
        }
        case DM_GETDEFID:
            return DefaultButtonAnswer(controls_, defaultId_);
        case WM_ACTIVATE:
            return KeepFocusOnActivate(hwnd_, wParam, lParam, lastFocus_);
        case WM_DPICHANGED:
            FollowDpi(wParam, lParam);
            return 0;
        case WM_CLOSE:
            // The title bar's close writes nothing and gives nothing back, as the cancel button.
            OnCommand(cancelId_, BN_CLICKED);
            return 0;
        default:
            return OnMessage(msg, wParam, lParam);
    }
}

}  // namespace tarvello::ui
