#pragma once
// The real services the program puts the main window together with: the rounding pass over the
// COM host link and the windows it opens.

#include <windows.h>

#include "engine/policy/organisation_policy.h"
#include "ui/main-window/services.h"
#include "ui/window-utils/message_presenter.h"

namespace tarvello::app {

// The Round and its Undo against the running Tarvello, with the user's regional number format.
class HostRoundingPass : public ui::RoundingPass {
public:
    PassOutcome RoundLineItems(const RoundingRequest& request, MessageSink& messages,
                               const PassHooks& hooks) override;
    PassOutcome UndoLastRound(RoundHistory& history, MessageSink& messages,
                              PassObserver* observer) override;
    PassOutcome PreviewRound(const RoundingRequest& request, MessageSink& messages,
                             PassObserver* observer, RoundPlan& plan) override;
    PassOutcome ApplyPlan(const RoundPlan& plan, MessageSink& messages,
                          const PassHooks& hooks) override;
    PassOutcome PreviewByRules(const PriceRules& rules, RoundedPrice field, RowChoice rows,
                               MessageSink& messages, PassObserver* observer,
                               RoundPlan& plan) override;
    PassOutcome ReadForNewTotal(RowChoice rows, MessageSink& messages, PassObserver* observer,
                                RoundPlan& plan) override;
    PassOutcome LookAtRounds(const RoundHistory& history, MessageSink& messages,
                             PassObserver* observer,
                             std::vector<RoundStanding>& standings) override;
    PassOutcome PreviewUndo(const RoundHistory& history, const std::string& id,
                            MessageSink& messages, PassObserver* observer,
                            RoundPlan& plan) override;
};

// Builds a fresh About box and loads it; returns when the box has closed.
ui::AboutOpener AboutBoxOpener(ui::MessagePresenter& messages);

// Shows a plan in a fresh preview window, in the user's number format; returns when it has
// closed, saying whether the user chose Apply.
ui::PreviewOpener PreviewWindowOpener(ui::MessagePresenter& messages);

// The Price Rules and Round to a Total windows, fresh each time, in the user's number format;
// Price Rules with the rules the organisation sets, where it sets some, opening on the side the
// user chose last.
ui::PriceRulesOpener PriceRulesWindowOpener(ui::MessagePresenter& messages,
                                            const OrganisationPolicy& policy);
ui::NewTotalOpener NewTotalWindowOpener(ui::MessagePresenter& messages);

// Round History, fresh each time, in the user's number format and date and time formats.
ui::HistoryOpener HistoryWindowOpener(ui::MessagePresenter& messages);

}  // namespace tarvello::app
