#pragma once
// What frmMain needs from outside itself, behind small interfaces: the program (app/) wires in
// the real rounding pass, real message boxes, the real settings key and the About box; tests
// wire in recorders.

#include <windows.h>

#include <functional>
#include <string>

#include "engine/round_line_items.h"
#include "engine/rounding_request.h"
#include "identity/identity.h"
#include "ui/window-utils/message_presenter.h"

namespace tarvello::ui {

// Runs one Round against the host and says how far it went. Throws RoundFailure when the pass
// stops part-way; the pass's own two messages go to `messages`.
class RoundingPass {
public:
    virtual ~RoundingPass() = default;
    virtual RoundOutcome RoundLineItems(const RoundingRequest& request, MessageSink& messages) = 0;
};

// Where the window keeps its placement: a registry root and the key of the section.
struct SettingsLocation {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring key = L"Software\\" TARVELLO_TITLE L"\\frmMain";
};

// Opens the About box modally over `owner` and returns once it has closed.
using AboutOpener = std::function<void(HWND owner)>;

}  // namespace tarvello::ui
