// The preview window as the user meets it: Enter applies, Escape, Cancel and the close button
// do not; Ctrl+C copies the table; with nothing to write, Apply is greyed; it grows with the
// window and never gets smaller than the main window.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/passes/plan_table.h"
#include "tests/about-box/recording_presenter.h"
#include "tests/support/launch.h"
#include "tests/support/modal_driver.h"
#include "ui/preview-window/frm_preview.h"
#include "ui/preview-window/preview_layout.h"
#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {
namespace {

using namespace preview_window;

const NumberFormat kComma{u","};

HWND Preview() {
    return test::FindModal(frmPreview::kClassName);
}

HWND Child(int id) {
    return GetDlgItem(Preview(), id);
}

// Three line items: one rounded on the extended price, one unchanged, one rounded up.
RoundPlan ThreeLineItems() {
    RoundPlan plan;
    const auto item = [](std::int16_t row, double quantity, double unit, const char16_t* modifier,
                         double newUnit) {
        PlannedLineItem line;
        line.row = row;
        line.quantity = Variant::Double(quantity);
        line.unitPrice = Variant::Double(unit);
        line.extendedPrice = Variant::Double(unit * quantity);
        line.modifier = Variant::FromText(modifier);
        line.newUnitPrice = newUnit;
        return line;
    };
    plan.items = {item(0, 3, 41.9, u"List -5%", 130.0 / 3), item(2, 2, 12, u"", 12),
                  item(5, 1, 17.25, u"", 20)};
    return plan;
}

// A key with Ctrl held down, handed to the window as its loop hands keys over.
void PressCtrl(wchar_t key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG msg{GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(key), 1, GetTickCount(), {}};
    if (!HandleDialogKeys(Preview(), &msg)) DispatchMessageW(&msg);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

class PreviewWindow : public ::testing::Test {
protected:
    // Opens the preview of `plan`, runs the queued steps inside its loop and gives what it
    // answered once it has closed.
    bool Open(const RoundPlan& plan) {
        driver_.ArmGuard();
        frmPreview preview(driver_.owner(), plan, kComma, messages_);
        const bool apply = preview.Form_Load();
        driver_.DisarmGuard();
        EXPECT_FALSE(driver_.guardFired()) << "the preview did not close";
        return apply;
    }

    test::ModalDriver driver_{frmPreview::kClassName};
    test::RecordingPresenter messages_;
};

TEST_F(PreviewWindow, EnterAndApplyApplyWhileEscapeCancelAndTheCloseButtonDoNot) {
    struct Case {
        const char* name;
        std::function<void()> press;
        bool applies;
    };
    const Case cases[] = {
        {"Enter in the list", [] { test::PressKey(VK_RETURN); }, true},
        {"Alt+A", [] { test::PressAltKey(L'a'); }, true},
        {"Escape", [] { test::PressKey(VK_ESCAPE); }, false},
        {"Cancel", [] { PostMessageW(Child(kCmdCancel), BM_CLICK, 0, 0); }, false},
        {"the close button", [] { PostMessageW(Preview(), WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int focused = 0;
        driver_.Then([&] { focused = GetDlgCtrlID(GetFocus()); });
        driver_.Then(c.press);
        EXPECT_EQ(Open(ThreeLineItems()), c.applies);
        EXPECT_EQ(focused, kLvwLineItems) << "the list has the focus as it opens";
    }
}

TEST_F(PreviewWindow, TheListTheTotalsAndCtrlCShowAndCopyTheSameTable) {
    const RoundPlan plan = ThreeLineItems();
    const PlanTable table = MakePlanTable(plan, kComma);
    int lines = 0;
    std::wstring unchangedCell, totals, title;
    wchar_t cell[64] = {};
    driver_.Then([&] {
        HWND list = Child(kLvwLineItems);
        lines = ListView_GetItemCount(list);
        LVITEMW item{};
        item.iSubItem = PlanTable::kNewUnitPrice;
        item.pszText = cell;
        item.cchTextMax = 64;
        SendMessageW(list, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
        unchangedCell = cell;
        totals = WindowText(Child(kLblTotals));
        title = WindowText(Preview());
        PressCtrl(L'C');
    });
    driver_.Then([] { test::PressKey(VK_ESCAPE); });
    EXPECT_FALSE(Open(plan));
    EXPECT_EQ(title, L"Preview Round");
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(unchangedCell, L"12 (unchanged)");
    EXPECT_EQ(totals, ToWide(TotalsText(table, kComma)));
    EXPECT_EQ(launch::ClipboardText(), ToWide(TabSeparated(table, kComma)));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(PreviewWindow, WithNothingToWriteApplyIsGreyedAndEnterAppliesNothing) {
    bool applyEnabled = true, listShown = true, nothingShown = false;
    driver_.Then([&] {
        applyEnabled = IsWindowEnabled(Child(kCmdApply));
        listShown = IsWindowVisible(Child(kLvwLineItems));
        nothingShown = IsWindowVisible(Child(kLblNothing));
        test::PressKey(VK_RETURN);
    });
    bool stillOpen = false;
    driver_.Then([&] {
        stillOpen = Preview() != nullptr;
        test::PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(Open(RoundPlan{}));
    EXPECT_FALSE(applyEnabled);
    EXPECT_FALSE(listShown);
    EXPECT_TRUE(nothingShown);
    EXPECT_TRUE(stillOpen) << "Enter applied an empty preview";
}

TEST_F(PreviewWindow, ItGrowsWithTheWindowAndIsNeverSmallerThanItsOwner) {
    RECT owner{}, list{}, grownList{}, apply{}, grownApply{}, shrunk{}, client{};
    driver_.Then([&] {
        GetWindowRect(driver_.owner(), &owner);
        GetWindowRect(Child(kLvwLineItems), &list);
        GetWindowRect(Child(kCmdApply), &apply);
        RECT window;
        GetWindowRect(Preview(), &window);
        SetWindowPos(Preview(), nullptr, 0, 0, window.right - window.left + 200,
                     window.bottom - window.top + 100, SWP_NOMOVE | SWP_NOZORDER);
        GetWindowRect(Child(kLvwLineItems), &grownList);
        GetWindowRect(Child(kCmdApply), &grownApply);
        GetClientRect(Preview(), &client);
        // Dragged as small as it goes.
        MINMAXINFO limits{};
        SendMessageW(Preview(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        shrunk = RECT{0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y};
        test::PressKey(VK_ESCAPE);
    });
    Open(ThreeLineItems());
    EXPECT_EQ(grownList.right - grownList.left, list.right - list.left + 200);
    EXPECT_EQ(grownList.bottom - grownList.top, list.bottom - list.top + 100);
    EXPECT_EQ(grownApply.left - apply.left, 200) << "the buttons keep to the right edge";
    EXPECT_EQ(grownApply.top - apply.top, 100) << "and to the bottom";
    EXPECT_GE(shrunk.right, owner.right - owner.left);
    EXPECT_GE(shrunk.bottom, owner.bottom - owner.top);
}

}  // namespace
}  // namespace tarvello::ui
