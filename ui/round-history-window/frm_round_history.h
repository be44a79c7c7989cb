#pragma once
// Round History: every Round the journal keeps, newest first, with where each stands against the
// quote open now; Preview Undo of the Round chosen, Forget it, Copy the list, Refresh, Close. It
// shows what the main window hands it and never reaches the host: it hands back what the user
// chose, and the main window previews, gives back or forgets, then opens it again.

#include <windows.h>

#include <vector>

#include "engine/numbers/number_format.h"
#include "ui/round-history-window/history_list.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/sizable_window.h"

namespace tarvello::ui {

class frmRoundHistory : public SizableWindow {
public:
    static constexpr const wchar_t* kClassName = L"TarvelloRoundHistory";

    // `view` must outlive the window: a journal of large Rounds is not copied for it.
    frmRoundHistory(HWND owner, const HistoryView& view, const NumberFormat& format,
                    MessagePresenter& messages);

    // Shows the window modally over the owner (the owner takes no input meanwhile) and returns
    // once it has closed: what the user chose, and for which Round.
    HistoryChoice Form_Load();

    // Event handlers, one per user event.
    void cmdPreviewUndo_Click();
    void cmdForget_Click();
    void cmdCopy_Click();
    void cmdRefresh_Click();
    void cmdClose_Click();
    void lvwRounds_ItemChanged();

private:
    void CreateWindowAndControls();
    void FillList();
    // The Round chosen in the list; null when there is none.
    const RoundStanding* Chosen() const;
    // Preview Undo, Forget and the reason beside them, for the Round chosen.
    void UpdateButtons();
    void Choose(HistoryChoice::Action action);
    void FollowDpiToo(int dpi) override;
    void OnCommand(int id, int code) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    const HistoryView& view_;
    NumberFormat format_;
    MessagePresenter& messages_;
    WhenText when_;
    std::vector<HistoryRow> rows_;
    HistoryButtons buttons_;
    HistoryChoice choice_;
};

}  // namespace tarvello::ui
