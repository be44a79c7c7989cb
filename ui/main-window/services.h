#pragma once
// What frmMain needs from outside itself, behind small interfaces: the program (app/) wires in
// the real rounding pass, real message boxes, the real settings key and the About box; tests
// wire in recorders.

#include <windows.h>

#include <functional>
#include <string>

#include "engine/pass.h"
#include "engine/preview_round.h"
#include "engine/round_history.h"
#include "engine/round_line_items.h"
#include "engine/rounding_request.h"
#include "identity/identity.h"
#include "ui/window-utils/message_presenter.h"

namespace tarvello::ui {

// Runs one Round, or the Undo of the Round the history names, against the host. The pass's own
// two messages go to `messages`; `hooks` and `observer` let the window follow and stop it. Both
// say in the outcome how far they went, a failure included.
class RoundingPass {
public:
    virtual ~RoundingPass() = default;
    // Tells `hooks.history` of every line item it writes.
    virtual PassOutcome RoundLineItems(const RoundingRequest& request, MessageSink& messages,
                                       const PassHooks& hooks) = 0;
    // Gives back what the history names for the next Undo, and tells it so.
    virtual PassOutcome UndoLastRound(RoundHistory& history, MessageSink& messages,
                                      PassObserver* observer) = 0;
    // Decides into `plan` what the Round would write, writing nothing.
    virtual PassOutcome PreviewRound(const RoundingRequest& request, MessageSink& messages,
                                     PassObserver* observer, RoundPlan& plan) = 0;
    // Writes the plan where nothing changed since; tells `hooks.history` as a Round does.
    virtual PassOutcome ApplyPlan(const RoundPlan& plan, MessageSink& messages,
                                  const PassHooks& hooks) = 0;
};

// Where the window keeps its placement: a registry root and the key of the section.
struct SettingsLocation {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring key = L"Software\\" TARVELLO_TITLE L"\\frmMain";
};

// Opens the About box modally over `owner` and returns once it has closed.
using AboutOpener = std::function<void(HWND owner)>;

// Shows a Round's plan modally over `owner`; true when the user chose to apply it.
using PreviewOpener = std::function<bool(HWND owner, const RoundPlan& plan)>;

}  // namespace tarvello::ui
