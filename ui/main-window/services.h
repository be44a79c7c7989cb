#pragma once
// What frmMain needs from outside itself, behind small interfaces: the program (app/) wires in
// the real rounding pass, real message boxes, the real settings key and the About box; tests
// wire in recorders.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/journal/round_history.h"
#include "engine/passes/pass.h"
#include "engine/passes/preview_round.h"
#include "engine/passes/round_line_items.h"
#include "engine/passes/round_standing.h"
#include "engine/pricing/new_total_input.h"
#include "engine/pricing/price_rules_form.h"
#include "engine/request/rounding_request.h"
#include "identity/identity.h"
#include "ui/round-history-window/history_list.h"
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
    // Decides into `plan` what the price rules would write on `field` of the line items in
    // `rows`, writing nothing.
    virtual PassOutcome PreviewByRules(const PriceRules& rules, RoundedPrice field, RowChoice rows,
                                       MessageSink& messages, PassObserver* observer,
                                       RoundPlan& plan) = 0;
    // Reads into `plan`, as a preview reads them, the line items of `rows` a new total is
    // spread over.
    virtual PassOutcome ReadForNewTotal(RowChoice rows, MessageSink& messages,
                                        PassObserver* observer, RoundPlan& plan) = 0;
    // Where every Round `history` keeps stands against the quote open now, newest first, into
    // `standings`, writing nothing.
    virtual PassOutcome LookAtRounds(const RoundHistory& history, MessageSink& messages,
                                     PassObserver* observer,
                                     std::vector<RoundStanding>& standings) = 0;
    // Decides into `plan` what giving back the Round `id` would write, writing nothing; ApplyPlan
    // of it gives it back.
    virtual PassOutcome PreviewUndo(const RoundHistory& history, const std::string& id,
                                    MessageSink& messages, PassObserver* observer,
                                    RoundPlan& plan) = 0;
};

// A small text file of the user's, kept between runs (the price rules).
class UserFile {
public:
    virtual ~UserFile() = default;
    // Where it is, for the user.
    virtual std::string Where() const = 0;
    // What it holds; nothing when it is not there (`why` stays empty) or cannot be read (`why`
    // says why, in words for the user).
    virtual std::optional<std::string> Read(std::string& why) = 0;
    // Replaces what it holds, whole or not at all.
    virtual bool Write(const std::string& text, std::string& why) = 0;
    // Copies it beside itself, its name followed by `suffix`, saying where.
    virtual bool KeepAside(const std::string& suffix, std::string& where, std::string& why) = 0;
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

// A band row and field of the Price Rules window.
using RulesFieldAt = std::pair<std::size_t, RulesField>;

// Shows the Price Rules window modally over `owner`, with `typed` in its boxes; the rules and
// the texts when the user chose Preview or closed the window over rules changed that read (not
// to preview, only to keep), nothing when the window was closed with nothing to keep.
using PriceRulesOpener = std::function<std::optional<RulesChosen>(
    HWND owner, const RulesTexts& typed, std::optional<RulesFieldAt> focus)>;

// Shows the Round to a Total window modally over `owner`, with the total now and `typed`; the
// amounts and texts when the user chose Preview, nothing when the window was closed. `focus`
// puts the focus on a field, for when the quote could not take what was typed.
using NewTotalOpener = std::function<std::optional<NewTotalChosen>(
    HWND owner, const Text& totalNow, const NewTotalTexts& typed,
    std::optional<NewTotalField> focus)>;

// Shows Round History modally over `owner` with `view`; what the user chose there, for which
// Round.
using HistoryOpener = std::function<HistoryChoice(HWND owner, const HistoryView& view)>;

// The windows the main window opens, and the file the price rules are kept in (null: none, the
// default rules every time).
struct WindowOpeners {
    AboutOpener about;
    PreviewOpener preview;
    PriceRulesOpener priceRules;
    NewTotalOpener newTotal;
    UserFile* priceRulesFile = nullptr;
    HistoryOpener history;
};

}  // namespace tarvello::ui
