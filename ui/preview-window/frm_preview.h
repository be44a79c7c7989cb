#pragma once
// The preview of a Round: every line item it would write, with the prices before and after, and
// the totals of the extended price; Apply, Copy or Cancel. It shows what the main window hands
// it and never reaches the host: the main window applies the plan when the user chooses Apply.

#include <windows.h>

#include <vector>

#include "engine/numbers/number_format.h"
#include "engine/passes/plan_table.h"
#include "engine/passes/round_plan.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/modal_window.h"

namespace tarvello::ui {

class frmPreview : public ModalWindow {
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
    void Form_Resize(int width, int height);

private:
    void CreateWindowAndControls();
    void FillList();
    // Each column as wide as its widest text or its header, whichever is wider, and at least as
    // the table has it at `dpi`.
    void SizeColumns(int dpi);
    void SizeAndPlace();
    void RememberLayout();
    void FollowClientSize();
    void FollowDpi(WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    NumberFormat format_;
    MessagePresenter& messages_;
    PlanKind kind_;
    PlanTable table_;
    // The controls as created, for following the window's size.
    struct Placed {
        int id;
        RECT rect;
    };
    std::vector<Placed> placed_;
    SIZE createdClient_{};
    SIZE minimumWindow_{};
    bool applyChosen_ = false;
};

}  // namespace tarvello::ui
