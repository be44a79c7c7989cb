#include "ui/main-window/frm_main.h"

#include <windowsx.h>

#include <stdexcept>

#include "identity/identity.h"
#include "identity/resource_ids.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/theme_colors.h"
#include "ui/window-utils/twips.h"

namespace tarvello::ui {

using namespace main_window;

frmMain::frmMain(RoundingPass& pass, MessagePresenter& messages, SettingsLocation settings,
                 AboutOpener openAbout)
    : pass_(pass),
      messages_(messages),
      settings_(std::move(settings)),
      openAbout_(std::move(openAbout)) {}

frmMain::~frmMain() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void frmMain::Load(int showCommand) {
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    dpi_ = WindowDpi(nullptr);
    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi_),
               TwipsToPixels(kClientHeightTwips, dpi_)};
    const SIZE client{frame.right, frame.bottom};
    AdjustWindowRectEx(&frame, style, TRUE, 0);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TARVELLO_ICON_ID),
                                              IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                              GetSystemMetrics(SM_CYICON), LR_SHARED));
    auto smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TARVELLO_ICON_ID),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    HMENU menu = BuildMenu();
    if (!CreateBase(kClassName, L"" TARVELLO_TITLE, style, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, menu, icon,
                    smallIcon)) {
        DestroyMenu(menu);
        throw std::runtime_error("could not create the main window");
    }
    // Should the menu bar take another height than the one allowed for, keep the client size.
    RECT actual;
    GetClientRect(hwnd_, &actual);
    if (actual.right != client.cx || actual.bottom != client.cy) {
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + client.cx - actual.right,
                     frame.bottom - frame.top + client.cy - actual.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    OnCreate();
    Form_Load();
    ShowWindow(hwnd_, showCommand);
    lastFocus_ = cmdRound;
    SetFocus(cmdRound);
}

void frmMain::OnCreate() {
    controls_.Create(hwnd_, Controls(), dpi_, kWindowFont);
    // The progress line lies on the header band, above the title, and shows only during a pass.
    progress_.Create(hwnd_, ProgressControls(), dpi_, kWindowFont);
    HWND progressLine = progress_.Handle(kLblProgress);
    ShowWindow(progressLine, SW_HIDE);
    SetWindowPos(progressLine, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    accessible_.Annotate({&controls_, &progress_});
    // Ctrl+Z is Undo Round, except in a text box, where it undoes the typing.
    ACCEL undo{FVIRTKEY | FCONTROL, 'Z', static_cast<WORD>(kMnuEditUndo)};
    shortcuts_.reset(CreateAcceleratorTableW(&undo, 1));
    SetPropW(hwnd_, kShortcutsProperty, shortcuts_.get());
    auto at = [this](int id) { return controls_.Handle(id); };
    Label4 = at(kLabel4);
    Label5 = at(kLabel5);
    Line1 = at(kLine1);
    Line2 = at(kLine2);
    Frame1 = at(kFrame1);
    Frame2 = at(kFrame2);
    Frame3 = at(kFrame3);
    optDecimal = at(kOptDecimal);
    optNearest = at(kOptNearest);
    optRoundUp = at(kOptRoundUp);
    txtDecimalPlaces = at(kTxtDecimalPlaces);
    txtNearest = at(kTxtNearest);
    txtNearestRoundUp = at(kTxtNearestRoundUp);
    optUnitPrice = at(kOptUnitPrice);
    optExtendedPrice = at(kOptExtendedPrice);
    optCurrentRow = at(kOptCurrentRow);
    optSelectedRows = at(kOptSelectedRows);
    optAllRows = at(kOptAllRows);
    cmdRound = at(kCmdRound);
    cmdClose = at(kCmdClose);
}

HMENU frmMain::BuildMenu() const {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU edit = CreatePopupMenu();
    HMENU help = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kMnuFileClose, L"Close");
    // Greyed until a Round has written something; UpdateUndoItem says how much it gives back.
    AppendMenuW(edit, MF_STRING | MF_GRAYED, kMnuEditUndo, L"&Undo Round");
    AppendMenuW(help, MF_STRING, kMnuHelpAbout, L"&About");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            return OnCommand(GET_WM_COMMAND_ID(wParam, lParam), GET_WM_COMMAND_CMD(wParam, lParam));
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return ControlColors(hwnd_, msg, wParam, lParam, {&controls_, &progress_});
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
        case WM_SETTINGCHANGE:
            FollowThemeChange(hwnd_, {&controls_, &progress_});
            break;
        case WM_SETCURSOR:
            // The pass looks at the input between line items, and the system then asks for a
            // cursor: it stays the wait cursor.
            if (passRunning_) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            OnActivate(wParam);
            return 0;
        case WM_CLOSE:
            if (passRunning_) {
                if (afterRound_ == AfterRound::Nothing) afterRound_ = AfterRound::CloseWindow;
                if (watch_) watch_->RequestStop(false);
                return 0;
            }
            break;
        case WM_QUERYENDSESSION:
            // Signing out in the middle of a Round would cut it off part-way.
            if (passRunning_) return FALSE;
            break;
        case WM_DESTROY:
            RemovePropW(hwnd_, kShortcutsProperty);
            // Wakes the program's message loop, which ends once the window is gone, also when
            // the Close came in a message sent from another thread or process (handled inside
            // GetMessage, which would otherwise go on waiting).
            PostMessageW(nullptr, WM_NULL, 0, 0);
            return 0;
        case DM_GETDEFID:
            // No default button: Enter presses nothing.
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// The focus comes back to the control that had it when the window was last active.
void frmMain::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    } else if (!HIWORD(wParam)) {
        SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : cmdRound);
    }
}

LRESULT frmMain::OnCommand(int id, int code) {
    if (passRunning_) {
        // Only a Close is remembered, and it stops the pass; a Round, an Undo or the About box is
        // not started inside a pass.
        if ((id == kCmdClose && code == BN_CLICKED) || id == kMnuFileClose) {
            afterRound_ = AfterRound::CloseCommand;
            if (watch_) watch_->RequestStop(true);
        }
        return 0;
    }
    switch (id) {
        case kCmdRound:
            if (code == BN_CLICKED) cmdRound_Click();
            return 0;
        case kCmdClose:
            if (code == BN_CLICKED) cmdClose_Click();
            return 0;
        case kMnuFileClose:
            mnuFileClose_Click();
            return 0;
        case kMnuEditUndo:
            mnuEditUndo_Click();
            return 0;
        case kMnuHelpAbout:
            mnuHelpAbout_Click();
            return 0;
        case kOptDecimal:
        case kOptNearest:
        case kOptRoundUp:
        case kOptUnitPrice:
        case kOptExtendedPrice:
        case kOptCurrentRow:
        case kOptSelectedRows:
        case kOptAllRows:
            if (code == BN_CLICKED) {
                controls_.SetOptionOn(id);
                OptionChosen(id);
            }
            return 0;
        case kTxtDecimalPlaces:
            if (code == EN_SETFOCUS) txtDecimalPlaces_GotFocus();
            return 0;
        case kTxtNearest:
            if (code == EN_SETFOCUS) txtNearest_GotFocus();
            return 0;
        case kTxtNearestRoundUp:
            if (code == EN_SETFOCUS) txtNearestRoundUp_GotFocus();
            return 0;
        default:
            return 0;  // IDOK / IDCANCEL from Enter and Escape do nothing
    }
}

void frmMain::mnuFileClose_Click() {
    cmdClose_Click();
}

void frmMain::mnuHelpAbout_Click() {
    if (openAbout_) openAbout_(hwnd_);
}

bool frmMain::IsOn(HWND option) const {
    return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmMain::SetOption(HWND option) {
    int id = GetDlgCtrlID(option);
    // Turning an option on by code counts as choosing it, as a click would.
    if (controls_.SetOptionOn(id)) OptionChosen(id);
}

void frmMain::OptionChosen(int id) {
    switch (id) {
        case kOptDecimal:
            optDecimal_Click();
            break;
        case kOptNearest:
            optNearest_Click();
            break;
        case kOptRoundUp:
            optRoundUp_Click();
            break;
        default:
            break;
    }
}

// Choosing a method takes the user to its amount, with up to three characters from the caret
// selected, so typing replaces a short value.
void frmMain::FocusAmount(HWND option, HWND box) {
    if (!IsOn(option)) return;
    SetFocus(box);
    DWORD start = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    SendMessageW(box, EM_SETSEL, start, start + 3);
}

void frmMain::optDecimal_Click() {
    FocusAmount(optDecimal, txtDecimalPlaces);
}
void frmMain::optNearest_Click() {
    FocusAmount(optNearest, txtNearest);
}
void frmMain::optRoundUp_Click() {
    FocusAmount(optRoundUp, txtNearestRoundUp);
}

// Going into an amount's box chooses its method.
void frmMain::txtDecimalPlaces_GotFocus() {
    SetOption(optDecimal);
}
void frmMain::txtNearest_GotFocus() {
    SetOption(optNearest);
}
void frmMain::txtNearestRoundUp_GotFocus() {
    SetOption(optRoundUp);
}

}  // namespace tarvello::ui
