#include "app/production_services.h"

#include "host/com_host_link.h"
#include "ui/about-box/frm_about.h"
#include "ui/window-utils/regional.h"

namespace tarvello::app {

RoundOutcome HostRoundingPass::RoundLineItems(const RoundingRequest& request, MessageSink& messages,
                                              const PassHooks& hooks) {
    host::ComHostLink link;
    return tarvello::RoundLineItems(request, link, messages, ui::UserNumberFormat(), hooks);
}

UndoOutcome HostRoundingPass::UndoLastRound(UndoRecord& record, MessageSink& messages,
                                            PassObserver* observer) {
    host::ComHostLink link;
    return tarvello::UndoLastRound(record, link, messages, ui::UserNumberFormat(), observer);
}

ui::AboutOpener AboutBoxOpener(ui::MessagePresenter& messages) {
    return [&messages](HWND owner) {
        ui::frmAbout box(owner, messages);
        box.Form_Load();
    };
}

}  // namespace tarvello::app
