// Program start: one apartment-threaded UI thread, the main window put together with the real
// services, and its message loop until the window is gone.

#include <windows.h>
#include <commctrl.h>

#include "app/win_journal_file.h"
#include "app/production_services.h"
#include "app/roaming_file.h"
#include "app/system_policy.h"
#include "host/com_raii.h"
#include "ui/main-window/frm_main.h"
#include "ui/window-utils/dialog_keys.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/run_guarded.h"

namespace {

int Run(int showCommand) {
    tarvello::host::ComApartment apartment;
    apartment.Require();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    tarvello::app::HostRoundingPass pass;
    // What the Rounds wrote survives the program, in the user's own profile.
    tarvello::app::WinJournalFile journal;
    tarvello::RoundHistory history(journal);
    tarvello::ui::SystemMessagePresenter messages;
    // What the organisation sets, once: a change to the policy counts from the next start.
    const tarvello::OrganisationPolicy policy = tarvello::app::ReadSystemPolicy();
    // The price rules follow the user from machine to machine, unless the organisation's are
    // the only ones: the user's own are then neither read nor written.
    tarvello::app::RoamingFile priceRules(L"price-rules.txt");
    const bool ownRules =
        policy.rules.kind == tarvello::RulesSource::Kind::None || policy.allowUserRules;
    tarvello::ui::frmMain window(
        pass, history, messages, tarvello::ui::SettingsLocation{},
        {tarvello::app::AboutBoxOpener(messages), tarvello::app::PreviewWindowOpener(messages),
         tarvello::app::PriceRulesWindowOpener(messages, policy),
         tarvello::app::NewTotalWindowOpener(messages), ownRules ? &priceRules : nullptr,
         tarvello::app::HistoryWindowOpener(messages)},
        policy.fixed);
    window.Load(showCommand);
    tarvello::app::TellPolicyProblems(window.hwnd(), policy, messages);

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
    tarvello::ui::SystemMessagePresenter messages;
    return tarvello::ui::RunGuarded([showCommand] { return Run(showCommand); }, messages);
}
