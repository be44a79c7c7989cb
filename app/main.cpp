// Program start: one apartment-threaded UI thread, the main window put together with the real
// services, and its message loop until the window is gone.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "app/production_services.h"
#include "host/com_raii.h"
#include "identity/identity.h"
#include "ui/main-window/frm_main.h"
#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/window_text.h"

namespace {

void Fail(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), L"" TARVELLO_TITLE, MB_OK | MB_ICONERROR);
}

int Run(int showCommand) {
    tarvello::host::ComApartment apartment;
    if (FAILED(apartment.result())) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(apartment.result()));
        throw std::runtime_error(std::string("COM could not be set up for this program (code ") +
                                 code + ").");
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    tarvello::app::HostRoundingPass pass;
    tarvello::RoundHistory history;
    tarvello::ui::SystemMessagePresenter messages;
    tarvello::ui::frmMain window(pass, history, messages, tarvello::ui::SettingsLocation{},
                                 tarvello::app::AboutBoxOpener(messages));
    window.Load(showCommand);

    MSG msg;
    while (window.hwnd() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab, arrow keys and Alt+access keys move between the controls as in a dialog.
        if (!tarvello::ui::HandleDialogKeys(window.hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // Whatever ends the program early ends in one message, never in a crash dialog.
    try {
        return Run(showCommand);
    } catch (const std::exception& e) {
        Fail(L"The program could not start: " + tarvello::ui::ToWide(std::string(e.what())));
    } catch (...) {
        Fail(L"The program could not start because of an unexpected error.");
    }
    return 1;
}
