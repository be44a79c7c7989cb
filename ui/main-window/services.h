#pragma once
// What frmMain needs from outside itself, behind small interfaces: the program wires in the
// real rounding pass, real message boxes and the real settings key; tests wire in recorders.

#include <windows.h>

#include <functional>
#include <string>

#include "app/version.h"
#include "engine/round_line_items.h"

namespace tarvello::ui {

// Runs one Round against the host. Throws RoundFailure when the pass stops part-way; the
// pass's own two messages go to `messages`.
class RoundingPass {
public:
    virtual ~RoundingPass() = default;
    virtual void RoundLineItems(double Amount, const Text& PriceField, const Text& Method,
                                const Text& RowScope, MessageSink& messages) = 0;
};

// Shows one message box with a single OK button and waits for it to close.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void Show(HWND owner, const std::wstring& text, const std::wstring& title,
                      UINT icon) = 0;
};

// Where the window keeps its placement: a registry root and the key of the section.
struct SettingsLocation {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring key = L"Software\\" TARVELLO_TITLE L"\\frmMain";
};

// Opens the About box modally over `owner` and returns once it has closed.
using AboutOpener = std::function<void(HWND owner)>;

}  // namespace tarvello::ui
