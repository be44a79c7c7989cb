#include "ui/new-total-window/frm_new_total.h"

#include <utility>
#include <variant>

#include "identity/identity.h"
#include "ui/new-total-window/new_total_layout.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

using namespace new_total_window;

frmNewTotal::frmNewTotal(HWND owner, Text totalNow, NewTotalTexts typed, const NumberFormat& format,
                         MessagePresenter& messages, std::optional<NewTotalField> focus)
    : ModalWindow(owner),
      totalNow_(std::move(totalNow)),
      typed_(std::move(typed)),
      format_(format),
      messages_(messages),
      focus_(focus) {}

std::optional<NewTotalChosen> frmNewTotal::Form_Load() {
    // Created hidden: every text is in place before the window is first seen.
    CreateModal({kClassName, L"Round to a Total", "the Round to a Total window", Controls(),
                 SIZE{kClientWidthTwips, kClientHeightTwips}, kCmdPreview, kCmdClose});
    SetWindowTextW(controls_.Handle(kLblTotalNow), (L"Total now: " + ToWide(totalNow_)).c_str());
    SetWindowTextW(Box(NewTotalField::NewTotal), ToWide(typed_.newTotal).c_str());
    SetWindowTextW(Box(NewTotalField::Step), ToWide(typed_.step).c_str());
    FitAndCentre();
    FocusText(Box(focus_.value_or(NewTotalField::NewTotal)));
    ShowModal();
    return chosen_;
}

HWND frmNewTotal::Box(NewTotalField field) const {
    return controls_.Handle(field == NewTotalField::NewTotal ? kTxtNewTotal : kTxtStep);
}

void frmNewTotal::cmdPreview_Click() {
    NewTotalTexts typed{ToText(WindowText(Box(NewTotalField::NewTotal))),
                        ToText(WindowText(Box(NewTotalField::Step)))};
    auto read = ReadNewTotal(typed, format_);
    if (const auto* error = std::get_if<NewTotalInputError>(&read)) {
        messages_.Show(hwnd_, ToWide(error->message), L"" TARVELLO_TITLE, MB_ICONERROR);
        // After the message box, so that the window's own return to the control that last had
        // the focus (the button that was pressed) does not take it away again.
        FocusText(Box(error->field));
        return;
    }
    chosen_ = NewTotalChosen{std::get<NewTotalInput>(std::move(read)), std::move(typed)};
    EndModal();
}

void frmNewTotal::cmdClose_Click() {
    EndModal();
}

void frmNewTotal::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if (id == kCmdPreview) cmdPreview_Click();
    if (id == kCmdClose) cmdClose_Click();
}

}  // namespace tarvello::ui
