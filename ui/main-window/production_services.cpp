#include "ui/main-window/production_services.h"

#include "host/com_host_link.h"
#include "ui/about-box/frm_about.h"
#include "ui/window-utils/regional.h"

namespace tarvello::ui {

void HostRoundingPass::RoundLineItems(double Amount, const Text& PriceField, const Text& Method,
                                      const Text& RowScope, MessageSink& messages) {
    host::ComHostLink link;
    tarvello::RoundLineItems(Amount, PriceField, Method, RowScope, link, messages,
                             UserNumberFormat());
}

void SystemMessageBoxes::Show(HWND owner, const std::wstring& text, const std::wstring& title,
                              UINT icon) {
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | icon);
}

void OpenAboutBox(HWND owner) {
    frmAbout box(owner);
    box.Form_Load();
}

}  // namespace tarvello::ui
