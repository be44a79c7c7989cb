#include "ui/new-total-window/frm_new_total.h"

#include <windowsx.h>

#include <stdexcept>
#include <utility>
#include <variant>

#include "identity/identity.h"
#include "ui/new-total-window/new_total_layout.h"
#include "ui/window-utils/dpi_change.h"
#include "ui/window-utils/theme_colors.h"
#include "ui/window-utils/twips.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

using namespace new_total_window;

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// The font of the main window's controls, so that the two read alike.
constexpr FontSpec kFont{L"Tahoma", 8.25, FW_NORMAL};

}  // namespace

frmNewTotal::frmNewTotal(HWND owner, Text totalNow, NewTotalTexts typed, const NumberFormat& format,
                         MessagePresenter& messages, std::optional<NewTotalField> focus)
    : owner_(owner),
      totalNow_(std::move(totalNow)),
      typed_(std::move(typed)),
      format_(format),
      messages_(messages),
      focus_(focus) {}

frmNewTotal::~frmNewTotal() {
    EndModal();
}

std::optional<NewTotalChosen> frmNewTotal::Form_Load() {
    CreateWindowAndControls();
    SetWindowTextW(controls_.Handle(kLblTotalNow), (L"Total now: " + ToWide(totalNow_)).c_str());
    SetWindowTextW(Box(NewTotalField::NewTotal), ToWide(typed_.newTotal).c_str());
    SetWindowTextW(Box(NewTotalField::Step), ToWide(typed_.step).c_str());
    // Centred on its owner's monitor, as the About box opens, with room for the texts it shows.
    controls_.Fit();
    SizeAndCentre(hwnd_, controls_.ClientSize(), controls_.Dpi());
    FocusField(focus_.value_or(NewTotalField::NewTotal));
    owner_.Disable();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    RunModalLoop(hwnd_);
    EndModal();
    return chosen_;
}

void frmNewTotal::CreateWindowAndControls() {
    // Created hidden: every text is in place before the window is first seen.
    const DWORD exStyle = owner_.InOwnersBand(WS_EX_DLGMODALFRAME);
    const RECT monitor = OwnersMonitor(owner_.owner());
    CreateBase(kClassName, L"Round to a Total", kStyle, exStyle, monitor.left, monitor.top, 0, 0,
               owner_.owner(), nullptr);
    if (!hwnd_) throw std::runtime_error("the Round to a Total window could not be created");

    controls_.Create(hwnd_, Controls(), WindowDpi(hwnd_), kFont,
                     SIZE{kClientWidthTwips, kClientHeightTwips});
    accessible_.emplace();
    accessible_->Annotate({&controls_});
    // Preview is the default button: it wears the thick border and takes Enter.
    SendMessageW(controls_.Handle(kCmdPreview), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
}

HWND frmNewTotal::Box(NewTotalField field) const {
    return controls_.Handle(field == NewTotalField::NewTotal ? kTxtNewTotal : kTxtStep);
}

// The whole text selected, so that what the user types next takes its place.
void frmNewTotal::FocusField(NewTotalField field) {
    lastFocus_ = Box(field);
    if (IsWindowVisible(hwnd_)) SetFocus(lastFocus_);
    SendMessageW(lastFocus_, EM_SETSEL, 0, -1);
}

// The owner is enabled again before the window goes, so that the activation goes back to it.
void frmNewTotal::EndModal() {
    owner_.Release();
    accessible_.reset();
    if (hwnd_) DestroyWindow(hwnd_);
}

void frmNewTotal::cmdPreview_Click() {
    NewTotalTexts typed{ToText(WindowText(Box(NewTotalField::NewTotal))),
                        ToText(WindowText(Box(NewTotalField::Step)))};
    auto read = ReadNewTotal(typed, format_);
    if (const auto* error = std::get_if<NewTotalInputError>(&read)) {
        // The window gets the activation back as the message closes: the focus goes back to
        // the field, not to the button that was pressed.
        lastFocus_ = Box(error->field);
        messages_.Show(hwnd_, ToWide(error->message), L"" TARVELLO_TITLE, MB_ICONERROR);
        FocusField(error->field);
        return;
    }
    chosen_ = NewTotalChosen{std::get<NewTotalInput>(std::move(read)), std::move(typed)};
    EndModal();
}

void frmNewTotal::cmdClose_Click() {
    EndModal();
}

LRESULT frmNewTotal::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return 0;
    if (id == kCmdPreview) cmdPreview_Click();
    // Close is the cancel button: Escape.
    if (id == kCmdClose || id == IDCANCEL) cmdClose_Click();
    return 0;
}

LRESULT frmNewTotal::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Its colours come from the user's theme, as the other windows' do.
    if (auto answer = AnswerThemeMessage(hwnd_, msg, wParam, lParam, {&controls_})) return *answer;
    switch (msg) {
        case WM_COMMAND:
            return OnCommand(GET_WM_COMMAND_ID(wParam, lParam), GET_WM_COMMAND_CMD(wParam, lParam));
        case DM_GETDEFID:
            return DefaultButtonAnswer(controls_, kCmdPreview);
        case WM_ACTIVATE:
            // Like a dialog, the window gives the focus back to the control that last had it.
            return KeepFocusOnActivate(hwnd_, wParam, lParam, lastFocus_,
                                       Box(NewTotalField::NewTotal));
        case WM_DPICHANGED:
            FollowDpiChange(hwnd_, wParam, lParam, {&controls_});
            return 0;
        case WM_CLOSE:
            // The title bar's close asks for nothing, as Close.
            cmdClose_Click();
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

}  // namespace tarvello::ui
