#pragma once
// What frmMain needs from outside itself, behind small interfaces: the program (app/) wires in
// the real rounding pass, real message boxes, the real settings key and the About box; tests
// wire in recorders.

#include <windows.h>

#include <functional>
#include <string>

#include "engine/round_line_items.h"
#include "engine/rounding_request.h"
#include "engine/undo_last_round.h"
#include "identity/identity.h"
#include "ui/window-utils/message_presenter.h"

namespace tarvello::ui {

// Runs one Round, or the Undo of the last one, against the host. The pass's own two messages
// go to `messages`; `hooks` and `observer` let the window follow and stop it.
class RoundingPass {
public:
    virtual ~RoundingPass() = default;
    // Says how far the Round went; throws RoundFailure when it stops part-way.
    virtual RoundOutcome RoundLineItems(const RoundingRequest& request, MessageSink& messages,
                                        const PassHooks& hooks) = 0;
    // Gives back what `record` holds; what it could not deal with stays in `record`.
    virtual UndoOutcome UndoLastRound(UndoRecord& record, MessageSink& messages,
                                      PassObserver* observer) = 0;
};

// Where the window keeps its placement: a registry root and the key of the section.
struct SettingsLocation {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring key = L"Software\\" TARVELLO_TITLE L"\\frmMain";
};

// Opens the About box modally over `owner` and returns once it has closed.
using AboutOpener = std::function<void(HWND owner)>;

}  // namespace tarvello::ui
