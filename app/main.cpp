// Program start: one apartment-threaded UI thread, the main window put together with the real
// services, and its message loop until the window is gone.

#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "app/production_services.h"
#include "host/com_raii.h"
#include "identity/identity.h"
#include "ui/main-window/frm_main.h"
#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/window_text.h"

namespace {

int Run(int showCommand) {
    tarvello::host::ComApartment apartment;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    tarvello::app::HostRoundingPass pass;
    tarvello::ui::SystemMessagePresenter messages;
    tarvello::ui::frmMain window(pass, messages, tarvello::ui::SettingsLocation{},
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
    try {
        return Run(showCommand);
    } catch (const std::exception& e) {
        const std::wstring text =
            L"The program could not start: " + tarvello::ui::ToWide(std::string(e.what()));
        MessageBoxW(nullptr, text.c_str(), L"" TARVELLO_TITLE, MB_OK | MB_ICONERROR);
        return 1;
    }
}
