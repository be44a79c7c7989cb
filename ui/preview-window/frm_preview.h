#pragma once
// The preview of a Round (or of prices worked out otherwise, or of an Undo chosen in Round
// History): every line item it would write, with the prices before and after, and
// the totals of the extended price; Apply, Copy or Cancel. It shows what the main window hands
// it and never reaches the host: the main window applies the plan when the user chooses Apply.

#include <windows.h>

#include <vector>

#include "engine/numbers/number_format.h"
#include "engine/passes/plan_table.h"
#include "engine/passes/round_plan.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/sizable_window.h"

namespace tarvello::ui {

class frmPreview : public SizableWindow {
public:
    static constexpr const wchar_t* kClassName = L"TarvelloPreview";

    frmPreview(HWND owner, const RoundPlan& plan, const NumberFormat& format,
               MessagePresenter& messages);

    // Shows the preview modally over the owner (the owner takes no input meanwhile) and returns
    // once it has closed: true when the user chose Apply.
    bool Form_Load();

    // Event handlers, one per user event.
    void cmdApply_Click();
    void cmdCopy_Click();
    void cmdCancel_Click();

private:
    void CreateWindowAndControls();
    void FillList();
    // The columns' names for this plan.
    std::vector<std::wstring> ColumnNames() const;
    void FollowDpiToo(int dpi) override;
    void OnCommand(int id, int code) override;

    NumberFormat format_;
    MessagePresenter& messages_;
    PlanKind kind_;
    PlanTable table_;
    // An Undo: the Round it gives back, in words.
    Text what_;
    bool applyChosen_ = false;
};

}  // namespace tarvello::ui
