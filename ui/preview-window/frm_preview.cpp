#include "ui/preview-window/frm_preview.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "ui/preview-window/preview_layout.h"
#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/dpi_change.h"
#include "ui/window-utils/theme_colors.h"
#include "ui/window-utils/twips.h"

namespace tarvello::ui {

using namespace preview_window;

namespace {

constexpr DWORD kStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;

// The font of the main window's controls, so that the two read alike.
constexpr FontSpec kFont{L"Tahoma", 8.25, FW_NORMAL};

}  // namespace

frmPreview::frmPreview(HWND owner, const RoundPlan& plan, const NumberFormat& format,
                       MessagePresenter& messages)
    : owner_(owner),
      format_(format),
      messages_(messages),
      kind_(plan.kind),
      table_(MakePlanTable(plan, format)) {}

frmPreview::~frmPreview() {
    EndModal();
}

bool frmPreview::Form_Load() {
    CreateWindowAndControls();
    FillList();
    SizeAndPlace();
    // The list has the focus as the window opens (Cancel when there is no list).
    lastFocus_ = controls_.Handle(table_.lines.empty() ? kCmdCancel : kLvwLineItems);
    owner_.Disable();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    RunModalLoop(hwnd_);
    EndModal();
    return applyChosen_;
}

void frmPreview::CreateWindowAndControls() {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    const DWORD exStyle = owner_.InOwnersBand(WS_EX_DLGMODALFRAME);
    const wchar_t* caption = kind_ == PlanKind::PriceRules ? L"Preview by Price Rules"
                             : kind_ == PlanKind::NewTotal ? L"Preview of a New Total"
                                                           : L"Preview Round";
    const RECT monitor = OwnersMonitor(owner_.owner());
    CreateBase(kClassName, caption, kStyle, exStyle, monitor.left, monitor.top, 0, 0,
               owner_.owner(), nullptr);
    if (!hwnd_) throw std::runtime_error("the preview could not be created");

    controls_.Create(hwnd_, Controls(), WindowDpi(hwnd_), kFont,
                     SIZE{kClientWidthTwips, kClientHeightTwips});
    SendMessageW(controls_.Handle(kCmdApply), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    // Ctrl+C copies the list, wherever the focus is: the window has no text box of its own.
    ACCEL copy{FVIRTKEY | FCONTROL, 'C', static_cast<WORD>(kCmdCopy)};
    shortcuts_.reset(CreateAcceleratorTableW(&copy, 1));
    SetPropW(hwnd_, kShortcutsProperty, shortcuts_.get());
}

// The window's first size, centred on its owner's monitor as the About box opens: the table's
// client area with room for the texts, never smaller than the main window.
void frmPreview::SizeAndPlace() {
    controls_.Fit();
    RememberLayout();
    RECT ownerRect{0, 0, 0, 0};
    if (owner_.owner()) GetWindowRect(owner_.owner(), &ownerRect);
    minimumWindow_ = {std::max(ownerRect.right - ownerRect.left, 200L),
                      std::max(ownerRect.bottom - ownerRect.top, 150L)};
    SizeAndCentre(hwnd_, createdClient_, controls_.Dpi());
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    if (frame.right - frame.left < minimumWindow_.cx ||
        frame.bottom - frame.top < minimumWindow_.cy) {
        const RECT monitor = OwnersMonitor(owner_.owner());
        const int width = std::max<int>(frame.right - frame.left, minimumWindow_.cx);
        const int height = std::max<int>(frame.bottom - frame.top, minimumWindow_.cy);
        SetWindowPos(hwnd_, nullptr, monitor.left + (monitor.right - monitor.left - width) / 2,
                     monitor.top + (monitor.bottom - monitor.top - height) / 2, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The window may have opened larger than its table (a large main window): follow it.
    FollowClientSize();
}

// The controls as laid out for the client area the window was made with, for following its size.
void frmPreview::RememberLayout() {
    createdClient_ = controls_.ClientSize();
    placed_.clear();
    for (const ControlSpec& row : Controls()) {
        HWND control = controls_.Handle(row.id);
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
        placed_.push_back({row.id, rect});
    }
}

void frmPreview::FollowClientSize() {
    RECT client;
    GetClientRect(hwnd_, &client);
    Form_Resize(client.right, client.bottom);
}

// On another monitor's scaling: fonts, layout and columns of the new DPI in the suggested
// rectangle; the smallest size as the main window's is there.
void frmPreview::FollowDpi(WPARAM wParam, LPARAM lParam) {
    const int before = controls_.Dpi();
    const int dpi = DpiOfChange(wParam);
    TakeSuggestedRect(hwnd_, lParam);
    controls_.ChangeDpi(dpi);
    SizeColumns(dpi);
    RememberLayout();
    minimumWindow_ = {MulDiv(minimumWindow_.cx, dpi, before),
                      MulDiv(minimumWindow_.cy, dpi, before)};
    FollowClientSize();
}

// The owner is enabled again before the window goes, so that the activation goes back to it.
void frmPreview::EndModal() {
    owner_.Release();
    if (hwnd_) {
        RemovePropW(hwnd_, kShortcutsProperty);
        DestroyWindow(hwnd_);
    }
}

void frmPreview::cmdApply_Click() {
    if (table_.lines.empty()) return;  // Enter with nothing to apply
    applyChosen_ = true;
    EndModal();
}

void frmPreview::cmdCancel_Click() {
    applyChosen_ = false;
    EndModal();
}

void frmPreview::Form_Resize(int width, int height) {
    const int dx = width - createdClient_.cx;
    const int dy = height - createdClient_.cy;
    for (const Anchor& anchor : Anchors()) {
        const auto placed = std::find_if(placed_.begin(), placed_.end(),
                                         [&](const Placed& p) { return p.id == anchor.id; });
        if (placed == placed_.end()) continue;
        RECT r = placed->rect;
        if (anchor.right) {
            r.right += dx;
            if (!anchor.left) r.left += dx;
        }
        if (anchor.bottom) {
            r.bottom += dy;
            if (!anchor.top) r.top += dy;
        }
        SetWindowPos(controls_.Handle(anchor.id), nullptr, r.left, r.top,
                     std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT frmPreview::OnCommand(int id, int code) {
    switch (id) {
        case kCmdApply:
            if (code == BN_CLICKED) cmdApply_Click();
            break;
        case kCmdCopy:
            // A click, or Ctrl+C through the window's shortcut (code 1).
            if (code == BN_CLICKED || code == 1) cmdCopy_Click();
            break;
        case kCmdCancel:
        case IDCANCEL:
            if (code == BN_CLICKED) cmdCancel_Click();
            break;
        default:
            break;
    }
    return 0;
}

LRESULT frmPreview::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Its colours come from the user's theme, as the other windows' do.
    if (auto answer = AnswerThemeMessage(hwnd_, msg, wParam, lParam, {&controls_})) return *answer;
    switch (msg) {
        case WM_COMMAND:
            return OnCommand(GET_WM_COMMAND_ID(wParam, lParam), GET_WM_COMMAND_CMD(wParam, lParam));
        case DM_GETDEFID:
            return DefaultButtonAnswer(controls_, kCmdApply);
        case WM_ACTIVATE:
            // Like a dialog, the window gives the focus back to the control that last had it.
            return KeepFocusOnActivate(hwnd_, wParam, lParam, lastFocus_, nullptr);
        case WM_SIZE:
            Form_Resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {minimumWindow_.cx, minimumWindow_.cy};
            return 0;
        }
        case WM_DPICHANGED:
            FollowDpi(wParam, lParam);
            return 0;
        case WM_CLOSE:
            // The window's close button writes nothing, as Cancel.
            cmdCancel_Click();
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

}  // namespace tarvello::ui
