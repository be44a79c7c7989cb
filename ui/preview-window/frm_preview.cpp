#include "ui/preview-window/frm_preview.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/preview-window/preview_layout.h"
#include "ui/window-utils/dpi.h"
#include "ui/window-utils/dpi_change.h"

namespace tarvello::ui {

using namespace preview_window;

frmPreview::frmPreview(HWND owner, const RoundPlan& plan, const NumberFormat& format,
                       MessagePresenter& messages)
    : ModalWindow(owner),
      format_(format),
      messages_(messages),
      kind_(plan.kind),
      table_(MakePlanTable(plan, format)) {}

bool frmPreview::Form_Load() {
    CreateWindowAndControls();
    FillList();
    SizeAndPlace();
    // The list has the focus as the window opens (Cancel when there is no list).
    ReturnFocusTo(controls_.Handle(table_.lines.empty() ? kCmdCancel : kLvwLineItems));
    ShowModal();
    return applyChosen_;
}

void frmPreview::CreateWindowAndControls() {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    const wchar_t* caption = kind_ == PlanKind::PriceRules ? L"Preview by Price Rules"
                             : kind_ == PlanKind::NewTotal ? L"Preview of a New Total"
                                                           : L"Preview Round";
    ModalForm form{kClassName,
                   caption,
                   "the preview",
                   Controls(),
                   SIZE{kClientWidthTwips, kClientHeightTwips},
                   kCmdApply,
                   kCmdCancel};
    // A long list reads better in a larger window.
    form.sizable = true;
    CreateModal(form);
    // Ctrl+C copies the list, wherever the focus is: the window has no text box of its own.
    SetShortcuts({ACCEL{FVIRTKEY | FCONTROL, 'C', static_cast<WORD>(kCmdCopy)}});
}

// The window's first size, centred on its owner's monitor as every modal window opens: the
// table's client area with room for the texts, never smaller than the main window.
void frmPreview::SizeAndPlace() {
    controls_.Fit();
    RememberLayout();
    RECT ownerRect{0, 0, 0, 0};
    if (owner()) GetWindowRect(owner(), &ownerRect);
    minimumWindow_ = {std::max(ownerRect.right - ownerRect.left, 200L),
                      std::max(ownerRect.bottom - ownerRect.top, 150L)};
    SetClientSize(hwnd_, createdClient_, controls_.Dpi());
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    if (frame.right - frame.left < minimumWindow_.cx ||
        frame.bottom - frame.top < minimumWindow_.cy) {
        const int width = std::max<int>(frame.right - frame.left, minimumWindow_.cx);
        const int height = std::max<int>(frame.bottom - frame.top, minimumWindow_.cy);
        SetWindowPos(hwnd_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CentreOnOwnersMonitor(hwnd_);
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

void frmPreview::OnCommand(int id, int code) {
    switch (id) {
        case kCmdApply:
            if (code == BN_CLICKED) cmdApply_Click();
            break;
        case kCmdCopy:
            // A click, or Ctrl+C through the window's shortcut (code 1).
            if (code == BN_CLICKED || code == 1) cmdCopy_Click();
            break;
        case kCmdCancel:
            if (code == BN_CLICKED) cmdCancel_Click();
            break;
        default:
            break;
    }
}

LRESULT frmPreview::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            Form_Resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {minimumWindow_.cx, minimumWindow_.cy};
            return 0;
        }
        default:
            return ModalWindow::OnMessage(msg, wParam, lParam);
    }
}

}  // namespace tarvello::ui
