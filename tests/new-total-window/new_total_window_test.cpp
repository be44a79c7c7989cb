// The Round to a Total window as the user meets it: tab order, what Preview hands back or refuses.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/about-box/recording_presenter.h"
#include "tests/support/modal_driver.h"
#include "ui/new-total-window/frm_new_total.h"
#include "ui/new-total-window/new_total_layout.h"
#include "ui/window-utils/dialog_keys.h"

namespace tarvello::ui {
namespace {

using namespace new_total_window;
const NumberFormat kDot{u"."}, kComma{u","};

HWND Window() {
    return test::FindModal(frmNewTotal::kClassName);
}

// Sent, not posted: a message about bad input has been shown by the time the click returns.
void Click(int id) {
    SendMessageW(GetDlgItem(Window(), id), BM_CLICK, 0, 0);
}

// The control with the focus as "class:text", with a "*" when all its text is selected.
std::wstring Focused() {
    wchar_t kind[16] = {};
    GetClassNameW(GetFocus(), kind, 16);
    const std::wstring text = WindowText(GetFocus());
    const LRESULT selection = SendMessageW(GetFocus(), EM_GETSEL, 0, 0);
    return kind + (L":" + text) + (selection == MAKELRESULT(0, text.size()) ? L"*" : L"");
}

class NewTotalWindow : public ::testing::Test {
protected:
    // Opens the window, runs the queued steps inside its loop and gives what it handed back.
    std::optional<NewTotalChosen> Open(NewTotalTexts typed, const NumberFormat& format,
                                       std::optional<NewTotalField> focus = std::nullopt) {
        driver_.ArmGuard();
        frmNewTotal window(driver_.owner(), u"4,321.09", typed, format, messages_, focus);
        auto chosen = window.Form_Load();
        driver_.DisarmGuard();
        EXPECT_FALSE(driver_.guardFired()) << "the window did not close";
        return chosen;
    }

    test::ModalDriver driver_{frmNewTotal::kClassName};
    test::RecordingPresenter messages_;
};

TEST_F(NewTotalWindow, OpensOnNewTotalAndTabGoesThroughTheFieldsAndButtons) {
    std::vector<std::wstring> seen;
    driver_.Then([&] {
        seen = {WindowText(Window()), WindowText(GetDlgItem(Window(), kLblTotalNow))};
        for (int i = 0; i < 5; ++i) {
            seen.push_back(Focused());
            MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
            HandleDialogKeys(Window(), &tab);
        }
        test::PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(Open(DefaultNewTotalTexts(kComma), kComma));
    const std::vector<std::wstring> expected = {
        L"Round to a Total",   L"Total now: 4,321.09", L"Edit:*", L"Edit:0,01*",
        L"Button:&Preview...", L"Button:Close",        L"Edit:*"};
    EXPECT_EQ(seen, expected);
}

// A row: a key or click, what is typed and the field to open on; where the focus is as the
// window opens and, after a refusal, before Escape closes it; and what is handed back.
TEST_F(NewTotalWindow, PreviewHandsBackWhatReadsAndRefusesTheRestWithOneMessage) {
    const struct {
        void (*press)();
        const char16_t *total, *step;
        const NumberFormat& format;
        std::optional<NewTotalField> focus;
        const wchar_t* focused;
        std::string chosen;  // "total step|typed total|typed step"
    } rows[] = {
        {[] { Click(kCmdPreview); }, u"5000", u"0.05", kDot, std::nullopt, L"Edit:5000*",
         "5000 0.05|5000|0.05"},
        {[] { test::PressKey(VK_RETURN); }, u" 4999,95", u"0,05", kComma, NewTotalField::Step,
         L"Edit:0,05*", "4999.95 0.05| 4999,95|0,05"},
        {[] { Click(kCmdClose); }, u"5000", u"0.05", kDot, {}, L"Edit:5000*", ""},
        {[] { Click(kCmdPreview); }, u"abc", u"0.01", kDot, {}, L"Edit:abc* Edit:abc*", ""},
        {[] { Click(kCmdPreview); }, u"5000", u"0", kDot, {}, L"Edit:5000* Edit:0*", ""},
    };
    for (const auto& row : rows) {
        messages_.shown.clear();
        const auto read = ReadNewTotal({row.total, row.step}, row.format);
        const auto* error = std::get_if<NewTotalInputError>(&read);
        std::wstring focused;
        driver_.Then([&] {
            focused = Focused();
            row.press();
            if (error) focused += L" " + Focused();
            if (error) test::PressKey(VK_ESCAPE);
        });
        const auto chosen = Open({row.total, row.step}, row.format, row.focus);
        EXPECT_EQ(!chosen
                      ? ""
                      : chosen->input.newTotal.ToString() + " " + chosen->input.step.ToString() +
                            "|" + Utf8Of(chosen->typed.newTotal + u"|" + chosen->typed.step),
                  row.chosen);
        EXPECT_EQ(focused, row.focused);
        std::wstring told;
        for (const auto& shown : messages_.shown) {
            told += shown.caption + L"|" + std::to_wstring(shown.type) + L"|" + shown.text;
        }
        const std::wstring title = L"Tarvello Rounding Utility|" + std::to_wstring(MB_ICONERROR);
        EXPECT_EQ(told, error ? title + L"|" + ToWide(error->message) : L"");
    }
}

}  // namespace
}  // namespace tarvello::ui
