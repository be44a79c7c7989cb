// The Round to a Total window on the screen for a person to look at, not a test: it opens over
// a plain owner window, prints its screen rectangle "left top width height" and closes itself
// after 30 seconds. With --refused, Preview is pressed on a total finer than its step, and the
// message box shows over it.

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/modal_driver.h"
#include "ui/new-total-window/frm_new_total.h"
#include "ui/new-total-window/new_total_layout.h"
#include "ui/window-utils/regional.h"

using namespace tarvello;

int main(int argc, char** argv) {
    const bool refused = argc > 1 && std::string(argv[1]) == "--refused";
    test::ModalDriver driver(ui::frmNewTotal::kClassName);
    driver.Then([&] {
        HWND window = test::FindModal(ui::frmNewTotal::kClassName);
        RECT r{};
        GetWindowRect(window, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        std::fflush(stdout);
        if (refused) {
            PostMessageW(GetDlgItem(window, ui::new_total_window::kCmdPreview), BM_CLICK, 0, 0);
        }
    });
    driver.ArmGuard();
    ui::SystemMessagePresenter messages;
    const NumberFormat format = ui::UserNumberFormat();
    NewTotalTexts typed = DefaultNewTotalTexts(format);
    typed.newTotal = refused ? u"4999.999" : u"5000";
    ui::frmNewTotal window(driver.owner(), u"4,321.09", typed, format, messages);
    window.Form_Load();
    return 0;
}
