#include "ui/preview-window/frm_preview.h"

#include <commctrl.h>

#include "ui/preview-window/preview_layout.h"

namespace tarvello::ui {

using namespace preview_window;

frmPreview::frmPreview(HWND owner, const RoundPlan& plan, const NumberFormat& format,
                       MessagePresenter& messages)
    : SizableWindow(owner, Anchors()),
      format_(format),
      messages_(messages),
      kind_(plan.kind),
      table_(MakePlanTable(plan, format)),
      what_(plan.what) {}

bool frmPreview::Form_Load() {
    CreateWindowAndControls();
    FillList();
    // Wide enough for the list's columns, where the monitor has room.
    SizeAndPlace(WidthShort(controls_.Handle(kLvwLineItems)));
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
                             : kind_ == PlanKind::Undo     ? L"Preview Undo"
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

void frmPreview::FollowDpiToo(int dpi) {
    SizeColumns(controls_.Handle(kLvwLineItems), Columns(), ColumnNames(), dpi);
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

}  // namespace tarvello::ui
