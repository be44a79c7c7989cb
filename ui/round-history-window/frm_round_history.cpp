#include "ui/round-history-window/frm_round_history.h"

#include <commctrl.h>

#include "identity/identity.h"
#include "ui/round-history-window/round_history_layout.h"
#include "ui/window-utils/accessible_names.h"
#include "ui/window-utils/clipboard.h"
#include "ui/window-utils/local_time.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

using namespace round_history_window;

namespace {

std::vector<std::wstring> ColumnNames() {
    std::vector<std::wstring> names;
    for (int column = 0; column < kHistoryColumnCount; ++column) {
        names.push_back(ToWide(HistoryColumnName(static_cast<HistoryColumn>(column))));
    }
    return names;
}

}  // namespace

frmRoundHistory::frmRoundHistory(HWND owner, const HistoryView& view, const NumberFormat& format,
                                 MessagePresenter& messages)
    : SizableWindow(owner, Anchors()),
      view_(view),
      format_(format),
      messages_(messages),
      when_([](const std::string& beganUtc, bool whole) {
          return ToText(LocalWhen(beganUtc, whole));
      }) {
    for (const RoundStanding& standing : view_.standings) rows_.push_back(RowOf(standing, when_));
}

HistoryChoice frmRoundHistory::Form_Load() {
    CreateWindowAndControls();
    FillList();
    // Wide enough for the list's columns, where the monitor has room.
    SizeAndPlace(WidthShort(controls_.Handle(kLvwRounds)));
    HWND list = controls_.Handle(kLvwRounds);
    ReturnFocusTo(rows_.empty() ? controls_.Handle(kCmdClose) : list);
    ShowModal();
    return choice_;
}

void frmRoundHistory::CreateWindowAndControls() {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    ModalForm form{kClassName,
                   L"Round History",
                   "Round History",
                   Controls(),
                   SIZE{kClientWidthTwips, kClientHeightTwips},
                   kCmdPreviewUndo,
                   kCmdClose};
    form.sizable = true;
    CreateModal(form);
    // One Round at a time is chosen.
    HWND list = controls_.Handle(kLvwRounds);
    SetWindowLongPtrW(list, GWL_STYLE, GetWindowLongPtrW(list, GWL_STYLE) | LVS_SINGLESEL);
    // Ctrl+C copies the list and F5 reads the quote again, wherever the focus is.
    SetShortcuts({ACCEL{FVIRTKEY | FCONTROL, 'C', static_cast<WORD>(kCmdCopy)},
                  ACCEL{FVIRTKEY, VK_F5, static_cast<WORD>(kCmdRefresh)}});
}

void frmRoundHistory::FillList() {
    HWND list = controls_.Handle(kLvwRounds);
    const int dpi = controls_.Dpi();
    AddColumns(list, Columns(), ColumnNames(), dpi);
    int chosen = 0;
    for (std::size_t index = 0; index < rows_.size(); ++index) {
        std::vector<std::wstring> cells;
        for (const Text& cell : rows_[index].cells) cells.push_back(ToWide(cell));
        AddRow(list, static_cast<int>(index), cells);
        if (view_.standings[index].round.id == view_.chosen) chosen = static_cast<int>(index);
    }
    SizeColumns(list, Columns(), ColumnNames(), dpi);
    SetWindowTextW(controls_.Handle(kLblNote),
                   view_.notRead.empty()
                       ? L"Where each stands is worked out against the quote open in Tarvello "
                         L"now."
                       : ToWide(u"The quote open in Tarvello could not be read, so where each "
                                u"stands is not known: " +
                                view_.notRead)
                             .c_str());
    if (!rows_.empty()) {
        ListView_SetItemState(list, chosen, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, chosen, FALSE);
    }
    EnableWindow(controls_.Handle(kCmdCopy), !rows_.empty());
    UpdateButtons();
}

const RoundStanding* frmRoundHistory::Chosen() const {
    const int index = ListView_GetNextItem(controls_.Handle(kLvwRounds), -1, LVNI_SELECTED);
    if (index < 0 || static_cast<std::size_t>(index) >= view_.standings.size()) return nullptr;
    return &view_.standings[static_cast<std::size_t>(index)];
}

void frmRoundHistory::UpdateButtons() {
    const RoundStanding* chosen = Chosen();
    buttons_ = chosen ? ButtonsFor(*chosen, view_.standings, when_) : HistoryButtons{};
    if (!chosen) {
        buttons_.why = rows_.empty() ? u"The journal keeps no Round." : u"Choose a Round.";
    }
    EnableWindow(controls_.Handle(kCmdPreviewUndo), buttons_.previewUndo);
    EnableWindow(controls_.Handle(kCmdForget), buttons_.forget);
    HWND why = controls_.Handle(kLblWhy);
    const std::wstring text = ToWide(buttons_.why);
    if (WindowText(why) == text) return;
    // The greyed button says why itself, where the focus can never read the line beside it.
    Describe(controls_.Handle(kCmdPreviewUndo), text);
    SetWindowTextW(why, text.c_str());
    AnnounceLiveRegionChange(why);
}

void frmRoundHistory::Choose(HistoryChoice::Action action) {
    const RoundStanding* chosen = Chosen();
    choice_ = {action, chosen ? chosen->round.id : std::string()};
    EndModal();
}

void frmRoundHistory::cmdPreviewUndo_Click() {
    if (buttons_.previewUndo) Choose(HistoryChoice::Action::PreviewUndo);  // Enter when greyed
}

void frmRoundHistory::cmdForget_Click() {
    const RoundStanding* chosen = Chosen();
    if (!buttons_.forget || !chosen) return;
    if (!messages_.Ask(hwnd_, ToWide(ForgetQuestion(*chosen, when_)), L"" TARVELLO_TITLE)) return;
    Choose(HistoryChoice::Action::Forget);
}

void frmRoundHistory::cmdCopy_Click() {
    CopyOrTell(hwnd_, ToWide(HistoryTable(rows_, format_)), L"The list of Rounds", messages_);
}

void frmRoundHistory::cmdRefresh_Click() {
    Choose(HistoryChoice::Action::Refresh);
}

void frmRoundHistory::cmdClose_Click() {
    Choose(HistoryChoice::Action::Close);
}

void frmRoundHistory::lvwRounds_ItemChanged() {
    UpdateButtons();
}

void frmRoundHistory::FollowDpiToo(int dpi) {
    SizeColumns(controls_.Handle(kLvwRounds), Columns(), ColumnNames(), dpi);
}

void frmRoundHistory::OnCommand(int id, int code) {
    // A click, or a shortcut (code 1).
    if (code != BN_CLICKED && code != 1) return;
    switch (id) {
        case kCmdPreviewUndo:
            cmdPreviewUndo_Click();
            break;
        case kCmdForget:
            cmdForget_Click();
            break;
        case kCmdCopy:
            cmdCopy_Click();
            break;
        case kCmdRefresh:
            cmdRefresh_Click();
            break;
        case kCmdClose:
            cmdClose_Click();
            break;
        default:
            break;
    }
}

LRESULT frmRoundHistory::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kLvwRounds) {
            if (header->code == LVN_ITEMCHANGED &&
                (reinterpret_cast<const NMLISTVIEW*>(lParam)->uChanged & LVIF_STATE)) {
                lvwRounds_ItemChanged();
            } else if (header->code == NM_DBLCLK) {
                cmdPreviewUndo_Click();
            }
            return 0;
        }
    }
    return SizableWindow::OnMessage(msg, wParam, lParam);
}

}  // namespace tarvello::ui
