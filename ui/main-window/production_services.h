#pragma once
// The real services: the pass over the COM host link, MessageBoxW, the About box.

#include "ui/main-window/services.h"

namespace tarvello::ui {

class HostRoundingPass : public RoundingPass {
public:
    void RoundLineItems(double Amount, const Text& PriceField, const Text& Method,
                        const Text& RowScope, MessageSink& messages) override;
};

class SystemMessageBoxes : public MessageBoxes {
public:
    void Show(HWND owner, const std::wstring& text, const std::wstring& title, UINT icon) override;
};

// Builds a fresh frmAbout and loads it; returns when the box has closed.
void OpenAboutBox(HWND owner);

}  // namespace tarvello::ui
