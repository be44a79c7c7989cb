// The window's handlers, one per user event.

#include "ui/main-window/frm_main.h"
#include "ui/main-window/main_window_layout.h"

namespace tarvello::ui {

using namespace main_window;

void frmMain::cmdRound_Click() {
    const std::optional<RoundingRequest> request = ReadRequest();
    if (!request) return;
    RunWatched(PassWatch::Activity::Round, [&](MessageSink& messages, PassWatch& watch) {
        return pass_.RoundLineItems(*request, messages, PassHooks{&history_, &watch});
    });
}

// Edit > Preview Round: what the Round would write, shown before anything is written; Apply
// writes exactly that.
void frmMain::mnuEditPreview_Click() {
    const std::optional<RoundingRequest> request = ReadRequest();
    if (!request) return;
    RoundPlan plan;
    const std::optional<PassOutcome> preview =
        RunWatched(PassWatch::Activity::Preview, [&](MessageSink& messages, PassWatch& watch) {
            return pass_.PreviewRound(*request, messages, &watch, plan);
        });
    if (!preview || preview->status != PassOutcome::Status::Completed) return;
    PreviewThenApply(plan);
}

frmMain::PreviewEnd frmMain::PreviewThenApply(const RoundPlan& plan) {
    if (!open_.preview || !open_.preview(hwnd_, plan)) return PreviewEnd::Cancelled;
    const std::optional<PassOutcome> apply =
        RunWatched(PassWatch::Activity::Apply, [&](MessageSink& messages, PassWatch& watch) {
            return pass_.ApplyPlan(plan, messages, PassHooks{&history_, &watch});
        });
    if (!apply) return PreviewEnd::Closing;
    const bool stale = apply->status == PassOutcome::Status::ChangedSincePreview;
    return stale ? PreviewEnd::ToPreviewAgain : PreviewEnd::Applied;
}

// Edit > Undo Round: what the last Round wrote goes back, as far as nobody changed it since.
void frmMain::mnuEditUndo_Click() {
    // Another copy of the program may have rounded or undone meanwhile.
    history_.Refresh();
    if (history_.UndoableCount() == 0) {  // Ctrl+Z with nothing to give back
        UpdateUndoItem();
        return;
    }
    RunWatched(PassWatch::Activity::Undo, [&](MessageSink& messages, PassWatch& watch) {
        return pass_.UndoLastRound(history_, messages, &watch);
    });
}

void frmMain::mnuFileClose_Click() {
    cmdClose_Click();
}

void frmMain::mnuHelpAbout_Click() {
    if (open_.about) open_.about(hwnd_);
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
