#include "ui/main-window/frm_main.h"

#include <windowsx.h>

#include <stdexcept>

#include "identity/identity.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/dpi.h"
#include "ui/window-utils/dpi_change.h"
#include "ui/window-utils/theme_colors.h"

namespace tarvello::ui {

using namespace main_window;

frmMain::frmMain(RoundingPass& pass, RoundHistory& history, MessagePresenter& messages,
                 SettingsLocation settings, WindowOpeners open, FixedChoices fixed)
    : pass_(pass),
      history_(history),
      messages_(messages),
      settings_(std::move(settings)),
      open_(std::move(open)),
      fixed_(std::move(fixed)) {}

frmMain::~frmMain() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void frmMain::Load(int showCommand) {
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    // Made where the system puts it and sized once, for the client area its controls need at
    // the DPI it is drawn at there.
    HMENU menu = BuildMenu();
    if (!CreateBase(kClassName, L"" TARVELLO_TITLE, style, 0, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                    nullptr, menu)) {
        DestroyMenu(menu);
        throw std::runtime_error("could not create the main window");
    }
    dpi_ = WindowDpi(hwnd_);
    icons_.SetOn(hwnd_, dpi_);
    OnCreate();
    ShowFixedChoices();
    SetClientSize(hwnd_, controls_.ClientSize(), dpi_);
    UpdateUndoItem();
    Form_Load();
    ShowWindow(hwnd_, showCommand);
    lastFocus_ = cmdRound;
    SetFocus(cmdRound);
    // The journal is read once the window is on the screen, painted: however large it has grown,
    // the window does not wait for it.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PostMessageW(hwnd_, kReadJournalMessage, 0, 0);
}

void frmMain::OnCreate() {
    controls_.Create(hwnd_, Controls(), dpi_, kWindowFont,
                     SIZE{kClientWidthTwips, kClientHeightTwips});
    // The captions are the table's: they get their room at once.
    controls_.Fit();
    // The progress line lies on the header band, above the title, and shows only during a pass;
    // it has no caption to make room for, and lies where the table puts it.
    progress_.Create(hwnd_, ProgressControls(), dpi_, kWindowFont);
    HWND progressLine = progress_.Handle(kLblProgress);
    ShowWindow(progressLine, SW_HIDE);
    SetWindowPos(progressLine, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    accessible_.Annotate({&controls_, &progress_});
    // Ctrl+Z is Undo Round, except in a text box, where it undoes the typing. Ctrl+Shift+H is
    // Round History: the history of browsers and file managers, where Ctrl+H would be the host's
    // Replace, and Ctrl+Shift+Z its Redo.
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'Z', static_cast<WORD>(kMnuEditUndo)},
                    {FVIRTKEY | FCONTROL | FSHIFT, 'H', static_cast<WORD>(kMnuEditRoundHistory)}};
    shortcuts_.reset(CreateAcceleratorTableW(keys, 2));
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
    AppendMenuW(edit, MF_STRING, kMnuEditPreview, L"&Preview Round...");
    // Greyed until a Round has written something; UpdateUndoItem says how much it gives back.
    AppendMenuW(edit, MF_STRING | MF_GRAYED, kMnuEditUndo, L"&Undo Round");
    // Every Round kept, and the one chosen given back line item by line item.
    AppendMenuW(edit, MF_STRING, kMnuEditRoundHistory, L"Round &History...\tCtrl+Shift+H");
    // Prices worked out otherwise than by the window's methods, always previewed.
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(edit, MF_STRING, kMnuEditPriceRules, L"Price &Rules...");
    AppendMenuW(edit, MF_STRING, kMnuEditNewTotal, L"Round to a &Total...");
    AppendMenuW(help, MF_STRING, kMnuHelpAbout, L"&About");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // While a pass talks to the host, messages sent from outside are still delivered: the watch
    // decides about closes and commands, so that the window outlives the pass and no second
    // pass starts inside the first.
    LRESULT taken = 0;
    if (watch_ && watch_->TakeMessage(msg, wParam, lParam, taken)) return taken;
    if (auto answer = AnswerThemeMessage(hwnd_, msg, wParam, lParam, {&controls_, &progress_})) {
        return *answer;
    }
    switch (msg) {
        case WM_COMMAND:
            return OnCommand(GET_WM_COMMAND_ID(wParam, lParam), GET_WM_COMMAND_CMD(wParam, lParam));
        case WM_SETCURSOR:
            // The pass looks at the input between line items, and the system then asks for a
            // cursor: it stays the wait cursor.
            if (watch_) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            OnActivate(wParam);
            return 0;
        case WM_DPICHANGED:
            // Moved to a monitor with other scaling: the placement kept is in twips of this DPI.
            dpi_ = FollowDpiChange(hwnd_, wParam, lParam, {&controls_, &progress_});
            icons_.SetOn(hwnd_, dpi_);
            return 0;
        case kReadJournalMessage:
            history_.Refresh();
            UpdateUndoItem();
            return 0;
        case WM_INITMENUPOPUP:
            // Another copy of the program may have rounded or undone since the menu was last
            // looked at: the Undo item says what the journal holds now.
            history_.Refresh();
            UpdateUndoItem();
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
        case kMnuEditPreview:
            mnuEditPreview_Click();
            return 0;
        case kMnuEditPriceRules:
            mnuEditPriceRules_Click();
            return 0;
        case kMnuEditNewTotal:
            mnuEditNewTotal_Click();
            return 0;
        case kMnuEditUndo:
            mnuEditUndo_Click();
            return 0;
        case kMnuEditRoundHistory:
            mnuEditRoundHistory_Click();
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

}  // namespace tarvello::ui
