// Program start: one apartment-threaded UI thread, the main window, and its message loop
// until the window is gone.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <exception>

#include "app/version.h"
#include "ui/main-window/frm_main.h"
#include "ui/main-window/production_services.h"
#include "ui/window-utils/dialog_keys.h"

namespace {

// Balances CoInitializeEx however WinMain is left.
class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool ok_;
};

int Run(int showCommand) {
    ComApartment apartment;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    tarvello::ui::HostRoundingPass pass;
    tarvello::ui::SystemMessageBoxes messages;
    tarvello::ui::frmMain window(pass, messages);
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
        std::string what = e.what();
        std::wstring text = L"The program could not start: ";
        text.append(what.begin(), what.end());
        MessageBoxW(nullptr, text.c_str(), L"" TARVELLO_TITLE, MB_OK | MB_ICONERROR);
        return 1;
    }
}
