// Edit > Round History: every Round the journal keeps and where it stands against the quote open
// now; the Round the user chooses previewed and given back line item by line item, or forgotten.
// The window only shows and asks: every pass runs here, watched as any other, and the window
// opens again on the same Round until the user closes it.

#include "engine/passes/describe_failure.h"
#include "ui/main-window/frm_main.h"
#include "ui/window-utils/regional.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {
namespace {

// Keeps the pass's message (no Tarvello, no quote) for the window to say beside its list, rather
// than in a box before it.
class HeldMessage : public MessageSink {
public:
    void ShowError(const Text& message) override { text = message; }
    bool Ask(const Text&) override { return false; }  // a pass that writes nothing asks nothing
    Text text;
};

}  // namespace

void frmMain::mnuEditRoundHistory_Click() {
    if (!open_.history) return;
    HistoryView view;
    if (!LookAtRounds(view)) return;
    for (;;) {
        const HistoryChoice choice = open_.history(hwnd_, view);
        view.chosen = choice.id;
        switch (choice.action) {
            case HistoryChoice::Action::Close:
                return;
            case HistoryChoice::Action::Refresh:
                if (!LookAtRounds(view)) return;
                break;
            case HistoryChoice::Action::Forget:
                ForgetRound(choice.id, view);
                break;
            case HistoryChoice::Action::PreviewUndo:
                if (!PreviewUndoOf(choice.id, view)) return;
                break;
        }
    }
}

bool frmMain::LookAtRounds(HistoryView& view) {
    // Another copy of the program may have rounded, undone or forgotten meanwhile.
    history_.Refresh();
    std::vector<RoundStanding> standings;
    HeldMessage held;
    const std::optional<PassOutcome> looked =
        RunWatched(PassWatch::Activity::Look, [&](MessageSink&, PassWatch& watch) {
            return pass_.LookAtRounds(history_, held, &watch, standings);
        });
    if (!looked) return false;
    view.standings = std::move(standings);
    view.notRead = held.text;
    if (looked->status != PassOutcome::Status::Completed && view.notRead.empty()) {
        view.notRead = DescribePassOutcome(*looked, UserNumberFormat()).text;
    }
    return true;
}

bool frmMain::PreviewUndoOf(const std::string& id, HistoryView& view) {
    history_.Refresh();
    // Another copy may have rewritten the journal without it meanwhile: the list says so.
    if (!history_.Find(id)) return LookAtRounds(view);
    RoundPlan plan;
    const std::optional<PassOutcome> preview =
        RunWatched(PassWatch::Activity::Preview, [&](MessageSink& messages, PassWatch& watch) {
            return pass_.PreviewUndo(history_, id, messages, &watch, plan);
        });
    if (!preview) return false;
    if (preview->status == PassOutcome::Status::Completed) {
        if (PreviewThenApply(plan) == PreviewEnd::Closing) return false;
    } else if (preview->status == PassOutcome::Status::DocumentChanged ||
               preview->status == PassOutcome::Status::LineItemsMoved) {
        // Refused for what Undo Round refuses for, and said in its words.
        PassOutcome asUndo = *preview;
        asUndo.pass = PassKind::Undo;
        ShowError(ToWide(DescribeUndo(asUndo)));
    }
    // The quote, and what the Rounds can still give back, may be another now.
    return LookAtRounds(view);
}

void frmMain::ForgetRound(const std::string& id, HistoryView& view) {
    std::string why;
    history_.Forget(id, why);
    UpdateUndoItem();
    // Forgetting changes nothing in the quote: where the others stood, they stand.
    view.standings = StandAgain(view.standings, history_.Rounds());
    if (why.empty()) return;
    ShowError(L"The Round is forgotten, but the journal could not record it (" +
                  ToWide(TextFromUtf8(why)) +
                  L"): once the utility is started again, Edit > Undo Round would offer it again.",
              MB_ICONWARNING);
}

}  // namespace tarvello::ui
